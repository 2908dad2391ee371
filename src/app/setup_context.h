// The three facts every decision of Setup depends on: which Windows is
// running, which folder Setup was started from, and what setup.ini asks for.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kx {

// Six 0/1 flags. At most one of isWin95, isWin98, isWinME, isWinNT4, isWinNT5
// is 1; isWin98SE is 1 only together with isWin98.
struct WindowsVersionFlags {
  int isWin95 = 0;
  int isWin98 = 0;
  int isWin98SE = 0;
  int isWinME = 0;
  int isWinNT4 = 0;
  int isWinNT5 = 0;
};

// The integer options of setup.ini, with their defaults.
struct SetupOptions {
  int DriverOnly = 0;
  int WindowsMEDriverAskUser = 0;
  int WindowsMEDriver = 1;
  int Windows98SEDriverAskUser = 0;
  int Windows98SEDriver = 0;
  int WebSetup = 0;
  int InstallWDMDriver = 0;
  int UsingCDDA = 0;  // section "Default"
};

WindowsVersionFlags ClassifyWindows(Platform& platform);

// programPath: the program name exactly as written at the start of the
// command line. The result always ends in a backslash.
std::string DeriveSourceDir(Platform& platform, std::string_view programPath);
// Steps 1 and 3 only (no drive completion), as the VxD options dialog does it.
std::string DeriveSourceDirWithoutDrive(std::string_view programPath);

SetupOptions ReadSetupOptions(Platform& platform, const std::string& sourceDir);

}  // namespace kx
