#include "apps/apps_setup.h"

#include "app/existence.h"
#include "app/media_index.h"
#include "apps/startup_record.h"

namespace kx {
namespace {

// The relative path for this Windows, tested in the order 95, 98, ME, NT 4.0,
// 2000/XP. Empty for none of them.
const char* AppsSetupFor(const media::LayoutPaths& layout, const WindowsVersionFlags& os,
                         int useVxd) {
  if (os.isWin95) return layout.apps9x;
  if (os.isWin98 || os.isWinME) return useVxd ? layout.apps9x : layout.appsMe;
  if (os.isWinNT4) return layout.appsNt4;
  if (os.isWinNT5) return layout.appsMe;
  return "";
}

}  // namespace

std::string SelectAppsSetupPath(Platform& platform, const std::string& sourceDir,
                                const WindowsVersionFlags& os, int useVxd) {
  const bool newLayout = FolderExists(platform, sourceDir + media::kNewLayoutMarker);
  const media::LayoutPaths& layout = newLayout ? media::kNewLayout : media::kOldLayout;

  std::string path = sourceDir + AppsSetupFor(layout, os, useVxd);
  if ((os.isWin95 || os.isWin98 || os.isWinME) && !FileExists(platform, path)) {
    path = sourceDir + layout.appsMe;
  }
  return path;
}

void LaunchAppsSetup(Platform& platform, const std::string& path) {
  const StartupInfo startup = ShownStartupRecord();
  std::string commandLine = path;  // CreateProcessA may write to it
  ProcessInformation process;
  if (platform.CreateProcessA(nullptr, commandLine.data(), kFalse, 0, nullptr, &startup,
                              &process)) {
    // The child carries on alone: its handles are not needed.
    platform.CloseHandle(process.hThread);
    platform.CloseHandle(process.hProcess);
  }
}

}  // namespace kx
