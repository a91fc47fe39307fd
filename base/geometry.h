// Points and rectangles in screen pixels, and the system commands, shared by
// the window toolkit seam, the placement logic and the hosts. Plain values
// that every layer may use, so they live below all of them.
#pragma once

#include <cstdint>

#include "base/system_commands.h"

namespace orva {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

inline constexpr std::uint32_t kScMinimize = ORVA_SC_MINIMIZE;
inline constexpr std::uint32_t kScMaximize = ORVA_SC_MAXIMIZE;
inline constexpr std::uint32_t kScClose = ORVA_SC_CLOSE;
inline constexpr std::uint32_t kScRestore = ORVA_SC_RESTORE;
inline constexpr std::uint32_t kScCommandMask = ORVA_SC_COMMAND_MASK;

}  // namespace orva
