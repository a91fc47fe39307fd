// Reading a file whole: the bytes exactly, and the system's reason when the
// file cannot be read, which the host shows its user.
#include "platform/native/file_read.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace orva::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

TEST(ReadFileWhole, GivesTheReasonAFileCannotBeRead) {
  std::string bytes;
  EXPECT_STREQ(std::strerror(ReadFileWhole("/nonexistent/log.adi", bytes)),
               "No such file or directory");
  EXPECT_STREQ(std::strerror(ReadFileWhole(fs::temp_directory_path().string(), bytes)),
               "Is a directory");
}

TEST(ReadFileWhole, GivesEveryByteOfAFileLargerThanOneChunkOrItsHeadAlone) {
  const std::string content = std::string(100'000, 'x') + "\0\r\n\xFF"s;
  const fs::path path = fs::temp_directory_path() / "orva-file-read-test";
  std::ofstream(path, std::ios::binary) << content;
  std::string bytes = "left over";
  EXPECT_EQ(ReadFileWhole(path.string(), bytes), 0);
  EXPECT_EQ(bytes, content);
  for (const std::size_t size : {0u, 5u, 70'000u, 200'000u}) {
    EXPECT_EQ(ReadFileHead(path.string(), bytes, size), 0);
    EXPECT_EQ(bytes, content.substr(0, size)) << size;
  }
  fs::remove(path);
}

}  // namespace
}  // namespace orva::platform
