// Facts about the screen that decide where a stored window placement applies:
// the primary screen's size, its pixels per inch (measured once at start-up)
// and the frame size of a resizable window. Real metrics on Windows; a
// headless screen that a host or a test sets on the native build.
#pragma once

#include "platform/toolkit.h"

namespace orva::platform {

struct ScreenSize {
  int width = 0, height = 0;
};
ScreenSize PrimaryScreenSize();
int ScreenPixelsPerInch();
// The sizes of a resizable window frame (SM_CXFRAME, SM_CYFRAME).
Point ResizableFrameSize();

}  // namespace orva::platform
