// The error box's text and caption, derived the same way on both builds, so
// the operator sees the same words whichever platform draws the box.
#include "window/error_box.h"

#include "base/path.h"
#include "platform/host_process.h"
#include "platform/toolkit.h"

namespace orva {

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
    text += '.';
  }
  return text;
}

std::string ApplicationTitle(std::string_view executablePath) {
  std::string title(SplitAtLastSeparator(executablePath, platform::kPathDelimiters).fileName);
  title = title.substr(0, title.find('.'));
  for (std::size_t i = 1; i < title.size(); ++i) {
    if (title[i] >= 'A' && title[i] <= 'Z') {
      title[i] = static_cast<char>(title[i] - 'A' + 'a');
    }
  }
  return title;
}

void ShowErrorMessage(std::string_view message) {
  platform::ShowErrorBox(ApplicationTitle(platform::HostExecutablePath()), ErrorBoxText(message));
}

}  // namespace orva
