// The window's texts as lines of the host's output.
#include "host/drive/window_output.h"

namespace orva::host {

void PrintReport(std::string_view memoText, std::ostream& out) {
  while (!memoText.empty()) {
    const std::size_t end = memoText.find('\n');
    std::string_view line = memoText.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    out << line << "\n";
    memoText.remove_prefix(end == std::string_view::npos ? memoText.size() : end + 1);
  }
}

void PrintErrorBox(std::string_view caption, std::string_view text, std::ostream& out) {
  out << "error-box " << caption << ": " << text << "\n";
}

}  // namespace orva::host
