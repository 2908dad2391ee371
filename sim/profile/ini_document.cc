#include "sim/profile/ini_document.h"

#include <utility>

#include "platform/text.h"
#include "sim/profile/profile_lines.h"

namespace kx::sim::profile {
namespace {

bool Fail(int line, std::string_view what, std::string* error) {
  if (error != nullptr) {
    *error = "line " + std::to_string(line) + ": ";
    *error += what;
  }
  return false;
}

}  // namespace

const IniEntry* IniSection::Find(std::string_view key) const {
  for (const IniEntry& entry : entries) {
    if (EqualsIgnoreCase(entry.key, key)) return &entry;
  }
  return nullptr;
}

const IniSection* IniDocument::Find(std::string_view name) const {
  for (const IniSection& section : sections) {
    if (EqualsIgnoreCase(section.name, name)) return &section;
  }
  return nullptr;
}

bool ParseIniDocument(std::string_view text, IniDocument* out, std::string* error) {
  *out = IniDocument();
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (StartsWith(text, kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  IniDocument doc;
  LineScanner lines(text);
  LineSpan span;
  int number = 0;
  while (lines.Next(&span)) {
    ++number;
    const std::string_view raw = text.substr(span.begin, span.end - span.begin);
    if (raw.find('\0') != std::string_view::npos) return Fail(number, "NUL byte", error);
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;

    if (line.front() == '[') {
      if (line.size() < 2 || line.back() != ']') {
        return Fail(number, "section header without closing ']'", error);
      }
      const std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
      if (name.empty()) return Fail(number, "empty section name", error);
      doc.sections.push_back(IniSection{std::string(name), number, {}});
      continue;
    }

    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      return Fail(number, "expected \"key = value\" or \"[section]\"", error);
    }
    if (doc.sections.empty()) return Fail(number, "entry before the first section", error);
    const std::string_view key = TrimBlanks(line.substr(0, eq));
    if (key.empty()) return Fail(number, "entry without a key before '='", error);
    const std::string_view value = StripQuotes(TrimBlanks(line.substr(eq + 1)));
    doc.sections.back().entries.push_back(IniEntry{std::string(key), std::string(value), number});
  }
  *out = std::move(doc);
  return true;
}

}  // namespace kx::sim::profile
