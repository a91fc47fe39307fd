// The two fixed-layout records shared with the host, and the plug-in's private
// copy of the exchange record.
//
// Both layouts are a binary contract with a host that already exists, so every
// field is declared at its byte offset and checked at compile time on every
// build. Text fields are length-prefixed "short strings": one length byte and
// up to 255 single-byte characters; bytes past the length are never read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace orva {

#pragma pack(push, 1)
struct ShortString {
  static constexpr std::size_t kCapacity = 255;

  std::uint8_t length;
  char chars[kCapacity];

  std::string_view text() const { return {chars, length}; }
  // Stores at most the first 255 characters; the length byte is always set.
  void assign(std::string_view value);
};

struct TExchangeRecord {
  std::uint32_t Connection;
  std::uint8_t unread4[8];
  ShortString TableName;
  ShortString CallSign;
  std::uint8_t unread524[16];
  ShortString DigiBand;
  ShortString QSOMode;
  ShortString Continent;
  ShortString QSOReportRecived;
  std::uint8_t unread1564[768];
  ShortString MainPrefix;
  ShortString DXCCPrefix;
  std::uint8_t unread2844[256];
  ShortString ITUZone;
  std::uint8_t unread3356[512];
  ShortString CaptionText;
  std::uint8_t unread4124[1792];
};
#pragma pack(pop)

static_assert(sizeof(ShortString) == 256);
static_assert(sizeof(TExchangeRecord) == 5916);
static_assert(offsetof(TExchangeRecord, Connection) == 0);
static_assert(offsetof(TExchangeRecord, TableName) == 12);
static_assert(offsetof(TExchangeRecord, CallSign) == 268);
static_assert(offsetof(TExchangeRecord, DigiBand) == 540);
static_assert(offsetof(TExchangeRecord, QSOMode) == 796);
static_assert(offsetof(TExchangeRecord, Continent) == 1052);
static_assert(offsetof(TExchangeRecord, QSOReportRecived) == 1308);
static_assert(offsetof(TExchangeRecord, MainPrefix) == 2332);
static_assert(offsetof(TExchangeRecord, DXCCPrefix) == 2588);
static_assert(offsetof(TExchangeRecord, ITUZone) == 3100);
static_assert(offsetof(TExchangeRecord, CaptionText) == 3868);

// Information record offsets; the host's buffer is at least 520 bytes.
inline constexpr std::size_t kInfoPluginNameOffset = 0;
inline constexpr std::size_t kInfoFlagAOffset = 256;
inline constexpr std::size_t kInfoPluginKindOffset = 260;
inline constexpr std::size_t kInfoFlagBOffset = 516;

inline constexpr std::string_view kPluginName = "ORVA DX Contest";
inline constexpr std::string_view kPluginKind = "tarnix_contest";

// Writes only the bytes the host expects from the plug-in: each short string's
// length byte and characters, and the two flags. The rest of the host's buffer
// is left exactly as it was.
void FillInfoRecord(unsigned char* info);

// Replaces `current` by the 5916 bytes at `hostRecord`; the host's bytes are
// only read.
void CopyInExchangeRecord(TExchangeRecord& current, const void* hostRecord);

// Writes `text` into a caller's 256-byte short-string buffer, truncated to 255.
// It and the record's own members are defined in this header: the scoring
// code and the host fill records too, and link none of the plug-in's objects.
inline void WriteShortString(void* buffer, std::string_view text) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  const auto length = std::min(text.size(), ShortString::kCapacity);
  bytes[0] = static_cast<unsigned char>(length);
  // An empty view may have no address at all, which memcpy must not be given.
  if (length > 0) {
    std::memcpy(bytes + 1, text.data(), length);
  }
}

inline void ShortString::assign(std::string_view value) {
  WriteShortString(this, value);
}

// The text of a short string in a record's bytes: as many characters as its
// length byte says.
inline std::string_view ShortStringText(const void* buffer) {
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  return {reinterpret_cast<const char*>(bytes + 1), bytes[0]};
}

}  // namespace orva
