// The columns of the host's log table that the plug-in reads, named after the
// exchange record's fields they fill, as logging programs name them. The
// recalculation reads them by these names, the host's reference tools read
// them too, and its import makes a table of them for a file of another
// program. They stand below the database layers, which order a log by its
// callsign column.
#pragma once

namespace orva::log_column {

inline constexpr char kCallSign[] = "CallSign";
inline constexpr char kDigiBand[] = "DigiBand";
inline constexpr char kQsoMode[] = "QSOMode";
inline constexpr char kQsoReportRecived[] = "QSOReportRecived";
inline constexpr char kDxccPrefix[] = "DXCCPrefix";
inline constexpr char kMainPrefix[] = "MainPrefix";
inline constexpr char kContinent[] = "Continent";
inline constexpr char kItuZone[] = "ITUZone";

}  // namespace orva::log_column
