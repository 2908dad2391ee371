#include "app/nt5_handoff.h"

#include "app/existence.h"
#include "app/media_index.h"
#include "app/texts.h"

namespace kx {

void HandOffToNt5Setup(Platform& platform, const std::string& sourceDir, bool driverRequest) {
  std::string command;
  for (const char* candidate : {media::kNt5SetupDat, media::kNt5SetupExe}) {
    const std::string path = sourceDir + candidate;
    if (FileExists(platform, path)) {
      command = path;
      break;
    }
  }
  if (command.empty()) {
    platform.MessageBoxA(nullptr, text::kCannotFindNt5Setup, text::kCaptionSetup, kMbOk);
    return;
  }
  // The path goes unquoted; the command is not bound to a MAX_PATH buffer.
  if (driverRequest) command += media::kDriverSwitchSuffix;
  platform.WinExec(command.c_str(), kSwShow);
}

}  // namespace kx
