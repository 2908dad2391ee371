// The dispatch table of InitInstance: the first row whose condition holds
// decides the path Setup takes.
#pragma once

#include "app/command_line.h"
#include "app/setup_context.h"

namespace kx {

enum class DispatchRow {
  kApplicationsOnly = 1,     // WebSetup 0 and the AP switch
  kHandOffToNt5 = 2,         // Windows 2000/XP
  kDriverRequestOnNt4 = 3,   // WebSetup 0, driver request, NT 4.0: silent end
  kUnattendedDriver = 4,     // WebSetup 0, driver request
  kMainDialog = 5,           // WebSetup 0
  kDriverOptionsDialog = 6,  // WebSetup 1
  kFlatPackageOnNt4 = 7,     // NT 4.0: silent end
  kFlatPackage = 8,          // any other WebSetup
};

// A driver request: the DRIVER switch, or DriverOnly non-zero (whatever
// WebSetup says; WebSetup only decides whether a row honours it).
bool IsDriverRequest(const SetupOptions& options, CommandSwitch commandSwitch);

DispatchRow SelectDispatchRow(const WindowsVersionFlags& os, const SetupOptions& options,
                              CommandSwitch commandSwitch);

}  // namespace kx
