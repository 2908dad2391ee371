#include "sim/machine/machine_action.h"

#include <array>

#include "platform/text.h"

namespace kx::sim {
namespace {

bool Fail(std::string* error, std::string message) {
  if (error) *error = std::move(message);
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Splits the words of an action: blank-separated words and quoted texts
// ("" inside quotes is one quote).
struct Token {
  std::string text;
  bool quoted = false;
};

bool Tokenise(std::string_view line, std::vector<Token>* tokens, std::string* error) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    Token token;
    if (line[i] == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            token.text += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        token.text += line[i++];
      }
      if (!closed) return Fail(error, "a quoted text is not closed");
    } else {
      while (i < line.size() && !IsBlank(line[i])) token.text += line[i++];
    }
    tokens->push_back(std::move(token));
  }
  return true;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// A value name as a REGEDIT4 file writes it.
std::string RegName(std::string_view name) {
  if (name.empty()) return "@";
  std::string out = "\"";
  for (char c : name) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool IsWord(const Token& token, std::string_view word) {
  return !token.quoted && EqualsIgnoreCase(token.text, word);
}

// The text after the first two words of an action ("set value ...").
std::string_view AfterWords(std::string_view line, int words) {
  std::size_t i = 0;
  for (int w = 0; w < words; ++w) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
  }
  return Trim(line.substr(i));
}

// A KEY or PATH that runs to the end of the line, optionally quoted.
std::string RestAsPath(std::string_view rest) {
  rest = Trim(rest);
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
    rest = rest.substr(1, rest.size() - 2);
  }
  return std::string(rest);
}

bool ParseKey(std::string_view text, std::string* key, std::string* error) {
  const std::string path = RestAsPath(text);
  if (path.empty()) return Fail(error, "a registry key is missing");
  if (!ExpandRootKeyName(path, key)) {
    return Fail(error,
                "registry key '" + path +
                    "' does not start with a root key (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, "
                    "HKEY_USERS, HKEY_CLASSES_ROOT)");
  }
  return true;
}

// KEY followed by "Name" or @ (and for set value "=DATA"): the key ends where
// the value name begins.
bool SplitKeyAndValue(std::string_view rest, std::string* key, std::string_view* value,
                      std::string* error) {
  std::size_t split = rest.find('"');
  const std::size_t at = rest.find(" @");
  if (at != std::string_view::npos && (split == std::string_view::npos || at < split)) {
    split = at + 1;
  }
  if (split == std::string_view::npos)
    return Fail(error, "a value name (\"Name\" or @) is missing");
  if (!ParseKey(rest.substr(0, split), key, error)) return false;
  *value = Trim(rest.substr(split));
  return true;
}

// Reads "Name" (REGEDIT4 escapes) or @ from the start of text.
bool ParseValueName(std::string_view* text, std::string* name, std::string* error) {
  if (!text->empty() && text->front() == '@') {
    name->clear();
    text->remove_prefix(1);
    return true;
  }
  std::size_t i = 1;
  std::string out;
  while (i < text->size() && (*text)[i] != '"') {
    if ((*text)[i] == '\\' && i + 1 < text->size()) ++i;
    out += (*text)[i++];
  }
  if (i >= text->size()) return Fail(error, "the value name's quotes are not closed");
  *name = out;
  text->remove_prefix(i + 1);
  return true;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool LooksLikeRegData(std::string_view data) {
  if (data.size() >= 2 && data.front() == '"' && data.back() == '"') return true;
  if (StartsWithIgnoreCase(data, "dword:")) {
    const std::string_view digits = data.substr(6);
    if (digits.empty() || digits.size() > 8) return false;
    for (char c : digits) {
      if (!IsHexDigit(c)) return false;
    }
    return true;
  }
  if (StartsWithIgnoreCase(data, "hex")) {
    const std::size_t colon = data.find(':');
    if (colon == std::string_view::npos) return false;
    for (char c : data.substr(colon + 1)) {
      if (!IsHexDigit(c) && c != ',' && c != ' ') return false;
    }
    return true;
  }
  return false;
}

bool ParseWindowMatch(const std::vector<Token>& tokens, std::size_t i, MachineAction* action,
                      bool opening, std::string* error) {
  if (i < tokens.size() && !IsWord(tokens[i], "class") && !IsWord(tokens[i], "ignores")) {
    action->title = tokens[i].text;
    action->matchTitle = true;
    ++i;
  }
  while (i < tokens.size()) {
    if (IsWord(tokens[i], "class") && i + 1 < tokens.size()) {
      action->className = tokens[i + 1].text;
      action->matchClass = true;
      i += 2;
    } else if (opening && IsWord(tokens[i], "ignores") && i + 1 < tokens.size() &&
               IsWord(tokens[i + 1], "WM_CLOSE")) {
      action->onClose = CloseBehaviour::kIgnores;
      i += 2;
    } else {
      return Fail(error, "unexpected '" + tokens[i].text + "' (expected class \"Class\"" +
                             std::string(opening ? " or ignores WM_CLOSE)" : ")"));
    }
  }
  if (opening && !action->matchTitle) return Fail(error, "the window's title is missing");
  if (!opening && !action->matchTitle && !action->matchClass) {
    return Fail(error, "say which window: a title, a class or both");
  }
  return true;
}

}  // namespace

