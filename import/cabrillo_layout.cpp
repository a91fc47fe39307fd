// The layout of a Cabrillo log learnt from all its QSO lines: the callsign
// shape, the log's sent exchange, the worked callsign's column, and the
// received exchange's usual length and end (see cabrillo_layout.h).
#include "import/cabrillo_layout.h"

#include <algorithm>
#include <map>
#include <utility>

#include "base/text.h"

namespace orva::import {
namespace {

constexpr std::size_t kMostCallParts = 3;  // prefix/base/suffix
constexpr std::size_t kShortestBase = 3;

FieldKind KindOf(std::string_view field) {
  if (!field.empty() && std::all_of(field.begin(), field.end(), IsAsciiDigit)) {
    return FieldKind::kDigits;
  }
  if (!field.empty() && std::all_of(field.begin(), field.end(), IsAsciiLetter)) {
    return FieldKind::kLetters;
  }
  return FieldKind::kMixed;
}

// A part with a digit and a letter that ends in a letter: the callsign
// proper, beside which a prefix or a suffix may stand.
bool IsCallBase(std::string_view part) {
  return part.size() >= kShortestBase && IsAsciiLetter(part.back()) &&
         std::any_of(part.begin(), part.end(), IsAsciiDigit);
}

bool IsLoneDigit(std::string_view field) {
  return field.size() == 1 && IsAsciiDigit(field[0]);
}

// Both are numbers, the second larger: a serial counting up.
bool CountsUp(std::string_view before, std::string_view after) {
  if (KindOf(before) != FieldKind::kDigits || KindOf(after) != FieldKind::kDigits) {
    return false;
  }
  before.remove_prefix(std::min(before.find_first_not_of('0'), before.size()));
  after.remove_prefix(std::min(after.find_first_not_of('0'), after.size()));
  return after.size() != before.size() ? after.size() > before.size() : after > before;
}

bool Alike(std::string_view before, std::string_view after) {
  return EqualIgnoringAsciiCase(before, after) || CountsUp(before, after);
}

bool IsMost(std::size_t count, std::size_t of) {
  return count * 2 > of;
}

// The key counted most often (of equals, the largest), and its count.
template <typename Counts>
std::optional<std::pair<typename Counts::key_type, std::size_t>> MostCommon(const Counts& counts) {
  std::optional<std::pair<typename Counts::key_type, std::size_t>> most;
  for (const auto& [key, count] : counts) {
    if (!most || count >= most->second) {
      most = {key, count};
    }
  }
  return most;
}

std::size_t ColumnOf(const CabrilloLine& line, std::size_t field) {
  return static_cast<std::size_t>(line.fields[field].data() - line.text.data());
}

// Whether most pairs of successive lines that have the field hold it alike.
bool MostPairsAlike(const std::vector<CabrilloLine>& lines, std::size_t field) {
  const CabrilloLine* before = nullptr;
  std::size_t pairs = 0, alike = 0;
  for (const CabrilloLine& line : lines) {
    if (line.fields.size() <= field) {
      continue;
    }
    if (before) {
      ++pairs;
      alike += Alike(before->fields[field], line.fields[field]) ? 1 : 0;
    }
    before = &line;
  }
  return IsMost(alike, pairs);
}

struct CaselessLess {
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return UpperAscii(x) < UpperAscii(y);
    });
  }
};

// The word more than half of the lines that have the field hold there, if any.
std::string MostCommonWord(const std::vector<CabrilloLine>& lines, std::size_t field) {
  std::map<std::string_view, std::size_t, CaselessLess> words;
  std::size_t having = 0;
  for (const CabrilloLine& line : lines) {
    if (line.fields.size() > field) {
      ++having;
      ++words[line.fields[field]];
    }
  }
  const auto most = MostCommon(words);
  return most && IsMost(most->second, having) ? std::string(most->first) : std::string();
}

}  // namespace

bool IsCallsignShaped(std::string_view word) {
  const auto allowed = [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '/'; };
  if (word.empty() || !std::all_of(word.begin(), word.end(), allowed)) {
    return false;
  }
  bool base = false;
  std::size_t parts = 0;
  for (std::size_t start = 0; start <= word.size(); ++parts) {
    const std::size_t end = std::min(word.find('/', start), word.size());
    const std::string_view part = word.substr(start, end - start);
    if (part.empty()) {
      return false;
    }
    base = base || IsCallBase(part);
    start = end + 1;
  }
  return base && parts <= kMostCallParts;
}

CabrilloLayout::CabrilloLayout(const std::vector<CabrilloLine>& lines,
                               std::vector<std::string> ownCalls)
    : own_(std::move(ownCalls)) {
  LearnSentExchange(lines);
  LearnWorkedColumn(lines);
  LearnReceivedLayout(lines);
}

bool CabrilloLayout::IsCandidate(const CabrilloLine& line, std::size_t field) const {
  const std::string_view word = line.fields[field];
  const auto own = [word](std::string_view call) { return EqualIgnoringAsciiCase(call, word); };
  return IsCallsignShaped(word) && !own(line.fields[kSentCallField]) &&
         std::none_of(own_.begin(), own_.end(), own);
}

bool CabrilloLayout::IsSentWord(const CabrilloLine& line, std::size_t field) const {
  if (field >= sentEnd_) {
    return false;
  }
  const std::string& sent = sentWords_[field - kSentCallField - 1];
  return !sent.empty() && EqualIgnoringAsciiCase(sent, line.fields[field]);
}

