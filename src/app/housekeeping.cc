#include "app/housekeeping.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "app/existence.h"
#include "app/registry_paths.h"
#include "app/windows_folder.h"

namespace kx {
namespace {

constexpr char kCdPlayerIni[] = "KXCDPLAY.INI";
constexpr char kDiscPlayerSection[] = "DISC PLAYER";
constexpr char kUsingCddaKey[] = "UsingCDDA";

// SystemFormats is read into a buffer of this many bytes; a longer value
// fails the read.
constexpr DWORD kSystemFormatsBuffer = 1024;
// The chosen format name is held in a field of this size.
constexpr std::size_t kFormatNameField = 32;

// The first comma-ended entry that contains "CD"; empty when there is none.
std::string ChooseCdFormat(std::string_view systemFormats) {
  std::size_t segmentStart = 0;
  for (std::size_t i = 0; i < systemFormats.size(); ++i) {
    if (systemFormats[i] != ',') continue;
    const std::string_view segment = systemFormats.substr(segmentStart, i - segmentStart);
    if (segment.find("CD") != std::string_view::npos) return std::string(segment);
    segmentStart = i + 1;
  }
  return {};
}

void WriteDefaultFormat(Platform& platform, HKey root, const char* subKey,
                        const std::string& format) {
  HKey key = nullptr;
  if (platform.RegOpenKeyExA(root, subKey, 0, kKeyAllAccess, &key) != kErrorSuccess) return;
  // The byte count is the name's length: the terminator is not counted.
  platform.RegSetValueExA(key, reg::kDefaultFormatValue, kRegSz,
                          reinterpret_cast<const BYTE*>(format.data()),
                          static_cast<DWORD>(format.size()));
  platform.RegCloseKey(key);
}

}  // namespace

void ApplyCdAudioSetting(Platform& platform, int usingCdda) {
  const std::string windows = WindowsFolder(platform);
  if (windows.empty()) return;
  const std::string file = windows + kCdPlayerIni;
  if (!FitsMaxPath(file)) return;
  platform.WritePrivateProfileStringA(kDiscPlayerSection, kUsingCddaKey, usingCdda ? "1" : "0",
                                      file.c_str());
}

void SelectCdDefaultFormat(Platform& platform) {
  HKey key = nullptr;
  if (platform.RegOpenKeyExA(kHkeyCurrentUser, reg::kAudioKey, 0, kKeyAllAccess, &key) !=
      kErrorSuccess) {
    return;
  }
  BYTE buffer[kSystemFormatsBuffer] = {};
  DWORD type = 0;
  DWORD size = kSystemFormatsBuffer;
  const LONG result =
      platform.RegQueryValueExA(key, reg::kSystemFormatsValue, &type, buffer, &size);
  platform.RegCloseKey(key);
  if (result != kErrorSuccess) return;

  // The stored text may lack its terminator: look only at the bytes returned,
  // up to the first zero.
  std::string_view text(reinterpret_cast<const char*>(buffer),
                        size < kSystemFormatsBuffer ? size : kSystemFormatsBuffer);
  text = text.substr(0, text.find('\0'));
  const std::string format = ChooseCdFormat(text);
  if (format.empty() || format.size() >= kFormatNameField) return;

  WriteDefaultFormat(platform, kHkeyCurrentUser, reg::kAudioKey, format);
  WriteDefaultFormat(platform, kHkeyUsers, reg::kDefaultUserAudioKey, format);
}

void RemoveAppsRunEntry(Platform& platform) {
  HKey key = nullptr;
  if (platform.RegOpenKeyExA(kHkeyLocalMachine, reg::kRunKey, 0, kKeyAllAccess, &key) !=
      kErrorSuccess) {
    return;
  }
  platform.RegDeleteValueA(key, reg::kAppsRunValue);
  platform.RegCloseKey(key);
}

}  // namespace kx
