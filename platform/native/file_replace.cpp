// The steps of a whole-file replacement, each checked, with the temporary
// file removed on every way out that does not rename it.
#include "platform/native/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orva::platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      if (written == 0) {
        errno = EIO;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void FlushFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

}  // namespace

int ReplaceFileWhole(const std::string& path, std::string_view bytes,
                     const ReplaceOptions& options) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    return errno;
  }
  const bool written =
      fchmod(fd, options.permissions) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  int failure = written ? 0 : errno;
  if (close(fd) != 0 && failure == 0) {
    failure = errno;
  }
  if (failure == 0 && !options.keepOldAs.empty() &&
      rename(path.c_str(), options.keepOldAs.c_str()) != 0 && errno != ENOENT) {
    failure = errno;
  }
  if (failure == 0 && rename(temporary.c_str(), path.c_str()) != 0) {
    failure = errno;
  }
  if (failure != 0) {
    unlink(temporary.c_str());
    return failure;
  }
  FlushFolderOf(path);
  return 0;
}

}  // namespace orva::platform
