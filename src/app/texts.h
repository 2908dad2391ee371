// The texts Setup shows, each defined once. Message boxes are in English
// whatever the language of the dialogs.
#pragma once

namespace kx::text {

inline constexpr char kCaptionSetup[] = "Setup";
inline constexpr char kCaptionInformation[] = "Information";

inline constexpr char kDriverWillBeInstalled[] =
    "The driver will be installed now. It need a few minutes to complete.";
inline constexpr char kSetupCompletedRestart[] = "Setup completed! The system will restart now!";
inline constexpr char kCannotFindAppsSetup[] =
    "Can not find the Orvanta Applications setup program.";
inline constexpr char kCannotFindAppsSetupInsertCd[] =
    "Can not find the Orvanta Applications setup program.\n Please insert the installation CD now.";
inline constexpr char kCannotFindInstallationFiles[] = "Can not find installation files.";
inline constexpr char kCannotFindNt5Setup[] =
    "Can not find the setup program for Windows 2000/XP.";
inline constexpr char kDirectXWillBeInstalled[] =
    "DirectX will be installed now. Please make sure the installation CD is in your CDROM.";
inline constexpr char kCannotFindDirectXSetup[] =
    "Can not find DirectX setup program. Please make sure the installation CD is ready.";
inline constexpr char kVxdNotOnNt[] = "This driver can not be used on Windows NT or Windows 2000.";
inline constexpr char kWdmOnlyOn98SeMe[] = "This WDM driver can only be installed on Windows 98SE/ME/2000";

}  // namespace kx::text
