// The statistics window's placement storage, component FormStorage1.
//
// It brings the window back where the user left it: the placement (normal
// rectangle, minimized and maximized positions, show state) and one stored
// value are read from the per-user settings store when the window is shown
// and written back when it is asked to close and when it is destroyed. The
// window calls its hooks in place of its own show and close-query handlers,
// which the component runs in turn, and calls the destroy hook as it goes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "platform/host_process.h"
#include "platform/screen.h"
#include "platform/settings_store.h"
#include "platform/toolkit.h"
#include "window/startup_density.h"

namespace orva {

// The host executable's file name without directory and extension; it names
// the application key, so the plug-in's own file name plays no part.
std::string ExeBaseName(std::string_view executablePath, std::string_view delimiters);

// What the placement depends on outside its window: the host executable
// (which names the settings key), the screen (a placement applies only at the
// size and density it was written at) and the application's window, which
// minimizing is left to.
struct PlacementContext {
  std::function<std::string()> hostExecutablePath;
  std::function<platform::ScreenSize()> screenSize;
  // The density the window is laid out at, measured once when the plug-in
  // starts.
  std::function<int()> pixelsPerInch;
  std::function<Point()> resizableFrameSize;
  std::function<void(std::uint32_t command)> postApplicationSysCommand;
};

// The running host, the real screen, and the plug-in's application object,
// which has no window: its system commands go to the thread's queue.
inline PlacementContext PlatformPlacementContext() {
  return {platform::HostExecutablePath, platform::PrimaryScreenSize, StartupPixelsPerInch,
          platform::ResizableFrameSize, platform::PostThreadSysCommand};
}

// The window's own handlers that the hooks run; an empty one is skipped.
struct FormHandlers {
  std::function<void()> show;
  std::function<void(bool& canClose)> closeQuery;
};

// Shows a failure's message to the user.
using ErrorBox = std::function<void(const std::string& message)>;

class TFormStorage {
 public:
  // Written as "FormVersion"; a lower stored version is not applied.
  static constexpr int Version = 0;
  // The section: the class name of the owning window.
  static constexpr std::string_view IniSection = "TfmMainForm";
  static constexpr std::string_view StoredValueName = "CurrentBand";

  explicit TFormStorage(PlacementContext context = PlatformPlacementContext());
  TFormStorage(const TFormStorage&) = delete;
  TFormStorage& operator=(const TFormStorage&) = delete;

  // Takes the window to work on and the handlers the hooks stand in for.
  // Must happen before any hook runs.
  void Attach(platform::FormWindow& window, FormHandlers handlers, ErrorBox showError);

  // The window goes from hidden to shown (not yet visible): read, then the
  // window's show handler.
  void ShowHook();
  // The window's close query, then, if the close is still allowed, a write.
  void CloseQueryHook(bool& canClose);
  // Destruction begins: a write unless one happened since the read.
  void DestroyHook();

  // Each raises a Failure on a store fault; the hooks catch it.
  void LoadWindowPlacement();
  void StoreWindowPlacement();

  // "Software\" followed by the host's ExeBaseName.
  std::string ApplicationKey() const;

  bool WasLoaded() const { return wasLoaded_; }
  bool WasStored() const { return wasStored_; }
  bool InDestroy() const { return inDestroy_; }
  // Starts as the integer 0; after a read it holds the text read.
  const std::variant<int, std::string>& CurrentBand() const { return currentBand_; }

 private:
  class StoreSession;

  void ReportFailures(const std::function<void()>& work);
  void ReadPosition();
  void ReadShowState();
  void AdjustMaximizedPosition();
  std::string ReadPositionText(const std::string& name);
  void WritePositionText(const std::string& name, int a, int b, int c, int d);
  std::string ScreenSizeSuffix() const;
  std::string CurrentBandText() const;

  std::string ReadString(const std::string& name, const std::string& fallback);
  int ReadInteger(const std::string& name, int fallback);
  void WriteString(const std::string& name, const std::string& text);
  void WriteInteger(const std::string& name, int value);

  PlacementContext context_;
  platform::FormWindow* window_ = nullptr;
  FormHandlers handlers_;
  ErrorBox showError_;

  bool wasLoaded_ = false;
  bool wasStored_ = false;
  bool inDestroy_ = false;
  std::variant<int, std::string> currentBand_ = 0;
  // The application key while a read or write runs. Null at other times, and
  // also during one when the key can neither be opened nor created: nothing
  // is then written anywhere and every read gives its default.
  std::unique_ptr<platform::SettingsKey> store_;
};

}  // namespace orva
