// Where a window comes up when the normal rectangle of the placement applied
// to it lies off the screen: the positions the system gives on a 1280x1024
// screen whose work area is the whole screen (no taskbar), measured on the
// Windows build, and checked on it and on the headless window alike, so that
// the native stand-in the placement tests run on places windows as the
// system does.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/toolkit.h"

namespace orva::test {

inline constexpr int kOffscreenWidth = 1280;
inline constexpr int kOffscreenHeight = 1024;

struct OffscreenCase {
  const char* name;
  Rect applied;
  Rect shown;
};

// Sizes stay within the least and largest the system allows a window
// (116x27 to 1292x1036 here), which it enforces apart from the screen.
inline constexpr OffscreenCase kOffscreenCases[] = {
    {"FarOffRightAndBottom", {5000, 5000, 5400, 5300}, {880, 724, 1280, 1024}},
    {"FarOffRight", {5000, 100, 5400, 400}, {880, 100, 1280, 400}},
    {"OffRightAndAboveTheTop", {5000, -900, 5400, -600}, {880, 0, 1280, 300}},
    {"LeftEdgeOnTheRightEdge", {1280, 100, 1680, 400}, {880, 100, 1280, 400}},
    {"OnePixelOnAtTheRight", {1279, 100, 1679, 400}, {1279, 100, 1679, 400}},
    {"TopEdgeOnTheBottomEdge", {100, 1024, 500, 1324}, {100, 724, 500, 1024}},
    {"OnePixelOnAtTheBottom", {100, 1023, 500, 1323}, {100, 1023, 500, 1323}},
    {"FarOffLeftAndTop", {-5000, -5000, -4600, -4700}, {0, 0, 400, 300}},
    {"RightEdgeOnTheLeftEdge", {-400, 100, 0, 400}, {0, 100, 400, 400}},
    {"OnePixelOnAtTheLeft", {-399, 100, 1, 400}, {-399, 100, 1, 400}},
    {"BottomEdgeOnTheTopEdge", {100, -300, 500, 0}, {100, 0, 500, 300}},
    {"OnePixelOnAtTheTop", {100, -299, 500, 1}, {100, -299, 500, 1}},
    {"MostlyOffRightAndBottom", {1000, 900, 1400, 1200}, {1000, 900, 1400, 1200}},
    {"MostlyOffLeftAndTop", {-200, -100, 200, 200}, {-200, -100, 200, 200}},
    {"WiderAndTallerThanTheScreenOffRight", {5000, 100, 6290, 1130}, {-10, 100, 1280, 1130}},
    {"LargerThanTheScreenOverIt", {-5, -6, 1285, 1030}, {-5, -6, 1285, 1030}},
};

inline constexpr std::uint32_t kOffscreenShowCommands[] = {
    platform::kSwHide, platform::kSwShowNormal, platform::kSwShowMinimized,
    platform::kSwShowMaximized};

using OffscreenParam = std::tuple<OffscreenCase, std::uint32_t>;

inline std::string OffscreenParamName(const testing::TestParamInfo<OffscreenParam>& info) {
  return std::string(std::get<0>(info.param).name) + "ShowCommand" +
         std::to_string(std::get<1>(info.param));
}

// Compared as text, so that a failure reads as the numbers.
inline std::string RectText(const Rect& rect) {
  return std::to_string(rect.left) + ',' + std::to_string(rect.top) + ',' +
         std::to_string(rect.right) + ',' + std::to_string(rect.bottom);
}

// Applies the case's rectangle with the show command to a window on the
// 1280x1024 screen: the placement holds the rectangle the system gives, and
// the window restored from whatever state the command left it in has it.
inline void ExpectPlacedAsTheSystemPlacesIt(platform::FormWindow& window,
                                            const OffscreenParam& param) {
  const auto& [test, showCmd] = param;
  platform::WindowPlacement placement = window.Placement();
  placement.showCmd = showCmd;
  placement.normalPosition = test.applied;
  window.SetPlacement(placement);
  EXPECT_EQ(RectText(window.Placement().normalPosition), RectText(test.shown));
  window.Show();
  window.SetState(platform::WindowState::kNormal);
  EXPECT_EQ(RectText(window.Bounds()), RectText(test.shown));
}

}  // namespace orva::test
