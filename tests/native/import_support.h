// Helpers the log-file reader tests share: the hand-written sample files and
// short views of what a reader returned.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "import/imported_log.h"
#include "platform/native/file_read.h"

namespace orva::import::test {

inline std::string SampleFile(const std::string& name) {
  std::string bytes;
  const int error = platform::ReadFileWhole(std::string(ORVA_IMPORT_SAMPLES) + "/" + name, bytes);
  EXPECT_EQ(error, 0) << std::strerror(error);
  return bytes;
}

// "CALL BAND MODE|exchange" for each QSO, enough to see what a reader took.
inline std::vector<std::string> Qsos(const ImportedLog& log) {
  std::vector<std::string> qsos;
  for (const ImportedQso& qso : log.qsos) {
    qsos.push_back(qso.CallSign + " " + qso.DigiBand + " " + qso.QSOMode + "|" +
                   qso.QSOReportRecived);
  }
  return qsos;
}

// "N: reason" for each skipped record.
inline std::vector<std::string> Skipped(const ImportedLog& log) {
  std::vector<std::string> skipped;
  for (const SkippedRecord& record : log.skipped) {
    skipped.push_back(std::to_string(record.record) + ": " + record.reason);
  }
  return skipped;
}

}  // namespace orva::import::test
