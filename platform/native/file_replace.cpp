// The steps of a whole-file replacement, each checked, with the temporary
// file removed on every way out that does not rename it. Every system call
// goes through the layer's table, so that tests can fail each step.
#include "platform/native/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/native/system_calls.h"

namespace orva::platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = os::Write(fd, bytes.data(), bytes.size());
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
  const int fd = os::Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd >= 0) {
    os::Fsync(fd);
    os::Close(fd);
  }
}

// 0, or the errno of the first step that failed; the file is closed either way.
int WriteAndClose(int fd, std::string_view bytes, mode_t permissions) {
  const bool written =
      os::Fchmod(fd, permissions) == 0 && WriteAll(fd, bytes) && os::Fsync(fd) == 0;
  int failure = written ? 0 : errno;
  if (os::Close(fd) != 0 && failure == 0) {
    failure = errno;
  }
  return failure;
}

// Gives the old file the name `keptAs` as well, and never moves it off its
// own: whatever fails later, the old file still stands where it was. The
// second name is first made under one that only this replacement uses (the
// temporary's, lengthened) and then renamed over `keptAs`, so that a file
// kept earlier gives way only to the old file. No old file, nothing to keep.
int KeepOld(const std::string& path, const std::string& keptAs, const std::string& temporary) {
  const std::string second = temporary + ".old";
  if (os::Link(path.c_str(), second.c_str()) != 0) {
    return errno == ENOENT ? 0 : errno;
  }
  const int failure = os::Rename(second.c_str(), keptAs.c_str()) == 0 ? 0 : errno;
  // Where `keptAs` already named the old file (a replacement failed after
  // keeping it), the rename succeeds without removing the second name.
  os::Unlink(second.c_str());
  return failure;
}

}  // namespace

int ReplaceFileWhole(const std::string& path, std::string_view bytes,
                     const ReplaceOptions& options) {
  std::string temporary = path + ".XXXXXX";
  const int fd = os::Mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    return errno;
  }
  int failure = WriteAndClose(fd, bytes, options.permissions);
  if (failure == 0 && !options.keepOldAs.empty()) {
    failure = KeepOld(path, options.keepOldAs, temporary);
  }
  if (failure == 0 && os::Rename(temporary.c_str(), path.c_str()) != 0) {
    failure = errno;
  }
  if (failure != 0) {
    os::Unlink(temporary.c_str());
    return failure;
  }
  FlushFolderOf(path);
  return 0;
}

}  // namespace orva::platform
