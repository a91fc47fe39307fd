// Turns an imported log into what the plug-in scores: a temporary SQLite
// log database with one table holding the columns its recalculation reads,
// which the host then opens exactly like a log of its own.
#pragma once

#include <string>
#include <vector>

#include "import/imported_log.h"

namespace orva::import {

// A new database file in the system's temporary folder, holding the QSOs in
// the table `table` (letters, digits and underscores), each numbered in the
// column kImportedQsoColumn, removed again with this object.
// Raises a Failure with the reason when it cannot be made.
class TemporaryLogDatabase {
 public:
  TemporaryLogDatabase(const std::vector<ImportedQso>& qsos, const std::string& table);
  ~TemporaryLogDatabase();
  TemporaryLogDatabase(const TemporaryLogDatabase&) = delete;
  TemporaryLogDatabase& operator=(const TemporaryLogDatabase&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace orva::import
