#include "scoring/qso_list.h"

namespace orva {

bool TQsoList::AddIfNew(std::string_view callSign, std::string_view band, std::string_view mode) {
  const Key key{callSign, band, mode};
  auto place = entries_.end();
  if (!entries_.empty() && !ByteOrder()(*entries_.rbegin(), key)) {
    place = entries_.lower_bound(key);
    if (place != entries_.end() && !ByteOrder()(key, *place)) {
      return false;
    }
  }
  entries_.emplace_hint(place, TQSO{std::string(callSign), std::string(band), std::string(mode)});
  return true;
}

bool TQsoList::Contains(std::string_view callSign, std::string_view band,
                        std::string_view mode) const {
  return entries_.find(Key{callSign, band, mode}) != entries_.end();
}

}  // namespace orva
