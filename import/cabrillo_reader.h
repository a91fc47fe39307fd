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
// itself withdraws, and other lines are header). The worked callsign is the
// first word after the sent exchange that is shaped as a callsign, and the
// received exchange what follows it, as the log's lines show together
// (cabrillo_layout.h: the header's own callsigns, the shape, the sent
// exchange repeating or counting up, the column, and the trailing
// transmitter number or remark, which is left out). A line with fewer
// received fields than most of the log's lines, where the last ones were
// left out, is read all the same, and noted, as is one whose remark was
// left out. The worked callsign is taken in upper case; the modes PH, SSB,
// USB and LSB are SSB, RY is RTTY, and any other mode word stays as
// written, in upper case. A line with no worked callsign or an unknown band
// is left out with its reason; one with a bad date or time is read without
// them, and noted. A received field of hyphens alone is a placeholder for
// "not given" and is left out of the exchange. A file that ends in the
// middle of a line without END-OF-LOG: was cut off: a remark says so, and
// its last line is read if it can be, else left out without counting as a
// skipped record, since no whole line was lost. Never throws for any bytes.
ImportedLog ReadCabrillo(std::string_view bytes);

}  // namespace orva::import
