// The fixed paths, registry keys, value names and device texts of the driver
// deployment, each defined once and used by name.
#pragma once

namespace kx::deploy {

// ---- The local staging tree. Always on drive C:, whatever the system drive. ----
inline constexpr char kProgramFiles[] = "C:\\Program Files\\";
inline constexpr char kStagingRoot[] = "C:\\Program Files\\Kestrix\\";
inline constexpr char kStagingDos[] = "C:\\Program Files\\Kestrix\\DOS\\";
inline constexpr char kStagingDosApp[] = "C:\\Program Files\\Kestrix\\DOS\\DOSAPP\\";
inline constexpr char kStagingVxd[] = "C:\\Program Files\\Kestrix\\WIN_9x\\";
inline constexpr char kStagingVxd026[] = "C:\\Program Files\\Kestrix\\WIN_9x\\026\\";
inline constexpr char kStagingWdm[] = "C:\\Program Files\\Kestrix\\WIN_ME\\";
// The staging folders without their trailing backslash, as the INF source
// disks, the OEM INF registration and the installation source list name them.
inline constexpr char kStagingVxdFolder[] = "C:\\Program Files\\Kestrix\\WIN_9x";
inline constexpr char kStagingWdmFolder[] = "C:\\Program Files\\Kestrix\\WIN_ME";
inline constexpr char kStagedWdmInf[] = "C:\\Program Files\\Kestrix\\WIN_ME\\KXAUDIO.INF";

// ---- Folders below the Windows folder. ----
inline constexpr char kInfFolder[] = "INF\\";
inline constexpr char kOtherFolder[] = "OTHER\\";
inline constexpr char kCatalogFolder[] = "CATALOG\\";
inline constexpr char kAllFiles[] = "*.*";
inline constexpr char kDriverDataIndex[] = "Drvdata.bin";
inline constexpr char kDriverIndex[] = "Drvidx.bin";

// ---- Mixer and tray. ----
inline constexpr char kSystrayKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray";
inline constexpr char kDefaultUserSystrayKey[] =
    ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray";
inline constexpr char kServicesValue[] = "Services";
inline constexpr unsigned kVolumeServiceBit = 4;
inline constexpr char kMixerSettingsFile[] = "mixerdef.ini";
inline constexpr char kMixerSettingsSection[] = "RUNTIME";
inline constexpr char kMixerSettingsKey[] = "Initialize";

// ---- Windows setup source folder. ----
inline constexpr char kWindowsSetupKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
inline constexpr char kSourcePathValue[] = "SourcePath";
// Files whose upper-case name holds this are never offered to Windows setup.
inline constexpr char kSetupNameMark[] = "SETUP";

// ---- INF source disks. ----
inline constexpr char kSourceDisksNames[] = "SourceDisksNames";
inline constexpr char kSourceDisksFiles[] = "SourceDisksFiles";
inline constexpr char kVxdDiskId[] = "1";
inline constexpr char kWdmDiskId[] = "200";
inline constexpr char kVxdDiskSeparator[] = ", ";
inline constexpr char kWdmDiskEntryPrefix[] = "\"Kestrix WDM Audio Driver Disk\",,,";

// ---- Devices. ----
inline constexpr char kMediaClassKey[] = "System\\CurrentControlSet\\Services\\Class\\MEDIA";
inline constexpr char kSettingsSubkey[] = "Settings";
inline constexpr char kDriverDescValue[] = "DriverDesc";
inline constexpr char kEnableLegacyValue[] = "EnableLegacy";
inline constexpr char kAudioDevice4720[] = "KXI4720/K3DX PCI Audio Device";
inline constexpr char kAudioDevice4320[] = "KXI4320/K3DX PCI Audio Device";
inline constexpr char kGamePortDevice[] = "KXI4720/K3DX PCI game port";

// ---- Start-up entry of the mixer. ----
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kMixerRunValue[] = "Kestrix Mixer";

}  // namespace kx::deploy
