// Replacing a file whole on the native build: the new bytes are written
// beside the old file, flushed to the disk and renamed over it, and then the
// folder is flushed, so that a reader or a crash at any moment finds either
// the old file or the whole new one, never a part. The settings store keeps
// the window placement this way, and the host's tools the reference file.
#pragma once

#include <sys/types.h>
#include <string>
#include <string_view>

namespace orva::platform {

struct ReplaceOptions {
  mode_t permissions = 0600;  // of the new file
  std::string keepOldAs;      // when set, the old file is kept under this name
};

// 0 when the file at `path` now holds `bytes`, else the errno of the step
// that failed; the old file then stands as it was, under its own name, and no
// temporary is left (`keepOldAs` may already name the old file too). Each
// system call goes through the table of system_calls.h.
int ReplaceFileWhole(const std::string& path, std::string_view bytes,
                     const ReplaceOptions& options = {});

}  // namespace orva::platform
