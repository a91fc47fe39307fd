// Reads a log in the interchange format's tagged text form (ADI): fields
// written as <NAME:LENGTH[:TYPE]>data, with case-insensitive names and the
// length counted in bytes, an optional header closed by <EOH>, and every
// record closed by <EOR>.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/imported_log.h"

namespace orva::import {

// Takes CALL (in upper case), BAND (else the band of FREQ), MODE, CONT, PFX,
// ITUZ, QSO_DATE and TIME_ON of each record, and as the received exchange
// SRX_STRING, else SRX, followed by IOTA unless it already ends with it (the
// serial, a space and the island reference, as island contests log them).
// `exchangeFields`, when not empty, names the fields that make the exchange
// instead, joined by spaces, absent ones skipped; a field no record holds is
// remarked. A record without a callsign or a known band, with a malformed
// field, or cut off by the end of the file is left out with its reason; one
// with a malformed date or time is read without it, and noted. Every other
// record is read. Never throws for any bytes.
ImportedLog ReadAdif(std::string_view bytes, const std::vector<std::string>& exchangeFields = {});

}  // namespace orva::import
