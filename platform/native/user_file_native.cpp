// Replacing a file the user named, on the native build: the layer's own
// whole-file replacement (file_replace.h), the new file with the permissions
// the user's umask lets through, as any program of the user's would make it,
// and the errno of a failed step told in the C library's words.
#include <sys/stat.h>

#include <cstring>

#include "platform/native/file_replace.h"
#include "platform/user_file.h"

namespace orva::platform {
namespace {

// The permissions a new file of the user's gets: what the umask lets through.
mode_t WithUmask(mode_t permissions) {
  const mode_t mask = umask(0);
  umask(mask);
  return permissions & ~mask;
}

}  // namespace

std::string ReplaceUserFile(const std::filesystem::path& path, std::string_view bytes) {
  const int failure = ReplaceFileWhole(path.native(), bytes, {WithUmask(0666), {}});
  return failure == 0 ? std::string() : std::strerror(failure);
}

}  // namespace orva::platform
