// A minimal PNG encoder for the test host's screenshots: 8-bit RGB, no
// compression (zlib "stored" deflate blocks), so that the host needs no image
// library and a human can still open the file in any viewer.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace orva::png {

inline std::uint32_t Crc32(const std::uint8_t* data, std::size_t size,
                           std::uint32_t crc = 0xFFFFFFFFu) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) {
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      }
      t[n] = c;
    }
    return t;
  }();
  for (std::size_t i = 0; i < size; ++i) {
    crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  }
  return crc;
}

inline std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

inline void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

// A zlib stream holding `raw` in stored blocks of at most 65535 bytes each.
inline std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
  constexpr std::size_t kMaxBlock = 65535;
  std::vector<std::uint8_t> out = {0x78, 0x01};
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min(kMaxBlock, raw.size() - offset);
    const bool last = offset + length == raw.size();
    const auto len = static_cast<std::uint16_t>(length);
    const auto nlen = static_cast<std::uint16_t>(~len);
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(len));
    out.push_back(static_cast<std::uint8_t>(len >> 8));
    out.push_back(static_cast<std::uint8_t>(nlen));
    out.push_back(static_cast<std::uint8_t>(nlen >> 8));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
               raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
    offset += length;
  } while (offset < raw.size());
  AppendBigEndian(out, Adler32(raw));
  return out;
}

inline void AppendChunk(std::vector<std::uint8_t>& file, const char (&type)[5],
                        const std::vector<std::uint8_t>& data) {
  AppendBigEndian(file, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = file.size();
  file.insert(file.end(), type, type + 4);
  file.insert(file.end(), data.begin(), data.end());
  const std::uint32_t crc = Crc32(file.data() + typeStart, file.size() - typeStart) ^ 0xFFFFFFFFu;
  AppendBigEndian(file, crc);
}

// The PNG file of an image given as rows of RGB triples, top row first.
inline std::vector<std::uint8_t> EncodeRgb(int width, int height,
                                           const std::vector<std::uint8_t>& rgb) {
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> filtered;
  filtered.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    filtered.push_back(0);  // filter type None
    const auto row = rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
    filtered.insert(filtered.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
  }
  std::vector<std::uint8_t> header;
  AppendBigEndian(header, static_cast<std::uint32_t>(width));
  AppendBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no interlace

  std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  AppendChunk(file, "IHDR", header);
  AppendChunk(file, "IDAT", StoredZlib(filtered));
  AppendChunk(file, "IEND", {});
  return file;
}

inline bool WriteRgbFile(const std::string& path, int width, int height,
                         const std::vector<std::uint8_t>& rgb) {
  const std::vector<std::uint8_t> bytes = EncodeRgb(width, height, rgb);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace orva::png
