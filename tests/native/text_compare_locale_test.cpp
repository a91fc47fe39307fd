// Letter case beyond ASCII follows the C library's current locale, the one
// the host takes from its environment: under Latin-1 German rules the two
// cases of O-umlaut are one letter, under the C locale two different bytes.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/text_compare.h"
#include "window/error_box.h"

namespace orva {
namespace {

struct LocaleCase {
  const char* locale;
  bool umlautsFold;
};

class UnderLocale : public testing::TestWithParam<LocaleCase> {
 protected:
  void SetUp() override {
    if (!std::setlocale(LC_CTYPE, GetParam().locale)) {
      GTEST_SKIP() << "no locale " << GetParam().locale
                   << " here; ctest makes it (test orva_latin1_locale) and sets LOCPATH";
    }
  }
  void TearDown() override { std::setlocale(LC_CTYPE, previous_.c_str()); }

 private:
  const std::string previous_ = std::setlocale(LC_CTYPE, nullptr);
};

TEST_P(UnderLocale, TitleLowersItsLetters) {
  EXPECT_EQ(ApplicationTitle("L\xD6G-\xC4.EXE"),
            GetParam().umlautsFold ? "L\xF6g-\xE4" : "L\xD6g-\xC4");
}

TEST_P(UnderLocale, MultiplierKeysFoldAlike) {
  const std::string upper = "CW:\xD6|EU-005|", lower = "cw:\xF6|eu-005|";
  EXPECT_EQ(platform::EqualIgnoringCase(upper, lower), GetParam().umlautsFold);
  if (GetParam().umlautsFold) {
    EXPECT_EQ(platform::CaselessHash(upper), platform::CaselessHash(lower));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, UnderLocale,
                         testing::Values(LocaleCase{"C", false},
                                         LocaleCase{"de_DE.ISO-8859-1", true}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace orva
