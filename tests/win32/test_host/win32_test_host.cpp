// The Win32 test host: loads the plug-in DLL exactly as the logging program
// does, calls its six exports with the host's records and calling convention,
// and drives the real statistics window with real window messages.
//
// The unit tests link the contest logic directly; only a host that goes
// through LoadLibrary, the export table and the message queue sees what the
// operator's program sees: the ordinals, the stay-on-top window without an
// owner, the modal error box, the deferred release and the unloading with a
// window still alive. The log is a fake ADO connection holding rows in memory,
// because Wine's own ADO returns no rows.
//
// Usage: win32_test_host <plug-in DLL> <screenshot PNG> runs the whole
// session; win32_test_host --naming <plug-in DLL> only checks what the
// plug-in names after the host (run from a long path);
// win32_test_host --density <plug-in DLL> only checks the window's layout and
// stored density (run with the screen at another density than the design's);
// win32_test_host --version-resource <plug-in DLL> only reads the version the
// file's properties show and checks it against the build's. Prints one line
// per check and exits with 0 only when every check passed.
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/records.h"
#include "tests/win32/fake_ado.h"
#include "tests/win32/test_host/png_writer.h"

namespace {

using orva::ShortString;
using orva::TExchangeRecord;
using orva::test::ExecuteFailure;
using orva::test::FakeAdoConnection;
using orva::test::FakeRow;

// ---------------------------------------------------------------------------
// Reporting

// Counted from the error-box thread too.
std::atomic<int> failedChecks = 0;

bool Check(bool passed, const std::string& what) {
  std::printf("%s %s\n", passed ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!passed) {
    ++failedChecks;
  }
  return passed;
}

// Control characters made visible, so that a report that differs in one tab
// shows where.
std::string Visible(std::string_view text) {
  std::string shown;
  for (char c : text) {
    switch (c) {
      case '\t':
        shown += "\\t";
        break;
      case '\r':
        shown += "\\r";
        break;
      case '\n':
        shown += "\\n";
        break;
      default:
        shown += c;
    }
  }
  return shown;
}

void CheckText(const std::string& actual, const std::string& expected, const std::string& what) {
  if (!Check(actual == expected, what)) {
    std::printf("    expected \"%s\"\n    actual   \"%s\"\n", Visible(expected).c_str(),
                Visible(actual).c_str());
  }
}

template <typename Number>
void CheckNumber(Number actual, Number expected, const std::string& what) {
  if (!Check(actual == expected, what)) {
    std::printf("    expected %ld, actual %ld\n", static_cast<long>(expected),
                static_cast<long>(actual));
  }
}

// ---------------------------------------------------------------------------
// The plug-in as the host sees it: a DLL with six __stdcall exports.

using GetInfoCall = void(__stdcall*)(void* info);
using RunCall = HWND(__stdcall*)(std::int32_t ignored, const void* record);
using ScoreCall = std::int32_t(__stdcall*)(const void* record);
using GrabNumberCall = void(__stdcall*)(const void* record, char* reference);
using ReleaseCall = void(__stdcall*)();

struct Plugin {
  HMODULE module = nullptr;
  GetInfoCall GetInfo = nullptr;
  RunCall Run = nullptr;
  ScoreCall AddQSO = nullptr;
  ScoreCall GetScore = nullptr;
  GrabNumberCall GrabNumber = nullptr;
  ReleaseCall Release = nullptr;
};

// A host may find an export by name or by ordinal; both must be one function.
template <typename Call>
bool Resolve(HMODULE module, const char* name, WORD ordinal, Call& call) {
  const FARPROC byName = GetProcAddress(module, name);
  const FARPROC byOrdinal = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
  const bool found =
      Check(byName != nullptr && byName == byOrdinal,
            std::string("export ") + name + " by name is ordinal " + std::to_string(ordinal));
  // Through void (*)() because that is the one cast between function pointer
  // types the compiler accepts without a warning.
  call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(byName));
  return found;
}

std::optional<Plugin> LoadPlugin(const std::string& path) {
  Plugin plugin;
  plugin.module = LoadLibraryA(path.c_str());
  if (!Check(plugin.module != nullptr, "LoadLibraryA " + path)) {
    return std::nullopt;
  }
  bool complete = Resolve(plugin.module, "_GrabNumber", 1, plugin.GrabNumber);
  complete &= Resolve(plugin.module, "_Release", 2, plugin.Release);
  complete &= Resolve(plugin.module, "_GetScore", 3, plugin.GetScore);
  complete &= Resolve(plugin.module, "_AddQSO", 4, plugin.AddQSO);
  complete &= Resolve(plugin.module, "_Run", 5, plugin.Run);
  complete &= Resolve(plugin.module, "_GetInfo", 6, plugin.GetInfo);
  if (!complete) {
    FreeLibrary(plugin.module);
    return std::nullopt;
  }
  return plugin;
}

// ---------------------------------------------------------------------------
// Exchange records, filled as the logging program fills them.

void SetText(ShortString& field, std::string_view text) {
  const std::size_t length = std::min(text.size(), ShortString::kCapacity);
  field.length = static_cast<std::uint8_t>(length);
  std::memcpy(field.chars, text.data(), length);
}

