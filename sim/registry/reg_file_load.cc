// Reading registry files. The file is parsed into a copy of the target
// registry, which replaces the target only when every line was accepted.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "sim/registry/ansi_code_page.h"
#include "sim/registry/reg_file.h"

namespace kx::sim {
namespace {

constexpr std::string_view kAnsiHeader = "REGEDIT4";
constexpr std::string_view kUnicodeHeader = "Windows Registry Editor Version 5.00";

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A number of 1 to maxDigits hex digits and nothing else.
bool ParseHexNumber(std::string_view text, std::size_t maxDigits, DWORD* value) {
  if (text.empty() || text.size() > maxDigits) return false;
  DWORD result = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    result = (result << 4) | static_cast<DWORD>(digit);
  }
  *value = result;
  return true;
}

std::string HexCode(char32_t c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out = "U+";
  const int digits = c > 0xFFFF ? 6 : 4;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kDigits[(c >> shift) & 0xF];
  return out;
}

// A problem found at a line of the file.
struct Problem {
  int line = 0;
  std::string what;
};

// Converts UTF-16 LE (after its byte-order mark) to ANSI text.
bool DecodeUtf16(std::string_view bytes, std::string* text, Problem* problem) {
  text->clear();
  text->reserve(bytes.size() / 2);
  int line = 1;
  auto unit = [&bytes](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
  };
  const std::size_t end = bytes.size() - bytes.size() % 2;
  for (std::size_t i = 0; i < end; i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c <= 0xDBFF && i + 2 < end && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      } else {
        *problem = {line, "invalid UTF-16 text (a lone surrogate)"};
        return false;
      }
    }
    const int ansi = UnicodeToAnsi(c);
    if (ansi < 0) {
      *problem = {line, "character " + HexCode(c) +
                            " has no equivalent in the ANSI code page (Windows-1252)"};
      return false;
    }
    text->push_back(static_cast<char>(ansi));
    if (ansi == '\n') ++line;
  }
  if (end != bytes.size()) {
    *problem = {line, "UTF-16 text ends in the middle of a character"};
    return false;
  }
  return true;
}

// Converts the UTF-16 data of a string value of a Version 5.00 file to ANSI.
bool Utf16DataToAnsi(std::string_view data, std::string* out, std::string* what) {
  if (data.size() % 2 != 0) {
    *what = "UTF-16 string data of an odd number of bytes";
    return false;
  }
  Problem problem;
  if (!DecodeUtf16(data, out, &problem)) {
    *what = "string data: " + problem.what;
    return false;
  }
  return true;
}

class Loader {
 public:
  Loader(Registry& work, bool unicode) : work_(work), unicode_(unicode) {}

