// Whole-file replacement with each of its system calls failing in turn,
// through the layer's table of calls: after any failure the old file stands
// whole under its own name and no temporary is left; after success the new
// file is in place and a kept old file beside it.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/native/file_replace.h"
#include "platform/native/system_calls.h"

namespace orva::platform {
namespace {

namespace fs = std::filesystem;

constexpr int kInjectedError = ENOSPC;

// The one call being failed: its real form, and how many of its calls are
// let through before the one that fails.
struct Injected {
  AnyCall real = nullptr;
  int passes = 0;
};
Injected injected;

template <typename Result, typename... Args>
Result FailingCall(Args... args) {
  if (injected.passes-- == 0) {
    errno = kInjectedError;
    return -1;
  }
  return reinterpret_cast<Result (*)(Args...)>(injected.real)(args...);
}

template <typename Result, typename... Args>
AnyCall Failing() {
  return reinterpret_cast<AnyCall>(&FailingCall<Result, Args...>);
}

// A failing stand-in of each call's own signature.
AnyCall FailingFor(const std::string& call) {
  if (call == "open") {
    return Failing<int, const char*, int, mode_t>();
  }
  if (call == "mkostemp") {
    return Failing<int, char*, int>();
  }
  if (call == "fchmod") {
    return Failing<int, int, mode_t>();
  }
  if (call == "write") {
    return Failing<ssize_t, int, const void*, std::size_t>();
  }
  if (call == "fsync" || call == "close") {
    return Failing<int, int>();
  }
  return Failing<int, const char*, const char*>();  // link, rename
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

mode_t Permissions(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

struct StepCase {
  std::string call;
  int passes;     // calls of it that succeed before the failing one
  bool keepOld;   // the old file is to be kept aside under another name
  bool replaced;  // a failure after the final rename does not undo it
};

void PrintTo(const StepCase& step, std::ostream* out) {
  *out << step.call << " #" << step.passes + 1 << (step.keepOld ? " keeping the old file" : "");
}

class ReplaceFolder : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orva-replace-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    file_ = folder_ / "section.values";
    kept_ = folder_ / "section.values.damaged";
    std::ofstream(file_, std::ios::binary) << kOld;
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // An earlier kept file, which only a replacement that succeeds may replace.
    std::ofstream(kept_, std::ios::binary) << kEarlierKept;
  }

  void TearDown() override {
    SystemCalls().Reset();
    fs::remove_all(folder_);
  }

  ReplaceOptions Options(bool keepOld) const {
    return {0604, keepOld ? kept_.string() : std::string()};
  }

  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  static constexpr char kOld[] = "the old file\n";
  static constexpr char kNew[] = "the new file, longer than the old one\n";
  static constexpr char kEarlierKept[] = "kept before\n";
  fs::path folder_;
  fs::path file_;
  fs::path kept_;
};

TEST_F(ReplaceFolder, KeepsNothingAsideWhenThereIsNoOldFile) {
  fs::remove(file_);
  EXPECT_EQ(ReplaceFileWhole(file_.string(), kNew, Options(true)), 0);
  EXPECT_EQ(Bytes(file_), kNew);
  EXPECT_EQ(Bytes(kept_), kEarlierKept);
  EXPECT_EQ(Names(), (std::set<std::string>{"section.values", "section.values.damaged"}));
}

TEST_F(ReplaceFolder, KeepsAFileKeptByAFailedReplacementOnce) {
  fs::remove(kept_);
  fs::create_hard_link(file_, kept_);
  EXPECT_EQ(ReplaceFileWhole(file_.string(), kNew, Options(true)), 0);
  EXPECT_EQ(Bytes(kept_), kOld);
  EXPECT_EQ(Names(), (std::set<std::string>{"section.values", "section.values.damaged"}));
}

class FailingStep : public ReplaceFolder, public testing::WithParamInterface<StepCase> {
 protected:
  int Replace() {
    const StepCase& step = GetParam();
    injected = {SystemCalls().Get(step.call), step.passes};
    EXPECT_TRUE(SystemCalls().Set(step.call, FailingFor(step.call)));
    const int result = ReplaceFileWhole(file_.string(), kNew, Options(step.keepOld));
    SystemCalls().Reset();
    return result;
  }
};

TEST_P(FailingStep, LeavesTheOldFileWholeUnderItsOwnName) {
  const StepCase& step = GetParam();
  const int result = Replace();
  EXPECT_EQ(Names(), (std::set<std::string>{"section.values", "section.values.damaged"}));
  if (step.replaced) {
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Bytes(file_), kNew);
    EXPECT_EQ(Permissions(file_), 0604u);
    EXPECT_EQ(Bytes(kept_), step.keepOld ? kOld : kEarlierKept);
    return;
  }
  EXPECT_EQ(result, kInjectedError);
  EXPECT_EQ(Bytes(file_), kOld);
  EXPECT_EQ(Permissions(file_), 0640u);
  // The kept name may already hold the old file too, never anything else.
  const std::string kept = Bytes(kept_);
  EXPECT_TRUE(kept == kEarlierKept || (step.keepOld && kept == kOld)) << kept;
}

INSTANTIATE_TEST_SUITE_P(
    EachCall, FailingStep,
    testing::Values(StepCase{"mkostemp", 0, false, false}, StepCase{"fchmod", 0, false, false},
                    StepCase{"write", 0, false, false}, StepCase{"fsync", 0, false, false},
                    StepCase{"close", 0, false, false}, StepCase{"rename", 0, false, false},
                    StepCase{"mkostemp", 0, true, false}, StepCase{"write", 0, true, false},
                    StepCase{"close", 0, true, false}, StepCase{"link", 0, true, false},
                    StepCase{"rename", 0, true, false}, StepCase{"rename", 1, true, false},
                    // The folder is flushed after the file is in place, and
                    // nothing can be undone then.
                    StepCase{"open", 0, false, true}, StepCase{"fsync", 1, true, true},
                    StepCase{"close", 1, true, true}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(SystemCallTable, KnowsItsCallsByNameAndPutsTheRealOnesBack) {
  const AnyCall real = SystemCalls().Get("rename");
  ASSERT_NE(real, nullptr);
  const AnyCall failing = FailingFor("rename");
  EXPECT_TRUE(SystemCalls().Set("rename", failing));
  EXPECT_EQ(SystemCalls().Get("rename"), failing);
  EXPECT_TRUE(SystemCalls().Set("rename", nullptr));
  EXPECT_EQ(SystemCalls().Get("rename"), real);
  EXPECT_TRUE(SystemCalls().Set("link", failing));
  SystemCalls().Reset();
  EXPECT_NE(SystemCalls().Get("link"), failing);
  EXPECT_FALSE(SystemCalls().Set("rmdir", failing));
  EXPECT_EQ(SystemCalls().Get("rmdir"), nullptr);
}

}  // namespace
}  // namespace orva::platform
