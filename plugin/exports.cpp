// The plug-in's process-wide state and its entry points. The host calls them
// one at a time from its UI thread; each one routes to the statistics window,
// or answers as if there were none.
//
// No C++ exception may leave an export: for the host it would be a crash. A
// failure that would reach the host is shown in the error box instead and
// the call gives its no-window value. Null addresses are ignored the same way.
#include "plugin/exports.h"

#include <exception>
#include <string>

#include "base/records.h"
#include "window/error_box.h"
#include "window/main_form.h"
#include "window/startup_density.h"

namespace orva {
namespace {

// Trivially destructible, so both live until the very end of the library.
TExchangeRecord currentQso;
TfmMainForm* MainWindow = nullptr;

void ForgetWindow(TfmMainForm* form) {
  if (MainWindow == form) {
    MainWindow = nullptr;
  }
}

// The plug-in starts with the host's first call, whichever export it is: the
// screen's density is measured then, once (window/startup_density.h).
void Start() noexcept {
  StartupPixelsPerInch();
}

void ReportFailure(const char* message) noexcept {
  try {
    ShowErrorMessage(message);
  } catch (...) {
    // Nothing more can be told; the host must still not see the failure.
  }
}

template <class Result, class Body>
Result AtBoundary(Result noWindow, Body body) noexcept {
  try {
    return body();
  } catch (const std::exception& failure) {
    ReportFailure(failure.what());
  } catch (...) {
    ReportFailure("Unexpected failure");
  }
  return noWindow;
}

// Destroys the windows still alive when the library is unloaded.
struct UnloadGuard {
  ~UnloadGuard() {
    AtBoundary(0, [] {
      TfmMainForm::DestroyAll();
      return 0;
    });
  }
} unloadGuard;

}  // namespace
}  // namespace orva

using orva::AtBoundary;
using orva::currentQso;
using orva::MainWindow;
using orva::Start;

void ORVA_CALL _GetInfo(void* info) {
  Start();
  if (info) {
    orva::FillInfoRecord(static_cast<unsigned char*>(info));
  }
}

std::uintptr_t ORVA_CALL _Run(std::int32_t, const void* record) {
  Start();
  if (!record) {
    return 0;
  }
  return AtBoundary<std::uintptr_t>(0, [record] {
    if (!MainWindow) {
      MainWindow = new orva::TfmMainForm(currentQso, record, orva::ForgetWindow);
    }
    orva::TfmMainForm* window = MainWindow;
    window->Show();
    return window->Handle();
  });
}

std::int32_t ORVA_CALL _AddQSO(const void* record) {
  Start();
  if (!record) {
    return 0;
  }
  return AtBoundary<std::int32_t>(0, [record] {
    orva::CopyInExchangeRecord(currentQso, record);
    return MainWindow ? MainWindow->AddQso() : 0;
  });
}

std::int32_t ORVA_CALL _GetScore(const void* record) {
  Start();
  if (!record) {
    return 0;
  }
  return AtBoundary<std::int32_t>(0, [record] {
    orva::CopyInExchangeRecord(currentQso, record);
    return MainWindow ? MainWindow->GetScore() : 0;
  });
}

void ORVA_CALL _GrabNumber(const void* record, void* buffer) {
  Start();
  if (!record || !buffer) {
    return;
  }
  const std::string reference = AtBoundary<std::string>({}, [record] {
    orva::CopyInExchangeRecord(currentQso, record);
    return MainWindow ? MainWindow->GrabNumber() : std::string();
  });
  orva::WriteShortString(buffer, reference);
}

void ORVA_CALL _Release() {
  Start();
  AtBoundary(0, [] {
    if (MainWindow) {
      orva::TfmMainForm* window = MainWindow;
      MainWindow = nullptr;
      window->Release();
    }
    return 0;
  });
}
