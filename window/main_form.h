// The statistics window: the plug-in's one window and the owner of all
// contest state. It shows the report, offers "Recalc Statistic", floats above
// other windows, minimizes on its close button, and reports the failures of
// its own event handling in an error box.
//
// The window lets messages run while it recalculates, and host code may then
// call back into the plug-in, release the window or ask it to close. So the
// object counts how deep it is inside its own work, and a release request
// that arrives meanwhile is put off until the outermost call has returned:
// the state a recalculation works on is never destroyed under it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/records.h"
#include "platform/toolkit.h"
#include "scoring/contest.h"
#include "scoring/log_query.h"
#include "window/action.h"
#include "window/form_storage.h"

namespace orva {

// The statistics window's form description: sizes at the design density,
// captions and fonts.
platform::FormDesign MainFormDesign();

class TfmMainForm final : public platform::WindowEvents {
 public:
  // Called when the window is let go, so that the plug-in forgets it.
  using LetGoHandler = std::function<void(TfmMainForm*)>;

  static constexpr std::string_view kDesignCaption = "ORVA SWL DX Contest";

  // Builds the window hidden from `hostRecord`, copied into `current`.
  // Raises a failure (and leaves nothing behind) when it cannot be built.
  TfmMainForm(TExchangeRecord& current, const void* hostRecord, LetGoHandler onLetGo);
  ~TfmMainForm();
  TfmMainForm(const TfmMainForm&) = delete;
  TfmMainForm& operator=(const TfmMainForm&) = delete;

  std::uintptr_t Handle() const { return window_->NativeHandle(); }
  // Shows the window; the first showing recalculates.
  void Show();
  // Schedules destruction for the next turn of a message loop.
  void Release();

  // Host calls, routed here by the exports.
  std::int32_t AddQso();
  std::int32_t GetScore();
  std::string GrabNumber();

  // Destroys every window still alive, released or not: the library is
  // being unloaded.
  static void DestroyAll();

 private:
  class BusyScope;

  // Every window object alive, linked through the objects themselves so that
  // the list needs no destruction of its own when the library unloads.
  static TfmMainForm* liveForms_;
  void Link();
  void Unlink();
  TfmMainForm* next_ = nullptr;
  TfmMainForm* prev_ = nullptr;

  // Window events.
  void OnShowing() override;
  bool OnSysCommand(std::uint32_t command) override;
  void OnCloseRequest() override;
  void OnQueryEndSession() override;
  void OnButtonClick() override;
  void OnReleaseRequest() override;

  // Event handlers of the form description.
  void FormShow();
  void FormCloseQuery(bool& canClose);
  void FormClose();
  void RecalcStatisticExecute();

  void BuildReport();
  // Runs an event's work; a failure ends in the error box, never further.
  void Guarded(const std::function<void()>& work);

  TExchangeRecord& current_;
  LetGoHandler onLetGo_;
  std::unique_ptr<platform::FormWindow> window_;
  TFormStorage FormStorage1;
  TAction RecalcStatistic;
  TContest contest_;
  std::unique_ptr<TLogQuery> LogQuery;

  int busyDepth_ = 0;
  bool showing_ = false;
  bool releaseRequested_ = false;
  bool destroyWhenIdle_ = false;
};

}  // namespace orva
