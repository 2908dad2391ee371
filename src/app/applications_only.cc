#include "app/applications_only.h"

#include "app/existence.h"
#include "app/texts.h"
#include "apps/apps_setup.h"
#include "apps/player_windows.h"
#include "apps/uninstall_previous.h"

namespace kx {

bool AppsOnlyUseVxd(const WindowsVersionFlags& os, const SetupOptions& options) {
  if (os.isWin95) return true;
  if (os.isWin98 && !os.isWin98SE) return true;
  if (os.isWin98SE && options.Windows98SEDriver == 0) return true;
  if (os.isWinME && options.WindowsMEDriver == 0) return true;
  return false;
}

void RunApplicationsOnly(Platform& platform, const WindowsVersionFlags& os,
                         const std::string& sourceDir, const SetupOptions& options) {
  ClosePlayerWindows(platform);
  UninstallPreviousApps(platform);
  const std::string path =
      SelectAppsSetupPath(platform, sourceDir, os, AppsOnlyUseVxd(os, options) ? 1 : 0);
  if (FileExists(platform, path)) {
    LaunchAppsSetup(platform, path);
  } else {
    platform.MessageBoxA(nullptr, text::kCannotFindAppsSetup, text::kCaptionSetup, kMbOk);
  }
  platform.Exit(0);
}

}  // namespace kx
