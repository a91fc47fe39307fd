#include "scoring/qso_list.h"

namespace orva {

void TQsoList::Add(std::string_view callSign, std::string_view band, std::string_view mode) {
  entries_.insert(TQSO{std::string(callSign), std::string(band), std::string(mode)});
}

bool TQsoList::Contains(std::string_view callSign, std::string_view band,
                        std::string_view mode) const {
  return entries_.find(Key{callSign, band, mode}) != entries_.end();
}

}  // namespace orva
