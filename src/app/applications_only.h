// The applications-only path (the AP switch on normal media): the previous
// package is closed and removed, and the package's setup program is started.
#pragma once

#include <string>

#include "app/setup_context.h"
#include "platform/platform.h"

namespace kx {

// The architecture the applications package is chosen for, from setup.ini
// alone (the user is never asked): VxD on Windows 95 and 98 first edition, on
// 98 SE with Windows98SEDriver 0 and on ME with WindowsMEDriver 0.
bool AppsOnlyUseVxd(const WindowsVersionFlags& os, const SetupOptions& options);

// Ends the process with code 0, after starting the applications setup or,
// when it is missing, telling the user so. Does not wait for the child.
[[noreturn]] void RunApplicationsOnly(Platform& platform, const WindowsVersionFlags& os,
                                      const std::string& sourceDir, const SetupOptions& options);

}  // namespace kx