bool ExpandRootKeyName(std::string_view key, std::string* full) {
  static constexpr std::array<std::array<const char*, 2>, 4> kRoots{{
      {"HKLM", "HKEY_LOCAL_MACHINE"},
      {"HKCU", "HKEY_CURRENT_USER"},
      {"HKU", "HKEY_USERS"},
      {"HKCR", "HKEY_CLASSES_ROOT"},
  }};
  const std::size_t slash = key.find('\\');
  const std::string_view root = key.substr(0, slash);
  const std::string_view rest = slash == std::string_view::npos ? "" : key.substr(slash);
  for (const auto& names : kRoots) {
    if (EqualsIgnoreCase(root, names[0]) || EqualsIgnoreCase(root, names[1])) {
      *full = std::string(names[1]) + std::string(rest);
      while (!full->empty() && full->back() == '\\') full->pop_back();
      return true;
    }
  }
  return false;
}

bool ParseMachineAction(std::string_view line, MachineAction* out, std::string* error) {
  line = Trim(line);
  std::vector<Token> tokens;
  if (!Tokenise(line, &tokens, error)) return false;
  if (tokens.size() < 2) return Fail(error, "'" + std::string(line) + "' is not an action");
  MachineAction action;
  const Token& verb = tokens[0];
  const Token& noun = tokens[1];
  const std::string_view rest = AfterWords(line, 2);

  if (IsWord(verb, "open") && IsWord(noun, "window")) {
    action.kind = ActionKind::kOpenWindow;
    if (!ParseWindowMatch(tokens, 2, &action, true, error)) return false;
  } else if (IsWord(verb, "close") && IsWord(noun, "window")) {
    action.kind = ActionKind::kCloseWindow;
    if (!ParseWindowMatch(tokens, 2, &action, false, error)) return false;
  } else if (IsWord(verb, "mixer") && IsWord(noun, "devices")) {
    action.kind = ActionKind::kSetMixerDevices;
    if (tokens.size() != 3 || tokens[2].text.empty() || tokens[2].text.size() > 4 ||
        tokens[2].text.find_first_not_of("0123456789") != std::string::npos) {
      return Fail(error, "mixer devices needs a number from 0 to 9999");
    }
    action.count = static_cast<UINT>(std::stoul(tokens[2].text));
  } else if (IsWord(verb, "set") && IsWord(noun, "value")) {
    action.kind = ActionKind::kSetValue;
    std::string_view value;
    if (!SplitKeyAndValue(rest, &action.key, &value, error)) return false;
    if (!ParseValueName(&value, &action.valueName, error)) return false;
    value = Trim(value);
    if (value.empty() || value.front() != '=') return Fail(error, "'=' and the data are missing");
    value = Trim(value.substr(1));
    if (!LooksLikeRegData(value)) {
      return Fail(error, "data '" + std::string(value) +
                             "' is not written as in a REGEDIT4 file (\"text\", dword:, hex:)");
    }
    action.data = std::string(value);
  } else if (IsWord(verb, "delete") && IsWord(noun, "value")) {
    action.kind = ActionKind::kDeleteValue;
    std::string_view value;
    if (!SplitKeyAndValue(rest, &action.key, &value, error)) return false;
    if (!ParseValueName(&value, &action.valueName, error)) return false;
    if (!Trim(value).empty()) return Fail(error, "unexpected '" + std::string(Trim(value)) + "'");
  } else if ((IsWord(verb, "create") || IsWord(verb, "delete")) && IsWord(noun, "key")) {
    action.kind = IsWord(verb, "create") ? ActionKind::kCreateKey : ActionKind::kDeleteKey;
    if (!ParseKey(rest, &action.key, error)) return false;
  } else if (IsWord(verb, "add") && IsWord(noun, "device")) {
    action.kind = ActionKind::kAddDevice;
    if (tokens.size() < 5 || !IsWord(tokens[3], "ids")) {
      return Fail(error, "write add device \"INSTANCE\" ids \"ID\" ...");
    }
    action.instanceId = tokens[2].text;
    std::size_t i = 4;
    for (; i < tokens.size(); ++i) {
      if (IsWord(tokens[i], "removal")) break;
      action.hardwareIds.push_back(tokens[i].text);
    }
    if (i < tokens.size()) {
      if (i + 2 != tokens.size() || !IsWord(tokens[i + 1], "fails")) {
        return Fail(error, "expected 'removal fails' at the end");
      }
      action.removalFails = true;
    }
    if (action.hardwareIds.empty()) return Fail(error, "the device has no hardware id");
  } else if (IsWord(verb, "remove") && IsWord(noun, "device")) {
    action.kind = ActionKind::kRemoveDevice;
    action.instanceId = RestAsPath(rest);
    if (action.instanceId.empty()) return Fail(error, "the device's instance id is missing");
  } else if (IsWord(verb, "write") && IsWord(noun, "file")) {
    action.kind = ActionKind::kWriteFile;
    const std::size_t quote = rest.find('"');
    if (quote == std::string_view::npos)
      return Fail(error, "the file's text (in quotes) is missing");
    action.path = std::string(Trim(rest.substr(0, quote)));
    std::vector<Token> text;
    if (!Tokenise(rest.substr(quote), &text, error)) return false;
    if (text.size() != 1 || !text[0].quoted) {
      return Fail(error, "the file's text must be one quoted text");
    }
    action.text = text[0].text;
    if (action.path.empty()) return Fail(error, "the file's path is missing");
  } else if (IsWord(verb, "delete") && IsWord(noun, "file")) {
    action.kind = ActionKind::kDeleteFile;
    action.path = RestAsPath(rest);
    if (action.path.empty()) return Fail(error, "the file's path is missing");
  } else {
    return Fail(error, "unknown action '" + verb.text + " " + noun.text + "'");
  }
  *out = std::move(action);
  return true;
}

