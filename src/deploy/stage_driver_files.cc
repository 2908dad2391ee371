#include "deploy/stage_driver_files.h"

#include <optional>
#include <string>

#include "app/existence.h"
#include "app/media_index.h"
#include "cleanup/old_driver_removal.h"
#include "deploy/deploy_names.h"
#include "deploy/file_copy.h"
#include "platform/text.h"

namespace kx {
namespace {

enum class ArchitectureFrom {
  Caller,      // context.useVxd as the main dialog chose it
  MediaKeys,   // Windows98SEDriver / WindowsMEDriver
  PackageKey,  // InstallWDMDriver
  AlwaysWdm,
};

enum class DriverFolderFrom { MediaLayout, SourceDir };

struct StageRow {
  CallerVariant variant;
  ArchitectureFrom architecture;
  DriverFolderFrom driverFolder;
  bool retiresOldInfFiles;     // RetireOldDriverFiles(0) at the start
  bool stagesDosFiles;         // DOS folders created and filled
  bool normalisesStagedFiles;  // attributes cleared after each staged copy too
  bool infFromStagedCopy;      // every INF edited in the staging folder, then copied from there
  bool catalogForVxd;          // catalog copied for the VxD architecture too
  bool stagesMixer;            // Mixer.dat becomes NewMixer.exe
  bool stages026;              // the package's 026 folder for the VxD driver
};

constexpr StageRow kStageRows[] = {
    {CallerVariant::MainDialogStaging, ArchitectureFrom::Caller, DriverFolderFrom::MediaLayout,
     true, true, false, false, false, true, false},
    {CallerVariant::MainDialogVxdInstall, ArchitectureFrom::Caller, DriverFolderFrom::MediaLayout,
     true, true, false, false, false, true, false},
    {CallerVariant::UnattendedDriver, ArchitectureFrom::MediaKeys, DriverFolderFrom::MediaLayout,
     true, true, false, false, false, true, false},
    {CallerVariant::WebPackageInstall, ArchitectureFrom::PackageKey, DriverFolderFrom::SourceDir,
     true, true, false, false, true, true, true},
    {CallerVariant::InstallWdmDriver, ArchitectureFrom::AlwaysWdm, DriverFolderFrom::SourceDir,
     false, false, true, true, true, false, false},
};

enum class Architecture { None, Vxd, Wdm };

struct WindowsFolders {
  std::optional<std::string> newMixer;
  std::optional<std::string> inf;
  std::optional<std::string> other;
  std::optional<std::string> catalog;
};

WindowsFolders BuildWindowsFolders(Platform& platform) {
  WindowsFolders folders;
  folders.newMixer = InWindowsFolder(platform, media::kNewMixer);
  folders.inf = InWindowsFolder(platform, deploy::kInfFolder);
  if (folders.inf) {
    folders.other = JoinPath(*folders.inf, deploy::kOtherFolder);
    folders.catalog = JoinPath(*folders.inf, deploy::kCatalogFolder);
  }
  return folders;
}

void CreateFolder(Platform& platform, const std::optional<std::string>& folder) {
  if (folder) platform.CreateDirectoryA(folder->c_str());
}

// The Windows setup source folder takes copies of the driver files when the
// registry names one that exists.
void FindSourcePathFolder(Platform& platform, DeploymentContext& context) {
  HKey key = nullptr;
  if (platform.RegOpenKeyExA(kHkeyLocalMachine, deploy::kWindowsSetupKey, 0, kKeyAllAccess, &key) !=
      kErrorSuccess) {
    return;
  }
  char value[kMaxPath + 1] = {};  // one more than the read may fill: always terminated
  DWORD type = kRegSz;
  DWORD size = kMaxPath;
  if (platform.RegQueryValueExA(key, deploy::kSourcePathValue, &type,
                                reinterpret_cast<BYTE*>(value), &size) == kErrorSuccess &&
      FolderExists(platform, value)) {
    std::string folder = WithTrailingBackslash(value);
    if (folder.size() < kMaxPath) {
      context.sourcePathCopy = true;
      context.sourcePathFolder = std::move(folder);
    }
  }
  platform.RegCloseKey(key);
}

Architecture ChooseArchitecture(const DeploymentContext& context, ArchitectureFrom from) {
  const WindowsVersionFlags& os = context.os;
  switch (from) {
    case ArchitectureFrom::Caller:
      return context.useVxd ? Architecture::Vxd : Architecture::Wdm;
    case ArchitectureFrom::MediaKeys:
      // On 98 SE both isWin98 and isWin98SE are set: the 98 key serves both editions.
      if ((os.isWin98 && context.windows98SEDriver) || (os.isWinME && context.windowsMEDriver)) {
        return Architecture::Wdm;
      }
      if (os.isWin95 || os.isWin98 || os.isWinME) return Architecture::Vxd;
      return Architecture::None;
    case ArchitectureFrom::PackageKey:
      if ((os.isWin98SE || os.isWinME) && context.installWDMDriver) return Architecture::Wdm;
      if (os.isWin95 || os.isWin98 || os.isWinME) return Architecture::Vxd;
      return Architecture::None;
    case ArchitectureFrom::AlwaysWdm:
      return Architecture::Wdm;
  }
  return Architecture::None;
}

// The driver folder of the media: the new layout when SourceDir holds
// "W2K-ME\", the old one otherwise.
std::optional<std::string> MediaDriverFolder(Platform& platform, const DeploymentContext& context,
                                             Architecture architecture) {
  const std::optional<std::string> marker = JoinPath(context.sourceDir, media::kNewLayoutMarker);
  const media::LayoutPaths& layout =
      marker && FolderExists(platform, *marker) ? media::kNewLayout : media::kOldLayout;
  if (architecture == Architecture::Wdm) return JoinPath(context.sourceDir, layout.driverMe);

  const std::optional<std::string> root = JoinPath(context.sourceDir, layout.driverRoot9x);
  if (!root) return std::nullopt;
  const std::optional<std::string> release =
      JoinPath(*root, context.os.isWin95 ? media::kDriverSub95 : media::kDriverSub98);
  if (release && FolderExists(platform, *release)) return release;
  return root;
}

// Chooses the architecture, records it where the variant owns useVxd, and
// prepares its staging folder. Returns the driver folder, or nothing when no
// architecture applies to this Windows.
std::optional<std::string> PrepareArchitecture(Platform& platform, DeploymentContext& context,
                                               const StageRow& row) {
  const Architecture architecture = ChooseArchitecture(context, row.architecture);
  if (architecture == Architecture::None) return std::nullopt;
  if (row.architecture != ArchitectureFrom::Caller) {
    context.useVxd = architecture == Architecture::Vxd ? 1 : 0;
  }
  if (architecture == Architecture::Vxd) RetireOldDriverFiles(platform, 1);

  std::optional<std::string> driverFolder = context.sourceDir;
  if (row.driverFolder == DriverFolderFrom::MediaLayout) {
    driverFolder = MediaDriverFolder(platform, context, architecture);
  }
  if (architecture == Architecture::Wdm) {
    platform.CreateDirectoryA(deploy::kStagingWdm);
  } else {
    platform.CreateDirectoryA(deploy::kStagingVxd);
    if (row.stages026) platform.CreateDirectoryA(deploy::kStagingVxd026);
  }
  return driverFolder;
}

bool IsInfName(const char* name) {
  const std::string_view text(name);
  return text.find(".inf") != std::string_view::npos || text.find(".INF") != std::string_view::npos;
}

// Copies an INF to the INF folder and to its OTHER folder and lists both copies
// for the source-disk patch.
void CopyInfToInfFolders(Platform& platform, DeploymentContext& context,
                         const WindowsFolders& folders, const std::string& source,
                         const char* name) {
  for (const std::optional<std::string>& folder : {folders.inf, folders.other}) {
    if (!folder) continue;
    const std::optional<std::string> target = JoinPath(*folder, name);
    if (!target) continue;
    CopyOverAndNormalise(platform, source, *target);
    context.infPatchList.push_back(*target);
  }
}

void StageDriverFile(Platform& platform, DeploymentContext& context, const StageRow& row,
                     const WindowsFolders& folders, const std::string& driverFolder,
                     const char* name) {
  const std::optional<std::string> source = JoinPath(driverFolder, name);
  if (!source) return;

  const std::optional<std::string> staged =
      JoinPath(context.useVxd ? deploy::kStagingVxd : deploy::kStagingWdm, name);
  if (staged) {
    if (row.normalisesStagedFiles) {
      CopyOverAndNormalise(platform, *source, *staged);
    } else {
      CopyOver(platform, *source, *staged);
    }
  }

  if (context.sourcePathCopy &&
      AsciiUpper(name).find(deploy::kSetupNameMark) == std::string::npos) {
    const std::optional<std::string> target = JoinPath(context.sourcePathFolder, name);
    if (target && !CopyOver(platform, *source, *target)) {
      context.sourcePathCopy = false;
      const std::optional<std::string> other =
          folders.other ? JoinPath(*folders.other, name) : std::nullopt;
      if (other) CopyOver(platform, *source, *other);
    }
  }

  if (!IsInfName(name)) return;
  if (row.infFromStagedCopy) {
    if (!staged) return;
    if (context.patchStagedInf) context.patchStagedInf(platform, *staged);
    CopyInfToInfFolders(platform, context, folders, *staged, name);
  } else if (context.useVxd || context.os.isWin98) {
    CopyInfToInfFolders(platform, context, folders, *source, name);
  }
}

void StageCatalog(Platform& platform, const WindowsFolders& folders,
                  const std::string& driverFolder) {
  const std::optional<std::string> source = JoinPath(driverFolder, media::kCatalogFile);
  const std::optional<std::string> target =
      folders.catalog ? JoinPath(*folders.catalog, media::kCatalogFile) : std::nullopt;
  if (source && target) CopyOver(platform, *source, *target);
}

void StageMixer(Platform& platform, DeploymentContext& context, const WindowsFolders& folders,
                const std::string& driverFolder) {
  const std::optional<std::string> mixer = JoinPath(driverFolder, media::kMixerDat);
  if (!mixer || !FileExists(platform, *mixer)) return;
  if (!folders.newMixer) return;
  const std::optional<std::string> command =
      JoinPath(*folders.newMixer, media::kMixerStartupSwitch);
  if (!command) return;
  CopyOver(platform, *mixer, *folders.newMixer);
  context.mixerStartupCommand = *command;
  context.mixerStaged = true;
}

}  // namespace

void StageDriverFiles(Platform& platform, DeploymentContext& context) {
  const StageRow& row = RowFor(kStageRows, context.variant);

  context.infPatchList.clear();
  context.sourcePathCopy = false;
  context.sourcePathFolder.clear();
  context.mixerStaged = false;
  context.mixerStartupCommand.clear();
  if (row.retiresOldInfFiles) RetireOldDriverFiles(platform, 0);
  if (row.architecture == ArchitectureFrom::MediaKeys ||
      row.architecture == ArchitectureFrom::PackageKey) {
    context.useVxd = 0;
  }

  const WindowsFolders folders = BuildWindowsFolders(platform);
  CreateFolder(platform, folders.other);
  CreateFolder(platform, folders.catalog);

  FindSourcePathFolder(platform, context);

  platform.CreateDirectoryA(deploy::kProgramFiles);
  platform.CreateDirectoryA(deploy::kStagingRoot);
  if (row.stagesDosFiles) {
    platform.CreateDirectoryA(deploy::kStagingDos);
    platform.CreateDirectoryA(deploy::kStagingDosApp);

    const std::optional<std::string> dos = JoinPath(context.sourceDir, media::kDosDriverFolder);
    if (dos) {
      CopyFolderFilesAndNormalise(platform, *dos, deploy::kStagingDos);
      const std::optional<std::string> dosApp = JoinPath(*dos, media::kDosAppFolder);
      if (dosApp) CopyFolderFilesAndNormalise(platform, *dosApp, deploy::kStagingDosApp);
    }
  }

  const std::optional<std::string> driverFolder = PrepareArchitecture(platform, context, row);
  if (driverFolder) {
    ForEachFileIn(platform, *driverFolder, [&](const char* name) {
      StageDriverFile(platform, context, row, folders, *driverFolder, name);
    });
    if (!context.useVxd || row.catalogForVxd) StageCatalog(platform, folders, *driverFolder);
    if (row.stagesMixer) StageMixer(platform, context, folders, *driverFolder);
  }

  if (row.stages026 && (context.os.isWin95 || context.os.isWin98)) {
    const std::optional<std::string> package026 = JoinPath(context.sourceDir, media::kFolder026);
    if (package026) CopyFolderFilesAndNormalise(platform, *package026, deploy::kStagingVxd026);
  }
}

}  // namespace kx
