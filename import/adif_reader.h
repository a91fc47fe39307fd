// Reads a log in the interchange format's tagged text form (ADI): fields
// written as <NAME:LENGTH[:TYPE]>data, with case-insensitive names and the
// length counted in bytes, an optional header closed by <EOH>, every record
// closed by <EOR>, and, in the online logbook's downloads, <APP_LoTW_EOF>
// after the last record, which ends the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/imported_log.h"

namespace orva::import {

// Takes CALL (in upper case), BAND (else the band of FREQ), MODE and SUBMODE
// (as import/modes.h names them), CONT, PFX, ITUZ, QSO_DATE and TIME_ON of
// each record, and as the received exchange SRX_STRING, else SRX, followed
// by IOTA unless it already ends with it (the serial, a space and the island
// reference, as island contests log them). `exchangeFields`, when not empty,
// names the fields that make the exchange instead, joined by spaces, absent
// ones skipped; a field no record holds is remarked. A record without a
// callsign or a known band, with a malformed field, or cut off by the end of
// the file is left out with its reason; one with a malformed date or time is
// read without it, one without a mode is read with none, and both are noted.
// A field whose length runs on over specifiers (its record's <EOR>, the next
// field) is read up to the first of them, and noted, and the scanner goes on
// there. Every other record is read. Never throws for any bytes.
ImportedLog ReadAdif(std::string_view bytes, const std::vector<std::string>& exchangeFields = {});

}  // namespace orva::import
