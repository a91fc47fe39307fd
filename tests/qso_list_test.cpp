// The worked-station list: the duplicate check's byte-for-byte rule and the
// order the list keeps whatever order QSOs arrive in.
#include "scoring/qso_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orva {
namespace {

struct Qso {
  const char* call;
  const char* band;
  const char* mode;
};

struct DuplicateCase {
  const char* name;
  std::vector<Qso> worked;
  Qso candidate;
  bool duplicate;
};

class DuplicateCheck : public testing::TestWithParam<DuplicateCase> {};

TEST_P(DuplicateCheck, FindsExactlyTheSameCallBandAndMode) {
  TQsoList list;
  for (const Qso& q : GetParam().worked) {
    list.AddIfNew(q.call, q.band, q.mode);
  }
  const Qso& c = GetParam().candidate;
  EXPECT_EQ(list.Contains(c.call, c.band, c.mode), GetParam().duplicate);
  const std::size_t before = list.size();
  EXPECT_EQ(list.AddIfNew(c.call, c.band, c.mode), !GetParam().duplicate);
  EXPECT_EQ(list.size(), before + (GetParam().duplicate ? 0 : 1));
  EXPECT_TRUE(list.Contains(c.call, c.band, c.mode));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DuplicateCheck,
    testing::Values(
        DuplicateCase{"EmptyList", {}, {"DL1ABC", "20M", "CW"}, false},
        DuplicateCase{"OtherMode", {{"DL1ABC", "20M", "CW"}}, {"DL1ABC", "20M", "SSB"}, false},
        DuplicateCase{"OtherBand", {{"DL1ABC", "20M", "CW"}}, {"DL1ABC", "40M", "CW"}, false},
        DuplicateCase{"SameAll",
                      {{"DL1ABC", "20M", "CW"}, {"DL1ABC", "20M", "SSB"}, {"DL1ABC", "40M", "CW"}},
                      {"DL1ABC", "20M", "CW"},
                      true},
        DuplicateCase{"SameAsLastEntry",
                      {{"AA1A", "20M", "CW"}, {"DL1ABC", "40M", "CW"}},
                      {"DL1ABC", "40M", "CW"},
                      true},
        DuplicateCase{"SortsAfterEveryEntry",
                      {{"AA1A", "20M", "CW"}, {"DL1ABC", "40M", "CW"}},
                      {"DL1ABC", "40M", "SSB"},
                      false},
        DuplicateCase{"FirstOfRunAtIndexZero",
                      {{"AA1A", "20M", "CW"}, {"AA1A", "40M", "CW"}, {"AA1A", "80M", "CW"}},
                      {"AA1A", "20M", "CW"},
                      true},
        DuplicateCase{"CallCaseDiffers", {{"dl1abc", "20M", "CW"}}, {"DL1ABC", "20M", "CW"}, false},
        DuplicateCase{"BandCaseDiffers", {{"DL1ABC", "20m", "CW"}}, {"DL1ABC", "20M", "CW"}, false},
        DuplicateCase{
            "NoTrimmingOfMode", {{"DL1ABC", "20M", "CW "}}, {"DL1ABC", "20M", "CW"}, false},
        DuplicateCase{"PortableIsAnotherStation",
                      {{"DL1ABC/P", "20M", "CW"}},
                      {"DL1ABC", "20M", "CW"},
                      false},
        DuplicateCase{"EmptyCallIsAKey", {{"", "20M", "CW"}}, {"", "20M", "CW"}, true},
        DuplicateCase{"HighBytesCompareUnsigned",
                      {{"\xC4"
                        "1A",
                        "20M", "CW"},
                       {"A1A", "20M", "CW"}},
                      {"\xC4"
                       "1A",
                       "20M", "CW"},
                      true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QsoList, StaysInByteOrderWhenQsosArriveCaseInsensitivelySorted) {
  // The order a database gives for ORDER BY CallSign when it ignores case.
  const std::vector<std::string> arrival = {"a1a", "A1B", "b2b",  "B2C",
                                            "c3c", "C3D", "dl1x", "DL1Y"};
  TQsoList list;
  for (const std::string& call : arrival) {
    list.AddIfNew(call, "20M", "CW");
  }
  std::vector<std::string> order;
  for (const TQSO& q : list) {
    order.emplace_back(q.CallSign());
  }
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  for (const std::string& call : arrival) {
    EXPECT_TRUE(list.Contains(call, "20M", "CW")) << call;
  }
}

}  // namespace
}  // namespace orva
