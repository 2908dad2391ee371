// On Windows 2000 and XP Setup hands the whole job over to the media's own
// setup program for those releases.
#pragma once

#include <string>

#include "platform/platform.h"

namespace kx {

// Starts SourceDir + "W2KSetup.dat", else SourceDir + "W2KSetup.exe", the
// first that can be opened for reading, with " /DRIVER" appended on a driver
// request, and does not wait for it. When neither exists, tells the user.
void HandOffToNt5Setup(Platform& platform, const std::string& sourceDir, bool driverRequest);

}  // namespace kx
