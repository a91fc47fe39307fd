// Placeholder screen facts for the native build, fixed at a 1920x1080 screen of
// 96 pixels per inch with a 4x4 resizable frame, so that the headless toolkit
// links and its tests run. The real headless screen, which a host or a test
// sets, replaces this file.
#include "platform/screen.h"

namespace orva::platform {

ScreenSize PrimaryScreenSize() {
  return {1920, 1080};
}

int ScreenPixelsPerInch() {
  return 96;
}

Point ResizableFrameSize() {
  return {4, 4};
}

}  // namespace orva::platform
