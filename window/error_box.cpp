// The error box shown through the build's toolkit, under the host's title.
#include "window/error_box.h"

#include "platform/host_process.h"
#include "platform/toolkit.h"

namespace orva {

void ShowErrorMessage(std::string_view message) {
  platform::ShowErrorBox(ApplicationTitle(platform::HostExecutablePath()), ErrorBoxText(message));
}

}  // namespace orva
