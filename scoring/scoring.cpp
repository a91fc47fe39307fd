// The contest's rule set: points from the received exchange, the per-band
// totals, and one multiplier per distinct reference per band and mode.
#include <cstring>

#include "platform/text_compare.h"
#include "scoring/contest.h"
#include "scoring/text.h"

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
  char continent[5] = {':', (*reference)[0], (*reference)[1], ':', '\0'};
  return kContinents.find(std::string_view(continent, 4)) != std::string_view::npos
             ? kContinentPoints
             : kOtherReferencePoints;
}

}  // namespace

std::size_t TMultList::CaselessHash::operator()(const std::string& key) const {
  return platform::CaselessHash(key);
}

bool TMultList::CaselessEqual::operator()(const std::string& a, const std::string& b) const {
  return platform::EqualIgnoringCase(a, b);
}

bool TMultList::AddIfNew(std::string key) {
  const auto [entry, added] = keys_.insert(std::move(key));
  if (added) {
    order_.push_back(&*entry);
  }
  return added;
}

void TMultList::Clear() {
  order_.clear();
  keys_.clear();
}

void TContest::AddCurrentQso() {
  myQsoList.Add(current_.CallSign.text(), current_.DigiBand.text(), current_.QSOMode.text());
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

std::int32_t TContest::ScoreQso(bool record) {
  if (IsDuplicate()) {
    return kDuplicate;
  }
  TStatistic* band = nullptr;
  if (record) {
    AddCurrentQso();
    band = &BandEntry(current_.DigiBand.text());
  }
  // A short string holds at most 255 characters, so the exchange fits here.
  char upper[ShortString::kCapacity];
  const std::string_view received = current_.QSOReportRecived.text();
  std::memcpy(upper, received.data(), received.size());
  UpperAsciiInPlace(upper, received.size());
  const std::string_view exchange = Trim(std::string_view(upper, received.size()));
  const std::optional<std::string_view> reference = myRegExpr.Find(exchange);
  const std::int32_t points = PointsFor(reference);
  if (record) {
    band->QSOs = WrappingAdd(band->QSOs, 1);
    band->Points = WrappingAdd(band->Points, points);
    if (reference) {
      std::string key(current_.QSOMode.text());
      key.append(":").append(current_.DigiBand.text()).append("|").append(*reference).append("|");
      if (myMultList.AddIfNew(std::move(key))) {
        band->Mults = WrappingAdd(band->Mults, 1);
      }
    }
  }
  return points;
}

}  // namespace orva
