// The worked-station list: every QSO accepted since the last recalculation,
// and the duplicate check against it (same callsign, band and mode, compared
// byte for byte).
//
// The list is kept in byte order of callsign at every insertion, whatever
// order QSOs arrive in. A log database sorts text its own way (often ignoring
// case, or by locale), so an order that depended on the rows' delivery would
// let duplicates slip past the search. An ordered tree keeps both the order
// and a fast insertion on logs of 100,000 QSOs.
#pragma once

#include <cstddef>
#include <memory_resource>
#include <set>
#include <string>
#include <string_view>
#include <tuple>

namespace orva {

// One worked QSO. The three texts share one string, so a typical QSO fits
// the string's own buffer and costs no allocation beyond its list node, which
// keeps a 100,000-QSO list small and quick to build and to clear.
class TQSO {
 public:
  TQSO(std::string_view callSign, std::string_view band, std::string_view mode);

  std::string_view CallSign() const { return Text().substr(0, callSignSize_); }
  std::string_view Band() const { return Text().substr(callSignSize_, bandSize_); }
  std::string_view Mode() const { return Text().substr(callSignSize_ + bandSize_); }

 private:
  std::string_view Text() const { return texts_; }

  std::string texts_;  // callsign, band and mode, one after the other
  std::size_t callSignSize_;
  std::size_t bandSize_;
};

class TQsoList {
 public:
  // Adds the QSO at its place in callsign order unless an equal entry exists;
  // true when it was added. A QSO that sorts after every entry, as rows read
  // in callsign order mostly do, is placed without a search.
  bool AddIfNew(std::string_view callSign, std::string_view band, std::string_view mode);
  // True when an entry has this callsign, band and mode, all equal bytes.
  bool Contains(std::string_view callSign, std::string_view band, std::string_view mode) const;
  void Clear();
  std::size_t size() const { return entries_.size(); }

  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

 private:
  using Key = std::tuple<std::string_view, std::string_view, std::string_view>;
  // Byte order of callsign first; band and mode only make the entries of one
  // station distinct. std::string compares its bytes as unsigned values.
  struct ByteOrder {
    using is_transparent = void;
    static Key KeyOf(const TQSO& q) { return {q.CallSign(), q.Band(), q.Mode()}; }
    static const Key& KeyOf(const Key& k) { return k; }
    // One three-way comparison per field: the two-way tuple order would
    // compare each field twice.
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      return (KeyOf(a) <=> KeyOf(b)) < 0;
    }
  };
  // Entries are only ever added, then all dropped at once, so their nodes
  // come from an arena: no allocation of its own per QSO, and a clear gives
  // the memory back in a few large blocks.
  std::pmr::monotonic_buffer_resource nodes_;
  std::pmr::set<TQSO, ByteOrder> entries_{&nodes_};
};

}  // namespace orva
