// The platform's caseless comparison, and the hash that must agree with it
// for the multiplier list to find equal keys.
#include "platform/text_compare.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

struct CaselessCase {
  std::string a, b;
  bool equal;
};

class CaselessComparison : public testing::TestWithParam<CaselessCase> {};

TEST_P(CaselessComparison, HashAgreesWithTheComparison) {
  const auto& [a, b, equal] = GetParam();
  EXPECT_EQ(platform::EqualIgnoringCase(a, b), equal);
  EXPECT_EQ(platform::EqualIgnoringCase(b, a), equal);
  if (equal) {
    EXPECT_EQ(platform::CaselessHash(a), platform::CaselessHash(b));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CaselessComparison,
                         testing::Values(CaselessCase{"CW:20M|EU-005|", "cw:20m|eu-005|", true},
                                         CaselessCase{"SSB:20M|EU-005|", "ssb:20M|EU-005|", true},
                                         CaselessCase{"CW:20M|EU-005|", "CW:20M|EU005|", false},
                                         CaselessCase{"CW:20M|EU-005|", "CW:40M|EU-005|", false},
                                         CaselessCase{"", "", true}, CaselessCase{"A", "", false},
                                         CaselessCase{"CW:20M|EU-005|", "CW:20M|EU-006|", false},
                                         CaselessCase{"CW:20M|AS+001|", "CW:20M|AS-001|", false}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace orva
