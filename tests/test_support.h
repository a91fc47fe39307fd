// Helpers the component tests share: exchange records filled like a host
// fills them.
#pragma once

#include <cstring>
#include <string_view>

#include "base/records.h"

namespace orva::test {

inline TExchangeRecord BlankRecord() {
  TExchangeRecord record;
  std::memset(&record, 0, sizeof record);
  return record;
}

inline TExchangeRecord QsoRecord(std::string_view call, std::string_view band,
                                 std::string_view mode, std::string_view exchange) {
  TExchangeRecord record = BlankRecord();
  record.CallSign.assign(call);
  record.DigiBand.assign(band);
  record.QSOMode.assign(mode);
  record.QSOReportRecived.assign(exchange);
  return record;
}

}  // namespace orva::test
