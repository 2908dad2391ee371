// Resource numbers of Setup: dialog templates, the string and the icon.
#pragma once

namespace kx::res {

inline constexpr int kAboutDialog = 100;       // CAboutDlg
inline constexpr int kAboutMenuString = 101;   // "&About Setup..." in the system menu
inline constexpr int kMainDialog = 102;        // CInstallOptionsDlg
inline constexpr int kVxdOptionsDialog = 103;  // CVxdOptionsDlg
inline constexpr int kSetupIcon = 128;
inline constexpr int kArchitectureDialog = 130;  // CDriverModelDlg
inline constexpr int kWdmOptionsDialog = 131;    // CWdmOptionsDlg

// Control ids of the dialogs. kNoId marks controls nobody addresses.
inline constexpr int kNoId = -1;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kLegacyPortBox = 1000;   // MIDI port (103), legacy devices (131)
inline constexpr int kGamePortBox = 1001;     // 103
inline constexpr int kInstallAppsBox = 1001;  // 102
inline constexpr int kInstallDriverBox = 1002;
inline constexpr int kWaitText = 1003;
inline constexpr int kVxdRadio = 1004;
inline constexpr int kWdmRadio = 1005;
inline constexpr int kJacksOnMotherboard = 1006;
inline constexpr int kJacksOnSoundCard = 1007;
inline constexpr int kLineInSharesRear = 1011;
inline constexpr int kLineInSharesCenter = 1012;
inline constexpr int kMicSharesSubwoofer = 1013;

// Languages the templates exist in (Windows language ids).
inline constexpr int kEnglish = 1033;
inline constexpr int kChineseTraditional = 1028;
inline constexpr int kFrench = 1036;
inline constexpr int kJapanese = 1041;
inline constexpr int kKorean = 1042;

}  // namespace kx::res
