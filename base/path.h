// Splitting a path at its last directory separator: the host executable's
// path gives the reference file's folder, the settings key's name and the
// error box's caption, and all three cut it the same way. Which characters
// separate is the platform's business, so the caller passes them.
#pragma once

#include <cstddef>
#include <string_view>

namespace orva {

struct PathParts {
  std::string_view directory;  // up to and including the last separator; empty without one
  std::string_view fileName;   // everything after it
};

inline PathParts SplitAtLastSeparator(std::string_view path, std::string_view separators) {
  const std::size_t cut = path.find_last_of(separators);
  if (cut == std::string_view::npos) {
    return {{}, path};
  }
  return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

}  // namespace orva