// Every byte the plug-in must not read carries the host's own leftovers.
TExchangeRecord HostRecord(std::uint32_t connection, std::string_view table,
                           std::string_view caption) {
  TExchangeRecord record;
  std::memset(&record, 0x5A, sizeof record);
  record.Connection = connection;
  SetText(record.TableName, table);
  SetText(record.CaptionText, caption);
  for (ShortString* field :
       {&record.CallSign, &record.DigiBand, &record.QSOMode, &record.QSOReportRecived,
        &record.Continent, &record.MainPrefix, &record.DXCCPrefix, &record.ITUZone}) {
    SetText(*field, "");
  }
  return record;
}

TExchangeRecord Qso(const TExchangeRecord& context, std::string_view call, std::string_view band,
                    std::string_view mode, std::string_view exchange) {
  TExchangeRecord record = context;
  SetText(record.CallSign, call);
  SetText(record.DigiBand, band);
  SetText(record.QSOMode, mode);
  SetText(record.QSOReportRecived, exchange);
  return record;
}

// Calls one export and checks that the host's record came back unchanged.
template <typename Call>
auto WithRecordKept(const TExchangeRecord& record, const char* what, Call call) {
  TExchangeRecord before;
  std::memcpy(&before, &record, sizeof record);
  auto result = call(&record);
  Check(std::memcmp(&before, &record, sizeof record) == 0,
        std::string(what) + " leaves the host's record unchanged");
  return result;
}

std::int32_t AddQso(const Plugin& plugin, const TExchangeRecord& record) {
  return plugin.AddQSO(&record);
}

std::int32_t GetScore(const Plugin& plugin, const TExchangeRecord& record) {
  return plugin.GetScore(&record);
}

std::string GrabNumber(const Plugin& plugin, const TExchangeRecord& record) {
  char reference[256];
  std::memset(reference, 0x77, sizeof reference);
  plugin.GrabNumber(&record, reference);
  return std::string(reference + 1, static_cast<unsigned char>(reference[0]));
}

// ---------------------------------------------------------------------------
// The log behind the fake connection, and the reports it must give.

const std::vector<std::string> kLogColumns = {"CallSign",         "DigiBand",   "QSOMode",
                                              "QSOReportRecived", "DXCCPrefix", "MainPrefix",
                                              "Continent",        "ITUZone"};

// In CallSign order, as the host's query delivers them.
std::vector<FakeRow> FirstLog() {
  return {
      {"DL1ABC", "20M", "CW", "599 EU-005", "DL", "DL", "eu", 28},
      {"F5XYZ", "20M", "CW", "EU-005", "F", "F", "eu", 27},
      {"JA1AA", "40M", "SSB", "59 as-007", "JA", "JA", "as", 45},
      {"K1ABC", "20M", "CW", nullptr, "K", "K", "na", 8},
      {"W1AW", "20M", "CW", "59001", "K", "K", "na", 8},
  };
}

// The header line as the memo shows it: its two leading spaces trimmed.
const std::string kReportHeader = "Band\t  QSOs\tPoints\t  ORVA\t\r\n";

const std::string kFirstReport = kReportHeader +
                                 " 20M\t     4\t    32\t     2\t\r\n"
                                 " 40M\t     1\t    15\t     1\t\r\n"
                                 "Total\t     5\t    47\t     3\r\n"
                                 " Score: 47*3=141";

// kFirstReport after _AddQSO of OH2BH on 40M CW with EU-010.
const std::string kReportAfterQso = kReportHeader +
                                    " 20M\t     4\t    32\t     2\t\r\n"
                                    " 40M\t     2\t    30\t     2\t\r\n"
                                    "Total\t     6\t    62\t     4\r\n"
                                    " Score: 62*4=248";

std::vector<FakeRow> SecondLog() {
  return {
      {"DL1ABC", "20M", "CW", "EU-005", "DL", "DL", "EU", 28},
      {"ZL1AA", "15M", "SSB", "OC-001", "ZL", "ZL", "OC", 60},
  };
}

const std::string kSecondReport = kReportHeader +
                                  " 20M\t     1\t    15\t     1\t\r\n"
                                  " 15M\t     1\t    15\t     1\t\r\n"
                                  "Total\t     2\t    30\t     2\r\n"
                                  " Score: 30*2=60";

const std::string kExpectedQuery = "Select * from LOG order by CallSign";

// ---------------------------------------------------------------------------
// Windows, as a host or the user sees them.

std::string TextOf(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool HasClass(HWND window, const char* className) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, className) == 0;
}

struct ChildSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM param) {
  auto& search = *reinterpret_cast<ChildSearch*>(param);
  if (HasClass(child, search.className)) {
    search.found = child;
    return FALSE;
  }
  return TRUE;
}

