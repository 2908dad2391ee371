// Removing the installed applications package with its own uninstaller before
// a new copy is installed.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace kx {

// Takes the uninstall command of "Orvanta Applications" (or of the Windows NT
// variant "Orvanta WinNT Applications"), from InstallShieldUninstallString or
// else UninstallString, starts it with " -a" appended and returns once that
// process has ended. Returns at once when nothing is registered. The
// uninstaller's questions are the user's to answer; its exit code is not
// looked at.
void UninstallPreviousApps(Platform& platform);

// The uninstall command is held in a field of this many bytes, terminator
// included. A stored command that does not fit with " -a" appended is not run:
// a cut command could start the wrong program or pass it a wrong argument.
inline constexpr std::size_t kUninstallCommandField = 260;

}  // namespace kx
