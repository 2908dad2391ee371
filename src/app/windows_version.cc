// ClassifyWindows: which Windows release is running, from GetVersionExA.
#include "app/setup_context.h"

namespace kx {

WindowsVersionFlags ClassifyWindows(Platform& platform) {
  WindowsVersionFlags os;
  OsVersionInfo info;
  info.dwOSVersionInfoSize = sizeof(OsVersionInfo);
  platform.GetVersionExA(&info);

  if (info.dwPlatformId == kVerPlatformWin32Windows) {
    // On Windows 9x the build number's high word carries the version (4.10,
    // 4.90) and its low word the build, whose high byte is 8 on 98 SE.
    if (info.dwMinorVersion == 0) {
      os.isWin95 = 1;
    } else if (info.dwBuildNumber > 0x040FFFFFu) {
      os.isWinME = 1;
    } else {
      os.isWin98 = 1;
      if (((info.dwBuildNumber >> 8) & 0xFFu) == 8) os.isWin98SE = 1;
    }
  }
  if (info.dwPlatformId == kVerPlatformWin32Nt && info.dwMajorVersion < 5) os.isWinNT4 = 1;
  if (info.dwPlatformId == kVerPlatformWin32Nt && info.dwMajorVersion >= 5) os.isWinNT5 = 1;
  return os;
}

}  // namespace kx
