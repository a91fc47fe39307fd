// The screen density the plug-in works at, measured once when the plug-in
// starts (the host's first call into it): every window is laid out at it and
// every placement is written with it as "PixelsPerInch". Should the screen's
// density change while the library is loaded, windows and stored placements
// still agree with each other, and a placement written at the old density is
// still recognised as such.
#pragma once

namespace orva {

int StartupPixelsPerInch();

}  // namespace orva
