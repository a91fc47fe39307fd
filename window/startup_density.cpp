// The start-up density, measured at the host's first call into the plug-in
// (every export asks for it before anything else), which is when the plug-in
// starts working for the host. Not while the library loads: on Windows that
// code runs under the system's loader lock, where calling user32 and gdi32
// (the screen's device context) can deadlock the host.
#include "window/startup_density.h"

#include "platform/screen.h"

namespace orva {

int StartupPixelsPerInch() {
  static const int measured = platform::ScreenPixelsPerInch();
  return measured;
}

}  // namespace orva
