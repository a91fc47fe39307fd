// The words that name one mode in other words, and the choice between a
// mode and its submode.
//
// The submode names the QSO's mode because it is the name every logging
// program writes in one place or the other: exports written before the
// interchange format had submodes give it as the mode (MODE FT4, MODE
// PSK31, MODE USB), newer ones as the submode of its family (MFSK and FT4,
// PSK and PSK31, SSB and USB). The family is no mode to score by: FT4 and
// JS8 are both MFSK, PSK31 and PSK63 both PSK, and no logger takes a QSO in
// one for a duplicate of a QSO in the other.
#include "import/modes.h"

#include "base/text.h"

namespace orva::import {
namespace {

struct ModeWord {
  std::string_view written;
  std::string_view mode;
};

// Phone is SSB on either sideband, as Cabrillo's PH, the sideband an older
// export gives as the mode, or the submode of SSB; RY is Cabrillo's word for
// RTTY. Cabrillo's CW and FM, its DG for any digital mode, and the names of
// the interchange format stand for themselves.
constexpr ModeWord kModeWords[] = {
    {"PH", "SSB"},
    {"USB", "SSB"},
    {"LSB", "SSB"},
    {"RY", "RTTY"},
};

}  // namespace

std::string ModeOf(std::string_view mode, std::string_view submode) {
  const std::string_view written = Trim(submode).empty() ? Trim(mode) : Trim(submode);
  for (const ModeWord& word : kModeWords) {
    if (EqualIgnoringAsciiCase(word.written, written)) {
      return std::string(word.mode);
    }
  }
  return UpperAscii(written);
}

}  // namespace orva::import
