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
// in letter case (under the user's locale) are the same multiplier. The keys
// sit in one vector in that order; an open-addressed table of their positions,
// at most half full, finds an equal key without a search through every key
// and with one memory access per probe, which matters for the tens of
// thousands of keys a recalculation builds at once.
class TMultList {
 public:
  // Appends the key unless an equal one is there; true when it was appended.
  bool AddIfNew(std::string_view key);
  // Forgets the keys but keeps the table's size for the next recalculation.
  void Clear();
  std::size_t size() const { return keys_.size(); }
  std::string_view operator[](std::size_t i) const { return keys_[i]; }

 private:
  struct Slot {
    std::uint32_t position = 0;  // 1 + the key's index in keys_; 0 for a free slot
    std::uint32_t hash = 0;
  };
  Slot& FindSlot(std::string_view key, std::uint32_t hash);
  void Grow();

  std::vector<std::string> keys_;
  std::vector<Slot> slots_;  // a power of two in size
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
  // Adds the current QSO unless it is a duplicate; false for a duplicate.
  bool AddCurrentQso();
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
