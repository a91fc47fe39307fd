// The one naming of modes that both log-file readers give the log table.
// The plug-in tells a duplicate by callsign, band and mode, byte for byte,
// and counts each reference once per band and mode: two QSOs that every
// logging program would call the same mode must reach it as the same text,
// or the second would score again and add a multiplier of its own.
#pragma once

#include <string>
#include <string_view>

namespace orva::import {

// The mode of a QSO as the log table gets it, from the mode word a file
// gives and, in the interchange format, the submode: the submode when there
// is one (MFSK with the submode FT4 is FT4, as MODE FT4 is), else the mode;
// in upper case, with PH, USB and LSB as SSB and RY as RTTY, every other
// word as written. Empty when the file gives neither.
std::string ModeOf(std::string_view mode, std::string_view submode = {});

}  // namespace orva::import
