// The contest state of one statistics window and the contest's rules: the
// worked-station list, the per-band totals, the multiplier keys, the
// reference lookup list and the reference pattern, all scoring the plug-in's
// current-QSO record.
//
// One object owns it all, so no global holds contest state: the window that
// owns the object takes every list with it when it goes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/records.h"
#include "scoring/mult_list.h"
#include "scoring/qso_list.h"
#include "scoring/reference_list.h"
#include "scoring/reference_pattern.h"

namespace orva {

struct TStatistic {
  std::string Band;
  std::int32_t QSOs = 0;
  std::int32_t Points = 0;
  std::int32_t Mults = 0;
};

// What scoring one QSO found, for the tools that explain a score QSO by QSO
// with the very rules that made it.
struct TScoreDetail {
  static constexpr std::size_t kNoMultiplier = static_cast<std::size_t>(-1);
  std::string reference;   // the reference at the end of the exchange; empty when none
  std::string multiplier;  // the multiplier key the QSO added; empty when it added none
  // The position in the multiplier list of the key the QSO counts towards,
  // whether it added the key or an earlier row did, so that a tool can tell
  // when in the contest each multiplier was first worked; kNoMultiplier
  // without a reference. Set only when the QSO is recorded.
  std::size_t multiplierIndex = kNoMultiplier;
};

inline constexpr std::int32_t kDuplicate = -1;
inline constexpr std::int32_t kContinentPoints = 15;
inline constexpr std::int32_t kNoReferencePoints = 2;
inline constexpr std::int32_t kOtherReferencePoints = 0;
// The continents a reference starts with to score kContinentPoints, in the
// order the host's summary names them.
inline constexpr std::array<std::string_view, 6> kContinents = {"EU", "AS", "SA", "NA", "AF", "OC"};

class TContest {
 public:
  explicit TContest(TExchangeRecord& current) : current_(current) {}
  TContest(const TContest&) = delete;
  TContest& operator=(const TContest&) = delete;

  // Worked-station list.
  // Adds the current QSO unless it is a duplicate; false for a duplicate.
  bool AddCurrentQso();
  bool IsDuplicate() const;
  void ClearQsoList() { myQsoList.Clear(); }

  // Scores the current QSO: -1 for a duplicate, else 15, 2 or 0 points. When
  // `record` is true the QSO is also recorded into the lists and totals.
  // `detail`, when given, receives what was found (nothing for a duplicate).
  std::int32_t ScoreQso(bool record, TScoreDetail* detail = nullptr);
  void ClearStatistics();

  // Reference lookup for the current callsign.
  void LoadReferenceList(const std::string& path);
  std::string LookUpReference() const;

  TExchangeRecord& current() { return current_; }

  TQsoList myQsoList;
  std::vector<TStatistic> myStatList;
  TMultList myMultList;
  TReferenceList myRefList;
  TReferencePattern myRegExpr;

 private:
  TStatistic& BandEntry(std::string_view band);

  TExchangeRecord& current_;
};

}  // namespace orva
