// Where the worked callsign and the received exchange stand on a Cabrillo
// log's QSO lines. The format fixes only the fields up to the sent
// callsign; after it each logger writes the contest's exchanges its own
// way, the sent and the received one often of different lengths, with a
// transmitter number or a remark at the end of some lines. So the layout is
// read from the log as a whole, from the signals its lines give together:
//
// - A callsign's shape: letters and digits with at least one of each, a
//   letter last, in one of up to three parts between '/' (PA/DL1ABC,
//   DL1ABC/P, OH0/DL1ABC/P), and a letter last in a part that holds a digit
//   (the base). A name, 599, NM, HANS/124, 599VANNI164 or EU-005 is no
//   callsign, and a word shaped as none is never the worked station.
// - The log's own callsigns: the header's CALLSIGN: and OPERATORS:, and the
//   line's sent callsign, are never the worked station.
// - The sent exchange repeats from line to line (599, a name, a locator)
//   or counts up (a serial): the leading fields after the sent callsign
//   that hold one word on most lines, or count up or repeat on most pairs
//   of lines, while most lines still hold a callsign-shaped word after
//   them, are the log's sent exchange. A callsign-shaped word there that is
//   the word most lines have in its place (a sent locator such as JO21QX)
//   is part of the sent exchange; another one (a mistyped locator, or the
//   worked callsign of a line whose sent exchange is shorter) is not.
// - Loggers write fixed columns: where more than half of the lines put the
//   worked callsign, a line with several candidates takes the one there.
//
// The worked callsign is the first callsign-shaped word after the sent
// exchange, or the one in the log's column. The received exchange is what
// follows it, but for two kinds of trailing words:
//
// - A lone digit at the end is the transmitter number where the log writes
//   one: where most lines with one received field more than sent fields end
//   in a lone digit (as the symmetric contest templates lay them out), such
//   a line's last digit is left out.
// - A remark: a line with more received fields than most lines have
//   (their usual count), whose last field is not of the kind most of those
//   lines end in (digits, letters, or a mix), ends its exchange at the first
//   field of that kind from the usual count on; what follows it is a remark
//   (QSO ... ON6ZZZ 599 NTC 154 2 POINTS ends its exchange at 154). A longer
//   exchange that still ends like the log's other lines (a name of two
//   words) is read whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orva::import {

// One QSO: line: its number in the file, its text, and its fields after the
// tag, which are views into the text (so their columns can be told).
struct CabrilloLine {
  std::size_t number = 0;
  std::string_view text;
  std::vector<std::string_view> fields;
};

// The fields after the tag: frequency, mode, date, time, sent callsign.
inline constexpr std::size_t kSentCallField = 4;

// The received exchange of a line as fields [first, end) of it, and how the
// line differs from the log's usual layout.
struct ReceivedFields {
  std::size_t first = 0;
  std::size_t end = 0;
  // Fields fewer than most lines have, where the line also has fewer than
  // it sent: a received exchange as long as the sent one is whole, as the
  // symmetric templates lay them out.
  std::size_t missing = 0;
  std::string_view remark;  // the trailing words left out as a remark
};

// Whether `word` is shaped as a callsign (see above), in either letter case.
bool IsCallsignShaped(std::string_view word);

enum class FieldKind { kDigits, kLetters, kMixed };

// The layout of one log, learnt from all its QSO lines; `ownCalls` are the
// header's callsigns, in any letter case.
class CabrilloLayout {
 public:
  CabrilloLayout(const std::vector<CabrilloLine>& lines, std::vector<std::string> ownCalls);

  // The index of the worked callsign among the line's fields, if any.
  std::optional<std::size_t> WorkedCall(const CabrilloLine& line) const;
  ReceivedFields Received(const CabrilloLine& line, std::size_t worked) const;
  // How many received fields most lines have.
  std::size_t UsualReceivedCount() const { return usualCount_; }

 private:
  bool IsCandidate(const CabrilloLine& line, std::size_t field) const;
  bool IsSentWord(const CabrilloLine& line, std::size_t field) const;
  std::size_t ExchangeEnd(const CabrilloLine& line, std::size_t worked) const;
  std::optional<std::size_t> RemarkStart(const CabrilloLine& line,
                                         const ReceivedFields& received) const;
  void LearnSentExchange(const std::vector<CabrilloLine>& lines);
  void LearnWorkedColumn(const std::vector<CabrilloLine>& lines);
  void LearnReceivedLayout(const std::vector<CabrilloLine>& lines);

  std::vector<std::string> own_;
  std::size_t sentEnd_ = kSentCallField + 1;  // the field after the log's sent exchange
  std::vector<std::string> sentWords_;        // the word most lines have in each place of it
  std::optional<std::size_t> workedColumn_;
  bool transmitterColumn_ = false;
  std::size_t usualCount_ = 0;
  FieldKind usualLastKind_ = FieldKind::kMixed;
};

}  // namespace orva::import
