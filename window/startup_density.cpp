// The start-up density, measured while the library initialises, before the
// host can call an export. On Windows that is inside the loader's lock: the
// screen's device context is taken from user32 and gdi32, which this library
// imports and which are therefore initialised before it (its unloading
// likewise destroys windows under that lock).
#include "window/startup_density.h"

#include "platform/screen.h"

namespace orva {

namespace {
const int startupPixelsPerInch = platform::ScreenPixelsPerInch();
}  // namespace

int StartupPixelsPerInch() {
  return startupPixelsPerInch;
}

}  // namespace orva
