#include "deploy/patch_inf_source_disks.h"

#include <optional>
#include <string>

#include "app/media_index.h"
#include "deploy/deploy_names.h"

namespace kx {
namespace {

enum class WdmEntry { Replace, AppendFolder };

struct PatchRow {
  CallerVariant variant;
  WdmEntry wdmEntry;
};

constexpr PatchRow kPatchRows[] = {
    {CallerVariant::MainDialogStaging, WdmEntry::Replace},
    {CallerVariant::MainDialogVxdInstall, WdmEntry::Replace},
    {CallerVariant::UnattendedDriver, WdmEntry::AppendFolder},
    {CallerVariant::WebPackageInstall, WdmEntry::Replace},
    {CallerVariant::InstallWdmDriver, WdmEntry::Replace},
};

// Every entry is read into and built in a buffer of this many characters.
constexpr DWORD kEntryBufferSize = 1024;

std::optional<std::string> ShortFolder(Platform& platform, const char* folder) {
  char buffer[kMaxPath] = {};
  const DWORD length = platform.GetShortPathNameA(folder, buffer, kMaxPath);
  if (length == 0 || length >= kMaxPath) return std::nullopt;
  return std::string(buffer, length);
}

// The entry's value; nothing when it is missing, empty or longer than the
// buffer holds (a cut value must not be written back).
std::optional<std::string> ReadEntry(Platform& platform, const char* section, const char* key,
                                     const std::string& inf) {
  char buffer[kEntryBufferSize] = {};
  const DWORD length =
      platform.GetPrivateProfileStringA(section, key, "", buffer, kEntryBufferSize, inf.c_str());
  if (length == 0 || length >= kEntryBufferSize - 1) return std::nullopt;
  return std::string(buffer, length);
}

bool FitsEntryBuffer(const std::string& value) { return value.size() < kEntryBufferSize; }

void PatchVxdInf(Platform& platform, const std::string& inf, const std::string& shortFolder) {
  const std::optional<std::string> old =
      ReadEntry(platform, deploy::kSourceDisksNames, deploy::kVxdDiskId, inf);
  if (!old) return;
  const std::string entry = *old + deploy::kVxdDiskSeparator + shortFolder;
  if (!FitsEntryBuffer(entry)) return;
  platform.WritePrivateProfileStringA(deploy::kSourceDisksNames, deploy::kVxdDiskId, entry.c_str(),
                                      inf.c_str());
}

void PatchWdmInf(Platform& platform, const std::string& inf, const std::string& shortFolder,
                 WdmEntry form) {
  const std::optional<std::string> old =
      ReadEntry(platform, deploy::kSourceDisksNames, deploy::kWdmDiskId, inf);
  if (!old) return;
  const std::string entry =
      (form == WdmEntry::AppendFolder ? *old : deploy::kWdmDiskEntryPrefix) + shortFolder;
  if (!FitsEntryBuffer(entry)) return;
  platform.WritePrivateProfileStringA(deploy::kSourceDisksNames, deploy::kWdmDiskId, entry.c_str(),
                                      inf.c_str());
  platform.WritePrivateProfileStringA(deploy::kSourceDisksFiles, media::kCatalogFile,
                                      deploy::kWdmDiskId, inf.c_str());
}

}  // namespace

void PatchInfSourceDisks(Platform& platform, DeploymentContext& context) {
  const PatchRow& row = RowFor(kPatchRows, context.variant);
  if (!context.infPatchList.empty()) {
    const std::optional<std::string> shortFolder = ShortFolder(
        platform, context.useVxd ? deploy::kStagingVxdFolder : deploy::kStagingWdmFolder);
    if (shortFolder) {
      for (const std::string& inf : context.infPatchList) {
        if (context.useVxd) {
          PatchVxdInf(platform, inf, *shortFolder);
        } else {
          PatchWdmInf(platform, inf, *shortFolder, row.wdmEntry);
        }
      }
    }
  }
  context.infPatchList.clear();
  context.infPatchList.shrink_to_fit();
}

}  // namespace kx