// The first descendant of `parent` of the given window class.
HWND FindChild(HWND parent, const char* className) {
  ChildSearch search = {className, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string MemoText(HWND window) {
  return TextOf(FindChild(window, "Edit"));
}

// Runs the host's message loop until nothing is left to dispatch.
void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

BOOL CALLBACK CollectOwnWindow(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  }
  return TRUE;
}

std::vector<HWND> ProcessTopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectOwnWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND FindVisibleErrorBox() {
  for (HWND window : ProcessTopLevelWindows()) {
    if (IsWindowVisible(window) && HasClass(window, "#32770")) {
      return window;
    }
  }
  return nullptr;
}

// This program's full path in the ANSI code page, read through the wide call,
// which a path longer than MAX_PATH does not cut, rather than the ANSI call
// under test.
std::string OwnExecutablePath() {
  std::wstring wide(32768, L'\0');
  wide.resize(GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size())));
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string path(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), path.data(), size,
                      nullptr, nullptr);
  return path;
}

std::string OwnFileName() {
  const std::string path = OwnExecutablePath();
  return path.substr(path.find_last_of("\\:") + 1);
}

// The error box's caption is the host's application title: the executable's
// file name cut at its first ".", every character after the first in lower
// case.
std::string ExpectedApplicationTitle() {
  std::string title = OwnFileName();
  title = title.substr(0, title.find('.'));
  for (std::size_t i = 1; i < title.size(); ++i) {
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  }
  return title;
}

struct ErrorBoxSeen {
  bool appeared = false;
  std::string caption;
  std::string text;
  bool pluginWindowEnabled = true;
};

// Runs `trigger` on this thread while a second thread plays the user: it
// waits for the modal error box of this process, reads it, notes whether the
// plug-in's window was disabled meanwhile and presses OK.
// Set while a check waits for an error box of its own making.
std::atomic<bool> errorBoxExpected = false;

ErrorBoxSeen AnswerErrorBox(HWND pluginWindow, const std::function<void()>& trigger) {
  ErrorBoxSeen seen;
  std::atomic<bool> triggerDone = false;
  errorBoxExpected = true;
  std::thread user([&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    // The trigger returns only after the box has closed, so once it is done
    // without a box having been seen, none will come.
    while (!triggerDone && std::chrono::steady_clock::now() < deadline) {
      if (HWND box = FindVisibleErrorBox()) {
        seen.appeared = true;
        seen.caption = TextOf(box);
        seen.text = TextOf(GetDlgItem(box, 0xFFFF));
        seen.pluginWindowEnabled = IsWindowEnabled(pluginWindow);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    errorBoxExpected = false;
  });
  trigger();
  triggerDone = true;
  user.join();
  errorBoxExpected = false;
  return seen;
}

// Presses OK on every error box that no check waits for, and counts it as a
// failure: a host waiting for a click nobody makes would hang, not fail.
class UnexpectedErrorBoxes {
 public:
  UnexpectedErrorBoxes() : thread_([this] { Watch(); }) {}
  ~UnexpectedErrorBoxes() {
    stop_ = true;
    thread_.join();
  }
  UnexpectedErrorBoxes(const UnexpectedErrorBoxes&) = delete;
  UnexpectedErrorBoxes& operator=(const UnexpectedErrorBoxes&) = delete;

 private:
  void Watch() {
    while (!stop_) {
      if (HWND box = errorBoxExpected ? nullptr : FindVisibleErrorBox()) {
        Check(false,
              "no unexpected error box (one said \"" + TextOf(GetDlgItem(box, 0xFFFF)) + "\")");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int wait = 0; wait < 100 && IsWindowVisible(box); ++wait) {
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

// ---------------------------------------------------------------------------
// Screenshot

bool SaveScreenshot(HWND window, const std::string& path) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;

  HDC windowDc = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(windowDc);
  void* bits = nullptr;
  HBITMAP image = CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ original = SelectObject(memory, image);
  const bool captured = image && BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();

  std::vector<std::uint8_t> rgb;
  if (captured) {
    const auto* bgrx = static_cast<const std::uint8_t*>(bits);
    rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int i = 0; i < width * height; ++i) {
      rgb.insert(rgb.end(), {bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]});
    }
  }
  SelectObject(memory, original);
  DeleteObject(image);
  DeleteDC(memory);
  ReleaseDC(window, windowDc);
  return captured && orva::png::WriteRgbFile(path, width, height, rgb);
}

// ---------------------------------------------------------------------------
// The reference file beside the host, present while the first window is
// created (the window reads it then and never again).

class ReferenceFile {
 public:
  ReferenceFile() {
    directory_ = OwnExecutablePath();
    directory_ = directory_.substr(0, directory_.find_last_of("\\:") + 1) + "Plugins";
    path_ = directory_ + "\\ORVA.txt";
    createdDirectory_ = CreateDirectoryA(directory_.c_str(), nullptr);
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      const char lines[] = "DL1ABC=EU-005\r\nOH2BH=EU-010\r\nDL1ABC/P=EU-099\r\n";
      DWORD written = 0;
      created_ = WriteFile(file, lines, sizeof lines - 1, &written, nullptr) &&
                 written == sizeof lines - 1;
      CloseHandle(file);
    }
  }
  ~ReferenceFile() {
    DeleteFileA(path_.c_str());
    if (createdDirectory_) {
      RemoveDirectoryA(directory_.c_str());
    }
  }
  ReferenceFile(const ReferenceFile&) = delete;
  ReferenceFile& operator=(const ReferenceFile&) = delete;

  bool created() const { return created_; }
  const std::string& path() const { return path_; }

 private:
  std::string directory_;
  std::string path_;
  bool createdDirectory_ = false;
  bool created_ = false;
};

// ---------------------------------------------------------------------------
// The checks, in the order a session with the host goes.

void CheckInfoRecord(const Plugin& plugin) {
  unsigned char info[600];
  std::memset(info, 0xA5, sizeof info);
  plugin.GetInfo(info);
  auto shortString = [&](std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(info + offset + 1), info[offset]);
  };
  auto int32At = [&](std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, info + offset, sizeof value);
    return value;
  };
  CheckText(shortString(0), "ORVA DX Contest", "_GetInfo plug-in name");
  CheckText(shortString(260), "tarnix_contest", "_GetInfo plug-in kind");
  CheckNumber(int32At(256), 1, "_GetInfo first flag");
  CheckNumber(int32At(516), 1, "_GetInfo second flag");
  bool untouched = true;
  for (std::size_t i = 0; i < sizeof info; ++i) {
    const bool written = i < 16 || (i >= 256 && i < 275) || (i >= 516 && i < 520);
    untouched &= written || info[i] == 0xA5;
  }
  Check(untouched, "_GetInfo leaves every other byte of the host's buffer as it was");
}

