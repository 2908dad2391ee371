#include "sim/profile/profile.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/text.h"
#include "sim/profile/profile_lines.h"

namespace kx::sim::profile {
namespace {

// Where the first section of a given name lies in the file.
struct SectionSpan {
  bool found = false;
  std::size_t header = 0;  // start of the header line
  std::size_t body = 0;    // start of the line after the header
  std::size_t end = 0;     // start of the next section's header, or the file's end
};

SectionSpan FindSection(std::string_view text, std::string_view name) {
  SectionSpan span;
  LineScanner lines(text);
  LineSpan line;
  while (lines.Next(&line)) {
    const ProfileLine parsed = ParseProfileLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind != LineKind::kSection) continue;
    if (span.found) {
      span.end = line.begin;
      return span;
    }
    if (EqualsIgnoreCase(parsed.name, name)) {
      span.found = true;
      span.header = line.begin;
      span.body = line.next;
    }
  }
  span.end = text.size();
  return span;
}

// The first line of a section that holds a given key, and the last key line.
struct KeySpan {
  bool found = false;
  LineSpan line;           // the key's line
  std::string_view value;  // its value as read
  bool anyKey = false;
  LineSpan lastKey;  // the section's last key line
};

KeySpan FindKey(std::string_view text, const SectionSpan& section, std::string_view key) {
  KeySpan out;
  LineScanner lines(text.substr(0, section.end), section.body);
  LineSpan line;
  while (lines.Next(&line)) {
    const ProfileLine parsed = ParseProfileLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind != LineKind::kKey) continue;
    out.anyKey = true;
    out.lastKey = line;
    if (!out.found && EqualsIgnoreCase(parsed.name, key)) {
      out.found = true;
      out.line = line;
      out.value = parsed.value;
    }
  }
  return out;
}

std::optional<std::string_view> FindValue(std::string_view text, const char* section,
                                          const char* key) {
  const SectionSpan span = FindSection(text, section);
  if (!span.found) return std::nullopt;
  const KeySpan found = FindKey(text, span, key);
  if (!found.found) return std::nullopt;
  return found.value;
}

// Collects names once each, in file order, keeping the first spelling. Empty
// names are left out: in a zero-separated list they would end it.
class NameList {
 public:
  void Add(std::string_view name) {
    if (name.empty()) return;
    if (!seen_.insert(AsciiUpper(name)).second) return;
    names_.push_back(name);
  }
  const std::vector<std::string_view>& names() const { return names_; }

 private:
  std::vector<std::string_view> names_;
  std::unordered_set<std::string> seen_;
};

NameList SectionNames(std::string_view text) {
  NameList list;
  LineScanner lines(text);
  LineSpan line;
  while (lines.Next(&line)) {
    const ProfileLine parsed = ParseProfileLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::kSection) list.Add(parsed.name);
  }
  return list;
}

NameList KeyNames(std::string_view text, const char* section) {
  NameList list;
  const SectionSpan span = FindSection(text, section);
  if (!span.found) return list;
  LineScanner lines(text.substr(0, span.end), span.body);
  LineSpan line;
  while (lines.Next(&line)) {
    const ProfileLine parsed = ParseProfileLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::kKey) list.Add(parsed.name);
  }
  return list;
}

