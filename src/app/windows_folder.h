// The Windows folder as Setup uses it: GetWindowsDirectoryA with a backslash
// appended when it does not end in one.
#pragma once

#include <string>

#include "platform/platform.h"

namespace kx {

// Empty when the folder cannot be obtained or does not fit a MAX_PATH buffer
// with its backslash; callers then skip what they meant to do there.
std::string WindowsFolder(Platform& platform);

}  // namespace kx
