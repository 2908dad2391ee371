// Setup's dialog templates as data: every dialog, language, control,
// position, style and text. Setup.exe gets them from its resource script,
// which is written from this table (WriteResourceScript) and checked against
// it by a test; the simulated PC can build its dialogs from the same table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx::res {

// Window and control styles, with the values Windows gives them.
inline constexpr std::uint32_t kWsPopup = 0x80000000u;
inline constexpr std::uint32_t kWsChild = 0x40000000u;
inline constexpr std::uint32_t kWsVisible = 0x10000000u;
inline constexpr std::uint32_t kWsDisabled = 0x08000000u;
inline constexpr std::uint32_t kWsCaption = 0x00C00000u;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000u;
inline constexpr std::uint32_t kWsGroup = 0x00020000u;
inline constexpr std::uint32_t kWsTabStop = 0x00010000u;
inline constexpr std::uint32_t kDsModalFrame = 0x0080u;
inline constexpr std::uint32_t kWsExAppWindow = 0x00040000u;

inline constexpr std::uint32_t kBsPushButton = 0x0;
inline constexpr std::uint32_t kBsDefPushButton = 0x1;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x3;
inline constexpr std::uint32_t kBsGroupBox = 0x7;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x9;
inline constexpr std::uint32_t kSsLeft = 0x0;
inline constexpr std::uint32_t kSsCenter = 0x1;
inline constexpr std::uint32_t kSsIcon = 0x3;

enum class ControlClass { kButton, kStatic };

struct ControlTemplate {
  ControlClass windowClass;
  // Class style and window styles other than WS_CHILD | WS_VISIBLE, which
  // every control has.
  std::uint32_t style;
  int id;            // kNoId for controls nobody addresses
  int x, y, cx, cy;  // dialog units
  std::string text;  // UTF-8; for an icon control the icon's resource number
};

struct DialogTemplate {
  int id;
  int language;  // Windows language id
  int cx, cy;    // dialog units
  std::uint32_t style;
  std::uint32_t exStyle;
  std::string caption;                    // UTF-8
  std::string fontName;                   // UTF-8
  int fontSize;                           // points
  std::vector<ControlTemplate> controls;  // in template (tab) order

  const ControlTemplate* Control(int controlId) const;
};

// Every template, dialogs in ascending id, languages in a fixed order.
const std::vector<DialogTemplate>& DialogTemplates();

// The template of a dialog in a language, or null when that language has none.
const DialogTemplate* FindDialogTemplate(int dialogId, int language);

// The string resources (English only): number and UTF-8 text.
struct StringResource {
  int id;
  std::string text;
};
const std::vector<StringResource>& StringResources();

}  // namespace kx::res
