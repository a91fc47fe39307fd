#include "window/error_box.h"

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
  const std::size_t cut = executablePath.find_last_of(platform::kPathDelimiters);
  std::string title(cut == std::string_view::npos ? executablePath
                                                  : executablePath.substr(cut + 1));
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
