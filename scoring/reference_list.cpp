// The reference file's lines and the lookup by callsign, and where the file
// sits beside the host.
#include "scoring/reference_list.h"

#include "base/path.h"
#include "base/text.h"
#include "platform/host_process.h"

namespace orva {

std::vector<std::string> SplitLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
      ++start;
    }
  }
  return lines;
}

void TReferenceList::Assign(std::string_view fileText) {
  referenceByKey_.clear();
  lines_ = SplitLines(fileText);
  for (const std::string& line : lines_) {
    const std::string_view trimmed = Trim(line);
    const std::size_t equals = trimmed.find('=');
    if (equals != std::string_view::npos && equals > 0) {
      referenceByKey_[trimmed.substr(0, equals)] = trimmed.substr(equals + 1);
    }
  }
}

std::string TReferenceList::LookUp(std::string_view callSign) const {
  // A line matches only when its key equals the callsign, and then the
  // callsign necessarily occurs in the line; an empty callsign never does.
  const auto found = referenceByKey_.find(callSign);
  if (callSign.empty() || found == referenceByKey_.end()) {
    return {};
  }
  std::string result(1, ' ');
  result.append(found->second);
  return result;
}

std::string ReferenceFilePath(std::string_view executablePath) {
  const std::string_view directory =
      SplitAtLastSeparator(executablePath, platform::kPathDelimiters).directory;
  return std::string(directory) + "Plugins" + platform::kPathSeparator + "ORVA.txt";
}

}  // namespace orva
