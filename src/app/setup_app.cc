#include "app/setup_app.h"

#include "app/applications_only.h"
#include "app/command_line.h"
#include "app/dispatch.h"
#include "app/housekeeping.h"
#include "app/nt5_handoff.h"
#include "app/unattended_install.h"

namespace kx {

BOOL CSetupApp::InitInstance() {
  const char* commandLine = platform_.GetCommandLineA();
  const std::string_view line = commandLine != nullptr ? commandLine : "";

  // The setup context.
  m_os = ClassifyWindows(platform_);
  const std::string sourceDir = DeriveSourceDir(platform_, ProgramPathFromCommandLine(line));
  const SetupOptions options = ReadSetupOptions(platform_, sourceDir);

  // Start-up housekeeping, on every path.
  ApplyCdAudioSetting(platform_, options.UsingCDDA);
  SelectCdDefaultFormat(platform_);
  RemoveAppsRunEntry(platform_);

  const CommandSwitch commandSwitch = ClassifyArgumentString(ArgumentStringFromCommandLine(line));

  // The 3-D control look of the dialog rows (Enable3dControlsStatic) only
  // changes the appearance of old Windows versions and is left out.
  switch (SelectDispatchRow(m_os, options, commandSwitch)) {
    case DispatchRow::kApplicationsOnly:
      RunApplicationsOnly(platform_, m_os, sourceDir, options);
    case DispatchRow::kHandOffToNt5:
      HandOffToNt5Setup(platform_, sourceDir, IsDriverRequest(options, commandSwitch));
      return kFalse;
    case DispatchRow::kDriverRequestOnNt4:
      platform_.Exit(0);
    case DispatchRow::kUnattendedDriver:
      UnattendedDriver(*this, sourceDir, options);
    case DispatchRow::kMainDialog:
      platform_.NotAvailableYet("the main setup dialog");
    case DispatchRow::kDriverOptionsDialog:
      platform_.NotAvailableYet("the driver options dialog");
    case DispatchRow::kFlatPackageOnNt4:
      platform_.Exit(0);
    case DispatchRow::kFlatPackage:
      WebPackageInstall(*this, sourceDir, options);
      return kFalse;
  }
  return kFalse;
}

int SetupMain(Platform& platform) {
  CSetupApp app(platform);
  app.InitInstance();
  return 0;
}

}  // namespace kx
