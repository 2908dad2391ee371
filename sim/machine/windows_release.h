// The Windows releases a simulated PC can run: what GetVersionExA reports on
// each, and where each keeps its Windows and system folders.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace kx::sim {

struct WindowsRelease {
  // "95", "98", "98SE", "ME", "NT4", "2000", "XP", or empty for a release
  // given by its raw numbers.
  std::string name;
  DWORD platformId = kVerPlatformWin32Windows;
  DWORD majorVersion = 4;
  DWORD minorVersion = 0;
  // On Windows 95/98/ME the high word carries the version (0x040A for 4.10)
  // and the low word the build; on NT it is the plain build number.
  DWORD buildNumber = 0;
  std::string csdVersion;

  bool IsNt() const { return platformId == kVerPlatformWin32Nt; }
};

// Looks a release up by name, ignoring case ("98se" and "98 SE" both name
// Windows 98 Second Edition). False for an unknown name.
bool FindWindowsRelease(std::string_view name, WindowsRelease* release);

// The names FindWindowsRelease knows, for messages: "95, 98, 98SE, ...".
std::string KnownReleaseNames();

// Where the release installs Windows: C:\WINDOWS and C:\WINDOWS\SYSTEM on
// 95/98/ME, C:\WINNT and C:\WINNT\system32 on NT 4.0 and 2000,
// C:\WINDOWS and C:\WINDOWS\system32 on XP and later NT releases.
std::string DefaultWindowsFolder(const WindowsRelease& release);
std::string DefaultSystemFolder(const WindowsRelease& release);

}  // namespace kx::sim