// The sent exchange's fields hold one word on most lines, or stand alike on
// most pairs of lines (a serial); the worked callsign, which varies, ends
// them. A log that works one station on most of its lines would seem to
// repeat it too, so the sent exchange only takes in a field where most
// lines still hold a candidate after it.
void CabrilloLayout::LearnSentExchange(const std::vector<CabrilloLine>& lines) {
  std::vector<std::size_t> lastCandidate;
  for (const CabrilloLine& line : lines) {
    std::size_t last = 0;
    for (std::size_t field = kSentCallField + 1; field < line.fields.size(); ++field) {
      last = IsCandidate(line, field) ? field : last;
    }
    lastCandidate.push_back(last);
  }
  for (std::size_t field = kSentCallField + 1;; ++field) {
    const auto after = std::count_if(lastCandidate.begin(), lastCandidate.end(),
                                     [field](std::size_t last) { return last > field; });
    if (!IsMost(static_cast<std::size_t>(after), lines.size())) {
      break;
    }
    std::string word = MostCommonWord(lines, field);
    if (word.empty() && !MostPairsAlike(lines, field)) {
      break;
    }
    sentWords_.push_back(std::move(word));
    sentEnd_ = field + 1;
  }
}

// Before the column is known, each line's worked callsign is its first
// candidate.
void CabrilloLayout::LearnWorkedColumn(const std::vector<CabrilloLine>& lines) {
  std::map<std::size_t, std::size_t> columns;
  std::size_t withCandidate = 0;
  for (const CabrilloLine& line : lines) {
    if (const auto worked = WorkedCall(line)) {
      ++withCandidate;
      ++columns[ColumnOf(line, *worked)];
    }
  }
  const auto most = MostCommon(columns);
  if (most && IsMost(most->second, withCandidate)) {
    workedColumn_ = most->first;
  }
}

std::optional<std::size_t> CabrilloLayout::WorkedCall(const CabrilloLine& line) const {
  std::optional<std::size_t> first;
  for (std::size_t field = kSentCallField + 1; field < line.fields.size(); ++field) {
    if (!IsCandidate(line, field) || IsSentWord(line, field)) {
      continue;
    }
    if (workedColumn_ && ColumnOf(line, field) == *workedColumn_) {
      return field;
    }
    first = first.value_or(field);
  }
  return first;
}

// Symmetric templates give the received exchange as many fields as the sent
// one, and the transmitter number one more.
std::size_t CabrilloLayout::ExchangeEnd(const CabrilloLine& line, std::size_t worked) const {
  const std::size_t end = line.fields.size();
  const bool oneMore = end - worked - 1 == worked - kSentCallField;
  return transmitterColumn_ && oneMore && IsLoneDigit(line.fields.back()) ? end - 1 : end;
}

void CabrilloLayout::LearnReceivedLayout(const std::vector<CabrilloLine>& lines) {
  std::vector<std::pair<const CabrilloLine*, std::size_t>> read;
  std::size_t oneMore = 0, endsInDigit = 0;
  for (const CabrilloLine& line : lines) {
    if (const auto worked = WorkedCall(line)) {
      read.emplace_back(&line, *worked);
      if (line.fields.size() - *worked - 1 == *worked - kSentCallField) {
        ++oneMore;
        endsInDigit += IsLoneDigit(line.fields.back()) ? 1 : 0;
      }
    }
  }
  transmitterColumn_ = IsMost(endsInDigit, oneMore);
  std::map<std::size_t, std::size_t> counts;
  for (const auto& [line, worked] : read) {
    ++counts[ExchangeEnd(*line, worked) - worked - 1];
  }
  usualCount_ = MostCommon(counts).value_or(std::pair<std::size_t, std::size_t>{}).first;
  std::map<FieldKind, std::size_t> kinds;
  for (const auto& [line, worked] : read) {
    const std::size_t end = ExchangeEnd(*line, worked);
    if (usualCount_ > 0 && end - worked - 1 == usualCount_) {
      ++kinds[KindOf(line->fields[end - 1])];
    }
  }
  usualLastKind_ = MostCommon(kinds).value_or(std::pair{FieldKind::kMixed, 0}).first;
}

// Where a line longer than most ends its exchange before a remark: at the
// first field from the usual count on of the kind most lines end in, when
// its own last field is of another kind.
std::optional<std::size_t> CabrilloLayout::RemarkStart(const CabrilloLine& line,
                                                       const ReceivedFields& received) const {
  const auto& fields = line.fields;
  if (usualCount_ == 0 || received.end - received.first <= usualCount_ ||
      KindOf(fields[received.end - 1]) == usualLastKind_) {
    return std::nullopt;
  }
  for (std::size_t i = received.first + usualCount_ - 1; i + 1 < received.end; ++i) {
    if (KindOf(fields[i]) == usualLastKind_) {
      return i + 1;
    }
  }
  return std::nullopt;
}

ReceivedFields CabrilloLayout::Received(const CabrilloLine& line, std::size_t worked) const {
  ReceivedFields received;
  received.first = worked + 1;
  received.end = ExchangeEnd(line, worked);
  const std::size_t count = received.end - received.first;
  if (const auto remark = RemarkStart(line, received)) {
    const char* start = line.fields[*remark].data();
    const std::string_view last = line.fields[received.end - 1];
    received.remark = {start, static_cast<std::size_t>(last.data() + last.size() - start)};
    received.end = *remark;
  }
  const std::size_t sent = worked - kSentCallField - 1;
  received.missing = count < usualCount_ && count < sent ? usualCount_ - count : 0;
  return received;
}

}  // namespace orva::import
