// Reads a log in the interchange format's tagged text form (ADI): fields
// written as <NAME:LENGTH[:TYPE]>data, with case-insensitive names and the
// length counted in bytes, an optional header closed by <EOH>, and every
// record closed by <EOR>.
#pragma once

#include <string_view>

#include "import/imported_log.h"

namespace orva::import {

// Takes CALL, BAND (else the band of FREQ), MODE, SRX_STRING (else SRX),
// CONT, PFX and ITUZ of each record. A record without a callsign or a known
// band, with a malformed field, or cut off by the end of the file is left out
// with its reason; every other record is read. Never throws for any bytes.
ImportedLog ReadAdif(std::string_view bytes);

}  // namespace orva::import
