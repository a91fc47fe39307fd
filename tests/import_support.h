// Helpers the log-file reader tests share: the hand-written sample files and
// short views of what a reader returned. The samples are read by the
// standard library, which both builds have, so that the readers' tests run
// on each.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "import/imported_log.h"

namespace orva::import::test {

inline std::string SampleFile(const std::string& name) {
  const std::string path = std::string(ORVA_IMPORT_SAMPLES) + "/" + name;
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file.is_open()) << "cannot open " << path;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
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
