#include "app/existence.h"

namespace kx {

bool FileExists(Platform& platform, const char* path) {
  if (path == nullptr || !FitsMaxPath(path)) return false;
  FileStream stream = platform.FOpen(path, "rb");
  if (stream == nullptr) return false;
  platform.FClose(stream);
  return true;
}

bool FolderExists(Platform& platform, const char* path) {
  if (path == nullptr || !FitsMaxPath(path)) return false;
  return platform.SetCurrentDirectoryA(path) != kFalse;
}

}  // namespace kx
