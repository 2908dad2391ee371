// Our own configuration files (machine images, answers files) in INI form,
// read with the profile line rules (profile_lines.h) but kept whole: sections
// and entries in file order, duplicates included, each with its line number,
// and every line that is not understood reported.
//
// The form:
//   ; comment            (also '#'; blank lines are ignored too)
//   [section]
//   key = value          (value trimmed; one pair of double quotes removed)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx::sim::profile {

struct IniEntry {
  std::string key;
  std::string value;
  int line = 0;  // 1-based
};

struct IniSection {
  std::string name;
  int line = 0;
  std::vector<IniEntry> entries;

  // The first entry of that key, ignoring ASCII case; null when there is none.
  const IniEntry* Find(std::string_view key) const;
};

struct IniDocument {
  std::vector<IniSection> sections;

  // The first section of that name, ignoring ASCII case; null when there is none.
  const IniSection* Find(std::string_view name) const;
};

// Parses text into *out. On the first line that is not a comment, a section
// header or an entry of a section, returns false with *error set to
// "line N: what is wrong" (the caller adds the file name) and *out empty.
// A UTF-8 byte order mark at the start is skipped.
bool ParseIniDocument(std::string_view text, IniDocument* out, std::string* error);

}  // namespace kx::sim::profile
