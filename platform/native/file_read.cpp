// The file reads: stdio in large chunks, which a log of 100,000 QSOs passes
// through in a few milliseconds.
#include "platform/native/file_read.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace orva::platform {

int ReadFileHead(const std::string& path, std::string& bytes, std::size_t size) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  const std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  bytes.clear();
  char buffer[1 << 16];
  while (file && bytes.size() < size) {
    const std::size_t wanted = std::min(sizeof buffer, size - bytes.size());
    const std::size_t count = std::fread(buffer, 1, wanted, file.get());
    if (count == 0) {
      break;
    }
    bytes.append(buffer, count);
  }
  if (!file || std::ferror(file.get())) {
    return errno != 0 ? errno : EIO;
  }
  return 0;
}

int ReadFileWhole(const std::string& path, std::string& bytes) {
  return ReadFileHead(path, bytes, std::string::npos);
}

}  // namespace orva::platform
