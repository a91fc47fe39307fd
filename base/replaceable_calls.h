// A table of named calls, each of which a test may replace by a stand-in of
// its own. Each platform layer makes the system calls of a file's
// replacement through one, so that a test can fail any step of it, which no
// real disk could be made to do step by step; the product always finds the
// real calls there. The table only holds pointers: it includes no system's
// headers and serves both builds.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace orva {

// Any call's pointer type. What is put in an entry must have the signature
// and the calling convention of the entry's real call, and is cast back to
// that when called.
using AnyCall = void (*)();

template <typename Call>
AnyCall Erased(Call* call) {
  return reinterpret_cast<AnyCall>(call);
}

class ReplaceableCalls {
 public:
  struct Entry {
    std::string_view name;
    AnyCall real;
  };

  // The entries, each found later by its position in this list.
  ReplaceableCalls(std::initializer_list<Entry> entries) {
    for (const Entry& entry : entries) {
      slots_.push_back({entry, nullptr});
    }
  }

  // Puts `call` in the entry named `name`; a null `call` puts the real one
  // back. False, with nothing changed, for a name the table lacks. Only
  // tests change a table, and never while its calls are being made.
  bool Set(std::string_view name, AnyCall call) {
    const std::size_t index = IndexOf(name);
    if (index < slots_.size()) {
      slots_[index].replacement = call;
    }
    return index < slots_.size();
  }

  // The call now in the entry named `name`; null for a name the table lacks.
  AnyCall Get(std::string_view name) const {
    const std::size_t index = IndexOf(name);
    return index < slots_.size() ? slots_[index].Current() : nullptr;
  }

  // The real call in every entry.
  void Reset() {
    for (Slot& slot : slots_) {
      slot.replacement = nullptr;
    }
  }

  // The call now in the entry at `index`, as the type of the real one it
  // stands for.
  template <typename Call>
  Call* Current(std::size_t index, Call* /*real*/) const {
    return reinterpret_cast<Call*>(slots_[index].Current());
  }

 private:
  struct Slot {
    Entry entry;
    AnyCall replacement;  // null while the real call is in place

    AnyCall Current() const { return replacement ? replacement : entry.real; }
  };

  // The position of the entry named `name`; the table's size when none is.
  std::size_t IndexOf(std::string_view name) const {
    std::size_t index = 0;
    while (index < slots_.size() && slots_[index].entry.name != name) {
      ++index;
    }
    return index;
  }

  std::vector<Slot> slots_;
};

}  // namespace orva
