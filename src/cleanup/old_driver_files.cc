#include "cleanup/old_driver_files.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kx {
namespace {

// An INF is the old driver's when one of these [Strings] keys holds a value
// whose first seven characters are one of the old driver names, with case.
constexpr char kStringsSection[] = "Strings";
constexpr const char* kMarkerKeys[] = {"SSC-Legacy.DeviceDesc", "WDM_KXPCI.Wave.szPname"};
constexpr std::string_view kOldDriverNames[] = {"KXI4320", "KXI4720", "KXAUDIO", "Kestrix"};
constexpr std::size_t kMarkerLength = 7;
constexpr DWORD kMarkerValueRoom = 64;

// The INF folders searched, relative to the Windows folder. The first scan
// falls back to the OEM files of the INF folder when INF\OTHER holds no INF.
struct InfSearch {
  const char* pattern;
  const char* folder;  // where the files found are
};
struct InfScan {
  InfSearch search;
  InfSearch fallback;  // pattern null: none
};
constexpr InfScan kInfScans[] = {
    {{"\\INF\\OTHER\\*.INF", "\\INF\\OTHER\\"}, {"\\INF\\OEM*.INF", "\\INF\\"}},
    {{"\\INF\\KX*.INF", "\\INF\\"}, {nullptr, nullptr}},
    {{"\\INF\\oem*.INF", "\\INF\\"}, {nullptr, nullptr}},
};
constexpr char kPrecompiledExtension[] = "PNF";

// The old system files and the backup names they receive at the next start,
// relative to the Windows folder, in the order they are scheduled.
struct OldFileRename {
  const char* existing;
  const char* backup;
};
constexpr OldFileRename kOldFileRenames[] = {
    {"\\SYSTEM\\SPACE3D.DLL", "\\SYSTEM\\SPACE3D.OLD"},
    {"\\SYSTEM\\Q3D.DLL", "\\SYSTEM\\Q3D.OLD"},
    {"\\SYSTEM\\K3D.DLL", "\\SYSTEM\\K3D.OLD"},
    {"\\SYSTEM\\KX4320.VXD", "\\SYSTEM\\4320VXD.OLD"},
    {"\\SYSTEM\\KXAUDIO.VXD", "\\SYSTEM\\KXAUDIO.OLD"},
    {"\\SYSTEM\\KX4320FM.DRV", "\\SYSTEM\\4320FDRV.OLD"},
    {"\\SYSTEM\\KXPCIFM.DRV", "\\SYSTEM\\KXPCIFM.OLD"},
    {"\\SYSTEM\\KXMPU.EXE", "\\SYSTEM\\KXMPU.OLD"},
    {"\\SYSTEM\\KXMPUPCI.DRV", "\\SYSTEM\\KXMPUPCI.OLD"},
    {"\\SYSTEM\\KXPCI95.DRV", "\\SYSTEM\\KXPCI95.OLD"},
    {"\\SYSTEM\\KXSMIDI.DRV", "\\SYSTEM\\KXSMIDI.OLD"},
    {"\\SYSTEM\\KXSWMPU.VXD", "\\SYSTEM\\KXSWMPU.OLD"},
    {"\\SYSTEM\\BNKTABLE.DAT", "\\SYSTEM\\BNKTABLE.OLD"},
    {"\\SYSTEM\\BNKWAVE.DAT", "\\SYSTEM\\BNKWAVE.OLD"},
    {"\\SYSTEM\\SNDINIT.COM", "\\SYSTEM\\SNDINIT.OLD"},
    {"\\SYSTEM\\SYNTH32P.DLL", "\\SYSTEM\\SYNTH32.OLD"},
    {"\\SYSTEM\\SYNTHPCI.DLL", "\\SYSTEM\\SYNTHPCI.OLD"},
    {"\\SYSTEM\\PARSEBNK.EXE", "\\SYSTEM\\PARSEBNK.OLD"},
    {"\\SYSTEM\\ASIO4720.DLL", "\\SYSTEM\\ASIO4720.OLD"},
    {"\\SYSTEM\\KXSYNTH.DRV", "\\SYSTEM\\KXSYNTH.OLD"},
    {"\\SYSTEM32\\DRIVERS\\KXPCI.SYS", "\\SYSTEM32\\DRIVERS\\KXPCI.OLD"},
    {"\\INF\\CATALOG\\KXPCI.CAT", "\\INF\\CATALOG\\KXPCI.OLD"},
    {"\\SYSTEM32\\DRIVERS\\KXAUDIO.SYS", "\\SYSTEM32\\DRIVERS\\KXAUDIO.OLD"},
    {"\\INF\\CATALOG\\kxaudio.CAT", "\\INF\\CATALOG\\kxaudio.OLD"},
    {"\\SYSTEM32\\KXprop.DLL", "\\SYSTEM32\\KXprop.OLD"},
    {"\\SYSTEM\\DSXL3D.DLL", "\\SYSTEM\\DSXL3D.OLD"},
};
static_assert(std::size(kOldFileRenames) == 26);

// Windows processes [rename] of WININIT.INI at its next start, before drivers
// load: each key is the new name, its value the file to move there.
constexpr char kWininitFile[] = "WININIT.INI";
constexpr char kRenameSection[] = "rename";
constexpr char kWinIniFile[] = "WIN.INI";
constexpr char kWindowsSection[] = "Windows";
constexpr char kRunKey[] = "run";
constexpr char kBlankRunLine[] = " ";

// The Windows folder without a trailing backslash, held whole however long it
// is. False when Windows does not report it.
bool GetWindowsFolder(Platform& platform, std::string* folder) {
  std::vector<char> buffer(kMaxPath);
  UINT length = platform.GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = platform.GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
  }
  if (length == 0 || length >= buffer.size()) return false;
  folder->assign(buffer.data(), strnlen(buffer.data(), length));
  if (!folder->empty() && folder->back() == '\\') folder->pop_back();
  return !folder->empty();
}