void CheckWithoutWindow(const Plugin& plugin, const TExchangeRecord& context) {
  const TExchangeRecord qso = Qso(context, "DL1ABC", "20M", "CW", "EU-005");
  CheckNumber(WithRecordKept(qso, "_AddQSO", plugin.AddQSO), 0, "_AddQSO before _Run gives 0");
  CheckNumber(WithRecordKept(qso, "_GetScore", plugin.GetScore), 0,
              "_GetScore before _Run gives 0");
  CheckText(GrabNumber(plugin, qso), "", "_GrabNumber before _Run gives the empty text");
}

HWND CheckFirstRun(const Plugin& plugin, const TExchangeRecord& context,
                   const FakeAdoConnection& log) {
  ReferenceFile references;
  Check(references.created(), "reference file written at " + references.path());
  HWND window = WithRecordKept(
      context, "_Run", [&](const TExchangeRecord* record) { return plugin.Run(12345, record); });
  if (!Check(IsWindow(window), "_Run returns a window")) {
    return nullptr;
  }
  CheckText(TextOf(window), "ORVA in ORVA SWL DX Contest", "window caption");
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  Check(exStyle & WS_EX_TOPMOST, "window stays on top (WS_EX_TOPMOST)");
  Check(!(style & WS_MAXIMIZEBOX), "window has no maximize button");
  Check((style & WS_MINIMIZEBOX) && (style & WS_SYSMENU), "window has minimize and system menu");
  Check(style & WS_THICKFRAME, "window frame is sizeable");
  Check(GetWindow(window, GW_OWNER) == nullptr, "window has no owner");
  Check(GetParent(window) == nullptr, "window is top-level");
  RECT bounds{};
  GetWindowRect(window, &bounds);
  Check(bounds.left == 950 && bounds.top == 138 && bounds.right - bounds.left == 374 &&
            bounds.bottom - bounds.top == 196,
        "window has its designed rectangle 950,138 374x196 (it has " + std::to_string(bounds.left) +
            "," + std::to_string(bounds.top) + " " + std::to_string(bounds.right - bounds.left) +
            "x" + std::to_string(bounds.bottom - bounds.top) + " on a " +
            std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
            std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " screen)");
  Check(IsWindowVisible(window) && !IsIconic(window), "window is shown, not minimized");
  HWND button = FindChild(window, "Button");
  Check(button && TextOf(button) == "Recalc Statistic" && IsWindowEnabled(button),
        "button \"Recalc Statistic\" is there and enabled");
  Check(FindChild(window, "Edit") != nullptr, "memo is there");
  CheckText(MemoText(window), kFirstReport, "memo holds the report of the log after _Run");
  Check(log.Executed().size() == 1, "first showing ran one query");
  CheckText(log.Executed().empty() ? "" : log.Executed().back().text, kExpectedQuery,
            "query text sent to the host's connection");

  CheckText(GrabNumber(plugin, Qso(context, "DL1ABC", "", "", "")), " EU-005",
            "_GrabNumber finds the reference of a listed station");
  CheckText(GrabNumber(plugin, Qso(context, "DL1AB", "", "", "")), "",
            "_GrabNumber of an unlisted station gives the empty text");
  return window;
}

// The report's columns line up only in a fixed-pitch font; the check names
// the face the system actually chose for the memo.
void CheckMemoFont(HWND window) {
  HWND memo = FindChild(window, "Edit");
  HDC dc = GetDC(memo);
  const HGDIOBJ original =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(memo, WM_GETFONT, 0, 0)));
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, original);
  ReleaseDC(memo, dc);
  const std::string chosen = std::string(face) + ", height " + std::to_string(metrics.tmHeight);
  // The flag's name is historical: set, it means a variable pitch.
  Check(!(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH),
        "memo font is fixed-pitch (" + chosen + ")");
}

void Redraw(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  UpdateWindow(window);
  PumpMessages();
}

