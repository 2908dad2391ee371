#include "deploy/file_copy.h"

#include "app/windows_folder.h"
#include "deploy/deploy_names.h"

namespace kx {

std::optional<std::string> JoinPath(std::string_view folder, std::string_view name) {
  if (folder.size() + name.size() >= kMaxPath) return std::nullopt;
  std::string path(folder);
  path += name;
  return path;
}

std::optional<std::string> InWindowsFolder(Platform& platform, std::string_view name) {
  const std::string windows = WindowsFolder(platform);
  if (windows.empty()) return std::nullopt;
  return JoinPath(windows, name);
}

BOOL CopyOver(Platform& platform, const std::string& source, const std::string& target) {
  platform.SetFileAttributesA(target.c_str(), kFileAttributeNormal);
  return platform.CopyFileA(source.c_str(), target.c_str(), kFalse);
}

BOOL CopyOverAndNormalise(Platform& platform, const std::string& source,
                          const std::string& target) {
  const BOOL copied = CopyOver(platform, source, target);
  platform.SetFileAttributesA(target.c_str(), kFileAttributeNormal);
  return copied;
}

void ForEachFileIn(Platform& platform, std::string_view folder,
                   const std::function<void(const char* name)>& visit) {
  const std::optional<std::string> pattern = JoinPath(folder, deploy::kAllFiles);
  if (!pattern) return;
  FindData data;
  FindHandle find = platform.FindFirstFileA(pattern->c_str(), &data);
  if (find == kInvalidFindHandle) return;
  do {
    if ((data.dwFileAttributes & kFileAttributeDirectory) == 0) visit(data.cFileName);
  } while (platform.FindNextFileA(find, &data));
  platform.FindClose(find);
}

void CopyFolderFilesAndNormalise(Platform& platform, std::string_view sourceFolder,
                                 std::string_view targetFolder) {
  ForEachFileIn(platform, sourceFolder, [&](const char* name) {
    const std::optional<std::string> source = JoinPath(sourceFolder, name);
    const std::optional<std::string> target = JoinPath(targetFolder, name);
    if (source && target) CopyOverAndNormalise(platform, *source, *target);
  });
}

}  // namespace kx
