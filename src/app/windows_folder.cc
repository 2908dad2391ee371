#include "app/windows_folder.h"

#include "app/existence.h"
#include "platform/text.h"

namespace kx {

std::string WindowsFolder(Platform& platform) {
  char buffer[kMaxPath] = {};
  const UINT length = platform.GetWindowsDirectoryA(buffer, kMaxPath);
  if (length == 0 || length >= kMaxPath) return {};
  std::string folder = WithTrailingBackslash(std::string_view(buffer, length));
  if (!FitsMaxPath(folder)) return {};
  return folder;
}

}  // namespace kx
