// The multiplier list's open-addressed table: keys compare and hash
// ignoring letter case under the user's locale, through the platform's rules.
#include "scoring/mult_list.h"

#include <algorithm>

#include "platform/text_compare.h"

namespace orva {

TMultList::Slot& TMultList::FindSlot(std::string_view key, std::uint32_t hash) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.position == 0 ||
        (slot.hash == hash && platform::EqualIgnoringCase(keys_[slot.position - 1], key))) {
      return slot;
    }
  }
}

void TMultList::Grow() {
  std::vector<Slot> old(std::max<std::size_t>(1024, slots_.size() * 2));
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.position != 0) {
      std::size_t i = slot.hash & mask;
      while (slots_[i].position != 0) {
        i = (i + 1) & mask;
      }
      slots_[i] = slot;
    }
  }
}

bool TMultList::AddIfNew(std::string_view key, std::size_t* position) {
  if ((keys_.size() + 1) * 2 > slots_.size()) {
    Grow();
  }
  const auto hash = static_cast<std::uint32_t>(platform::CaselessHash(key));
  Slot& slot = FindSlot(key, hash);
  const bool added = slot.position == 0;
  if (added) {
    keys_.emplace_back(key);
    slot = Slot{static_cast<std::uint32_t>(keys_.size()), hash};
  }
  if (position) {
    *position = slot.position - 1;
  }
  return added;
}

void TMultList::Clear() {
  keys_.clear();
  std::fill(slots_.begin(), slots_.end(), Slot{});
}

}  // namespace orva
