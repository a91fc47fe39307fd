// Reading and writing what the user names, the same on every system: a
// file, or for "-" standard input, which can be read only once and is
// therefore kept (the kind of a log is told from its head before the whole
// of it is read), or standard output.
#include "host/system/console.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "host/system/host_failure.h"
#include "platform/user_file.h"

namespace orva::host {

int ReadUserInput(const std::string& path, std::string& bytes, std::size_t size) {
  if (path != "-") {
    return ReadFileAsNamed(path, bytes, size);
  }
  static std::optional<std::string> kept;
  if (!kept) {
    std::string read;
    if (const int error = ReadStandardInput(read)) {
      return error;
    }
    kept = std::move(read);
  }
  bytes = kept->substr(0, size);
  return 0;
}

void WriteUserFile(const std::string& path, std::string_view bytes) {
  std::string failure;
  if (path != "-") {
    failure = platform::ReplaceUserFile(SystemPath(path), bytes);
  } else {
    const BinaryStream binary(stdout);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      failure = std::strerror(errno);
    }
  }
  if (!failure.empty()) {
    throw HostFailure("cannot write " + (path == "-" ? "standard output" : NameOfFile(path)) +
                      ": " + failure);
  }
}

}  // namespace orva::host
