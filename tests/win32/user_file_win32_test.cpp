// Replacing a file the user named on Windows, with each of its system calls
// failing in turn through the layer's table of calls: after any failure the
// old file stands whole, no new file is left beside it, and the reason is the
// system's words for what failed; after success the new file is in place,
// by a name beyond any code page too.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/user_file.h"
#include "platform/win32/system_calls.h"

namespace orva::platform {
namespace {

namespace fs = std::filesystem;

constexpr int kInjectedErrno = ENOSPC;
constexpr DWORD kInjectedError = ERROR_ACCESS_DENIED;

// The one call being failed: its real form, how many of its calls are let
// through before the one that fails, and what the failing one returns.
struct Injected {
  AnyCall real = nullptr;
  int passes = 0;
  int result = -1;
};
Injected injected;

// Fails as the C runtime does: the result (-1, or 0 bytes written) and errno.
template <typename... Args>
int FailingCall(Args... args) {
  if (injected.passes-- == 0) {
    errno = kInjectedErrno;
    return injected.result;
  }
  return reinterpret_cast<int (*)(Args...)>(injected.real)(args...);
}

// A close that fails still lets go of the file, as a real one does.
int FailingClose(int fd) {
  const int result = reinterpret_cast<int (*)(int)>(injected.real)(fd);
  if (injected.passes-- == 0) {
    errno = kInjectedErrno;
    return -1;
  }
  return result;
}

BOOL WINAPI FailingMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
  if (injected.passes-- == 0) {
    SetLastError(kInjectedError);
    return FALSE;
  }
  return reinterpret_cast<decltype(&MoveFileExW)>(injected.real)(from, to, flags);
}

// A failing stand-in of each call's own signature.
AnyCall FailingFor(const std::string& call) {
  if (call == "_wopen") {
    return Erased(&FailingCall<const wchar_t*, int, int>);
  }
  if (call == "_write") {
    return Erased(&FailingCall<int, const void*, unsigned>);
  }
  if (call == "_commit") {
    return Erased(&FailingCall<int>);
  }
  if (call == "_close") {
    return Erased(&FailingClose);
  }
  return Erased(&FailingMove);
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct StepCase {
  std::string call;
  int passes;  // calls of it that succeed before the failing one
  int result;  // what the failing call returns
  bool large;  // bytes that take more than one write
  std::string reason;
};

void PrintTo(const StepCase& step, std::ostream* out) {
  *out << step.call << " #" << step.passes + 1 << " returning " << step.result;
}

class UserFileFolder : public testing::Test {
 protected:
  void SetUp() override {
    static int tests = 0;
    folder_ =
        fs::temp_directory_path() /
        ("orva-user-file-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++tests));
    fs::remove_all(folder_);
    ASSERT_TRUE(fs::create_directory(folder_));
    file_ = folder_ / L"\u00dcbung \u65e5\u672c.html";
    std::ofstream(file_, std::ios::binary) << kOld;
  }

  void TearDown() override {
    SystemCalls().Reset();
    fs::remove_all(folder_);
  }

  std::set<fs::path> Names() const {
    std::set<fs::path> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
      names.insert(entry.path().filename());
    }
    return names;
  }

  static constexpr char kOld[] = "the old file\n";
  static constexpr char kNew[] = "the new file, longer than the old one\r\n";
  fs::path folder_;
  fs::path file_;
};

TEST_F(UserFileFolder, PutsTheNewFileInPlaceByItsWideName) {
  EXPECT_EQ(ReplaceUserFile(file_, kNew), "");
  EXPECT_EQ(Bytes(file_), kNew);
  EXPECT_EQ(Names(), std::set<fs::path>{file_.filename()});
}

TEST_F(UserFileFolder, MakesAFileThatWasNotThere) {
  const fs::path made = folder_ / "made.txt";
  EXPECT_EQ(ReplaceUserFile(made, kNew), "");
  EXPECT_EQ(Bytes(made), kNew);
}

TEST_F(UserFileFolder, GivesTheReasonForAMissingFolder) {
  EXPECT_EQ(ReplaceUserFile(folder_ / "missing" / "page.html", kNew), std::strerror(ENOENT));
  EXPECT_EQ(Names(), std::set<fs::path>{file_.filename()});
}

class FailingStep : public UserFileFolder, public testing::WithParamInterface<StepCase> {};

TEST_P(FailingStep, LeavesTheOldFileAsItWasAndGivesTheReason) {
  const StepCase& step = GetParam();
  const std::string bytes = step.large ? std::string(3 << 20, 'x') : std::string(kNew);
  injected = {SystemCalls().Get(step.call), step.passes, step.result};
  ASSERT_TRUE(SystemCalls().Set(step.call, FailingFor(step.call)));
  const std::string reason = ReplaceUserFile(file_, bytes);
  SystemCalls().Reset();
  EXPECT_EQ(reason, step.reason);
  EXPECT_EQ(Bytes(file_), kOld);
  EXPECT_EQ(Names(), std::set<fs::path>{file_.filename()});
}

// The system's words for the move's error, as the replacement tells them:
// without the full stop and line end that end them.
std::string MoveReason() {
  char* text = nullptr;
  FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, kInjectedError, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason = text ? text : "";
  LocalFree(text);
  return reason.substr(0, reason.find_last_not_of(".\r\n ") + 1);
}

INSTANTIATE_TEST_SUITE_P(
    EachCall, FailingStep,
    testing::Values(StepCase{"_wopen", 0, -1, false, std::strerror(kInjectedErrno)},
                    StepCase{"_write", 0, -1, false, std::strerror(kInjectedErrno)},
                    StepCase{"_write", 1, -1, true, std::strerror(kInjectedErrno)},
                    // A write that takes nothing is a failure, not a call to
                    // make again for ever.
                    StepCase{"_write", 0, 0, false, std::strerror(EIO)},
                    StepCase{"_commit", 0, -1, false, std::strerror(kInjectedErrno)},
                    StepCase{"_close", 0, -1, false, std::strerror(kInjectedErrno)},
                    StepCase{"MoveFileExW", 0, FALSE, false, MoveReason()}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(Win32SystemCallTable, NamesEachCallAsTheSystemDoes) {
  for (const char* name : {"_wopen", "_write", "_commit", "_close", "_wunlink", "MoveFileExW"}) {
    EXPECT_NE(SystemCalls().Get(name), nullptr) << name;
  }
  EXPECT_EQ(SystemCalls().Get("MoveFileExA"), nullptr);
}

}  // namespace
}  // namespace orva::platform
