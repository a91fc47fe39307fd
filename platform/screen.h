// Facts about the screen that decide where a stored window placement applies:
// the primary screen's size, its pixels per inch and the frame size of a
// resizable window, each as it is at the call. Real metrics on Windows; a
// headless screen that a host or a test sets on the native build.
#pragma once

#include "platform/toolkit.h"

namespace orva::platform {

struct ScreenSize {
  int width = 0, height = 0;
};
ScreenSize PrimaryScreenSize();
// The plug-in measures this once, when it starts (window/startup_density.h).
int ScreenPixelsPerInch();
// The sizes of a resizable window frame (SM_CXFRAME, SM_CYFRAME).
Point ResizableFrameSize();

}  // namespace orva::platform
