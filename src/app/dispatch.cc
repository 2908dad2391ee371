#include "app/dispatch.h"

namespace kx {

bool IsDriverRequest(const SetupOptions& options, CommandSwitch commandSwitch) {
  return commandSwitch == CommandSwitch::kDriver || options.DriverOnly != 0;
}

DispatchRow SelectDispatchRow(const WindowsVersionFlags& os, const SetupOptions& options,
                              CommandSwitch commandSwitch) {
  const bool normalMedia = options.WebSetup == 0;
  const bool driverRequest = IsDriverRequest(options, commandSwitch);

  if (normalMedia && commandSwitch == CommandSwitch::kApplicationsOnly) {
    return DispatchRow::kApplicationsOnly;
  }
  if (os.isWinNT5) return DispatchRow::kHandOffToNt5;
  if (normalMedia && driverRequest && os.isWinNT4) return DispatchRow::kDriverRequestOnNt4;
  if (normalMedia && driverRequest) return DispatchRow::kUnattendedDriver;
  if (normalMedia) return DispatchRow::kMainDialog;
  if (options.WebSetup == 1) return DispatchRow::kDriverOptionsDialog;
  if (os.isWinNT4) return DispatchRow::kFlatPackageOnNt4;
  return DispatchRow::kFlatPackage;
}

}  // namespace kx
