// Registry keys and values of other programs that Setup reads, writes or
// deletes, each defined once.
#pragma once

namespace kx::reg {

// The per-machine Run list of Windows.
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The start-up entry the applications package may leave behind.
inline constexpr char kAppsRunValue[] = "Orvanta Applications";

// Recording formats of the Windows sound settings, under HKEY_CURRENT_USER and
// for the default user under HKEY_USERS.
inline constexpr char kAudioKey[] = "Software\\Microsoft\\Multimedia\\Audio";
inline constexpr char kDefaultUserAudioKey[] = ".Default\\Software\\Microsoft\\Multimedia\\Audio";
inline constexpr char kSystemFormatsValue[] = "SystemFormats";
inline constexpr char kDefaultFormatValue[] = "DefaultFormat";

// Registration of the installed applications package; the second form is the
// package variant registered on Windows NT.
inline constexpr char kAppsUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanta Applications";
inline constexpr char kAppsNtUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanta WinNT Applications";
inline constexpr char kInstallShieldUninstallValue[] = "InstallShieldUninstallString";
inline constexpr char kUninstallValue[] = "UninstallString";

}  // namespace kx::reg
