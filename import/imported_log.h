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

namespace orva::import {

// One QSO, named after the log table's columns it fills, and where it came
// from: its record's number and its date and time (UTC as the file gives it)
// as "YYYY-MM-DD" and "HH:MM" or "HH:MM:SS", empty when the file gives none.
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
  std::string date;
  std::string time;
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

// Whether the table keeps, beside the columns the plug-in reads, where each
// QSO came from (the columns below): the plug-in never reads them, and a
// score is quicker without them where they cost a database their bytes.
enum class Origins { kLeftOut, kKept };

// The columns of a QSO's origin: its date and time as the file gives them,
// and its record's number in the file.
inline constexpr char kDateColumn[] = "QSODate";
inline constexpr char kTimeColumn[] = "QSOTime";
inline constexpr char kRecordColumn[] = "Record";

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

// "YYYY-MM-DD" for the eight digits YYYYMMDD of a date, else empty.
std::string DateOfDigits(std::string_view digits);

// "HH:MM" for the four digits HHMM of a time, "HH:MM:SS" for six, else empty.
std::string TimeOfDigits(std::string_view digits);

// Appends `field` to an exchange made of fields, a space between two.
void AppendExchangeField(std::string& exchange, std::string_view field);

// A piece of the file for a reason text: in quotes, cut to a few dozen
// bytes, every byte that is no printable ASCII shown as '?', so that a
// reason never carries control sequences from the file to the terminal.
std::string Quoted(std::string_view text);

}  // namespace orva::import
