// Feeds arbitrary bytes to the configuration-file parser. A rejected text
// must say which line is wrong; an accepted one must be well formed and parse
// the same again once written out.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/text.h"
#include "sim/profile/ini_document.h"

namespace {

using namespace kx::sim::profile;

// The document as text: every value quoted, so that blanks and quotes at its
// ends survive.
std::string Write(const IniDocument& doc) {
  std::string text;
  for (const IniSection& section : doc.sections) {
    text += "[" + section.name + "]\r\n";
    for (const IniEntry& entry : section.entries) {
      text += entry.key + " = \"" + entry.value + "\"\n";
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  IniDocument doc;
  std::string error;
  if (!ParseIniDocument(text, &doc, &error)) {
    FUZZ_CHECK(kx::StartsWith(error, "line "));
    FUZZ_CHECK(doc.sections.empty());
    return 0;
  }

  int last = 0;
  for (const IniSection& section : doc.sections) {
    FUZZ_CHECK(!section.name.empty());
    FUZZ_CHECK(section.line > last);
    last = section.line;
    FUZZ_CHECK(doc.Find(section.name) != nullptr);
    for (const IniEntry& entry : section.entries) {
      FUZZ_CHECK(!entry.key.empty());
      FUZZ_CHECK(entry.line > last);
      last = entry.line;
      const IniEntry* found = section.Find(entry.key);
      FUZZ_CHECK(found != nullptr && found <= &entry);
    }
  }

  IniDocument again;
  FUZZ_CHECK(ParseIniDocument(Write(doc), &again, &error));
  FUZZ_CHECK(again.sections.size() == doc.sections.size());
  for (std::size_t s = 0; s < doc.sections.size(); ++s) {
    const IniSection& a = doc.sections[s];
    const IniSection& b = again.sections[s];
    FUZZ_CHECK(a.name == b.name);
    FUZZ_CHECK(a.entries.size() == b.entries.size());
    for (std::size_t e = 0; e < a.entries.size(); ++e) {
      FUZZ_CHECK(a.entries[e].key == b.entries[e].key);
      FUZZ_CHECK(a.entries[e].value == b.entries[e].value);
    }
  }
  return 0;
}
