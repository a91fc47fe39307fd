// What the fuzz targets share: a reader that takes an input apart in order
// (so seeds can be written by hand with printf), the check that turns a broken
// promise into a crash the fuzzer records, and independent statements of the
// rules that more than one target checks results against.
//
// The statements here are written from the rules as the operator sees them,
// not from the product code: a target that compared the code with itself
// could find crashes but never a wrong answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace orva::fuzz {

// A broken promise is reported like a crash: the fuzzer keeps the input.
#define ORVA_REQUIRE(condition, ...)                                                              \
  do {                                                                                            \
    if (!(condition)) {                                                                           \
      std::fprintf(stderr, "fuzz check failed at %s:%d: %s\n  ", __FILE__, __LINE__, #condition); \
      std::fprintf(stderr, __VA_ARGS__);                                                          \
      std::fprintf(stderr, "\n");                                                                 \
      std::abort();                                                                               \
    }                                                                                             \
  } while (false)

// Reads an input from the front; past its end every read gives zeros or
// nothing, so any input is a valid one.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return empty() ? 0 : data_[at_++]; }
  // Up to `count` bytes, fewer at the end of the input.
  std::string_view Bytes(std::size_t count) {
    const std::size_t taken = count < size_ - at_ ? count : size_ - at_;
    const std::string_view bytes(reinterpret_cast<const char*>(data_ + at_), taken);
    at_ += taken;
    return bytes;
  }
  // A length byte, then that many bytes.
  std::string_view Text() { return Bytes(Byte()); }
  std::string_view Rest() { return Bytes(size_ - at_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

inline bool IsBlankByte(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

inline std::string_view TrimmedBySpec(std::string_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && IsBlankByte(text[first])) {
    ++first;
  }
  while (last > first && IsBlankByte(text[last - 1])) {
    --last;
  }
  return text.substr(first, last - first);
}

// The reference file's lines: a line ends at CR, LF or CR LF; a zero byte
// ends the text; a last line without a break counts.
inline std::vector<std::string> LinesBySpec(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
    } else {
      line += text[i];
      open = true;
    }
  }
  if (open) {
    lines.push_back(line);
  }
  return lines;
}

// The lookup as a scan of every line: the callsign must occur in the line,
// the text before the trimmed line's first "=" must be exactly the callsign,
// and the last such line wins.
inline std::string LookUpBySpec(const std::vector<std::string>& lines, std::string_view call) {
  std::string result;
  for (const std::string& line : lines) {
    if (call.empty() || line.find(call) == std::string::npos) {
      continue;
    }
    const std::string_view trimmed = TrimmedBySpec(line);
    const std::size_t equals = trimmed.find('=');
    if (equals != std::string_view::npos && trimmed.substr(0, equals) == call) {
      result = " " + std::string(trimmed.substr(equals + 1));
    }
  }
  return result;
}

// A fresh folder for a target's files. In memory by default, because the
// settings store flushes every write; fuzz/run points ORVA_FUZZ_SCRATCH at a
// folder of its own that it removes even when a target dies in a crash.
inline std::string MakeScratchFolder(const std::string& name) {
  const char* scratch = std::getenv("ORVA_FUZZ_SCRATCH");
  std::string folder =
      std::string(scratch && scratch[0] ? scratch : "/dev/shm") + "/" + name + "-XXXXXX";
  if (!mkdtemp(folder.data())) {
    std::perror(folder.c_str());
    std::abort();
  }
  return folder;
}

// Makes a text printable in a failure message.
inline std::string Shown(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 127 && c != '\\') {
      shown += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    }
  }
  return shown;
}

}  // namespace orva::fuzz
