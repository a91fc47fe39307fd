// The contest's rule set: points from the received exchange, the per-band
// totals, one multiplier per distinct reference per band and mode, and the
// reference lookup for the current callsign.
#include "scoring/contest.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "platform/host_process.h"

namespace orva {

namespace {

// Adds without the undefined behaviour of signed overflow; totals wrap as
// 32-bit counters would.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t PointsFor(std::optional<std::string_view> reference) {
  if (!reference) {
    return kNoReferencePoints;
  }
  const std::string_view continent = reference->substr(0, 2);
  return std::find(kContinents.begin(), kContinents.end(), continent) != kContinents.end()
             ? kContinentPoints
             : kOtherReferencePoints;
}

// Room for a multiplier key of the longest mode and band and any reference
// (which is shorter than a short string).
using MultiplierKeyRoom = std::array<char, 3 * ShortString::kCapacity + 4>;

// The multiplier key "<mode>:<band>|<reference>|", written into `room`.
std::string_view MultiplierKey(std::string_view reference, const TExchangeRecord& current,
                               MultiplierKeyRoom& room) {
  char* end = room.data();
  for (const std::string_view part :
       {current.QSOMode.text(), std::string_view(":"), current.DigiBand.text(),
        std::string_view("|"), reference, std::string_view("|")}) {
    end = std::copy(part.begin(), part.end(), end);
  }
  return std::string_view(room.data(), static_cast<std::size_t>(end - room.data()));
}

}  // namespace

bool TContest::AddCurrentQso() {
  return myQsoList.AddIfNew(current_.CallSign.text(), current_.DigiBand.text(),
                            current_.QSOMode.text());
}

bool TContest::IsDuplicate() const {
  return myQsoList.Contains(current_.CallSign.text(), current_.DigiBand.text(),
                            current_.QSOMode.text());
}

void TContest::ClearStatistics() {
  myStatList.clear();
  myMultList.Clear();
}

TStatistic& TContest::BandEntry(std::string_view band) {
  for (TStatistic& entry : myStatList) {
    if (entry.Band == band) {
      return entry;
    }
  }
  return myStatList.emplace_back(TStatistic{std::string(band)});
}

std::int32_t TContest::ScoreQso(bool record, TScoreDetail* detail) {
  if (detail) {
    *detail = TScoreDetail{};
  }
  // Recording checks and adds in one search of the list.
  if (record ? !AddCurrentQso() : IsDuplicate()) {
    return kDuplicate;
  }
  TStatistic* const band = record ? &BandEntry(current_.DigiBand.text()) : nullptr;
  // A short string holds at most 255 characters, so the exchange fits here.
  char upper[ShortString::kCapacity];
  const std::string_view received = current_.QSOReportRecived.text();
  for (std::size_t i = 0; i < received.size(); ++i) {
    upper[i] = UpperAscii(received[i]);
  }
  const std::string_view exchange = Trim(std::string_view(upper, received.size()));
  const std::optional<std::string_view> reference = myRegExpr.Find(exchange);
  const std::int32_t points = PointsFor(reference);
  if (detail) {
    detail->reference.assign(reference.value_or(std::string_view()));
  }
  if (record) {
    band->QSOs = WrappingAdd(band->QSOs, 1);
    band->Points = WrappingAdd(band->Points, points);
    MultiplierKeyRoom room;
    const std::string_view key = reference ? MultiplierKey(*reference, current_, room) : "";
    std::size_t position = TScoreDetail::kNoMultiplier;
    if (reference && myMultList.AddIfNew(key, &position)) {
      band->Mults = WrappingAdd(band->Mults, 1);
      if (detail) {
        detail->multiplier.assign(key);
      }
    }
    if (detail) {
      detail->multiplierIndex = position;
    }
  }
  return points;
}

void TContest::LoadReferenceList(const std::string& path) {
  if (platform::IsExistingFile(path)) {
    myRefList.Assign(platform::ReadWholeFile(path));
  }
}

std::string TContest::LookUpReference() const {
  return myRefList.LookUp(current_.CallSign.text());
}

}  // namespace orva
