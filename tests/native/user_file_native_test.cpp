// Replacing a file the user named on the native build: the new file gets
// the permissions the user's umask lets through, as any program of the
// user's would make it, and a failure is told in the C library's words with
// the old file left as it was. Each step failing is file_replace_test's.
#include <stdlib.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/user_file.h"

namespace orva::platform {
namespace {

namespace fs = std::filesystem;

class UserFileFolder : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orva-user-file-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }

  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
};

struct UmaskCase {
  mode_t umask;
  mode_t permissions;
};

class WithUmask : public UserFileFolder, public testing::WithParamInterface<UmaskCase> {};

TEST_P(WithUmask, GivesTheNewFileWhatTheUmaskLetsThrough) {
  const fs::path page = folder_ / "page.html";
  const mode_t previous = umask(GetParam().umask);
  const std::string reason = ReplaceUserFile(page, "page");
  umask(previous);
  ASSERT_EQ(reason, "");
  struct stat status {};
  ASSERT_EQ(stat(page.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, GetParam().permissions);
}

INSTANTIATE_TEST_SUITE_P(Masks, WithUmask,
                         testing::Values(UmaskCase{022, 0644}, UmaskCase{077, 0600},
                                         UmaskCase{0, 0666}));

// A folder by the file's name stands in the way of the rename, the last
// step, whoever runs the test; the folder stands as it was and no new file
// is left beside it.
TEST_F(UserFileFolder, TellsTheReasonAndLeavesWhatStoodThere) {
  const fs::path page = folder_ / "page.html";
  fs::create_directory(page);
  std::ofstream(page / "inside") << "old";
  EXPECT_EQ(ReplaceUserFile(page, "new"), std::strerror(EISDIR));
  EXPECT_TRUE(fs::is_regular_file(page / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(UserFileFolder, TellsTheReasonForAMissingFolder) {
  EXPECT_EQ(ReplaceUserFile(folder_ / "missing" / "page.html", "new"), std::strerror(ENOENT));
}

}  // namespace
}  // namespace orva::platform
