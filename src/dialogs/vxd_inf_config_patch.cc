#include "dialogs/vxd_inf_config_patch.h"

#include "dialogs/inf_option_line.h"

namespace kx {
namespace {

// From the end of a CR LF line back to its last character.
constexpr long kBackToLastCharacter = -3;

}  // namespace

void PatchVxdInfConfig(Platform& platform, const std::string& path,
                       const DriverOptionChoices& options) {
  FileStream inf = platform.FOpen(path.c_str(), "r+");
  if (inf == nullptr) return;
  for (const VxdConfigEdit& edit : VxdConfigEdits(options)) {
    if (platform.FSeek(inf, 0, kSeekSet) != 0) continue;
    if (!FindEditableLine(platform, inf, edit.line, LineMatch::kWholeLine)) continue;
    WriteByteAt(platform, inf, kBackToLastCharacter, edit.digit);
  }
  CloseEditedFile(platform, inf);
}

}  // namespace kx
