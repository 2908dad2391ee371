#include "deploy/quiesce_mixer_and_tray.h"

#include <optional>
#include <string>

#include "app/existence.h"
#include "app/media_index.h"
#include "app/texts.h"
#include "deploy/deploy_names.h"
#include "deploy/file_copy.h"

namespace kx {
namespace {

enum class WaitCursorStart { AfterStartMessage, AfterTrayRestart, ByCaller };

struct QuiesceRow {
  CallerVariant variant;
  bool showsStartMessage;  // "The driver will be installed now..." before anything else
  WaitCursorStart waitCursor;
  bool pausesAfterMixerClose;  // 1000 ms
};

// InstallWdmDriver has already closed the mixer, shown the start message and
// begun the wait cursor itself.
constexpr QuiesceRow kQuiesceRows[] = {
    {CallerVariant::MainDialogStaging, false, WaitCursorStart::AfterTrayRestart, true},
    {CallerVariant::MainDialogVxdInstall, true, WaitCursorStart::AfterTrayRestart, true},
    {CallerVariant::UnattendedDriver, true, WaitCursorStart::AfterTrayRestart, true},
    {CallerVariant::WebPackageInstall, true, WaitCursorStart::AfterStartMessage, true},
    {CallerVariant::InstallWdmDriver, false, WaitCursorStart::ByCaller, false},
};

constexpr DWORD kMixerClosePause = 1000;
constexpr DWORD kTrayRestartPause = 500;

// Clears the volume-service bit of the tray's "Services" word under one root,
// writing it back with the type it was read with, even when already clear.
void ClearVolumeServiceBit(Platform& platform, HKey root, const char* subKey) {
  HKey key = nullptr;
  if (platform.RegOpenKeyExA(root, subKey, 0, kKeyAllAccess, &key) != kErrorSuccess) return;
  DWORD services = 0;
  DWORD type = kRegDword;
  DWORD size = sizeof(services);
  if (platform.RegQueryValueExA(key, deploy::kServicesValue, &type,
                                reinterpret_cast<BYTE*>(&services), &size) == kErrorSuccess) {
    services &= ~DWORD{deploy::kVolumeServiceBit};
    platform.RegSetValueExA(key, deploy::kServicesValue, type,
                            reinterpret_cast<const BYTE*>(&services), sizeof(services));
  }
  platform.RegCloseKey(key);
}

}  // namespace

void QuiesceMixerAndTray(Platform& platform, const DeploymentContext& context) {
  const QuiesceRow& row = RowFor(kQuiesceRows, context.variant);
  if (row.showsStartMessage) {
    platform.MessageBoxA(context.owner, text::kDriverWillBeInstalled, text::kCaptionSetup, kMbOk);
  }
  if (row.waitCursor == WaitCursorStart::AfterStartMessage) platform.BeginWaitCursor();

  HWnd mixer = platform.FindWindowExA(nullptr, nullptr, nullptr, media::kMixerWindowTitle);
  if (mixer != nullptr) platform.SendMessageA(mixer, kWmClose, 0, 0);
  if (row.pausesAfterMixerClose) platform.Sleep(kMixerClosePause);

  ClearVolumeServiceBit(platform, kHkeyCurrentUser, deploy::kSystrayKey);
  ClearVolumeServiceBit(platform, kHkeyUsers, deploy::kDefaultUserSystrayKey);

  platform.WinExec(media::kSysTray, kSwShow);
  platform.Sleep(kTrayRestartPause);
  if (row.waitCursor == WaitCursorStart::AfterTrayRestart) platform.BeginWaitCursor();

  const std::optional<std::string> settings = InWindowsFolder(platform, deploy::kMixerSettingsFile);
  if (settings && FileExists(platform, *settings)) {
    platform.WritePrivateProfileStringA(deploy::kMixerSettingsSection, deploy::kMixerSettingsKey,
                                        "0", settings->c_str());
  }
}

}  // namespace kx
