// The two existence tests Setup uses everywhere: a file exists when it can be
// opened for reading, a folder exists when it can be made the current
// directory.
//
// Setup builds its paths in MAX_PATH (260-character) buffers. A path that
// would not fit such a buffer is never looked up: it counts as absent, so an
// over-long media folder makes every lookup fail cleanly instead of touching a
// truncated path.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kx {

// True when path plus its terminator fits a MAX_PATH buffer.
inline bool FitsMaxPath(std::string_view path) { return path.size() < kMaxPath; }

// Opens the file with mode "rb" and closes it again at once.
bool FileExists(Platform& platform, const char* path);
inline bool FileExists(Platform& platform, const std::string& path) {
  return FileExists(platform, path.c_str());
}

// SetCurrentDirectoryA to the folder. On success the current directory stays
// there: callers rely on that (the applications setup inherits it).
bool FolderExists(Platform& platform, const char* path);
inline bool FolderExists(Platform& platform, const std::string& path) {
  return FolderExists(platform, path.c_str());
}

}  // namespace kx