// The designed rectangle reaches past the right edge of a screen narrower than
// 1324 pixels, and no pixels are kept for the part off screen: the window is
// moved into view for the capture and put back where it was.
void CheckScreenshot(HWND window, const std::string& path) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int overhang = bounds.right - GetSystemMetrics(SM_CXSCREEN);
  constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (overhang > 0) {
    SetWindowPos(window, nullptr, bounds.left - overhang, bounds.top, 0, 0, kMoveOnly);
  }
  Redraw(window);
  Check(SaveScreenshot(window, path), "screenshot saved as " + path);
  if (overhang > 0) {
    SetWindowPos(window, nullptr, bounds.left, bounds.top, 0, 0, kMoveOnly);
    Redraw(window);
  }
}

void CheckLiveScoring(const Plugin& plugin, const TExchangeRecord& context, HWND window) {
  const TExchangeRecord fresh = Qso(context, "OH2BH", "40M", "CW", "eu-010");
  CheckNumber(WithRecordKept(fresh, "_GetScore", plugin.GetScore), 15,
              "_GetScore of a new continental reference gives 15");
  CheckText(MemoText(window), kFirstReport, "_GetScore leaves the report alone");
  CheckNumber(WithRecordKept(fresh, "_AddQSO", plugin.AddQSO), 15, "_AddQSO of a new QSO gives 15");
  CheckText(MemoText(window), kReportAfterQso, "memo holds the new report after _AddQSO");
  CheckNumber(plugin.AddQSO(&fresh), -1, "_AddQSO of the same QSO again gives -1");
  CheckNumber(plugin.GetScore(&fresh), -1, "_GetScore of a duplicate gives -1");
  CheckNumber(AddQso(plugin, Qso(context, "F5XYZ", "20M", "CW", "EU-005")), -1,
              "_AddQSO of a QSO already in the log gives -1");
  CheckText(MemoText(window), kReportAfterQso, "a duplicate leaves the report's numbers");
}

void CheckCloseButtonMinimizes(const Plugin& plugin, const TExchangeRecord& context, HWND window) {
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  Check(IsWindow(window) && IsWindowVisible(window), "close button leaves the window in place");
  Check(IsIconic(window), "close button minimizes the window");
  CheckNumber(AddQso(plugin, Qso(context, "OH2BH", "40M", "CW", "EU-010")), -1,
              "the minimized window keeps its statistics");
  CheckNumber(AddQso(plugin, Qso(context, "OH2BH", "80M", "CW", "001")), 2,
              "_AddQSO keeps working while minimized");
}

void CheckSecondRun(const Plugin& plugin, HWND window) {
  // A record that would show at once if the window took it over.
  const TExchangeRecord other = HostRecord(0, "WRONG", "Other");
  Check(plugin.Run(0, &other) == window, "second _Run returns the same window");
  Check(IsIconic(window), "second _Run leaves the window minimized");
  CheckText(TextOf(window), "ORVA in ORVA SWL DX Contest",
            "second _Run keeps the caption the window was created with");
}

void CheckRecalcButton(HWND window, FakeAdoConnection& log) {
  log.ReplaceRows(SecondLog());
  const std::size_t queriesBefore = log.Executed().size();
  HWND button = FindChild(window, "Button");
  SendMessageA(button, BM_CLICK, 0, 0);
  Check(log.Executed().size() == queriesBefore + 1, "button click runs one query");
  CheckText(log.Executed().back().text, kExpectedQuery,
            "recalculation keeps the table and connection of the first record");
  CheckText(MemoText(window), kSecondReport, "button click rebuilds the report from the log");
  Check(IsWindowEnabled(button), "button is enabled again after the recalculation");
}

void CheckErrorBox(HWND window, FakeAdoConnection& log) {
  log.FailExecute(ExecuteFailure{E_FAIL, "The log table is locked by another user"});
  HWND button = FindChild(window, "Button");
  const ErrorBoxSeen seen = AnswerErrorBox(window, [&] { SendMessageA(button, BM_CLICK, 0, 0); });
  log.FailExecute(std::nullopt);
  if (Check(seen.appeared, "a failing query shows an error box")) {
    CheckText(seen.caption, ExpectedApplicationTitle(), "error box caption is the host's title");
    CheckText(seen.text, "The log table is locked by another user.",
              "error box text is the provider's description and a full stop");
    Check(!seen.pluginWindowEnabled, "plug-in window is disabled while the error box is open");
  }
  Check(FindVisibleErrorBox() == nullptr, "only one error box was shown");
  Check(IsWindowEnabled(window), "plug-in window is enabled again after the error box");
  CheckText(MemoText(window), "", "memo is empty after the failed recalculation");
  Check(IsWindowEnabled(button), "button is enabled after the failed recalculation");
}

void CheckCloseRequest(const Plugin& plugin, const TExchangeRecord& context, HWND window,
                       const FakeAdoConnection& log) {
  SendMessageA(window, WM_CLOSE, 0, 0);
  CheckNumber(AddQso(plugin, Qso(context, "G4AAA", "20M", "CW", "EU-005")), 0,
              "after WM_CLOSE _AddQSO gives 0 at once");
  Check(!IsWindowVisible(window), "WM_CLOSE hides the window");
  PumpMessages();
  Check(!IsWindow(window), "the closed window is destroyed by the message loop");
  CheckNumber(log.References(), 1UL, "the plug-in let go of the host's connection");
  CheckNumber(log.LiveChildren(), 0, "no recordset or field of the log is left alive");
}

