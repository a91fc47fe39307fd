// Reading what the user names, the same on every system: a file, or
// standard input for "-", which can be read only once and is therefore kept
// (the kind of a log is told from its head before the whole of it is read).
#include "host/system/console.h"

#include <optional>

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

}  // namespace orva::host
