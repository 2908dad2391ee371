#include "deploy/register_wdm_driver.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/media_index.h"
#include "cleanup/old_driver_removal.h"
#include "deploy/deploy_names.h"
#include "deploy/file_copy.h"

namespace kx {
namespace {

// What precedes the first wait for the installer windows.
enum class InstallerSettle { FixedPause, MixerDeviceCount };

struct RegisterRow {
  CallerVariant variant;
  bool removesPresentDevice;
  InstallerSettle settle;
  bool waitsForTrayVolume;  // the tray's volume service after the first installer wait
};

// The main dialog's staging run stops before this step; its row only keeps
// the table complete. InstallWdmDriver removes the device before staging and
// watches the mixer device count and the tray instead of a fixed pause.
constexpr RegisterRow kRegisterRows[] = {
    {CallerVariant::MainDialogStaging, true, InstallerSettle::FixedPause, false},
    {CallerVariant::MainDialogVxdInstall, true, InstallerSettle::FixedPause, false},
    {CallerVariant::UnattendedDriver, true, InstallerSettle::FixedPause, false},
    {CallerVariant::WebPackageInstall, true, InstallerSettle::FixedPause, false},
    {CallerVariant::InstallWdmDriver, false, InstallerSettle::MixerDeviceCount, true},
};

constexpr DWORD kSettlePause = 3000;
constexpr DWORD kInstallerPass = 1000;
constexpr int kInstallerEmptyPasses = 5;
constexpr DWORD kGamePortPass = 2000;
constexpr int kGamePortPasses = 20;
constexpr DWORD kMixerDevicePass = 3000;
constexpr int kMixerDevicePasses = 60;
constexpr DWORD kTrayPass = 2000;
constexpr int kTrayPasses = 30;
// Device subkeys have names of at most 19 characters.
constexpr DWORD kSubkeyNameSize = 20;
constexpr DWORD kDriverDescSize = 255;

void RemovePresentDevice(Platform& platform) {
  char hardwareId[kHardwareIdBufferSize] = {};
  std::strcpy(hardwareId, kCardHardwareId);
  int removeDevice = 1;
  RemovePresentAudioDevices(platform, hardwareId, &removeDevice);
}

// Windows rebuilds its driver index from the INF folder when the files are gone.
void DeleteDriverIndex(Platform& platform) {
  const std::optional<std::string> inf = InWindowsFolder(platform, deploy::kInfFolder);
  if (!inf) return;
  for (const char* name : {deploy::kDriverDataIndex, deploy::kDriverIndex}) {
    const std::optional<std::string> path = JoinPath(*inf, name);
    if (!path) continue;
    platform.SetFileAttributesA(path->c_str(), kFileAttributeNormal);
    platform.DeleteFileA(path->c_str());
  }
}

// Adds the staging folder after every existing installation source (all of
// them are kept, however many there are), re-enumerates the device tree so
// that Windows installs the card from the new INF, and releases the queried
// list. A source list that cannot be queried is left as it stands rather
// than replaced by the staging folder alone.
void AddSourceAndReenumerate(Platform& platform) {
  const DWORD flags = kSrclistSystem | kSrclistUser;
  const char** existing = nullptr;
  UINT count = 0;
  const bool queried = platform.SetupQuerySourceListA(flags, &existing, &count) != kFalse;
  if (queried) {
    std::vector<const char*> sources;
    if (existing != nullptr) sources.assign(existing, existing + count);
    sources.push_back(deploy::kStagingWdmFolder);
    platform.SetupSetSourceListA(flags, sources.data(), static_cast<UINT>(sources.size()));
  }

  DevInst root = 0;
  if (platform.CM_Locate_DevNodeA(&root, nullptr, 0) == kCrSuccess) {
    platform.CM_Reenumerate_DevNode(root, 0);
  }

  if (queried) platform.SetupFreeSourceListA(&existing, count);
}

// Waits for the re-enumeration to bring a new mixer device. Returns the number
// of pauses made.
int WaitForMixerDevice(Platform& platform) {
  const UINT baseline = platform.mixerGetNumDevs();
  int pauses = 0;
  while (pauses < kMixerDevicePasses && platform.mixerGetNumDevs() <= baseline) {
    platform.SleepEx(kMixerDevicePass, kFalse);
    ++pauses;
  }
  return pauses;
}

bool ReadServices(Platform& platform, HKey key, DWORD* services) {
  DWORD type = kRegDword;
  DWORD size = sizeof(*services);
  return platform.RegQueryValueExA(key, deploy::kServicesValue, &type,
                                   reinterpret_cast<BYTE*>(services), &size) == kErrorSuccess;
}

// Waits for the tray's volume service to come back, but only when the mixer
// device was slow to appear: a quick device means the tray is already up.
void WaitForTrayVolume(Platform& platform, bool mixerWaitPaused) {
  HKey key = nullptr;
  if (platform.RegOpenKeyExA(kHkeyCurrentUser, deploy::kSystrayKey, 0, kKeyAllAccess, &key) !=
      kErrorSuccess) {
    return;
  }
  DWORD services = 0;
  if (ReadServices(platform, key, &services) && mixerWaitPaused) {
    for (int pauses = 0; (services & deploy::kVolumeServiceBit) == 0 && pauses < kTrayPasses;
         ++pauses) {
      platform.SleepEx(kTrayPass, kFalse);
      if (!ReadServices(platform, key, &services)) break;
    }
  }
  platform.RegCloseKey(key);
}

std::string ReadDriverDesc(Platform& platform, HKey device) {
  char desc[kDriverDescSize + 1] = {};  // always terminated
  DWORD type = kRegSz;
  DWORD size = kDriverDescSize;
  if (platform.RegQueryValueExA(device, deploy::kDriverDescValue, &type,
                                reinterpret_cast<BYTE*>(desc), &size) != kErrorSuccess) {
    return std::string();
  }
  return desc;
}

// Calls visit(name, driverDesc) for each device subkey of the open MEDIA class
// key, from index 0 until the first enumeration error, until visit returns
// true. Subkeys that cannot be opened are passed over.
template <typename Visit>
void ForEachMediaDevice(Platform& platform, HKey classKey, Visit visit) {
  for (DWORD index = 0;; ++index) {
    char name[kSubkeyNameSize] = {};
    DWORD nameSize = kSubkeyNameSize;
    if (platform.RegEnumKeyExA(classKey, index, name, &nameSize) != kErrorSuccess) return;
    HKey device = nullptr;
    if (platform.RegOpenKeyExA(classKey, name, 0, kKeyRead, &device) != kErrorSuccess) continue;
    const std::string desc = ReadDriverDesc(platform, device);
    platform.RegCloseKey(device);
    if (visit(name, desc)) return;
  }
}

bool IsCardAudioDevice(const std::string& desc) {
  return desc == deploy::kAudioDevice4720 || desc == deploy::kAudioDevice4320;
}

}  // namespace

void WaitForInstallerWindows(Platform& platform) {
  int misses = 0;
  bool found = false;
  do {
    platform.SleepEx(kInstallerPass, kFalse);
    found = platform.FindWindowExA(nullptr, nullptr, media::kInstallerWindowClass, nullptr) !=
                nullptr ||
            platform.FindWindowExA(nullptr, nullptr, media::kDiskQueryWindow,
                                   media::kDiskQueryWindow) != nullptr;
    misses = found ? 0 : misses + 1;
  } while (found || misses < kInstallerEmptyPasses);
}

bool LegacyGamePortEnabled(Platform& platform) {
  HKey classKey = nullptr;
  if (platform.RegOpenKeyExA(kHkeyLocalMachine, deploy::kMediaClassKey, 0, kKeyRead, &classKey) !=
      kErrorSuccess) {
    return false;
  }
  bool enabled = false;
  ForEachMediaDevice(platform, classKey, [&](const char* name, const std::string& desc) {
    if (!IsCardAudioDevice(desc)) return false;
    const std::string settingsPath = std::string(name) + "\\" + deploy::kSettingsSubkey;
    HKey settings = nullptr;
    if (platform.RegOpenKeyExA(classKey, settingsPath.c_str(), 0, kKeyAllAccess, &settings) !=
        kErrorSuccess) {
      return false;
    }
    DWORD value = 0;
    DWORD type = kRegDword;
    DWORD size = sizeof(value);
    const bool read =
        platform.RegQueryValueExA(settings, deploy::kEnableLegacyValue, &type,
                                  reinterpret_cast<BYTE*>(&value), &size) == kErrorSuccess;
    platform.RegCloseKey(settings);
    if (read) enabled = (value & 1) != 0;
    return read;
  });
  platform.RegCloseKey(classKey);
  return enabled;
}

void WaitForGamePort(Platform& platform) {
  for (int pass = 0; pass < kGamePortPasses; ++pass) {
    HKey classKey = nullptr;
    if (platform.RegOpenKeyExA(kHkeyLocalMachine, deploy::kMediaClassKey, 0, kKeyRead, &classKey) !=
        kErrorSuccess) {
      return;
    }
    bool found = false;
    ForEachMediaDevice(platform, classKey, [&](const char*, const std::string& desc) {
      found = desc == deploy::kGamePortDevice;
      return found;
    });
    platform.RegCloseKey(classKey);
    if (found) return;
    platform.SleepEx(kGamePortPass, kFalse);
  }
}

void RegisterWdmDriver(Platform& platform, const DeploymentContext& context) {
  const RegisterRow& row = RowFor(kRegisterRows, context.variant);
  if (row.removesPresentDevice) RemovePresentDevice(platform);

  if (!context.useVxd) {
    DeleteDriverIndex(platform);
    if (!context.os.isWin98SE) {
      platform.SetupCopyOEMInfA(deploy::kStagedWdmInf, deploy::kStagingWdmFolder, kSpostPath, 0,
                                nullptr, 0, nullptr, nullptr);
    }
    AddSourceAndReenumerate(platform);

    int mixerPauses = 0;
    if (row.settle == InstallerSettle::MixerDeviceCount) {
      mixerPauses = WaitForMixerDevice(platform);
    } else {
      platform.SleepEx(kSettlePause, kFalse);
    }
    WaitForInstallerWindows(platform);
    if (row.waitsForTrayVolume) WaitForTrayVolume(platform, mixerPauses > 0);

    if (LegacyGamePortEnabled(platform)) WaitForGamePort(platform);
  }

  WaitForInstallerWindows(platform);
}

}  // namespace kx