void CheckReleaseWithoutWindow(const Plugin& plugin, const TExchangeRecord& context) {
  plugin.Release();
  plugin.Release();
  PumpMessages();
  CheckNumber(GetScore(plugin, Qso(context, "G4AAA", "20M", "CW", "EU-005")), 0,
              "_Release twice without a window is harmless");
}

void CheckFreshRun(const Plugin& plugin, const TExchangeRecord& context) {
  HWND window = plugin.Run(0, &context);
  Check(IsWindow(window), "a fresh _Run after the close makes a new window");
  CheckText(MemoText(window), kSecondReport, "the new window recalculated from the log");
  plugin.Release();
  CheckNumber(AddQso(plugin, Qso(context, "G4AAA", "20M", "CW", "EU-005")), 0,
              "after _Release _AddQSO gives 0 at once");
  Check(IsWindow(window), "the released window stays until the message loop runs");
  PumpMessages();
  Check(!IsWindow(window), "the released window is destroyed by the message loop");
}

struct ResourceCount {
  DWORD gdi = 0;
  DWORD user = 0;
  std::size_t topLevelWindows = 0;
};

ResourceCount CountResources() {
  return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), ProcessTopLevelWindows().size()};
}

void CheckNoResourceGrowth(const Plugin& plugin, const TExchangeRecord& context,
                           const FakeAdoConnection& log) {
  constexpr int kCycles = 1000;
  const ResourceCount before = CountResources();
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    plugin.Run(0, &context);
    PumpMessages();
    if (cycle == 0) {
      // Shows that the count sees the plug-in's window, so that one left
      // behind would show. The system adds a hidden input-method window of
      // its own while the thread has any window, so the growth is not one.
      Check(ProcessTopLevelWindows().size() > before.topLevelWindows,
            "the window count includes a live plug-in window");
    }
    plugin.Release();
    PumpMessages();
  }
  const ResourceCount after = CountResources();
  std::printf("    GDI objects %lu -> %lu, USER objects %lu -> %lu, top-level windows %zu -> %zu\n",
              before.gdi, after.gdi, before.user, after.user, before.topLevelWindows,
              after.topLevelWindows);
  if (before.gdi == 0 && before.user == 0) {
    std::printf("    GetGuiResources reports 0 here (Wine); the window count stands in\n");
  }
  Check(after.gdi <= before.gdi && after.user <= before.user,
        "GDI and USER object counts do not grow over " + std::to_string(kCycles) + " sessions");
  Check(after.topLevelWindows <= before.topLevelWindows,
        "no top-level window is left behind over " + std::to_string(kCycles) + " sessions");
  CheckNumber(log.References(), 1UL, "every session let go of the host's connection");
}

// Unloading with a window alive must take the window down with the code that
// serves it; a reloaded plug-in must be able to open its window again.
void CheckUnloadWithLiveWindow(Plugin& plugin, const std::string& path,
                               const TExchangeRecord& context, const FakeAdoConnection& log) {
  HWND window = plugin.Run(0, &context);
  Check(IsWindow(window), "_Run before unloading makes a window");
  Check(FreeLibrary(plugin.module), "FreeLibrary with a window alive");
  if (!Check(!IsWindow(window), "unloading destroyed the window")) {
    // Its window procedure is unmapped now: any message to it would crash.
    std::printf("FAILED: stopping, a window outlived the plug-in's code\n");
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 1);
  }
  // Nothing may be left in the queue that leads into the unmapped code.
  PumpMessages();
  CheckNumber(log.References(), 1UL, "unloading let go of the host's connection");

  std::optional<Plugin> reloaded = LoadPlugin(path);
  if (!reloaded) {
    return;
  }
  window = reloaded->Run(0, &context);
  Check(IsWindow(window) && MemoText(window) == kSecondReport,
        "the reloaded plug-in opens its window and recalculates");
  reloaded->Release();
  PumpMessages();
  Check(!IsWindow(window), "the reloaded plug-in's window is released");
  Check(FreeLibrary(reloaded->module), "FreeLibrary of the reloaded plug-in");
}

// Wine's X11 driver hands a window's frame and its unmapping to the window
// manager; under Xvfb there is none, so every window destruction waits two
// seconds for it and a capture shows no frame. ctest switches that off in its
// prefix; a run by hand is told how.
void NoteWineWindowManagement() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) {
    return;
  }
  char value[16] = {};
  DWORD size = sizeof value;
  const bool set = RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed",
                                RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS;
  if (!set || !std::strchr("nNfF0", value[0])) {
    std::printf(
        "note: Wine manages the windows here; with no window manager running this takes 2 s "
        "per window and leaves frames out of the screenshot. Set "
        "HKCU\\Software\\Wine\\X11 Driver\\Managed to N in the prefix (ctest does).\n");
  }
}

