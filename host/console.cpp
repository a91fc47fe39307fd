// Reading the files the user names, the same on every system: a file by the
// name the command line gave, or standard input for "-", which can be read
// only once and is therefore kept (the kind of a log is told from its head
// before the whole of it is read).
#include "host/console.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

namespace orva::host {
namespace {

constexpr std::string_view kStandardStream = "-";

struct Closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads up to `limit` bytes of `file`; false with the reason.
bool ReadUpTo(std::FILE* file, std::size_t limit, std::string& bytes, std::string& error) {
  bytes.clear();
  char buffer[1 << 16];
  std::size_t count = 0;
  while (bytes.size() < limit &&
         (count = std::fread(buffer, 1, std::min(sizeof buffer, limit - bytes.size()), file)) >
             0) {
    bytes.append(buffer, count);
  }
  if (std::ferror(file)) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

bool ReadStandardInput(std::string& bytes, std::string& error) {
  static std::optional<std::string> kept;
  if (!kept) {
    const BinaryStream binary(stdin);
    std::string read;
    if (!ReadUpTo(stdin, read.max_size(), read, error)) {
      return false;
    }
    kept = std::move(read);
  }
  bytes = *kept;
  return true;
}

bool ReadNamedFile(const std::string& path, std::size_t limit, std::string& bytes,
                   std::string& error) {
  const std::unique_ptr<std::FILE, Closer> file(OpenNamedFile(path, "rb"));
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  return ReadUpTo(file.get(), limit, bytes, error);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  if (path == kStandardStream) {
    return ReadStandardInput(bytes, error);
  }
  return ReadNamedFile(path, bytes.max_size(), bytes, error);
}

bool ReadFileHead(const std::string& path, std::size_t size, std::string& head,
                  std::string& error) {
  if (path == kStandardStream) {
    const bool read = ReadStandardInput(head, error);
    head.resize(std::min(head.size(), size));
    return read;
  }
  return ReadNamedFile(path, size, head, error);
}

}  // namespace orva::host
