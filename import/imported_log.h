// What the log-file readers hand to the host: the QSOs they could read, with
// the columns the plug-in's recalculation takes from a log table, and one
// reason for every record they had to leave out.
//
// The readers are pure functions from the file's bytes to this value, so the
// tests and the fuzzers call them without files, databases or a plug-in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orva::import {

// One QSO, named after the log table's columns it fills.
struct ImportedQso {
  std::string CallSign;
  std::string DigiBand;
  std::string QSOMode;
  std::string QSOReportRecived;
  std::string DXCCPrefix;
  std::string MainPrefix;
  std::string Continent;
  std::string ITUZone;
};

struct SkippedRecord {
  std::size_t record;  // counted from 1 in file order, skipped records included
  std::string reason;
};

struct ImportedLog {
  std::vector<ImportedQso> qsos;
  std::vector<SkippedRecord> skipped;
  // Set when nothing of the file can be read at all (for example UTF-16
  // text); qsos and skipped are then empty.
  std::string unreadable;
};

// The file's bytes as 8-bit text, after a UTF-8 byte order mark that some
// programs write before it; nothing, with the reason in log.unreadable, for
// a file in a 16- or 32-bit Unicode form. Both formats are byte-oriented: in
// UTF-16 every tag and length would be garbled, and reading on would only
// produce a skipped line per record of a file that holds nothing wrong.
std::optional<std::string_view> EightBitText(std::string_view bytes, ImportedLog& log);

// Appends `field` to an exchange made of fields, a space between two.
void AppendExchangeField(std::string& exchange, std::string_view field);

// A piece of the file for a reason text: in quotes, cut to a few dozen
// bytes, every byte that is no printable ASCII shown as '?', so that a
// reason never carries control sequences from the file to the terminal.
std::string Quoted(std::string_view text);

}  // namespace orva::import