int RunSession(const std::string& dllPath, const std::string& pngPath) {
  std::optional<Plugin> loaded = LoadPlugin(dllPath);
  if (!loaded) {
    return 1;
  }
  Plugin& plugin = *loaded;
  CheckInfoRecord(plugin);

  FakeAdoConnection log(kLogColumns, FirstLog());
  const TExchangeRecord context = HostRecord(log.Handle(), "LOG", "ORVA");
  CheckWithoutWindow(plugin, context);

  HWND window = CheckFirstRun(plugin, context, log);
  if (!window) {
    return 1;
  }
  CheckMemoFont(window);
  CheckScreenshot(window, pngPath);
  CheckLiveScoring(plugin, context, window);
  CheckCloseButtonMinimizes(plugin, context, window);
  CheckSecondRun(plugin, window);
  CheckRecalcButton(window, log);
  CheckErrorBox(window, log);
  CheckCloseRequest(plugin, context, window, log);
  CheckReleaseWithoutWindow(plugin, context);
  CheckFreshRun(plugin, context);
  CheckNoResourceGrowth(plugin, context, log);
  CheckUnloadWithLiveWindow(plugin, dllPath, context, log);
  return 0;
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// The key the plug-in stores its placement under for this host.
std::string OwnApplicationKey() {
  const std::string fileName = OwnFileName();
  return "Software\\" + fileName.substr(0, fileName.rfind('.'));
}

// Run from a folder deep enough that this program's path exceeds MAX_PATH:
// the plug-in must still name the error box's caption and the settings key
// after the host, not leave them empty (and the key shared with every other
// such host).
int RunNamingSession(const std::string& dllPath) {
  const std::string ownPath = OwnExecutablePath();
  Check(ownPath.size() > MAX_PATH,
        "the host runs from a path of " + std::to_string(ownPath.size()) + " characters");
  const std::string applicationKey = OwnApplicationKey();
  const std::string namelessSection = "Software\\TfmMainForm";
  RegDeleteTreeA(HKEY_CURRENT_USER, applicationKey.c_str());
  const bool namelessBefore = KeyExists(namelessSection);

  std::optional<Plugin> plugin = LoadPlugin(dllPath);
  if (!plugin) {
    return 1;
  }
  FakeAdoConnection log(kLogColumns, FirstLog());
  log.FailExecute(ExecuteFailure{E_FAIL, "The log table is locked by another user"});
  const TExchangeRecord context = HostRecord(log.Handle(), "LOG", "ORVA");
  const ErrorBoxSeen seen = AnswerErrorBox(nullptr, [&] { plugin->Run(0, &context); });
  if (Check(seen.appeared, "the failing first recalculation shows an error box")) {
    CheckText(seen.caption, ExpectedApplicationTitle(), "error box caption is the host's title");
  }
  plugin->Release();
  PumpMessages();
  Check(KeyExists(applicationKey + "\\TfmMainForm"),
        "the placement is stored below HKCU\\" + applicationKey);
  Check(namelessBefore || !KeyExists(namelessSection),
        "nothing is stored below HKCU\\" + namelessSection);
  RegDeleteTreeA(HKEY_CURRENT_USER, applicationKey.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, applicationKey.c_str());
  FreeLibrary(plugin->module);
  return 0;
}

std::string StoredText(const std::string& applicationKey, const char* name) {
  char text[256] = {};
  DWORD size = sizeof text;
  const std::string section = applicationKey + "\\TfmMainForm";
  if (RegGetValueA(HKEY_CURRENT_USER, section.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS) {
    return "(none)";
  }
  return text;
}

// Run with the screen at another density than the design's 96 pixels per
// inch: the window is laid out at the density the plug-in measured when it
// was loaded, and its placement is stored with that density.
int RunDensitySession(const std::string& dllPath) {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  Check(pixelsPerInch != 96,
        "the screen runs at " + std::to_string(pixelsPerInch) + " pixels per inch, not 96");
  const std::string applicationKey = OwnApplicationKey();
  RegDeleteTreeA(HKEY_CURRENT_USER, applicationKey.c_str());

  std::optional<Plugin> plugin = LoadPlugin(dllPath);
  if (!plugin) {
    return 1;
  }
  FakeAdoConnection log(kLogColumns, FirstLog());
  const TExchangeRecord context = HostRecord(log.Handle(), "LOG", "ORVA");
  HWND window = plugin->Run(0, &context);
  const auto scaled = [pixelsPerInch](int pixels) { return MulDiv(pixels, pixelsPerInch, 96); };
  const std::string designed = std::to_string(scaled(950)) + "," + std::to_string(scaled(138)) +
                               "," + std::to_string(scaled(950) + scaled(374)) + "," +
                               std::to_string(scaled(138) + scaled(196));
  RECT bounds{};
  GetWindowRect(window, &bounds);
  CheckText(std::to_string(bounds.left) + "," + std::to_string(bounds.top) + "," +
                std::to_string(bounds.right) + "," + std::to_string(bounds.bottom),
            designed, "the window is laid out at the screen's density");
  SendMessageA(window, WM_CLOSE, 0, 0);
  PumpMessages();
  CheckText(StoredText(applicationKey, "PixelsPerInch"), std::to_string(pixelsPerInch),
            "the placement is stored with the screen's density");
  CheckText(StoredText(applicationKey, "NormPos"), designed,
            "the stored rectangle is the one laid out at that density");
  RegDeleteTreeA(HKEY_CURRENT_USER, applicationKey.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, applicationKey.c_str());
  FreeLibrary(plugin->module);
  return 0;
}

// ---------------------------------------------------------------------------
// The version resource, read back through the calls that the file's
// properties use, against the version the build was made from.

// Four 16-bit numbers, as the resource's binary fields hold them; those the
// text leaves out are 0.
std::array<unsigned, 4> VersionNumbers(const char* text) {
  std::array<unsigned, 4> numbers{};
  std::sscanf(text, "%u.%u.%u.%u", &numbers[0], &numbers[1], &numbers[2], &numbers[3]);
  return numbers;
}

std::vector<char> ReadVersionInfo(const std::string& path) {
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  if (!info.empty() &&
      !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) {
    info.clear();
  }
  return info;
}

std::optional<std::string> VersionText(std::vector<char>& info, const std::string& block,
                                       const char* name) {
  const std::string query = "\\StringFileInfo\\" + block + "\\" + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), query.c_str(), &value, &length) || !value) {
    return std::nullopt;
  }
  return std::string(static_cast<const char*>(value));
}

