// Reads a contest log in Cabrillo 3.0 form: header lines of TAG: value, and
// one QSO: line per contact,
//
//   QSO: freq mode date time sent-call sent-exchange... worked-call received-exchange... [t]
//
// with the frequency in kHz or a band designator (50, 144, 1.2G, ...).
#pragma once

#include <string_view>

#include "import/imported_log.h"

namespace orva::import {

// Reads every QSO: line up to END-OF-LOG: (X-QSO: lines are QSOs the log
// itself withdraws, and other lines are header). The sent and the received
// exchange have the same number of fields, as each contest's line template
// lays them out, so the field count tells where the worked callsign stands
// and whether the transmitter number ends the line. A line one field short
// of the log's other lines, where only the last received field can be
// missing, is read with that field empty, and noted. The worked callsign is
// taken in upper case; the modes PH, SSB, USB and LSB are SSB, RY is RTTY,
// and any other mode word stays as written, in upper case. A line whose
// worked callsign cannot be found or whose band is unknown is left out with
// its reason; one with a bad date or time is read without them, and noted.
// A received field of hyphens alone is a placeholder for "not given" and is
// left out of the exchange. Never throws for any bytes.
ImportedLog ReadCabrillo(std::string_view bytes);

}  // namespace orva::import
