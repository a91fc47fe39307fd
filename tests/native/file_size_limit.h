// A full disk for the tests of what is written: while the object lives, the
// process may write no more than a given number of bytes into any one file,
// and a write past it fails as it would on a full disk.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstddef>

namespace orva::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes) : previousHandler_(signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit small = saved_;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previousHandler_;
};

}  // namespace orva::test
