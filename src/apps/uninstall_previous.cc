#include "apps/uninstall_previous.h"

#include <string>
#include <string_view>

#include "app/media_index.h"
#include "app/registry_paths.h"
#include "apps/startup_record.h"

namespace kx {
namespace {

constexpr DWORD kInputIdleWaitMs = 1000;
// Each pass also waits this long for the process to end, so that a finished
// uninstaller is seen at once and a running one is not polled in a busy loop.
constexpr DWORD kEndWaitMs = 1000;

HKey OpenUninstallKey(Platform& platform) {
  for (const char* subKey : {reg::kAppsUninstallKey, reg::kAppsNtUninstallKey}) {
    HKey key = nullptr;
    if (platform.RegOpenKeyExA(kHkeyLocalMachine, subKey, 0, kKeyQueryValue, &key) ==
        kErrorSuccess) {
      return key;
    }
  }
  return nullptr;
}

// Reads a string value into the command field. A value longer than the field
// fails the read. The stored text may lack its terminator: only the bytes
// returned count, up to the first zero.
bool ReadCommand(Platform& platform, HKey key, const char* valueName, std::string* command) {
  BYTE buffer[kUninstallCommandField] = {};
  DWORD size = sizeof(buffer);
  if (platform.RegQueryValueExA(key, valueName, nullptr, buffer, &size) != kErrorSuccess) {
    return false;
  }
  std::string_view text(reinterpret_cast<const char*>(buffer),
                        size < sizeof(buffer) ? size : sizeof(buffer));
  *command = std::string(text.substr(0, text.find('\0')));
  return true;
}

// Runs the command and waits until its process has ended. WaitForInputIdle
// paces each pass by up to a second while the uninstaller starts up; whether it
// has ended is asked of the process itself, not read from its exit code, which
// an uninstaller may well set to 259 (STILL_ACTIVE) on its own.
void RunAndWait(Platform& platform, std::string command) {
  const StartupInfo startup = ShownStartupRecord();
  ProcessInformation process;
  if (!platform.CreateProcessA(nullptr, command.data(), kFalse, 0, nullptr, &startup, &process)) {
    return;
  }
  do {
    platform.WaitForInputIdle(process.hProcess, kInputIdleWaitMs);
  } while (platform.WaitForSingleObject(process.hProcess, kEndWaitMs) == kWaitTimeout);
  platform.CloseHandle(process.hThread);
  platform.CloseHandle(process.hProcess);
}

}  // namespace

void UninstallPreviousApps(Platform& platform) {
  HKey key = OpenUninstallKey(platform);
  if (key == nullptr) return;

  std::string command;
  if (ReadCommand(platform, key, reg::kInstallShieldUninstallValue, &command) ||
      ReadCommand(platform, key, reg::kUninstallValue, &command)) {
    command += media::kUninstallSwitch;
    if (command.size() < kUninstallCommandField) {
      platform.BeginWaitCursor();
      RunAndWait(platform, std::move(command));
      platform.EndWaitCursor();
    }
  }
  platform.RegCloseKey(key);
}

}  // namespace kx
