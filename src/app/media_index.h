// Every path Setup relies on in its installation media, relative to
// SourceDir, and every child program it starts. One place, used by name.
#pragma once

namespace kx::media {

// ---- Options. ----
inline constexpr char kSetupIni[] = "setup.ini";
inline constexpr char kSetupIniVxdDialog[] = "Setup.ini";  // as the VxD options dialog opens it

// ---- Layouts. The new layout is recognised by this folder. ----
inline constexpr char kNewLayoutMarker[] = "W2K-ME\\";

// ---- Windows 2000/XP setup, tried in this order. ----
inline constexpr char kNt5SetupDat[] = "W2KSetup.dat";
inline constexpr char kNt5SetupExe[] = "W2KSetup.exe";
inline constexpr char kDriverSwitchSuffix[] = " /DRIVER";

// ---- Applications setup programs. ----
struct LayoutPaths {
  const char* apps9x;       // Windows 95/98 (and ME with VxD)
  const char* appsMe;       // ME and 98 with WDM, 2000/XP; also the 9x fallback
  const char* appsNt4;      // NT 4.0
  const char* driverRoot9x;  // the VxD driver folder, "95\" and "98\" below it
  const char* driverMe;      // the WDM driver folder
};

inline constexpr LayoutPaths kNewLayout{
    "W95-98\\app\\Setup.exe", "W2K-ME\\app\\Setup.exe", "NT40\\app\\Setup.exe",
    "W95-98\\drv\\",          "W2K-ME\\drv\\"};
inline constexpr LayoutPaths kOldLayout{
    "WIN_9x\\app\\Setup.exe", "WIN_ME\\app\\Setup.exe", "WIN_NT40\\app\\Setup.exe",
    "WIN_9x\\drv\\",          "WIN_ME\\drv\\"};

inline constexpr char kDriverSub95[] = "95\\";
inline constexpr char kDriverSub98[] = "98\\";

// ---- Files in a driver folder (and in a flat package). ----
inline constexpr char kCatalogFile[] = "kxaudio.cat";
inline constexpr char kMixerDat[] = "Mixer.dat";
inline constexpr char kFolder026[] = "026\\";

// ---- DOS files. ----
inline constexpr char kDosDriverFolder[] = "Dosdrv\\";
inline constexpr char kDosAppFolder[] = "DOSAPP\\";

// ---- Child programs started by Setup (all shown with SW_SHOW). ----
inline constexpr char kSysTray[] = "SysTray.exe";
inline constexpr char kUninstallSwitch[] = " -a";
inline constexpr char kStagedSetupDriver[] = "Setup.exe /DRIVER";
inline constexpr char kSecondStageDriverSetup[] = "MESetup.dat";
inline constexpr char kNewMixer[] = "NewMixer.exe";
inline constexpr char kMixerStartupSwitch[] = " /startup";

// ---- Windows of other programs that Setup closes or waits for. ----
inline constexpr char kMixerWindowTitle[] = "Mixer";
inline constexpr char kInstallerWindowClass[] = "KXDNINST";
inline constexpr char kDiskQueryWindow[] = "__Win95SetupDiskQuery";  // class and title

}  // namespace kx::media