// size >= 1.
DWORD CopyValue(std::string_view value, char* buffer, DWORD size) {
  const std::size_t n = value.size() < size ? value.size() : size - 1;
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

// size >= 1. Writes the names as a zero-separated list ended by an extra zero.
DWORD CopyList(const std::vector<std::string_view>& names, char* buffer, DWORD size) {
  std::size_t total = 0;
  for (std::string_view name : names) total += name.size() + 1;
  if (total == 0 || size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  // Whole list with its extra zero, or its first size-2 characters and two zeros.
  const bool fits = total + 1 <= size;
  const std::size_t limit = fits ? total : size - 2;
  std::size_t at = 0;
  for (std::string_view name : names) {
    if (at >= limit) break;
    const std::size_t n = std::min(name.size(), limit - at);
    std::memcpy(buffer + at, name.data(), n);
    at += n;
    if (at < limit) buffer[at++] = '\0';
  }
  buffer[limit] = '\0';
  if (!fits) buffer[limit + 1] = '\0';
  return static_cast<DWORD>(limit);
}

bool EndsInLineEnd(std::string_view text) {
  return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

// Whether the file's last line holds nothing but blanks.
bool LastLineIsBlank(std::string_view text) {
  LineScanner lines(text);
  LineSpan line, last;
  bool any = false;
  while (lines.Next(&line)) {
    last = line;
    any = true;
  }
  if (!any) return true;
  return TrimBlanks(text.substr(last.begin, last.end - last.begin)).empty();
}

std::string KeyLine(const char* key, const char* value) {
  std::string line(key);
  line += '=';
  line += value;
  return line;
}

void AppendSection(std::string& file, const char* section, const char* key, const char* value) {
  if (!file.empty()) {
    if (!EndsInLineEnd(file)) file += "\r\n";
    if (!LastLineIsBlank(file)) file += "\r\n";
  }
  file += '[';
  file += section;
  file += "]\r\n";
  file += KeyLine(key, value);
  file += "\r\n";
}

// Inserts a new "key=value" line at a line start (or at the end of the file).
void InsertKeyLine(std::string& file, std::size_t at, const char* key, const char* value) {
  std::string line;
  if (at == file.size() && !file.empty() && !EndsInLineEnd(file)) line = "\r\n";
  line += KeyLine(key, value);
  line += "\r\n";
  file.insert(at, line);
}

}  // namespace

DWORD GetString(const std::string* file, const char* section, const char* key,
                const char* defaultValue, char* buffer, DWORD size) {
  if (size == 0 || buffer == nullptr) return 0;
  const std::string_view text = file ? std::string_view(*file) : std::string_view();
  if (section == nullptr) return CopyList(SectionNames(text).names(), buffer, size);
  if (key == nullptr) return CopyList(KeyNames(text, section).names(), buffer, size);
  if (file != nullptr) {
    if (const std::optional<std::string_view> value = FindValue(text, section, key)) {
      return CopyValue(*value, buffer, size);
    }
  }
  return CopyValue(TrimTrailingBlanks(defaultValue ? defaultValue : ""), buffer, size);
}

UINT GetInt(const std::string* file, const char* section, const char* key, int defaultValue) {
  if (section == nullptr || key == nullptr) return 0;
  std::optional<std::string_view> value;
  if (file != nullptr) value = FindValue(*file, section, key);
  if (!value || value->empty()) return static_cast<UINT>(defaultValue);

  std::string_view digits = *value;
  const bool negative = digits.front() == '-';
  if (negative) digits.remove_prefix(1);
  UINT number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    number = number * 10u + static_cast<UINT>(c - '0');
  }
  return negative ? 0u - number : number;
}

bool WriteString(std::string& file, const char* section, const char* key, const char* value) {
  if (section == nullptr) return false;
  const SectionSpan span = FindSection(file, section);
  if (key == nullptr) {
    if (span.found) file.erase(span.header, span.end - span.header);
    return true;
  }
  if (!span.found) {
    if (value != nullptr) AppendSection(file, section, key, value);
    return true;
  }
  const KeySpan found = FindKey(file, span, key);
  if (value == nullptr) {
    if (found.found) file.erase(found.line.begin, found.line.next - found.line.begin);
    return true;
  }
  if (found.found) {
    if (found.value == value) return true;
    file.replace(found.line.begin, found.line.end - found.line.begin, KeyLine(key, value));
    return true;
  }
  InsertKeyLine(file, found.anyKey ? found.lastKey.next : span.body, key, value);
  return true;
}

}  // namespace kx::sim::profile
