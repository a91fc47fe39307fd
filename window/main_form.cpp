// The statistics window's form description and event handling: showing,
// the close button that minimizes, the close and release requests put off
// while the window is busy, and the "Recalc Statistic" action.
#include "window/main_form.h"

#include <exception>

#include "base/failure.h"
#include "platform/host_process.h"
#include "scoring/recalculation.h"
#include "scoring/report.h"
#include "window/error_box.h"
#include "window/startup_density.h"

namespace orva {

platform::FormDesign MainFormDesign() {
  platform::FormDesign d;
  d.caption = std::string(TfmMainForm::kDesignCaption);
  d.left = 950, d.top = 138, d.width = 374, d.height = 196;
  d.panelHeight = 23;
  d.buttonLeft = 232, d.buttonTop = 1, d.buttonWidth = 131, d.buttonHeight = 22;
  d.buttonCaption = "Recalc Statistic";
  d.formFontName = "MS Sans Serif", d.formFontHeight = -11;
  d.memoFontName = "Courier New", d.memoFontHeight = -11;
  d.memoCharset = 204;  // RUSSIAN_CHARSET
  return d;
}

// Marks the form as inside its own work. When the outermost scope ends and a
// release request was put off meanwhile, the request is posted again, so the
// destruction happens from a message loop with nothing of the form on the
// stack.
class TfmMainForm::BusyScope {
 public:
  explicit BusyScope(TfmMainForm& form) : form_(form) { ++form_.busyDepth_; }
  ~BusyScope() {
    if (--form_.busyDepth_ == 0 && form_.destroyWhenIdle_) {
      form_.destroyWhenIdle_ = false;
      form_.window_->PostReleaseRequest();
    }
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  TfmMainForm& form_;
};

TfmMainForm::TfmMainForm(TExchangeRecord& current, const void* hostRecord, LetGoHandler onLetGo)
    : current_(current),
      onLetGo_(std::move(onLetGo)),
      window_(platform::CreateFormWindow(MainFormDesign(), StartupPixelsPerInch(), *this)),
      RecalcStatistic([this] { RecalcStatisticExecute(); },
                      [this](bool enabled) { window_->SetButtonEnabled(enabled); }),
      contest_(current) {
  FormStorage1.Attach(
      *window_, {[this] { FormShow(); }, [this](bool& canClose) { FormCloseQuery(canClose); }},
      [](const std::string& message) { ShowErrorMessage(message); });
  CopyInExchangeRecord(current_, hostRecord);
  window_->SetCaption(std::string(current_.CaptionText.text()) + " in " +
                      std::string(kDesignCaption));
  LogQuery = std::make_unique<TLogQuery>("LogQuery", platform::BindLogCursor(current_.Connection));
  contest_.LoadReferenceList(
      platform::NamedReferenceFile().value_or(ReferenceFilePath(platform::HostExecutablePath())));
  Link();
}

TfmMainForm::~TfmMainForm() {
  window_->Hide();
  FormStorage1.DestroyHook();
  Unlink();
  onLetGo_(this);
}

TfmMainForm* TfmMainForm::liveForms_ = nullptr;

void TfmMainForm::Link() {
  next_ = liveForms_;
  if (next_) {
    next_->prev_ = this;
  }
  liveForms_ = this;
}

void TfmMainForm::Unlink() {
  (prev_ ? prev_->next_ : liveForms_) = next_;
  if (next_) {
    next_->prev_ = prev_;
  }
}

void TfmMainForm::DestroyAll() {
  while (liveForms_) {
    delete liveForms_;
  }
}

void TfmMainForm::Show() {
  // A show requested while the first showing is still under way (host code
  // running during its recalculation) is that same showing.
  if (showing_) {
    return;
  }
  BusyScope busy(*this);
  window_->Show();
}

void TfmMainForm::Release() {
  if (!releaseRequested_) {
    releaseRequested_ = true;
    window_->PostReleaseRequest();
  }
}

std::int32_t TfmMainForm::AddQso() {
  BusyScope busy(*this);
  const std::int32_t points = contest_.ScoreQso(true);
  BuildReport();
  return points;
}

std::int32_t TfmMainForm::GetScore() {
  BusyScope busy(*this);
  return contest_.ScoreQso(false);
}

std::string TfmMainForm::GrabNumber() {
  return contest_.LookUpReference();
}

void TfmMainForm::Guarded(const std::function<void()>& work) {
  BusyScope busy(*this);
  try {
    work();
  } catch (const std::exception& failure) {
    ShowErrorMessage(failure.what());
  } catch (...) {
    ShowErrorMessage(kUnexpectedFailure);
  }
}

void TfmMainForm::OnShowing() {
  showing_ = true;
  Guarded([this] { FormStorage1.ShowHook(); });
  showing_ = false;
}

bool TfmMainForm::OnSysCommand(std::uint32_t command) {
  if (command != kScClose) {
    return false;
  }
  Guarded([this] {
    if (!window_->IsVisible()) {
      Show();
    }
    window_->SetState(platform::WindowState::kMinimized);
  });
  return true;
}

void TfmMainForm::OnCloseRequest() {
  Guarded([this] {
    bool canClose = true;
    FormStorage1.CloseQueryHook(canClose);
    if (canClose) {
      FormClose();
      window_->Hide();
    }
  });
}

void TfmMainForm::OnQueryEndSession() {
  Guarded([this] {
    bool canClose = true;
    FormStorage1.CloseQueryHook(canClose);
  });
}

void TfmMainForm::OnButtonClick() {
  Guarded([this] { RecalcStatistic.Execute(); });
}

void TfmMainForm::OnReleaseRequest() {
  if (busyDepth_ > 0) {
    destroyWhenIdle_ = true;
    return;
  }
  delete this;
}

void TfmMainForm::FormShow() {
  RecalcStatistic.Execute();
}

void TfmMainForm::FormCloseQuery(bool& canClose) {
  // A recalculation still reading the log (its action is disabled meanwhile)
  // closes the query itself when it is done; closing it under the reader
  // would silently drop the rows left.
  if (RecalcStatistic.Enabled()) {
    LogQuery->Close();
  }
  canClose = true;
}

void TfmMainForm::FormClose() {
  Release();
  onLetGo_(this);
}

void TfmMainForm::RecalcStatisticExecute() {
  platform::ProcessMessages();
  const TAction::DisabledScope disabled(RecalcStatistic);
  window_->SetMemoText("");
  Recalculate(contest_, *LogQuery);
  BuildReport();
}

void TfmMainForm::BuildReport() {
  window_->SetMemoText(BuildReportText(contest_.myStatList));
}

}  // namespace orva
