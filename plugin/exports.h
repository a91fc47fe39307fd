// The six entry points the host calls, by exact name (and on Windows by
// ordinal, from the .def file), with the host's calling convention.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define ORVA_CALL __stdcall
#define ORVA_EXPORT extern "C"
#else
#define ORVA_CALL
#define ORVA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

ORVA_EXPORT void ORVA_CALL _GetInfo(void* info);
ORVA_EXPORT std::uintptr_t ORVA_CALL _Run(std::int32_t ignored, const void* record);
ORVA_EXPORT std::int32_t ORVA_CALL _AddQSO(const void* record);
ORVA_EXPORT std::int32_t ORVA_CALL _GetScore(const void* record);
ORVA_EXPORT void ORVA_CALL _GrabNumber(const void* record, void* buffer);
ORVA_EXPORT void ORVA_CALL _Release();
