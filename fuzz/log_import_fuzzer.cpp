// Fuzz target: the two log-file readers of the native host.
//
// The input is a whole file, read both as ADI and as Cabrillo. Besides
// crashes and exceptions, the target checks what a caller relies on: an
// unreadable file yields nothing else; skipped and noted records are
// numbered upwards from 1 with a printable reason; every QSO has a callsign
// and a band. And each QSO read from ADI whose fields hold no text shaped
// as a specifier, written back as ADI, reads back exactly the same: a reader
// that lost or bent a byte of a field would break this.
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "import/adif_reader.h"
#include "import/cabrillo_reader.h"

namespace {

using orva::import::ImportedLog;
using orva::import::ImportedQso;

// Records named on the terminal: numbered upwards from 1, each with a
// printable text.
template <typename Named, typename Text>
void CheckNamedRecords(const std::vector<Named>& records, Text Named::*text, const char* format) {
  std::size_t last = 0;
  for (const Named& named : records) {
    ORVA_REQUIRE(named.record > last, "%s: record %zu named after %zu", format, named.record, last);
    last = named.record;
    ORVA_REQUIRE(!(named.*text).empty(), "%s: record %zu named without a reason", format,
                 named.record);
    for (const char c : named.*text) {
      ORVA_REQUIRE(c >= 0x20 && c < 0x7F, "%s: reason \"%s\" carries byte %d", format,
                   orva::fuzz::Shown(named.*text).c_str(), c);
    }
  }
}

void CheckShape(const ImportedLog& log, const char* format) {
  if (!log.unreadable.empty()) {
    ORVA_REQUIRE(log.qsos.empty() && log.skipped.empty(), "%s: unreadable, yet records", format);
  }
  CheckNamedRecords(log.skipped, &orva::import::SkippedRecord::reason, format);
  CheckNamedRecords(log.noted, &orva::import::NotedRecord::note, format);
  for (const ImportedQso& qso : log.qsos) {
    ORVA_REQUIRE(!qso.CallSign.empty() && !qso.DigiBand.empty(), "%s: a QSO without call or band",
                 format);
  }
}

void AppendField(std::string& adi, const char* name, const std::string& data) {
  if (!data.empty()) {
    adi += "<" + std::string(name) + ":" + std::to_string(data.size()) + ">" + data;
  }
}

std::string AsAdi(const ImportedQso& qso) {
  std::string adi = "<EOH>";
  AppendField(adi, "CALL", qso.CallSign);
  AppendField(adi, "BAND", qso.DigiBand);
  AppendField(adi, "MODE", qso.QSOMode);
  AppendField(adi, "SRX_STRING", qso.QSOReportRecived);
  AppendField(adi, "CONT", qso.Continent);
  AppendField(adi, "PFX", qso.MainPrefix);
  AppendField(adi, "ITUZ", qso.ITUZone);
  return adi + "<EOR>";
}

bool Same(const ImportedQso& a, const ImportedQso& b) {
  return a.CallSign == b.CallSign && a.DigiBand == b.DigiBand && a.QSOMode == b.QSOMode &&
         a.QSOReportRecived == b.QSOReportRecived && a.DXCCPrefix == b.DXCCPrefix &&
         a.MainPrefix == b.MainPrefix && a.Continent == b.Continent && a.ITUZone == b.ITUZone;
}

void CheckRoundTrip(const ImportedQso& qso) {
  const ImportedLog again = orva::import::ReadAdif(AsAdi(qso));
  ORVA_REQUIRE(again.qsos.size() == 1 && again.skipped.empty() && Same(again.qsos[0], qso),
               "QSO of %s on %s did not read back the same from \"%s\"",
               orva::fuzz::Shown(qso.CallSign).c_str(), orva::fuzz::Shown(qso.DigiBand).c_str(),
               orva::fuzz::Shown(AsAdi(qso)).c_str());
}

// Whether a field's data holds text shaped as a specifier. The reader takes
// data that ends in a run of specifiers for a length written too long, and
// cuts it there; data that ends so when written back is cut again, so only
// data without such text must read back the same. (A value the reader made
// that it would cut on reading it again: known, to be settled in the
// reader.)
bool HoldsSpecifierText(const ImportedQso& qso) {
  for (const std::string* field :
       {&qso.CallSign, &qso.DigiBand, &qso.QSOMode, &qso.QSOReportRecived, &qso.Continent,
        &qso.MainPrefix, &qso.ITUZone}) {
    const std::size_t open = field->find('<');
    if (open != std::string::npos && field->find('>', open) != std::string::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ImportedLog adif = orva::import::ReadAdif(bytes);
  CheckShape(adif, "ADI");
  for (const ImportedQso& qso : adif.qsos) {
    if (!HoldsSpecifierText(qso)) {
      CheckRoundTrip(qso);
    }
  }
  CheckShape(orva::import::ReadCabrillo(bytes), "Cabrillo");
  return 0;
}