// The names a directory search returns, in its order. The listing is taken
// whole before any file is deleted, so deletions cannot disturb the search.
std::vector<std::string> FindFileNames(Platform& platform, const std::string& pattern) {
  std::vector<std::string> names;
  FindData data;
  FindHandle find = platform.FindFirstFileA(pattern.c_str(), &data);
  if (find == kInvalidFindHandle) return names;
  do {
    names.emplace_back(data.cFileName, strnlen(data.cFileName, sizeof data.cFileName));
  } while (platform.FindNextFileA(find, &data));
  platform.FindClose(find);
  return names;
}

bool FileFound(Platform& platform, const std::string& path) {
  FindData data;
  FindHandle find = platform.FindFirstFileA(path.c_str(), &data);
  if (find == kInvalidFindHandle) return false;
  platform.FindClose(find);
  return true;
}

// Whether the INF's [Strings] names one of the old drivers.
bool NamesOldDriver(Platform& platform, const std::string& infPath) {
  for (const char* key : kMarkerKeys) {
    char value[kMarkerValueRoom] = {};
    platform.GetPrivateProfileStringA(kStringsSection, key, "", value, kMarkerValueRoom,
                                      infPath.c_str());
    const std::string_view marker(value, strnlen(value, kMarkerLength));
    for (std::string_view oldName : kOldDriverNames) {
      if (marker == oldName) return true;
    }
  }
  return false;
}

void DeleteFileWhateverItsAttributes(Platform& platform, const std::string& path) {
  platform.SetFileAttributesA(path.c_str(), kFileAttributeNormal);
  platform.DeleteFileA(path.c_str());
}

// The INF goes with its precompiled twin: the same path with PNF in place of
// its last three characters.
void DeleteInfAndTwin(Platform& platform, const std::string& infPath) {
  DeleteFileWhateverItsAttributes(platform, infPath);
  std::string twin = infPath;
  twin.replace(twin.size() - 3, 3, kPrecompiledExtension);
  DeleteFileWhateverItsAttributes(platform, twin);
}

void RetireOldInfs(Platform& platform, const std::string& windowsFolder, const InfScan& scan) {
  InfSearch search = scan.search;
  std::vector<std::string> names = FindFileNames(platform, windowsFolder + search.pattern);
  if (names.empty() && scan.fallback.pattern != nullptr) {
    search = scan.fallback;
    names = FindFileNames(platform, windowsFolder + search.pattern);
  }
  for (const std::string& name : names) {
    const std::string path = windowsFolder + search.folder + name;
    if (NamesOldDriver(platform, path)) DeleteInfAndTwin(platform, path);
  }
}

void ScheduleOldFileRenames(Platform& platform, const std::string& windowsFolder) {
  for (const OldFileRename& row : kOldFileRenames) {
    const std::string existing = windowsFolder + row.existing;
    if (!FileFound(platform, existing)) continue;
    const std::string backup = windowsFolder + row.backup;
    platform.WritePrivateProfileStringA(kRenameSection, backup.c_str(), existing.c_str(),
                                        kWininitFile);
  }
}

void BlankWinIniRunLine(Platform& platform) {
  platform.WritePrivateProfileStringA(kWindowsSection, kRunKey, kBlankRunLine, kWinIniFile);
}

}  // namespace

void RetireOldDriverFiles(Platform& platform, int scheduleRenames) {
  std::string windowsFolder;
  if (!GetWindowsFolder(platform, &windowsFolder)) return;
  for (const InfScan& scan : kInfScans) RetireOldInfs(platform, windowsFolder, scan);
  if (scheduleRenames == 0) return;
  ScheduleOldFileRenames(platform, windowsFolder);
  BlankWinIniRunLine(platform);
}

}  // namespace kx
