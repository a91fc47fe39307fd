// Turns an imported log into what the plug-in scores: a temporary SQLite
// log database with one table holding the columns its recalculation reads,
// which the host then opens exactly like a log of its own.
#pragma once

#include <string>
#include <vector>

#include "import/imported_log.h"

namespace orva::import {

// Whether the table keeps, beside the columns the plug-in reads, where each
// QSO came from (the columns below): the plug-in never reads them, and a
// score is quicker without them.
enum class Origins { kLeftOut, kKept };

// The columns of a QSO's origin: its date and time as the file gives them,
// and its record's number in the file.
inline constexpr char kDateColumn[] = "QSODate";
inline constexpr char kTimeColumn[] = "QSOTime";
inline constexpr char kRecordColumn[] = "Record";

// A new database file in the system's temporary folder, holding the QSOs in
// the table `table` (letters, digits and underscores), removed again with this object.
// Raises a Failure with the reason when it cannot be made.
class TemporaryLogDatabase {
 public:
  TemporaryLogDatabase(const std::vector<ImportedQso>& qsos, const std::string& table,
                       Origins origins = Origins::kLeftOut);
  ~TemporaryLogDatabase();
  TemporaryLogDatabase(const TemporaryLogDatabase&) = delete;
  TemporaryLogDatabase& operator=(const TemporaryLogDatabase&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace orva::import
