// Placement storage of the statistics window: reading and writing the
// placement in the exact order of values the stored settings rely on, and the
// hooks that run it around the window's own handlers.
#include "window/form_storage.h"

#include <charconv>
#include <optional>
#include <vector>

#include "base/failure.h"
#include "base/path.h"

namespace orva {

namespace {

using platform::SettingsValue;

std::optional<int> ParseInteger(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

// Position texts are split at runs of commas and spaces, so leading and
// doubled separators make no empty words.
std::vector<std::string_view> SplitWords(std::string_view text) {
  constexpr std::string_view kSeparators = ", ";
  std::vector<std::string_view> words;
  std::size_t start = text.find_first_not_of(kSeparators);
  while (start != std::string_view::npos) {
    const std::size_t end = std::min(text.find_first_of(kSeparators, start), text.size());
    words.push_back(text.substr(start, end - start));
    start = text.find_first_not_of(kSeparators, end);
  }
  return words;
}

int WordValue(const std::vector<std::string_view>& words, std::size_t index, int fallback) {
  return index < words.size() ? ParseInteger(words[index]).value_or(fallback) : fallback;
}

}  // namespace

std::string ExeBaseName(std::string_view executablePath, std::string_view delimiters) {
  const std::string_view fileName = SplitAtLastSeparator(executablePath, delimiters).fileName;
  return std::string(fileName.substr(0, fileName.rfind('.')));
}

// Keeps the application key open for one read or write, and closes it on
// every way out. The store may hold the values written until the key is
// closed, so a read or write that gets to its end closes the key itself and
// fails as a failed write does when something was not stored.
class TFormStorage::StoreSession {
 public:
  StoreSession(TFormStorage& storage, platform::SettingsAccess access) : storage_(storage) {
    storage_.store_ = platform::OpenApplicationKey(storage_.ApplicationKey(), access);
  }
  // Left by a failure, which is already on its way to the user: what the
  // store could not keep of the same read or write is part of it (a write
  // then never counts as done, and the destroy hook writes again).
  ~StoreSession() {
    try {
      if (storage_.store_) {
        storage_.store_->Close();
      }
    } catch (...) {
      // Not a second failure to tell: the first one is being told.
    }
    storage_.store_.reset();
  }
  StoreSession(const StoreSession&) = delete;
  StoreSession& operator=(const StoreSession&) = delete;

  void Close() {
    const std::unique_ptr<platform::SettingsKey> key = std::move(storage_.store_);
    const std::optional<platform::SettingsLoss> loss = key ? key->Close() : std::nullopt;
    if (!loss) {
      return;
    }
    if (loss->sectionMissing) {
      throw Failure("Failed to create key " + loss->section);
    }
    throw Failure("Failed to set data for '" + loss->name + "'");
  }

