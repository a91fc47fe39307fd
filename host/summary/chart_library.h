// The chart library the summary page carries inside itself: Chart.js, from
// the system's package at build time (see host/CMakeLists.txt), so that the
// page draws its charts opened from disk with no network.
#pragma once

#include <cstddef>

namespace orva::host {

extern const char kChartLibrary[];
extern const std::size_t kChartLibrarySize;

}  // namespace orva::host
