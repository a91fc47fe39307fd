// A statistics window that only remembers what is done to it, so the tests
// of its placement storage see every placement and state applied, on either
// build and without a toolkit.
#pragma once

#include <vector>

#include "platform/toolkit.h"

namespace orva::test {

class FakeFormWindow : public platform::FormWindow {
 public:
  // The designed place of the statistics window.
  static constexpr Rect kDesigned{950, 138, 1324, 334};

  std::uintptr_t NativeHandle() const override { return 1; }
  void SetCaption(std::string_view caption) override { caption_ = caption; }
  std::string Caption() const override { return caption_; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool IsVisible() const override { return visible; }
  void SetState(platform::WindowState newState) override {
    state = newState;
    appliedStates.push_back(newState);
  }
  platform::WindowState State() const override { return state; }
  void Repaint() override { ++repaints; }
  void SetMemoText(std::string_view text) override { memo_ = text; }
  std::string MemoText() const override { return memo_; }
  void SetButtonEnabled(bool enabled) override { buttonEnabled_ = enabled; }
  bool IsButtonEnabled() const override { return buttonEnabled_; }
  void PostReleaseRequest() override {}

  platform::WindowPlacement Placement() const override {
    platform::WindowPlacement result = placement;
    result.showCmd = state == platform::WindowState::kMinimized   ? platform::kSwShowMinimized
                     : state == platform::WindowState::kMaximized ? platform::kSwShowMaximized
                                                                  : platform::kSwShowNormal;
    return result;
  }
  void SetPlacement(const platform::WindowPlacement& applied) override {
    placement = applied;
    appliedPlacements.push_back(applied);
  }
  Rect Bounds() const override { return placement.normalPosition; }

  // The user drags the window elsewhere.
  void MoveTo(const Rect& rect) { placement.normalPosition = rect; }

  bool visible = false;
  platform::WindowState state = platform::WindowState::kNormal;
  platform::WindowPlacement placement{0, platform::kSwShowNormal, {-1, -1}, {-1, -1}, kDesigned};
  std::vector<platform::WindowPlacement> appliedPlacements;
  std::vector<platform::WindowState> appliedStates;
  int repaints = 0;

 private:
  std::string caption_;
  std::string memo_;
  bool buttonEnabled_ = true;
};

}  // namespace orva::test