void CheckFixedVersion(const VS_FIXEDFILEINFO& fixed) {
  const std::array<unsigned, 4> number = VersionNumbers(ORVA_VERSION);
  const DWORD high = MAKELONG(number[1], number[0]);
  const DWORD low = MAKELONG(number[3], number[2]);
  CheckNumber(fixed.dwSignature, static_cast<DWORD>(VS_FFI_SIGNATURE),
              "fixed version information is signed");
  CheckNumber(fixed.dwFileVersionMS, high, "file version's major and minor are the build's");
  CheckNumber(fixed.dwFileVersionLS, low, "file version's patch and tweak are the build's");
  CheckNumber(fixed.dwProductVersionMS, high, "product version's major and minor are the build's");
  CheckNumber(fixed.dwProductVersionLS, low, "product version's patch and tweak are the build's");
  CheckNumber(fixed.dwFileType, static_cast<DWORD>(VFT_DLL), "file type is a DLL");
}

// The texts sit in the block of the first language the resource lists.
std::string FirstTranslationBlock(std::vector<char>& info) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) ||
      length < 2 * sizeof(WORD)) {
    return "";
  }
  const auto* translation = static_cast<const WORD*>(value);
  char block[9];
  std::snprintf(block, sizeof block, "%04X%04X", translation[0], translation[1]);
  return block;
}

int RunVersionResourceCheck(const std::string& dllPath) {
  std::vector<char> info = ReadVersionInfo(dllPath);
  if (!Check(!info.empty(), "the plug-in carries a version resource")) {
    return 1;
  }
  void* fixed = nullptr;
  UINT fixedSize = 0;
  if (Check(VerQueryValueA(info.data(), "\\", &fixed, &fixedSize) &&
                fixedSize >= sizeof(VS_FIXEDFILEINFO),
            "the version resource holds fixed version information")) {
    CheckFixedVersion(*static_cast<const VS_FIXEDFILEINFO*>(fixed));
  }
  const std::string block = FirstTranslationBlock(info);
  Check(!block.empty(), "the version resource names its language (" + block + ")");
  const std::pair<const char*, const char*> texts[] = {
      {"FileDescription", "ORVA DX Contest scoring plug-in"},
      {"FileVersion", ORVA_VERSION},
      {"ProductName", "ORVA DX Contest"},
      {"ProductVersion", ORVA_VERSION},
      {"OriginalFilename", "RARIREZazoriz.dll"},
      {"InternalName", "RARIREZazoriz"},
  };
  for (const auto& [name, expected] : texts) {
    CheckText(VersionText(info, block, name).value_or("(none)"), expected,
              std::string("version resource ") + name);
  }
  // The plug-in is nobody's product by name.
  for (const char* name : {"CompanyName", "LegalCopyright"}) {
    Check(!VersionText(info, block, name), std::string("version resource has no ") + name);
  }
  return 0;
}

int Summary(int aborted) {
  std::printf("%s: %d check(s) failed\n", failedChecks || aborted ? "FAILED" : "PASSED",
              failedChecks.load());
  return failedChecks || aborted ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: %s <plug-in DLL> <screenshot PNG> | --naming <plug-in DLL> | "
                 "--density <plug-in DLL> | --version-resource <plug-in DLL>\n",
                 argv[0]);
    return 2;
  }
  const std::string_view mode = argv[1];
  if (mode == "--version-resource") {
    // Reads the file alone: no COM, no window, no display.
    return Summary(RunVersionResourceCheck(argv[2]));
  }
  // The host initializes COM on its user-interface thread before it hands
  // its connection over.
  if (!Check(SUCCEEDED(CoInitialize(nullptr)), "CoInitialize")) {
    return 1;
  }
  NoteWineWindowManagement();
  int aborted = 0;
  {
    const UnexpectedErrorBoxes boxWatch;
    if (mode == "--naming") {
      aborted = RunNamingSession(argv[2]);
    } else if (mode == "--density") {
      aborted = RunDensitySession(argv[2]);
    } else {
      aborted = RunSession(argv[1], argv[2]);
    }
  }
  CoUninitialize();
  return Summary(aborted);
}
