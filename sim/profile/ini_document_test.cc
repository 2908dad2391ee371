#include "sim/profile/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace kx::sim::profile {
namespace {

using namespace std::string_literals;

TEST(IniDocument, KeepsOrderDuplicatesAndLineNumbers) {
  const std::string text =
      "\xEF\xBB\xBF; machine image\r\n"
      "# another comment\n"
      "[Machine]\r"
      "  Release = win98se  \r\n"
      "Title = \"  padded  \"\r\n"
      "\r\n"
      "[Window]\n"
      "class=Mixer\n"
      "CLASS = Shell_TrayWnd\n"
      "Note = a = b ; not a comment\n"
      "Empty =\n"
      "[window]\n";
  IniDocument doc;
  std::string error;
  ASSERT_TRUE(ParseIniDocument(text, &doc, &error)) << error;
  ASSERT_EQ(doc.sections.size(), 3u);

  const IniSection& machine = doc.sections[0];
  EXPECT_EQ(machine.name, "Machine");
  EXPECT_EQ(machine.line, 3);
  ASSERT_EQ(machine.entries.size(), 2u);
  EXPECT_EQ(machine.entries[0].key, "Release");
  EXPECT_EQ(machine.entries[0].value, "win98se");
  EXPECT_EQ(machine.entries[0].line, 4);
  EXPECT_EQ(machine.entries[1].value, "  padded  ");

  const IniSection& window = doc.sections[1];
  EXPECT_EQ(window.line, 7);
  ASSERT_EQ(window.entries.size(), 4u);
  EXPECT_EQ(window.entries[1].key, "CLASS");
  EXPECT_EQ(window.entries[1].line, 9);
  EXPECT_EQ(window.entries[2].key, "Note");
  EXPECT_EQ(window.entries[2].value, "a = b ; not a comment");
  EXPECT_EQ(window.entries[3].value, "");
  EXPECT_EQ(doc.sections[2].line, 12);

  // Find takes the first match, ignoring case.
  EXPECT_EQ(doc.Find("WINDOW"), &doc.sections[1]);
  EXPECT_EQ(doc.Find("nosuch"), nullptr);
  ASSERT_NE(window.Find("Class"), nullptr);
  EXPECT_EQ(window.Find("Class")->value, "Mixer");
  EXPECT_EQ(window.Find("missing"), nullptr);
}

TEST(IniDocument, EmptyTextIsAnEmptyDocument) {
  IniDocument doc;
  std::string error;
  EXPECT_TRUE(ParseIniDocument("", &doc, &error));
  EXPECT_TRUE(doc.sections.empty());
  EXPECT_TRUE(ParseIniDocument(" \r\n; only a comment\r\n\x1a", &doc, &error));
  EXPECT_TRUE(doc.sections.empty());
}

TEST(IniDocument, ReportsTheFirstBadLine) {
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"key = value\r\n[s]\r\n", "line 1: entry before the first section"},
      {"; c\r\n\r\nstray text\r\n", "line 3: expected \"key = value\" or \"[section]\""},
      {"[s]\r\nno equals sign\r\n", "line 2: expected \"key = value\" or \"[section]\""},
      {"[s]\r\n[t\r\n", "line 2: section header without closing ']'"},
      {"[s]\r\n[t] trailing\r\n", "line 2: section header without closing ']'"},
      {"[s]\r\n[\r\n", "line 2: section header without closing ']'"},
      {"[s]\r\n[  ]\r\n", "line 2: empty section name"},
      {"[s]\r\n = value\r\n", "line 2: entry without a key before '='"},
      {"[s]\r\nk=v\0w\r\n"s, "line 2: NUL byte"},
      {"[s]\rk=v\r\rk\n", "line 4: expected \"key = value\" or \"[section]\""},
      {"[s]\r\nk=1\r\nbad\r\nworse\r\n", "line 3: expected \"key = value\" or \"[section]\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    IniDocument doc;
    doc.sections.resize(1);
    std::string error;
    EXPECT_FALSE(ParseIniDocument(c.text, &doc, &error));
    EXPECT_EQ(error, c.error);
    EXPECT_TRUE(doc.sections.empty());
  }
}

}  // namespace
}  // namespace kx::sim::profile
