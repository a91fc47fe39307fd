// The multiplier list of a contest: the distinct multiplier keys worked so
// far, where keys that differ only in letter case are one multiplier.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

// Multiplier keys in the order they were first worked. Keys that differ only
// in letter case (under the user's locale) are the same multiplier. The keys
// sit in one vector in that order; an open-addressed table of their positions,
// at most half full, finds an equal key without a search through every key
// and with one memory access per probe, which matters for the tens of
// thousands of keys a recalculation builds at once.
class TMultList {
 public:
  // Appends the key unless an equal one is there; true when it was appended.
  // `position`, when given, receives the index of the key or of the equal one.
  bool AddIfNew(std::string_view key, std::size_t* position = nullptr);
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

}  // namespace orva
