// The binary records shared with the host: short strings, the information
// record's few bytes, and the copy of the exchange record.
#include "base/records.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/test_support.h"

namespace orva {
namespace {

TEST(ShortString, ReadsOnlyTheLengthBytesWhateverFollows) {
  ShortString s;
  std::memset(s.chars, 'x', sizeof s.chars);
  s.length = 0;
  EXPECT_EQ(s.text(), "");
  s.length = 3;
  EXPECT_EQ(s.text(), "xxx");
  s.length = 255;
  EXPECT_EQ(s.text().size(), 255u);
}

TEST(ShortString, WritingTruncatesTo255AndAlwaysSetsTheLength) {
  ShortString s;
  s.length = 77;
  s.assign(std::string(300, 'a'));
  EXPECT_EQ(s.length, 255);
  EXPECT_EQ(s.text(), std::string(255, 'a'));
  s.assign("");
  EXPECT_EQ(s.length, 0);
}

TEST(InfoRecord, WritesOnlyNameKindAndFlags) {
  std::array<unsigned char, 600> info;
  info.fill(0xAB);
  FillInfoRecord(info.data());
  EXPECT_EQ(info[0], 15);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&info[1]), 15), "ORVA DX Contest");
  EXPECT_EQ(info[260], 14);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&info[261]), 14), "tarnix_contest");
  for (std::size_t flag : {kInfoFlagAOffset, kInfoFlagBOffset}) {
    EXPECT_EQ(info[flag], 1);
    EXPECT_EQ(info[flag + 1] | info[flag + 2] | info[flag + 3], 0);
  }
  const auto untouched = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (info[i] != 0xAB)
        return false;
    }
    return true;
  };
  EXPECT_TRUE(untouched(16, 256));
  EXPECT_TRUE(untouched(275, 516));
  EXPECT_TRUE(untouched(520, info.size()));
}

TEST(InfoRecord, ReadsBackAtItsOffsetsAsAHostReadsIt) {
  std::array<unsigned char, 600> info;
  info.fill(0xAB);
  FillInfoRecord(info.data());
  EXPECT_EQ(ShortStringText(info.data() + kInfoPluginNameOffset), "ORVA DX Contest");
  EXPECT_EQ(ShortStringText(info.data() + kInfoPluginKindOffset), "tarnix_contest");
}

TEST(ExchangeRecord, CopyInTakesAllBytesAndLeavesTheHostsAlone) {
  std::array<unsigned char, sizeof(TExchangeRecord)> host;
  for (std::size_t i = 0; i < host.size(); ++i) {
    host[i] = static_cast<unsigned char>(i * 7);
  }
  const auto before = host;
  TExchangeRecord current = test::BlankRecord();
  CopyInExchangeRecord(current, host.data());
  EXPECT_EQ(std::memcmp(&current, host.data(), host.size()), 0);
  EXPECT_EQ(host, before);
}

}  // namespace
}  // namespace orva
