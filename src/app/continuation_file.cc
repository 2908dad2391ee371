#include "app/continuation_file.h"

#include <optional>
#include <string>

#include "app/existence.h"
#include "app/media_index.h"
#include "app/texts.h"
#include "deploy/deploy_names.h"
#include "deploy/file_copy.h"
#include "platform/text.h"

namespace kx {
namespace {

constexpr char kRebootSection[] = "Need_To_Reboot";
constexpr char kDriverSection[] = "Need_To_InstallDriver";
constexpr char kDirectXSection[] = "Need_To_Install_DX";
constexpr char kInstallKey[] = "Install";
constexpr char kCommandKey[] = "Command";
constexpr char kInstallDirectXKey[] = "InstallDX";
constexpr char kDirectXCommandKey[] = "InstallDXCommand";
constexpr char kYes[] = "YES";
constexpr char kNo[] = "NO";

// Values of the file are read into buffers of this size.
constexpr DWORD kValueBufferSize = kMaxPath;

std::optional<std::string> ContinuationFilePath(Platform& platform) {
  return InWindowsFolder(platform, kContinuationFile);
}

std::string ReadValue(Platform& platform, const char* section, const char* key,
                      const std::string& file) {
  char value[kValueBufferSize] = {};
  platform.GetPrivateProfileStringA(section, key, kNo, value, kValueBufferSize, file.c_str());
  return value;
}

// The short form of the WDM staging folder with a trailing backslash, made the
// current folder; nothing when the folder has no short form.
std::optional<std::string> EnterShortWdmStagingFolder(Platform& platform) {
  char shortPath[kMaxPath] = {};
  const DWORD length = platform.GetShortPathNameA(deploy::kStagingWdmFolder, shortPath, kMaxPath);
  if (length == 0 || length >= kMaxPath) return std::nullopt;
  std::string folder = WithTrailingBackslash(std::string_view(shortPath, length));
  if (folder.size() >= kMaxPath) return std::nullopt;
  platform.SetCurrentDirectoryA(folder.c_str());
  return folder;
}

}  // namespace

void WriteContinuationFile(Platform& platform, bool deferDriver, bool isWin98SE) {
  const std::optional<std::string> file = ContinuationFilePath(platform);
  if (!file) return;
  const char* path = file->c_str();
  if (deferDriver) {
    platform.WritePrivateProfileStringA(kRebootSection, kInstallKey, kNo, path);
    // Without a short form of the staging folder (it is missing) no command
    // can be named: the command stays empty rather than naming a wrong file.
    const std::optional<std::string> folder = EnterShortWdmStagingFolder(platform);
    const std::optional<std::string> command =
        folder ? JoinPath(*folder, media::kSecondStageDriverSetup) : std::nullopt;
    platform.WritePrivateProfileStringA(kDriverSection, kInstallKey, kYes, path);
    platform.WritePrivateProfileStringA(kDriverSection, kCommandKey,
                                        command ? command->c_str() : "", path);
    platform.WritePrivateProfileStringA(kDriverSection, kInstallDirectXKey, isWin98SE ? kYes : kNo,
                                        path);
  } else {
    platform.WritePrivateProfileStringA(kRebootSection, kInstallKey, kYes, path);
    platform.WritePrivateProfileStringA(kDriverSection, kInstallKey, kNo, path);
    platform.WritePrivateProfileStringA(kDriverSection, kCommandKey, "", path);
    platform.WritePrivateProfileStringA(kDriverSection, kInstallDirectXKey, kNo, path);
  }
}

bool RunDirectXHandOff(Platform& platform) {
  const std::optional<std::string> file = ContinuationFilePath(platform);
  if (!file) return false;
  if (ReadValue(platform, kDirectXSection, kInstallKey, *file) != kYes) return false;
  const std::string command = ReadValue(platform, kDriverSection, kDirectXCommandKey, *file);
  if (command == kNo) return false;

  // Marked done before anything else, so that the hand-off happens once.
  platform.WritePrivateProfileStringA(kDriverSection, kInstallDirectXKey, kNo, file->c_str());
  platform.WritePrivateProfileStringA(kDriverSection, kDirectXCommandKey, kNo, file->c_str());

  platform.MessageBoxA(nullptr, text::kDirectXWillBeInstalled, text::kCaptionSetup, kMbOk);
  while (!FileExists(platform, command)) {
    if (platform.MessageBoxA(nullptr, text::kCannotFindDirectXSetup, text::kCaptionSetup,
                             kMbOkCancel) == kIdCancel) {
      return false;
    }
  }
  // A program that would not start has not taken over: the caller then goes
  // on to the restart as after a cancel.
  return platform.WinExec(command.c_str(), kSwShow) > 31;
}

}  // namespace kx
