#include "res/resource_script.h"

#include <utility>
#include <vector>

#include "res/dialog_templates.h"
#include "res/resource_ids.h"

namespace kx::res {

namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') {
      out += "\"\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string LanguageLine(int language) {
  static const char kHex[] = "0123456789abcdef";
  auto hex = [](int value) {
    return std::string("0x") + kHex[(value >> 4) & 0xF] + kHex[value & 0xF];
  };
  return "LANGUAGE " + hex(language & 0x3FF) + ", " + hex(language >> 10) + "\n";
}

using StyleNames = std::vector<std::pair<std::uint32_t, const char*>>;

// Names the set bits in the given order; bits without a name are an error of
// the table and show up as a hexadecimal rest.
std::string NameStyle(std::uint32_t style, const StyleNames& names) {
  std::string out;
  for (const auto& [bits, name] : names) {
    if ((style & bits) == bits && bits != 0) {
      if (!out.empty()) out += " | ";
      out += name;
      style &= ~bits;
    }
  }
  if (style != 0) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string rest = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) rest += kHex[(style >> shift) & 0xF];
    if (!out.empty()) out += " | ";
    out += rest;
  }
  return out.empty() ? "0" : out;
}

std::string DialogStyle(std::uint32_t style) {
  return NameStyle(style, {{kDsModalFrame, "DS_MODALFRAME"},
                           {kWsPopup, "WS_POPUP"},
                           {kWsVisible, "WS_VISIBLE"},
                           {kWsCaption, "WS_CAPTION"},
                           {kWsSysMenu, "WS_SYSMENU"}});
}

std::string ControlStyle(const ControlTemplate& control) {
  std::uint32_t classStyle = control.style & 0xFFFF;
  const char* className = nullptr;
  if (control.windowClass == ControlClass::kButton) {
    switch (classStyle) {
      case kBsPushButton:
        className = "BS_PUSHBUTTON";
        break;
      case kBsDefPushButton:
        className = "BS_DEFPUSHBUTTON";
        break;
      case kBsAutoCheckBox:
        className = "BS_AUTOCHECKBOX";
        break;
      case kBsGroupBox:
        className = "BS_GROUPBOX";
        break;
      case kBsAutoRadioButton:
        className = "BS_AUTORADIOBUTTON";
        break;
    }
  } else {
    switch (classStyle) {
      case kSsLeft:
        className = "SS_LEFT";
        break;
      case kSsCenter:
        className = "SS_CENTER";
        break;
      case kSsIcon:
        className = "SS_ICON";
        break;
    }
  }
  std::string out = className != nullptr ? className : NameStyle(classStyle, {});
  std::string rest =
      NameStyle(control.style & 0xFFFF0000u,
                {{kWsGroup, "WS_GROUP"}, {kWsTabStop, "WS_TABSTOP"}, {kWsDisabled, "WS_DISABLED"}});
  if (rest != "0") out += " | " + rest;
  return out;
}

std::string Rect(int x, int y, int cx, int cy) {
  return std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(cx) + ", " +
         std::to_string(cy);
}

std::string ControlLine(const ControlTemplate& control) {
  std::string id = std::to_string(control.id);
  std::string rect = Rect(control.x, control.y, control.cx, control.cy);
  if (control.windowClass == ControlClass::kStatic && (control.style & 0xFFFF) == kSsIcon) {
    // The icon control names its icon by number, as the ICON statement does.
    return "    ICON " + control.text + ", " + id + ", " + rect + "\n";
  }
  const char* windowClass = control.windowClass == ControlClass::kButton ? "Button" : "Static";
  return "    CONTROL " + Quoted(control.text) + ", " + id + ", \"" + windowClass + "\", " +
         ControlStyle(control) + ", " + rect + "\n";
}

std::string DialogBlock(const DialogTemplate& dialog) {
  std::string out = LanguageLine(dialog.language);
  out += std::to_string(dialog.id) + " DIALOG 0, 0, " + std::to_string(dialog.cx) + ", " +
         std::to_string(dialog.cy) + "\n";
  out += "STYLE " + DialogStyle(dialog.style) + "\n";
  if (dialog.exStyle != 0) {
    out += "EXSTYLE " + NameStyle(dialog.exStyle, {{kWsExAppWindow, "WS_EX_APPWINDOW"}}) + "\n";
  }
  out += "CAPTION " + Quoted(dialog.caption) + "\n";
  out += "FONT " + std::to_string(dialog.fontSize) + ", " + Quoted(dialog.fontName) + "\n";
  out += "BEGIN\n";
  for (const ControlTemplate& control : dialog.controls) out += ControlLine(control);
  out += "END\n";
  return out;
}

}  // namespace

std::string WriteResourceScript(const std::string& iconFile) {
  std::string out =
      "// Setup's resources: dialogs, the system-menu string and the icon.\n"
      "// Written from the tables in src/res/dialog_templates.cc by\n"
      "// kx::res::WriteResourceScript; change the tables, then rewrite this file\n"
      "// (scripts/write-resource-script).\n"
      "#pragma code_page(65001)\n"
      "#include <windows.h>\n\n";
  out += LanguageLine(kEnglish);
  out += std::to_string(kSetupIcon) + " ICON " + Quoted(iconFile) + "\n\n";
  out += LanguageLine(kEnglish);
  out += "STRINGTABLE\nBEGIN\n";
  for (const StringResource& string : StringResources()) {
    out += "    " + std::to_string(string.id) + ", " + Quoted(string.text) + "\n";
  }
  out += "END\n";
  for (const DialogTemplate& dialog : DialogTemplates()) out += "\n" + DialogBlock(dialog);
  return out;
}

}  // namespace kx::res