std::string FormatMachineAction(const MachineAction& a) {
  std::string out;
  switch (a.kind) {
    case ActionKind::kOpenWindow:
    case ActionKind::kCloseWindow:
      out = a.kind == ActionKind::kOpenWindow ? "open window" : "close window";
      if (a.matchTitle) out += " " + Quote(a.title);
      if (a.matchClass) out += " class " + Quote(a.className);
      if (a.kind == ActionKind::kOpenWindow && a.onClose == CloseBehaviour::kIgnores) {
        out += " ignores WM_CLOSE";
      }
      return out;
    case ActionKind::kSetMixerDevices:
      return "mixer devices " + std::to_string(a.count);
    case ActionKind::kSetValue:
      return "set value " + a.key + " " + RegName(a.valueName) + "=" + a.data;
    case ActionKind::kDeleteValue:
      return "delete value " + a.key + " " + RegName(a.valueName);
    case ActionKind::kCreateKey:
      return "create key " + a.key;
    case ActionKind::kDeleteKey:
      return "delete key " + a.key;
    case ActionKind::kAddDevice:
      out = "add device " + Quote(a.instanceId) + " ids";
      for (const std::string& id : a.hardwareIds) out += " " + Quote(id);
      if (a.removalFails) out += " removal fails";
      return out;
    case ActionKind::kRemoveDevice:
      return "remove device " + Quote(a.instanceId);
    case ActionKind::kWriteFile:
      return "write file " + a.path + " " + Quote(a.text);
    case ActionKind::kDeleteFile:
      return "delete file " + a.path;
  }
  return out;
}

std::string RegistryActionAsRegFile(const MachineAction& a) {
  std::string body;
  switch (a.kind) {
    case ActionKind::kSetValue:
      body = "[" + a.key + "]\r\n" + RegName(a.valueName) + "=" + a.data + "\r\n";
      break;
    case ActionKind::kDeleteValue:
      body = "[" + a.key + "]\r\n" + RegName(a.valueName) + "=-\r\n";
      break;
    case ActionKind::kCreateKey:
      body = "[" + a.key + "]\r\n";
      break;
    case ActionKind::kDeleteKey:
      body = "[-" + a.key + "]\r\n";
      break;
    default:
      return {};
  }
  return "REGEDIT4\r\n\r\n" + body;
}

}  // namespace kx::sim
