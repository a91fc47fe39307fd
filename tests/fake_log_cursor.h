// A log cursor over rows held in memory, for testing the recalculation the
// same way on every build. Each row maps column names to values; a column a
// row lacks reads as missing, like a table without it.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/failure.h"
#include "platform/database.h"

namespace orva::test {

using Row = std::map<std::string, std::string>;

struct FakeLog {
  std::vector<Row> rows;
  std::vector<std::string> queries;  // every text opened, in order
  int openCount = 0;
  bool failOpen = false;
};

class FakeLogCursor : public platform::LogCursor {
 public:
  explicit FakeLogCursor(FakeLog& log) : log_(log) {}
  void Close() override { open_ = false; }
  void Open(const std::string& queryText) override {
    log_.queries.push_back(queryText);
    if (log_.failOpen) {
      throw Failure("no such table: LOG");
    }
    ++log_.openCount;
    open_ = true;
    row_ = 0;
  }
  // Delivers the rows in callsign byte order, as the build's layers do, and
  // notes the request in the words the Windows layer sends it.
  void OpenInCallsignOrder(const std::string& tableQuery) override {
    Open(tableQuery + " order by CallSign");
    std::stable_sort(log_.rows.begin(), log_.rows.end(),
                     [](const Row& a, const Row& b) { return CallSignOf(a) < CallSignOf(b); });
  }
  bool IsOpen() const override { return open_; }
  bool Eof() const override { return !open_ || row_ >= log_.rows.size(); }
  void Next() override { ++row_; }
  std::optional<std::string_view> FieldText(const std::string& name) override {
    const Row& row = log_.rows.at(row_);
    const auto found = row.find(name);
    if (found == row.end()) {
      return std::nullopt;
    }
    return found->second;
  }

 private:
  static std::string_view CallSignOf(const Row& row) {
    const auto found = row.find("CallSign");
    return found == row.end() ? std::string_view() : std::string_view(found->second);
  }

  FakeLog& log_;
  bool open_ = false;
  std::size_t row_ = 0;
};

inline Row LogRow(std::string call, std::string band, std::string mode, std::string exchange) {
  return {{"QSOReportRecived", exchange},
          {"DXCCPrefix", "DL"},
          {"MainPrefix", "DL"},
          {"CallSign", call},
          {"DigiBand", band},
          {"QSOMode", mode},
          {"Continent", "eu"},
          {"ITUZone", "28"}};
}

}  // namespace orva::test
