// The contest state of one statistics window and the contest's rules: the
// worked-station list, the per-band totals, the multiplier keys, the
// reference lookup list and the reference pattern, all scoring the plug-in's
// current-QSO record.
//
// One object owns it all, so no global holds contest state: the window that
// owns the object takes every list with it when it goes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "plugin/records.h"
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

// Multiplier keys in the order they were first worked. Keys that differ only
// in letter case (under the user's locale) are the same multiplier. A hash
// set under that equality replaces a search through every key, and the order
// is kept as views of the set's own strings, so each key is stored once.
class TMultList {
 public:
  // Appends the key unless an equal one is there; true when it was appended.
  bool AddIfNew(std::string key);
  void Clear();
  std::size_t size() const { return order_.size(); }
  std::string_view operator[](std::size_t i) const { return *order_[i]; }

 private:
  struct CaselessHash {
    std::size_t operator()(const std::string& key) const;
  };
  struct CaselessEqual {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  std::unordered_set<std::string, CaselessHash, CaselessEqual> keys_;
  std::vector<const std::string*> order_;
};

inline constexpr std::int32_t kDuplicate = -1;
inline constexpr std::int32_t kContinentPoints = 15;
inline constexpr std::int32_t kNoReferencePoints = 2;
inline constexpr std::int32_t kOtherReferencePoints = 0;
inline constexpr std::string_view kContinents = ":EU:AS:SA:NA:AF:OC:";

class TContest {
 public:
  explicit TContest(TExchangeRecord& current) : current_(current) {}
  TContest(const TContest&) = delete;
  TContest& operator=(const TContest&) = delete;

  // Worked-station list.
  void AddCurrentQso();
  bool IsDuplicate() const;
  void ClearQsoList() { myQsoList.Clear(); }

  // Scores the current QSO: -1 for a duplicate, else 15, 2 or 0 points. When
  // `record` is true the QSO is also recorded into the lists and totals.
  std::int32_t ScoreQso(bool record);
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