  bool Run(std::string_view text) {
    SplitLines(text);
    if (!CheckHeader()) return false;
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
      const auto line = 1 + std::count(text.begin(), text.begin() + nul, '\n');
      return Fail(static_cast<int>(line), "NUL character in the file");
    }
    for (next_ = 1; next_ < lines_.size();) {
      const std::size_t index = next_++;
      const std::string_view line = Trim(lines_[index]);
      const int number = static_cast<int>(index) + 1;
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[') {
        if (!KeyLine(line, number)) return false;
      } else if (line.front() == '"' || line.front() == '@') {
        if (!ValueLine(line, number)) return false;
      } else {
        return Fail(number, "not a key, value or comment line");
      }
    }
    return true;
  }

  const Problem& problem() const { return problem_; }

 private:
  bool Fail(int line, std::string what) {
    problem_ = {line, std::move(what)};
    return false;
  }

  void SplitLines(std::string_view text) {
    for (;;) {
      const std::size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
      if (text.empty()) break;  // the last line's end, not an empty line after it
    }
  }

  bool CheckHeader() {
    const std::string_view header = Trim(lines_[0]);
    if (header == (unicode_ ? kUnicodeHeader : kAnsiHeader)) return true;
    if (unicode_ && header == kAnsiHeader) {
      return Fail(1, "a REGEDIT4 file must be ANSI text, not UTF-16");
    }
    if (!unicode_ && header == kUnicodeHeader) {
      return Fail(1,
                  "a \"Windows Registry Editor Version 5.00\" file must be UTF-16 text "
                  "with a byte-order mark");
    }
    return Fail(1, std::string("not a registry file: the first line must be ") +
                       (unicode_ ? "\"Windows Registry Editor Version 5.00\"" : "REGEDIT4"));
  }

  bool KeyLine(std::string_view line, int number) {
    if (line.size() < 2 || line.back() != ']') return Fail(number, "key line does not end in ]");
    std::string_view path = line.substr(1, line.size() - 2);
    const bool remove = !path.empty() && path.front() == '-';
    if (remove) path.remove_prefix(1);
    std::string why = work_.KeyPathError(path);
    if (!why.empty()) return Fail(number, std::move(why));
    if (remove) {
      if (work_.IsRootKeyPath(path)) return Fail(number, "a root key cannot be deleted");
      work_.DeleteKey(path);
      currentKey_.reset();
    } else {
      work_.CreateKey(path);
      currentKey_ = std::string(path);
    }
    return true;
  }

  // A quoted name or string at the start of text, with \\ and \" escapes.
  // On success *consumed is the length up to and including the closing quote.
  static bool ParseQuoted(std::string_view text, std::string* out, std::size_t* consumed,
                          std::string* what) {
    out->clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '"') {
        *consumed = i + 1;
        return true;
      }
      if (c == '\\') {
        if (i + 1 == text.size()) break;
        const char escaped = text[++i];
        if (escaped != '\\' && escaped != '"') {
          *what = std::string("unknown escape \\") + escaped + " (only \\\\ and \\\" are allowed)";
          return false;
        }
        out->push_back(escaped);
      } else {
        out->push_back(c);
      }
    }
    *what = "string has no closing quote";
    return false;
  }

  bool ValueLine(std::string_view line, int number) {
    std::string name;
    std::size_t pos = 1;
    if (line.front() == '"') {
      std::string what;
      if (!ParseQuoted(line, &name, &pos, &what)) return Fail(number, "value name: " + what);
    }
    std::string_view rest = Trim(line.substr(pos));
    if (rest.empty() || rest.front() != '=') return Fail(number, "expected = after the value name");
    rest = Trim(rest.substr(1));
    if (!currentKey_) return Fail(number, "value outside a key (no [key] line before it)");
    std::string why = Registry::ValueNameError(name);
    if (!why.empty()) return Fail(number, std::move(why));

    if (rest == "-") {
      work_.DeleteValue(*currentKey_, name);
      return true;
    }
    DWORD type = kRegSz;
    std::string data;
    if (!rest.empty() && rest.front() == '"') {
      std::size_t used = 0;
      std::string what;
      if (!ParseQuoted(rest, &data, &used, &what)) return Fail(number, what);
      if (used != rest.size()) return Fail(number, "unexpected text after the closing quote");
      data.push_back('\0');
    } else if (StartsWithIgnoreCase(rest, "dword:")) {
      DWORD value = 0;
      if (!ParseHexNumber(rest.substr(6), 8, &value)) {
        return Fail(number, "dword: needs 1 to 8 hex digits");
      }
      type = kRegDword;
      for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    } else if (StartsWithIgnoreCase(rest, "hex")) {
      if (!HexValue(rest, number, &type, &data)) return false;
    } else {
      return Fail(number, "unknown value type (expected \"string\", dword:, hex: or hex(N):)");
    }
    work_.SetValue(*currentKey_, name, type, data);
    return true;
  }

  // hex:... or hex(N):..., continued on the following lines while a line
  // ends in a backslash.
  bool HexValue(std::string_view first, int number, DWORD* type, std::string* data) {
    std::string_view rest = first.substr(3);
    *type = kRegBinary;
    if (!rest.empty() && rest.front() == '(') {
      const std::size_t close = rest.find(')');
      if (close == std::string_view::npos || !ParseHexNumber(rest.substr(1, close - 1), 8, type)) {
        return Fail(number, "hex(N): needs a type of 1 to 8 hex digits");
      }
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != ':') return Fail(number, "expected : after hex");
    rest.remove_prefix(1);

    // The text of all the lines, and where each line's part starts in it.
    std::string text(rest);
    std::vector<std::pair<std::size_t, int>> starts = {{0, number}};
    while (!text.empty() && text.back() == '\\') {
      text.pop_back();
      if (next_ == lines_.size()) return Fail(number, "file ends inside a continued hex value");
      starts.emplace_back(text.size(), static_cast<int>(next_) + 1);
      text += Trim(lines_[next_++]);
    }
    auto lineAt = [&starts](std::size_t offset) {
      int line = starts.front().second;
      for (const auto& [start, lineNumber] : starts) {
        if (start <= offset) line = lineNumber;
      }
      return line;
    };

    data->clear();
    if (!Trim(text).empty()) {
      std::size_t offset = 0;
      for (;;) {
        const std::size_t comma = text.find(',', offset);
        const std::string_view byte = Trim(std::string_view(text).substr(
            offset, comma == std::string::npos ? std::string::npos : comma - offset));
        DWORD value = 0;
        if (!ParseHexNumber(byte, 2, &value)) {
          return Fail(lineAt(offset), "hex data must be bytes of 1 or 2 hex digits between commas");
        }
        data->push_back(static_cast<char>(value));
        if (comma == std::string::npos) break;
        offset = comma + 1;
      }
    }
    if (unicode_ && (*type == kRegSz || *type == kRegExpandSz || *type == kRegMultiSz)) {
      std::string ansi;
      std::string what;
      if (!Utf16DataToAnsi(*data, &ansi, &what)) return Fail(number, what);
      *data = std::move(ansi);
    }
    return true;
  }

  Registry& work_;
  bool unicode_;
  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  std::optional<std::string> currentKey_;
  Problem problem_;
};

// The file's text in the ANSI code page and whether it was UTF-16.
bool DecodeFile(std::string_view bytes, std::string* text, bool* unicode, Problem* problem) {
  *unicode = false;
  if (bytes.empty()) {
    *problem = {1, "empty file"};
    return false;
  }
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    *problem = {1,
                "UTF-8 text is not supported: registry files are ANSI (REGEDIT4) or "
                "UTF-16 LE (Version 5.00)"};
    return false;
  }
  if (StartsWith(bytes, "\xFE\xFF")) {
    *problem = {1, "UTF-16 big-endian text is not supported"};
    return false;
  }
  if (StartsWith(bytes, "\xFF\xFE")) {
    *unicode = true;
    if (!DecodeUtf16(bytes.substr(2), text, problem)) return false;
  } else {
    text->assign(bytes);
  }
  return true;
}

}  // namespace

bool LoadRegFile(std::string_view bytes, std::string_view fileName, Registry& into,
                 std::string* error) {
  std::string text;
  bool unicode = false;
  Problem problem;
  bool loaded = DecodeFile(bytes, &text, &unicode, &problem);
  if (loaded) {
    Registry work = into;
    Loader loader(work, unicode);
    loaded = loader.Run(text);
    if (loaded) {
      into = std::move(work);
    } else {
      problem = loader.problem();
    }
  }
  if (!loaded && error) {
    *error = std::string(fileName) + ":" + std::to_string(problem.line) + ": " + problem.what;
  }
  return loaded;
}

}  // namespace kx::sim
