// The two driver installations that run without a dialog: from the
// installation media (the DRIVER switch or DriverOnly) and from a flat
// package (WebSetup neither 0 nor 1).
#pragma once

#include <string>

#include "app/setup_app.h"
#include "app/setup_context.h"

namespace kx {

// Ends the process (after the restart request); never returns.
[[noreturn]] void UnattendedDriver(CSetupApp& app, const std::string& sourceDir,
                                   const SetupOptions& options);

// Ends the process, except when a pending DirectX setup was started: then it
// returns and InitInstance returns FALSE.
void WebPackageInstall(CSetupApp& app, const std::string& sourceDir, const SetupOptions& options);

}  // namespace kx
