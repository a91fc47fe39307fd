// An action of the statistics window: a command that runs its handler only
// while it is enabled, with the button bound to it greyed while it is not.
// The window disables its one action for exactly as long as a recalculation
// reads the log, so "disabled" is also how the window knows one is running.
#pragma once

#include <functional>
#include <utility>

namespace orva {

class TAction {
 public:
  TAction(std::function<void()> onExecute, std::function<void(bool)> onEnabledChange)
      : onExecute_(std::move(onExecute)), onEnabledChange_(std::move(onEnabledChange)) {}

  void Execute() {
    if (enabled_) {
      onExecute_();
    }
  }
  bool Enabled() const { return enabled_; }

  // Disables the action for the scope's lifetime and enables it again on
  // every way out, a failure included, so the user can always retry.
  class DisabledScope {
   public:
    explicit DisabledScope(TAction& action) : action_(action) { action_.SetEnabled(false); }
    ~DisabledScope() { action_.SetEnabled(true); }
    DisabledScope(const DisabledScope&) = delete;
    DisabledScope& operator=(const DisabledScope&) = delete;

   private:
    TAction& action_;
  };

 private:
  void SetEnabled(bool enabled) {
    enabled_ = enabled;
    onEnabledChange_(enabled);
  }

  bool enabled_ = true;
  std::function<void()> onExecute_;
  std::function<void(bool)> onEnabledChange_;
};

}  // namespace orva
