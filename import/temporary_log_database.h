// Turns an imported log into what the plug-in scores: a temporary SQLite
// log database with one table holding the columns its recalculation reads,
// which the host then opens exactly like a log of its own.
#pragma once

#include <string>
#include <vector>

#include "import/imported_log.h"

namespace orva::import {

// The file's whole content; false with the system's reason when it cannot be
// opened or read (a missing file, a folder, no permission).
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Whether the table keeps, beside the columns the plug-in reads, where each
// QSO came from (the columns QSODate, QSOTime and Record): the plug-in never
// reads them, and a score is quicker without them.
enum class Origins { kLeftOut, kKept };

// A new database file in the system's temporary folder, holding the QSOs in
// the table `table` (letters, digits and underscores), removed again with this object.
// Throws std::exception with the reason when it cannot be made.
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
