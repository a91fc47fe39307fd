// Reading and writing the host's records byte for byte. memcpy keeps every
// access free of alignment assumptions about the host's buffers.
#include "base/records.h"

#include <cstring>

namespace orva {

namespace {
void WriteInt32(unsigned char* at, std::int32_t value) {
  // The host is little-endian; write the bytes in that order on any build.
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) {
    at[i] = static_cast<unsigned char>(bits >> (8 * i));
  }
}
}  // namespace

void FillInfoRecord(unsigned char* info) {
  WriteShortString(info + kInfoPluginNameOffset, kPluginName);
  WriteInt32(info + kInfoFlagAOffset, 1);
  WriteShortString(info + kInfoPluginKindOffset, kPluginKind);
  WriteInt32(info + kInfoFlagBOffset, 1);
}

void CopyInExchangeRecord(TExchangeRecord& current, const void* hostRecord) {
  std::memcpy(&current, hostRecord, sizeof(TExchangeRecord));
}

}  // namespace orva
