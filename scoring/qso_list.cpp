// The worked-station list's entries and its ordered tree: one search both
// finds a duplicate and places a new QSO, so recording costs one lookup.
#include "scoring/qso_list.h"

namespace orva {

TQSO::TQSO(std::string_view callSign, std::string_view band, std::string_view mode)
    : callSignSize_(callSign.size()), bandSize_(band.size()) {
  texts_.reserve(callSign.size() + band.size() + mode.size());
  texts_.append(callSign).append(band).append(mode);
}

bool TQsoList::AddIfNew(std::string_view callSign, std::string_view band, std::string_view mode) {
  const Key key{callSign, band, mode};
  auto place = entries_.end();
  if (!entries_.empty() && !ByteOrder()(*entries_.rbegin(), key)) {
    place = entries_.lower_bound(key);
    if (place != entries_.end() && !ByteOrder()(key, *place)) {
      return false;
    }
  }
  entries_.emplace_hint(place, callSign, band, mode);
  return true;
}

void TQsoList::Clear() {
  entries_.clear();
  nodes_.release();
}

bool TQsoList::Contains(std::string_view callSign, std::string_view band,
                        std::string_view mode) const {
  return entries_.find(Key{callSign, band, mode}) != entries_.end();
}

}  // namespace orva
