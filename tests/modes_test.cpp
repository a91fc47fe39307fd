// The one naming of modes: the pairs of mode and submode that exports of
// different loggers write for one mode, each of which must give one text,
// and the modes that must stay apart.
#include "import/modes.h"

#include <gtest/gtest.h>

#include <string>

namespace orva::import {
namespace {

struct Naming {
  std::string mode;
  std::string submode;
  std::string named;
};

class ModeNaming : public testing::TestWithParam<Naming> {};

TEST_P(ModeNaming, GivesTheNameEveryLoggerMeans) {
  EXPECT_EQ(ModeOf(GetParam().mode, GetParam().submode), GetParam().named);
}

INSTANTIATE_TEST_SUITE_P(Pairs, ModeNaming,
                         testing::Values(
                             // Phone, however written: the interchange format's words, old exports'
                             // sidebands as the mode, and Cabrillo's PH.
                             Naming{"SSB", "", "SSB"}, Naming{"ssb", "lsb", "SSB"},
                             Naming{"USB", "", "SSB"}, Naming{"PH", "", "SSB"},
                             // The submode names the mode, as older exports write it as the mode.
                             Naming{"MFSK", "FT4", "FT4"}, Naming{"FT4", "", "FT4"},
                             Naming{"PSK", "PSK31", "PSK31"}, Naming{"PSK31", "", "PSK31"},
                             Naming{"", "ft4", "FT4"},
                             // Modes of one family that no logger takes for one another.
                             Naming{"MFSK", "JS8", "JS8"}, Naming{"PSK", "PSK63", "PSK63"},
                             // Cabrillo's words as they read before the table was shared; blanks
                             // around a word are no part of it.
                             Naming{"RY", "", "RTTY"}, Naming{"DG", "", "DG"},
                             Naming{" cw\t", "  ", "CW"}, Naming{"", "", ""}));

}  // namespace
}  // namespace orva::import