 private:
  TFormStorage& storage_;
};

TFormStorage::TFormStorage(PlacementContext context) : context_(std::move(context)) {}

void TFormStorage::Attach(platform::FormWindow& window, FormHandlers handlers, ErrorBox showError) {
  window_ = &window;
  handlers_ = std::move(handlers);
  showError_ = std::move(showError);
}

void TFormStorage::ReportFailures(const std::function<void()>& work) {
  try {
    work();
  } catch (const Failure& failure) {
    showError_(failure.what());
  }
}

void TFormStorage::ShowHook() {
  ReportFailures([this] { LoadWindowPlacement(); });
  if (handlers_.show) {
    handlers_.show();
  }
}

void TFormStorage::CloseQueryHook(bool& canClose) {
  if (handlers_.closeQuery) {
    handlers_.closeQuery(canClose);
  }
  if (canClose) {
    ReportFailures([this] { StoreWindowPlacement(); });
  }
}

void TFormStorage::DestroyHook() {
  if (!wasStored_) {
    inDestroy_ = true;
    ReportFailures([this] { StoreWindowPlacement(); });
    inDestroy_ = false;
  }
}

std::string TFormStorage::ApplicationKey() const {
  return "Software\\" + ExeBaseName(context_.hostExecutablePath(), platform::kPathDelimiters);
}

void TFormStorage::LoadWindowPlacement() {
  wasStored_ = false;
  {
    StoreSession session(*this, platform::SettingsAccess::kRead);
    if (ReadInteger("FormVersion", 0) >= Version) {
      ReadPosition();
      ReadShowState();
      // Set before the stored value is read, so that a fault in it alone
      // does not stop the placement from being written again.
      wasLoaded_ = true;
      currentBand_ = ReadString(std::string(StoredValueName), CurrentBandText());
    }
    wasLoaded_ = true;
    session.Close();
  }
  AdjustMaximizedPosition();
}

void TFormStorage::ReadPosition() {
  platform::WindowPlacement placement = window_->Placement();
  if (!window_->IsVisible()) {
    // Applying the record must move the window without showing it.
    placement.showCmd = platform::kSwHide;
  }
  placement.flags =
      static_cast<std::uint32_t>(ReadInteger("Flags", static_cast<int>(placement.flags)));
  bool found = false;
  const std::string minMax = ReadPositionText("MinMaxPos");
  if (!minMax.empty()) {
    found = true;
    const auto words = SplitWords(minMax);
    placement.minPosition = {WordValue(words, 0, 0), WordValue(words, 1, 0)};
    placement.maxPosition = {WordValue(words, 2, 0), WordValue(words, 3, 0)};
  }
  const std::string normal = ReadPositionText("NormPos");
  if (!normal.empty()) {
    found = true;
    const auto words = SplitWords(normal);
    const Rect current = window_->Bounds();
    placement.normalPosition = {WordValue(words, 0, current.left), WordValue(words, 1, current.top),
                                WordValue(words, 2, current.right),
                                WordValue(words, 3, current.bottom)};
  }
  // A placement written at another pixel density would come out at the
  // wrong size; the show state still applies.
  const int pixelsPerInch = context_.pixelsPerInch();
  if (ReadInteger("PixelsPerInch", pixelsPerInch) != pixelsPerInch) {
    found = false;
  }
  // The window's frame is resizable, so the whole stored rectangle applies.
  if (found && placement.normalPosition.right > placement.normalPosition.left) {
    window_->SetPlacement(placement);
  }
}

void TFormStorage::ReadShowState() {
  switch (ReadInteger("ShowCmd", 0)) {
    case platform::kSwShowMinimized:
    case platform::kSwMinimize:
    case platform::kSwShowMinNoActive:
      // Minimizing is left to the application's window. The plug-in's
      // application has none, so the command ends in the thread's queue and
      // the window comes up normal; it is not repainted.
      window_->SetState(platform::WindowState::kNormal);
      context_.postApplicationSysCommand(kScMinimize);
      return;
    case platform::kSwShowMaximized:
      window_->SetState(platform::WindowState::kMaximized);
      break;
    default:
      window_->SetState(platform::WindowState::kNormal);
      break;
  }
  window_->Repaint();
}

void TFormStorage::AdjustMaximizedPosition() {
  platform::WindowPlacement placement = window_->Placement();
  if (!window_->IsVisible()) {
    placement.showCmd = platform::kSwHide;
  }
  // Maximized, the resizable frame lies just outside the screen.
  const Point frame = context_.resizableFrameSize();
  placement.maxPosition = {-frame.x, -frame.y};
  window_->SetPlacement(placement);
}

void TFormStorage::StoreWindowPlacement() {
  if (!wasLoaded_) {
    return;
  }
  StoreSession session(*this, platform::SettingsAccess::kAll);
  WriteInteger("FormVersion", Version);
  const platform::WindowPlacement placement = window_->Placement();
  WriteInteger("Flags", static_cast<int>(placement.flags));
  WriteInteger("ShowCmd", static_cast<int>(placement.showCmd));
  WriteInteger("PixelsPerInch", context_.pixelsPerInch());
  WritePositionText("MinMaxPos", placement.minPosition.x, placement.minPosition.y,
                    placement.maxPosition.x, placement.maxPosition.y);
  const Rect& normal = placement.normalPosition;
  WritePositionText("NormPos", normal.left, normal.top, normal.right, normal.bottom);
  WriteString("Visible", inDestroy_ ? "1" : "0");
  WriteString(std::string(StoredValueName), CurrentBandText());
  // Done only once the store has kept it all, which it may tell only when
  // the key is closed.
  session.Close();
  wasStored_ = true;
}

std::string TFormStorage::ReadPositionText(const std::string& name) {
  const std::string sized = ReadString(name + ScreenSizeSuffix(), "");
  return sized.empty() ? ReadString(name, "") : sized;
}

void TFormStorage::WritePositionText(const std::string& name, int a, int b, int c, int d) {
  const std::string text = std::to_string(a) + ',' + std::to_string(b) + ',' + std::to_string(c) +
                           ',' + std::to_string(d);
  WriteString(name + ScreenSizeSuffix(), text);
  WriteString(name, text);
}

std::string TFormStorage::ScreenSizeSuffix() const {
  const platform::ScreenSize size = context_.screenSize();
  return '(' + std::to_string(size.width) + 'x' + std::to_string(size.height) + ')';
}

std::string TFormStorage::CurrentBandText() const {
  if (const auto* number = std::get_if<int>(&currentBand_)) {
    return std::to_string(*number);
  }
  return std::get<std::string>(currentBand_);
}

std::string TFormStorage::ReadString(const std::string& name, const std::string& fallback) {
  const std::unique_ptr<platform::SettingsSection> section =
      store_ ? store_->OpenSection(std::string(IniSection)) : nullptr;
  const SettingsValue value = section ? section->Read(name) : SettingsValue{};
  switch (value.kind) {
    case SettingsValue::Kind::kAbsent:
      return fallback;
    case SettingsValue::Kind::kText:
      return value.text;
    case SettingsValue::Kind::kOtherType:
      throw Failure("Invalid data type for '" + name + "'");
    case SettingsValue::Kind::kQueryFailed:
      break;
  }
  throw Failure("Failed to get data for '" + name + "'");
}

int TFormStorage::ReadInteger(const std::string& name, int fallback) {
  return ParseInteger(ReadString(name, "")).value_or(fallback);
}

void TFormStorage::WriteString(const std::string& name, const std::string& text) {
  if (!store_) {
    return;
  }
  const std::string section(IniSection);
  if (!store_->CreateSection(section)) {
    throw Failure("Failed to create key " + section);
  }
  const std::unique_ptr<platform::SettingsSection> open = store_->OpenSection(section);
  if (open && !open->WriteText(name, text)) {
    throw Failure("Failed to set data for '" + name + "'");
  }
}

void TFormStorage::WriteInteger(const std::string& name, int value) {
  WriteString(name, std::to_string(value));
}

}  // namespace orva
