// The headless screen of the native build: there is no display, so the
// screen is whatever the host (or a test) says it is, and the window
// placement logic sees that screen exactly as it would see a real one.
//
// Until told otherwise it is a 1920x1080 screen at 96 pixels per inch with a
// resizable frame of 4x4 pixels: the most common desktop screen, the density
// at which the form description's sizes are given (so nothing is scaled),
// and what Windows reports for a sizeable frame at that density, so stored
// placements look the same as those of the Windows build.
#include "platform/native/orva_native.h"
#include "platform/screen.h"

namespace orva::platform {

namespace {
struct HeadlessScreen {
  ScreenSize size{1920, 1080};
  int pixelsPerInch = kDesignPixelsPerInch;
  Point frame{4, 4};
};

HeadlessScreen& Screen() {
  static HeadlessScreen screen;
  return screen;
}
}  // namespace

ScreenSize PrimaryScreenSize() {
  return Screen().size;
}

int ScreenPixelsPerInch() {
  return Screen().pixelsPerInch;
}

Point ResizableFrameSize() {
  return Screen().frame;
}

}  // namespace orva::platform

extern "C" int orva_set_screen(int width, int height, int pixelsPerInch) {
  if (width <= 0 || height <= 0 || pixelsPerInch <= 0) {
    return -1;
  }
  auto& screen = orva::platform::Screen();
  screen.size = {width, height};
  screen.pixelsPerInch = pixelsPerInch;
  return 0;
}

extern "C" int orva_set_frame_size(int cx, int cy) {
  if (cx < 0 || cy < 0) {
    return -1;
  }
  orva::platform::Screen().frame = {cx, cy};
  return 0;
}
