// Screen facts on Windows: the primary screen's size and the frame of a
// resizable window come from the system metrics at each call, because the user
// may change them while the host runs; the pixels per inch are measured once,
// so that every window of the plug-in is scaled alike and a stored placement
// is compared against the density its windows were laid out for.
#include <windows.h>

#include "platform/screen.h"

namespace orva::platform {

namespace {
int MeasurePixelsPerInch() {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return pixelsPerInch;
}
}  // namespace

ScreenSize PrimaryScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int ScreenPixelsPerInch() {
  // Measured at the first use rather than at library load: the loader lock
  // held while a DLL initialises forbids calls into the window system.
  static const int pixelsPerInch = MeasurePixelsPerInch();
  return pixelsPerInch;
}

Point ResizableFrameSize() {
  return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
}

}  // namespace orva::platform
