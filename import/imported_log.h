// What the log-file readers hand to the host: the QSOs they could read, with
// the columns the plug-in's recalculation takes from a log table and where
// each came from, and one reason for every record they had to leave out.
//
// The readers are pure functions from the file's bytes to this value, so the
// tests and the fuzzers call them without files, databases or a plug-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/log_columns.h"
#include "import/qso_moment.h"

namespace orva::import {

// One QSO, named after the log table's columns it fills, and where it came
// from: its record's number, and when it was made (UTC as the file gives it).
struct ImportedQso {
  std::string CallSign;
  std::string DigiBand;
  std::string QSOMode;
  std::string QSOReportRecived;
  std::string DXCCPrefix;
  std::string MainPrefix;
  std::string Continent;
  std::string ITUZone;
  std::size_t record = 0;  // as SkippedRecord counts them
  QsoTime when;
};

// The log table an imported file makes: the columns the plug-in reads, in
// the order the table has them, each with the text of the QSO it holds.
struct QsoColumn {
  const char* name;
  std::string ImportedQso::*text;
};
inline constexpr QsoColumn kQsoColumns[] = {
    {log_column::kCallSign, &ImportedQso::CallSign},
    {log_column::kDigiBand, &ImportedQso::DigiBand},
    {log_column::kQsoMode, &ImportedQso::QSOMode},
    {log_column::kQsoReportRecived, &ImportedQso::QSOReportRecived},
    {log_column::kDxccPrefix, &ImportedQso::DXCCPrefix},
    {log_column::kMainPrefix, &ImportedQso::MainPrefix},
    {log_column::kContinent, &ImportedQso::Continent},
    {log_column::kItuZone, &ImportedQso::ITUZone},
};

// Beside the columns the plug-in reads, each row of the table tells which
// of the imported QSOs it holds: their number, from 1 in the order the table
// was given them. The plug-in reads the rows in its own order; the host's
// tools find by this number where each came from (the QSO's record and
// time), which they keep as they were read rather than as texts of the table.
inline constexpr char kImportedQsoColumn[] = "ImportedQso";

struct SkippedRecord {
  std::size_t record;  // counted from 1 in file order, skipped records included
  std::string reason;
};

// A record that was read, though not as it stands in the file: what the
// reader made of it.
struct NotedRecord {
  std::size_t record;
  std::string note;
};

struct ImportedLog {
  std::vector<ImportedQso> qsos;  // in file order
  std::vector<SkippedRecord> skipped;
  std::vector<NotedRecord> noted;
  // What the operator should know of the file as a whole.
  std::vector<std::string> remarks;
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

// Puts the QSOs in the order they were made, as the contest counts them
// (of two QSOs with one station, the earlier counts): those with a date and
// a time by both, equal ones and those without either keeping file order,
// after those with them.
void PutInTimeOrder(std::vector<ImportedQso>& qsos);

// Appends `field` to an exchange made of fields, a space between two.
void AppendExchangeField(std::string& exchange, std::string_view field);

// A piece of the file for a reason text: in quotes, cut to a few dozen
// bytes, every byte that is no printable ASCII shown as '?', so that a
// reason never carries control sequences from the file to the terminal.
std::string Quoted(std::string_view text);

}  // namespace orva::import
