// The reference lookup: line breaks, the last matching line, the file beside
// the host and what a missing file gives.
#include "scoring/reference_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/failure.h"
#include "platform/host_process.h"
#include "scoring/contest.h"
#include "tests/test_support.h"

namespace orva {
namespace {

struct SplitCase {
  std::string text;
  std::vector<std::string> lines;
};

class LineSplitting : public testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitting, FollowsTheLineBreakRules) {
  EXPECT_EQ(SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineSplitting,
    testing::Values(SplitCase{"", {}}, SplitCase{"a", {"a"}}, SplitCase{"a\r\nb\r\n", {"a", "b"}},
                    SplitCase{"a\rb\rc", {"a", "b", "c"}}, SplitCase{"a\nb", {"a", "b"}},
                    SplitCase{"a\n\rb", {"a", "", "b"}}, SplitCase{"\n\n", {"", ""}},
                    SplitCase{"a\r\n\r\nb", {"a", "", "b"}},
                    SplitCase{std::string("a\nb\0c\nd", 7), {"a", "b"}},
                    SplitCase{std::string("\0a", 2), {}}, SplitCase{" a \n", {" a "}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct LookupCase {
  std::string file;
  std::string call;
  std::string result;
};

class ReferenceLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(ReferenceLookup, ReturnsASpaceAndTheLastMatchingReference) {
  TReferenceList list;
  list.Assign(GetParam().file);
  EXPECT_EQ(list.LookUp(GetParam().call), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReferenceLookup,
    testing::Values(LookupCase{"", "DL1ABC", ""}, LookupCase{"DL1ABC=EU-005", "DL1ABC", " EU-005"},
                    LookupCase{"DL1ABC =EU-005", "DL1ABC", ""},
                    LookupCase{"DL1ABC= EU-005", "DL1ABC", "  EU-005"},
                    LookupCase{"DL1ABC=", "DL1ABC", " "},
                    LookupCase{"DL1ABC=EU=5", "DL1ABC", " EU=5"},
                    LookupCase{"DL1ABC/P=EU-005", "DL1ABC", ""},
                    LookupCase{"DL1ABC=EU-005\r\nDL1ABC=EU-006\r\n", "DL1ABC", " EU-006"},
                    LookupCase{"dl1abc=EU-005", "DL1ABC", ""},
                    LookupCase{"  DL1ABC=EU-005 \t", "DL1ABC", " EU-005"},
                    LookupCase{"=EU-005", "", ""}, LookupCase{"DL1ABC=EU-005", "", ""},
                    LookupCase{"AA1A=NA-001\rDL1ABC=EU-005\rBB2B=SA-002", "DL1ABC", " EU-005"},
                    LookupCase{"DL1ABC=EU-005", "DL1AB", ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

class ReferenceFile : public testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("orva-ref-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string PathOf(const char* name) const { return (dir / name).string(); }

  std::filesystem::path dir;
  TExchangeRecord current = test::BlankRecord();
  TContest contest{current};
};

TEST_F(ReferenceFile, MissingFileOrDirectoryGivesAnEmptyList) {
  contest.LoadReferenceList(PathOf("absent.txt"));
  contest.LoadReferenceList(dir.string());
  EXPECT_TRUE(contest.myRefList.lines().empty());
  current.CallSign.assign("DL1ABC");
  EXPECT_EQ(contest.LookUpReference(), "");
}

TEST_F(ReferenceFile, LoadsRawBytesAndLooksUpTheCurrentCall) {
  std::ofstream(PathOf("ORVA.txt"), std::ios::binary) << "AA1A=NA-001\rDL1ABC=EU-005\xC4";
  contest.LoadReferenceList(PathOf("ORVA.txt"));
  current.CallSign.assign("DL1ABC");
  EXPECT_EQ(contest.LookUpReference(), " EU-005\xC4");
  EXPECT_EQ(contest.myRefList.lines().size(), 2u);
}

TEST(ReferencePath, IsPluginsOrvaTxtBesideTheHost) {
  const std::string path =
      ReferenceFilePath(std::string("dir") + platform::kPathSeparator + "host.exe");
  EXPECT_EQ(path, std::string("dir") + platform::kPathSeparator + "Plugins" +
                      platform::kPathSeparator + "ORVA.txt");
}

}  // namespace
}  // namespace orva
