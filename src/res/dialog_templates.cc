#include "res/dialog_templates.h"

#include "res/resource_ids.h"

namespace kx::res {

const ControlTemplate* DialogTemplate::Control(int controlId) const {
  for (const ControlTemplate& control : controls) {
    if (control.id == controlId) return &control;
  }
  return nullptr;
}

namespace {

struct Box {
  int x, y, cx, cy;
};

// ---- Control kinds as the dialogs use them. ----

ControlTemplate Label(Box box, std::string text, int id = kNoId) {
  return {ControlClass::kStatic, kSsLeft | kWsGroup, id, box.x, box.y, box.cx, box.cy,
          std::move(text)};
}
ControlTemplate CentredLabel(Box box, std::string text, int id) {
  return {ControlClass::kStatic, kSsCenter | kWsGroup, id, box.x, box.y, box.cx, box.cy,
          std::move(text)};
}
ControlTemplate IconControl(Box box, int iconId) {
  return {ControlClass::kStatic, kSsIcon, kNoId, box.x, box.y, box.cx, box.cy,
          std::to_string(iconId)};
}
ControlTemplate DefaultButton(int id, Box box, std::string text) {
  return {ControlClass::kButton, kBsDefPushButton | kWsTabStop, id, box.x, box.y, box.cx, box.cy,
          std::move(text)};
}
ControlTemplate Button(int id, Box box, std::string text) {
  return {ControlClass::kButton, kBsPushButton | kWsTabStop, id, box.x, box.y, box.cx, box.cy,
          std::move(text)};
}
ControlTemplate CheckBox(int id, Box box, std::string text) {
  return {ControlClass::kButton, kBsAutoCheckBox | kWsTabStop, id, box.x, box.y, box.cx, box.cy,
          std::move(text)};
}
ControlTemplate GroupBox(Box box, std::string text) {
  return {ControlClass::kButton, kBsGroupBox, kNoId, box.x, box.y, box.cx, box.cy, std::move(text)};
}
// The architecture choice: two automatic radio buttons in one group, no tab
// stop, so that Windows keeps exactly one of them checked.
ControlTemplate Radio(int id, Box box, std::string text) {
  return {ControlClass::kButton, kBsAutoRadioButton, id, box.x, box.y, box.cx, box.cy,
          std::move(text)};
}
// The jack location: each radio button a group of its own, so that Windows
// clears neither; the dialog's click handlers keep them exclusive.
ControlTemplate LoneRadio(int id, Box box, std::string text) {
  return {ControlClass::kButton, kBsAutoRadioButton | kWsGroup, id, box.x, box.y, box.cx, box.cy,
          std::move(text)};
}

constexpr std::uint32_t kModalStyle = kDsModalFrame | kWsPopup | kWsCaption | kWsSysMenu;
constexpr char kSansSerif[] = "MS Sans Serif";

// The dialog font of each language's templates. The Far East templates name
// the usual dialog font of their Windows, which has the glyphs they need.
struct Font {
  const char* name;
  int size;
};
constexpr Font kWesternFont{kSansSerif, 12};
constexpr Font kChineseFont{"新細明體", 9};
constexpr Font kJapaneseFont{"ＭＳ Ｐゴシック", 9};
constexpr Font kKoreanFont{"굴림", 9};

// ---- About box (English only). ----

DialogTemplate AboutDialog() {
  return {kAboutDialog,
          kEnglish,
          235,
          55,
          kModalStyle,
          0,
          "About Setup",
          kSansSerif,
          8,
          {
              IconControl({11, 17, 20, 20}, kSetupIcon),
              Label({40, 10, 119, 8}, "Setup Version 2.5"),
              Label({40, 25, 119, 8}, "Copyright (C) 2001 Kestrix"),
              {ControlClass::kButton, kBsDefPushButton | kWsTabStop | kWsGroup, kIdOk, 178, 7, 50,
               14, "OK"},
          }};
}

// ---- Main dialog, five languages: one layout, a text table, and the two
// languages whose texts needed room. ----

struct MainDialogTexts {
  int language;
  Font font;
  const char* caption;
  const char* prompt;
  const char* installApps;
  const char* pleaseWait;
  const char* installDriver;
  const char* ok;
  const char* cancel;
};

const MainDialogTexts kMainDialogTexts[] = {
    {kEnglish, kWesternFont, "PCI Audio Device Driver And Applications Setup Program",
     "Please select the installation options:", "Install Applications", "Please wait .....",
     "Install Device Driver", "OK", "Cancel"},
    {kChineseTraditional, kChineseFont, "安裝 PCI 音效設備驅動程式與應用程式", "請選擇安裝選項：",
     "安裝應用程式", "請稍後‧‧‧", "安裝驅動程式", "確認", "取消"},
    {kFrench, kWesternFont,
     "Programme d'installation du pilote de peripherique Audio PCI et des applications",
     "Choisissez les options d'installation :", "Installer les applications",
     "Patientez quelques instants ...", "Installer le pilote de peripherique", "OK", "Annuler"},
    {kJapanese, kJapaneseFont, "PCI Audio ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞ/ｱﾌﾟﾘｹｰｼｮﾝ ｲﾝｽﾄｰﾙﾌﾟﾛｸﾞﾗﾑ ",
     "ｲﾝｽﾄｰﾙのｵﾌﾟｼｮﾝを選択してください:", "ｱﾌﾟﾘｹｰｼｮﾝをｲﾝｽﾄｰﾙする ", "お待ちください .....",
     "ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞをｲﾝｽﾄｰﾙする", "OK", "ｷｬﾝｾﾙ "},
    {kKorean, kKoreanFont, "PCI Audio 드라이버 및 응용프로그램 설치",
     "설치 옵션을 선택하여 주십시오:", "응용프로그램 설치", "잠시만 기다려 주십시오 .....",
     "드라이버 설치", "네", "닫기"},
};

struct MainDialogLayout {
  int cx, cy;
  Box prompt, group, installApps, pleaseWait, installDriver, ok, cancel;
  bool centredWait;
};

constexpr MainDialogLayout kMainLayout{169,
                                       125,
                                       {5, 10, 130, 8},
                                       {5, 20, 160, 60},
                                       {20, 35, 96, 10},
                                       {65, 45, 71, 8},
                                       {20, 60, 96, 10},
                                       {25, 100, 50, 14},
                                       {90, 100, 50, 14},
                                       false};
// French: wider, for the longer texts.
constexpr MainDialogLayout kMainLayoutFrench{189,
                                             126,
                                             {5, 10, 175, 8},
                                             {5, 20, 179, 60},
                                             {20, 35, 150, 10},
                                             {40, 45, 130, 8},
                                             {20, 60, 150, 10},
                                             {35, 102, 50, 14},
                                             {105, 102, 50, 14},
                                             false};
// Korean: the longer wait text centred in the group box.
constexpr MainDialogLayout kMainLayoutKorean{169,
                                             125,
                                             {5, 10, 130, 8},
                                             {5, 20, 160, 60},
                                             {20, 35, 96, 10},
                                             {25, 45, 120, 8},
                                             {20, 60, 96, 10},
                                             {25, 100, 50, 14},
                                             {90, 100, 50, 14},
                                             true};

DialogTemplate MainDialog(const MainDialogTexts& t) {
  const MainDialogLayout& l = t.language == kFrench   ? kMainLayoutFrench
                              : t.language == kKorean ? kMainLayoutKorean
                                                      : kMainLayout;
  return {kMainDialog,
          t.language,
          l.cx,
          l.cy,
          kModalStyle,
          kWsExAppWindow,
          t.caption,
          t.font.name,
          t.font.size,
          {
              Label(l.prompt, t.prompt),
              GroupBox(l.group, ""),
              CheckBox(kInstallAppsBox, l.installApps, t.installApps),
              l.centredWait ? CentredLabel(l.pleaseWait, t.pleaseWait, kWaitText)
                            : Label(l.pleaseWait, t.pleaseWait, kWaitText),
              CheckBox(kInstallDriverBox, l.installDriver, t.installDriver),
              DefaultButton(kIdOk, l.ok, t.ok),
              Button(kIdCancel, l.cancel, t.cancel),
          }};
}

// ---- Architecture choice, five languages. ----

struct ArchitectureTexts {
  int language;
  Font font;
  const char* caption;
  const char* ok;
  const char* cancel;
  const char* vxd;
  const char* wdm;
  const char* prompt;
  const char* vxdLine1;
  const char* vxdLine2;
  const char* wdmLine1;
  const char* wdmLine2;
  const char* noteLine1;
  const char* noteLine2;
};

const ArchitectureTexts kArchitectureTexts[] = {
    {kEnglish, kWesternFont, "Windows 98SE/ME device-driver architecture selection", "OK", "Cancel",
     "Virtual-Device (VxD)", "Win32 Driver Model (WDM) ", "Please select a driver architecture:",
     "Provide comprehensive support on SPDIF. Recommended for ", "MiniDisc player users.",
     "Provide support on playback environment and speakers setup.",
     "Recommended for general users.",
     "Note: Windows 98 SE system disc is required for installing the",
     "WDM driver under Windows 98 SE."},
    {kChineseTraditional, kChineseFont, "Windows 98SE/ME 驅動程式架構選擇", "確認", "取消",
     "虛擬裝置驅動程式 (VxD)", "Win32 驅動程式模型 (WDM) ", "請選擇驅動程式架構：",
     "完整支援 SPDIF 數位輸出，建議 MiniDisc", "播放機的使用者選用。", "支援播放環境與喇叭設定。",
     "建議一般使用者選用。", "注意：在 Windows 98 SE 下安裝 WDM 驅動程式時，",
     "需要 Windows 98 SE 系統光碟。"},
    {kFrench, kWesternFont, "Choix de l'architecture du pilote pour Windows 98SE/ME", "OK",
     "Annuler", "Peripherique virtuel (VxD)", "Modele de pilote Win32 (WDM) ",
     "Choisissez une architecture de pilote :",
     "Prise en charge complete du SPDIF. Recommande pour les", "utilisateurs de lecteurs MiniDisc.",
     "Prise en charge de l'environnement et des haut-parleurs.",
     "Recommande pour la plupart des utilisateurs.",
     "Remarque : le disque de Windows 98 SE est necessaire pour",
     "installer le pilote WDM sous Windows 98 SE."},
    {kJapanese, kJapaneseFont, "Windows 98SE/ME ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞ ｱｰｷﾃｸﾁｬの選択", "OK", "ｷｬﾝｾﾙ ",
     "仮想ﾃﾞﾊﾞｲｽ (VxD)", "Win32 ﾄﾞﾗｲﾊﾞ ﾓﾃﾞﾙ (WDM) ", "ﾄﾞﾗｲﾊﾞ ｱｰｷﾃｸﾁｬを選択してください:",
     "SPDIF を完全にｻﾎﾟｰﾄします。MiniDisc ﾌﾟﾚｰﾔｰを", "お使いの方にお勧めします。",
     "再生環境とｽﾋﾟｰｶｰ設定をｻﾎﾟｰﾄします。", "一般のﾕｰｻﾞｰにお勧めします。",
     "注意: Windows 98 SE で WDM ﾄﾞﾗｲﾊﾞをｲﾝｽﾄｰﾙするには", "Windows 98 SE のｼｽﾃﾑ ﾃﾞｨｽｸが必要です。"},
    {kKorean, kKoreanFont, "Windows 98SE/ME 드라이버 구조 선택", "확인", "취소", "가상 장치 (VxD)",
     "Win32 드라이버 모델 (WDM) ",
     "드라이버 구조를 선택하여 주십시오:", "SPDIF를 완벽하게 지원합니다. MiniDisc 플레이어",
     "사용자에게 권장합니다.", "재생 환경과 스피커 설정을 지원합니다.",
     "일반 사용자에게 권장합니다.", "참고: Windows 98 SE에서 WDM 드라이버를 설치하려면",
     "Windows 98 SE 시스템 디스크가 필요합니다."},
};

DialogTemplate ArchitectureDialog(const ArchitectureTexts& t) {
  // Korean: a little wider, the buttons moved to stay centred.
  const bool korean = t.language == kKorean;
  return {kArchitectureDialog,
          t.language,
          korean ? 240 : 229,
          korean ? 171 : 170,
          kModalStyle | kWsVisible,
          kWsExAppWindow,
          t.caption,
          t.font.name,
          t.font.size,
          {
              DefaultButton(kIdOk, {korean ? 65 : 60, 150, 50, 14}, t.ok),
              Button(kIdCancel, {korean ? 125 : 120, 150, 50, 14}, t.cancel),
              GroupBox({5, 15, korean ? 230 : 220, 125}, ""),
              Radio(kVxdRadio, {15, 25, 120, 10}, t.vxd),
              Radio(kWdmRadio, {15, 70, 130, 10}, t.wdm),
              Label({5, 5, 115, 8}, t.prompt),
              Label({35, 40, 185, 8}, t.vxdLine1),
              Label({35, 50, 90, 8}, t.vxdLine2),
              Label({35, 85, 185, 8}, t.wdmLine1),
              Label({35, 95, 140, 8}, t.wdmLine2),
              Label({35, 115, 185, 8}, t.noteLine1),
              Label({35, 125, 155, 8}, t.noteLine2),
          }};
}

// ---- The two driver option dialogs of the web-setup mode (English only). ----

constexpr char kIntroLine1[] =
    "You can install the driver by using the default options, or select the";
constexpr char kIntroLine2[] = "following options which your audio device uses. And then press";
constexpr char kIntroLine3[] = "[Install] to start the installation.";
constexpr char kNoteLine1[] =
    "Note: If you are not familiar with the hardware specifications, and are ";
constexpr char kNoteLine2[] = "using a  pair of speakers, we suggest you use the default setting.";
constexpr char kReadmeLine[] = "For more information, please refer the Readme.txt.";
constexpr char kJacksOnMotherboardText[] = "4720 in MotherBoard";
constexpr char kLineInRearText[] = "Line-in and rear speaker output share the same jack.";
constexpr char kLineInCenterText[] = "Line-in and Center/Subwoofer share the same jack.";
constexpr char kMicSubwooferText[] = "Microphone and Subwoofer share the same jack.";
constexpr char kJacksOnSoundCardText[] = "4720 in sound card (rear speakers jack individually)";

DialogTemplate VxdOptionsDialog() {
  return {kVxdOptionsDialog,
          kEnglish,
          212,
          210,
          kModalStyle | kWsVisible,
          kWsExAppWindow,
          "PCI Audio Device Driver Setup Program for Windows 95/98/ME",
          kSansSerif,
          12,
          {
              DefaultButton(kIdOk, {50, 192, 50, 14}, "Install"),
              Button(kIdCancel, {111, 192, 50, 14}, "Cancel"),
              Label({10, 4, 201, 10}, kIntroLine1),
              CheckBox(kLegacyPortBox, {10, 119, 94, 10}, "Disable MIDI port (device)"),
              CheckBox(kGamePortBox, {10, 130, 99, 10}, "Disable GAME port (device)"),
              Label({10, 26, 136, 8}, kIntroLine3),
              Label({10, 15, 181, 8}, kIntroLine2),
              GroupBox({10, 39, 195, 76}, "Phone Jacks"),
              LoneRadio(kJacksOnMotherboard, {20, 49, 76, 10}, kJacksOnMotherboardText),
              CheckBox(kLineInSharesRear, {35, 61, 161, 10}, kLineInRearText),
              CheckBox(kLineInSharesCenter, {35, 73, 158, 10}, kLineInCenterText),
              CheckBox(kMicSharesSubwoofer, {35, 85, 152, 10}, kMicSubwooferText),
              LoneRadio(kJacksOnSoundCard, {20, 102, 180, 10}, kJacksOnSoundCardText),
              Label({10, 149, 200, 8}, kNoteLine1),
              Label({10, 159, 200, 8}, kNoteLine2),
              Label({10, 176, 160, 8}, kReadmeLine),
          }};
}

DialogTemplate WdmOptionsDialog() {
  return {
      kWdmOptionsDialog,
      kEnglish,
      234,
      200,
      kModalStyle | kWsVisible,
      kWsExAppWindow,
      "PCI Audio Device Driver Setup Program for Windows 98 SE/ME",
      kSansSerif,
      12,
      {
          DefaultButton(kIdOk, {65, 180, 50, 14}, "Install"),
          Button(kIdCancel, {126, 180, 50, 14}, "Cancel"),
          Label({10, 4, 220, 10}, kIntroLine1),
          Label({10, 15, 220, 8}, kIntroLine2),
          Label({10, 26, 136, 8}, kIntroLine3),
          GroupBox({10, 39, 215, 76}, "Phone Jacks"),
          LoneRadio(kJacksOnMotherboard, {20, 49, 76, 10}, kJacksOnMotherboardText),
          CheckBox(kLineInSharesRear, {35, 61, 185, 10}, kLineInRearText),
          CheckBox(kLineInSharesCenter, {35, 73, 185, 10}, kLineInCenterText),
          CheckBox(kMicSharesSubwoofer, {35, 85, 185, 10}, kMicSubwooferText),
          LoneRadio(kJacksOnSoundCard, {20, 102, 195, 10}, kJacksOnSoundCardText),
          CheckBox(kLegacyPortBox, {10, 119, 195, 10}, "Disable legacy device (MIDI/GAME port)"),
          Label({10, 135, 200, 8}, kNoteLine1),
          Label({10, 145, 200, 8}, kNoteLine2),
          Label({10, 162, 160, 8}, kReadmeLine),
      }};
}

std::vector<DialogTemplate> BuildTemplates() {
  std::vector<DialogTemplate> all;
  all.push_back(AboutDialog());
  for (const MainDialogTexts& texts : kMainDialogTexts) all.push_back(MainDialog(texts));
  all.push_back(VxdOptionsDialog());
  for (const ArchitectureTexts& texts : kArchitectureTexts) {
    all.push_back(ArchitectureDialog(texts));
  }
  all.push_back(WdmOptionsDialog());
  return all;
}

}  // namespace

const std::vector<DialogTemplate>& DialogTemplates() {
  static const std::vector<DialogTemplate> templates = BuildTemplates();
  return templates;
}

const DialogTemplate* FindDialogTemplate(int dialogId, int language) {
  for (const DialogTemplate& dialog : DialogTemplates()) {
    if (dialog.id == dialogId && dialog.language == language) return &dialog;
  }
  return nullptr;
}

const std::vector<StringResource>& StringResources() {
  static const std::vector<StringResource> strings = {{kAboutMenuString, "&About Setup..."}};
  return strings;
}

}  // namespace kx::res
