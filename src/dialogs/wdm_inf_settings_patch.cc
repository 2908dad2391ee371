#include "dialogs/wdm_inf_settings_patch.h"

#include "dialogs/inf_option_line.h"

namespace kx {
namespace {

constexpr long kCrLfLength = 2;
static_assert(sizeof(kEnableLegacyLine) - 1 > kSettingsValueColumn);
static_assert(sizeof(kJackConfigLine) - 1 > kSettingsValueColumn);

// Writes digit at the value column of the first line that begins with prefix.
void WriteSettingDigit(Platform& platform, FileStream inf, const char* prefix, char digit) {
  const std::optional<std::size_t> length =
      FindEditableLine(platform, inf, prefix, LineMatch::kPrefix);
  if (!length) return;
  // The stream stands after the line's CR LF; the line is at least as long as
  // the prefix, which holds the value column.
  const long offset =
      static_cast<long>(kSettingsValueColumn) - (static_cast<long>(*length) + kCrLfLength);
  WriteByteAt(platform, inf, offset, digit);
}

}  // namespace

void PatchWdmInfSettings(Platform& platform, const std::string& path,
                         const DriverOptionChoices& options) {
  FileStream inf = platform.FOpen(path.c_str(), "r+");
  if (inf == nullptr) return;
  if (options.disableLegacyPort) {
    WriteSettingDigit(platform, inf, kEnableLegacyLine, kEnableLegacyDisabled);
  }
  if (platform.FSeek(inf, 0, kSeekSet) == 0) {
    WriteSettingDigit(platform, inf, kJackConfigLine, static_cast<char>('0' + JackConfig(options)));
  }
  CloseEditedFile(platform, inf);
}

}  // namespace kx
