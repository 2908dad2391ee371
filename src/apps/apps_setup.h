// Finding and starting the applications package's own setup program: one
// "Setup.exe" per family of Windows releases and driver architecture, in an
// "app" folder of the installation media.
#pragma once

#include <string>

#include "app/setup_context.h"
#include "platform/platform.h"

namespace kx {

// The full path of the applications setup program for this Windows and
// architecture (useVxd non-zero: VxD). The media layout is told apart by
// SourceDir + "W2K-ME\": when that folder exists (new layout) it is left as
// the current directory. On Windows 95, 98 and ME a missing program is
// replaced by the ME one, which is not tested here. On a Windows that is none
// of the known releases the result is SourceDir itself. The caller tests the
// result again.
std::string SelectAppsSetupPath(Platform& platform, const std::string& sourceDir,
                                const WindowsVersionFlags& os, int useVxd);

// Starts the program (path unquoted as its command line, shown, inheriting
// the current directory) and does not wait for it.
void LaunchAppsSetup(Platform& platform, const std::string& path);

}  // namespace kx
