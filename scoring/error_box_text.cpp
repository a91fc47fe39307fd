// The error box's text and caption, derived the same way on both builds, so
// the operator sees the same words whichever platform draws the box.
#include "scoring/error_box_text.h"

#include "base/path.h"
#include "platform/host_process.h"
#include "platform/text_compare.h"

namespace orva {

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
    text += '.';
  }
  return text;
}

std::string ApplicationTitle(std::string_view executablePath) {
  std::string_view name = SplitAtLastSeparator(executablePath, platform::kPathDelimiters).fileName;
  name = name.substr(0, name.find('.'));
  if (name.empty()) {
    return {};
  }
  return name.front() + platform::LowerCase(name.substr(1));
}

}  // namespace orva
