#include "sim/machine/windows_release.h"

#include <array>

#include "platform/text.h"

namespace kx::sim {
namespace {

struct KnownRelease {
  const char* name;
  DWORD platformId;
  DWORD major;
  DWORD minor;
  DWORD build;
  const char* csd;
};

constexpr std::array<KnownRelease, 7> kReleases{{
    {"95", kVerPlatformWin32Windows, 4, 0, 0x040003B6u, ""},
    {"98", kVerPlatformWin32Windows, 4, 10, 0x040A07CEu, " "},
    {"98SE", kVerPlatformWin32Windows, 4, 10, 0x040A08AEu, " A "},
    {"ME", kVerPlatformWin32Windows, 4, 90, 0x045A0BB8u, " "},
    {"NT4", kVerPlatformWin32Nt, 4, 0, 1381, "Service Pack 6"},
    {"2000", kVerPlatformWin32Nt, 5, 0, 2195, "Service Pack 4"},
    {"XP", kVerPlatformWin32Nt, 5, 1, 2600, "Service Pack 3"},
}};

// "98 SE", "98se" and "Windows 98SE" all become "98SE".
std::string NormalisedName(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c != ' ') out += AsciiUpper(c);
  }
  if (StartsWith(out, "WINDOWS")) out.erase(0, 7);
  if (out == "NT40" || out == "NT4.0") out = "NT4";
  return out;
}

}  // namespace

bool FindWindowsRelease(std::string_view name, WindowsRelease* release) {
  const std::string wanted = NormalisedName(name);
  for (const KnownRelease& known : kReleases) {
    if (wanted == known.name) {
      release->name = known.name;
      release->platformId = known.platformId;
      release->majorVersion = known.major;
      release->minorVersion = known.minor;
      release->buildNumber = known.build;
      release->csdVersion = known.csd;
      return true;
    }
  }
  return false;
}

std::string KnownReleaseNames() {
  std::string out;
  for (const KnownRelease& known : kReleases) {
    if (!out.empty()) out += ", ";
    out += known.name;
  }
  return out;
}

std::string DefaultWindowsFolder(const WindowsRelease& release) {
  if (release.IsNt() && release.majorVersion == 4) return "C:\\WINNT";
  if (release.IsNt() && release.majorVersion == 5 && release.minorVersion == 0) return "C:\\WINNT";
  return "C:\\WINDOWS";
}

std::string DefaultSystemFolder(const WindowsRelease& release) {
  return DefaultWindowsFolder(release) + (release.IsNt() ? "\\system32" : "\\SYSTEM");
}

}  // namespace kx::sim
