// Each table row is one documented behaviour of the Windows 9x profile
// functions: the file's bytes, the call, the exact result and bytes.
#include "sim/profile/profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

namespace kx::sim::profile {
namespace {

using namespace std::string_literals;

constexpr char kUntouched = '\x7f';
constexpr DWORD kBig = 64;

// The buffer a read filled, up to the end of what it was allowed to write;
// also checks that nothing past size was written.
std::string Read(const std::string* file, const char* section, const char* key, const char* def,
                 DWORD size, DWORD* result) {
  char buffer[kBig + 8];
  std::memset(buffer, kUntouched, sizeof buffer);
  *result = GetString(file, section, key, def, buffer, size);
  for (std::size_t i = size; i < sizeof buffer; ++i) {
    EXPECT_EQ(buffer[i], kUntouched) << "byte " << i << " written past the buffer";
  }
  return std::string(buffer, size);
}

// What a read is expected to leave: the bytes given, then untouched bytes.
std::string Filled(std::string bytes, DWORD size) {
  bytes.resize(size, kUntouched);
  return bytes;
}

std::string WithLineEnds(std::string_view crlfText, std::string_view lineEnd) {
  std::string out;
  for (std::size_t i = 0; i < crlfText.size(); ++i) {
    if (crlfText.substr(i, 2) == "\r\n") {
      out += lineEnd;
      ++i;
    } else {
      out += crlfText[i];
    }
  }
  return out;
}

constexpr std::string_view kFixture =
    "[section1]\r\n"
    "name1=val1\r\n"
    "name2=\"val2\"\r\n"
    "name3\r\n"
    "name4=a\r\n"
    "[section2]\r\n";

struct ReadCase {
  const char* what;
  const char* section;
  const char* key;
  const char* def;
  DWORD size;
  std::string bytes;  // the buffer's first bytes after the call
  DWORD result;
};

TEST(ProfileGetString, ReadsTheFixtureWithEveryLineEnd) {
  const ReadCase cases[] = {
      {"value", "section1", "name1", "default", kBig, "val1\0"s, 4},
      {"names ignore case", "SECTION1", "NaMe1", "default", kBig, "val1\0"s, 4},
      {"quotes around the value removed", "section1", "name2", "default", kBig, "val2\0"s, 4},
      {"a line without '=' is no key", "section1", "name3", "default", kBig, "default\0"s, 7},
      {"missing key", "section1", "notakey", "default", kBig, "default\0"s, 7},
      {"missing section", "notasection", "name1", "default", kBig, "default\0"s, 7},
      {"empty section name", "", "name1", "default", kBig, "default\0"s, 7},
      {"empty key name", "section1", "", "default", kBig, "default\0"s, 7},
      {"null default", "section1", "notakey", nullptr, kBig, "\0"s, 0},
      {"trailing blanks of the default", "section1", "notakey", "default \t ", kBig, "default\0"s,
       7},
      {"inner blanks of the default kept", "section1", "notakey", "one two  ", kBig, "one two\0"s,
       7},
      {"value cut to fit", "section1", "name1", "default", 4, "val\0"s, 3},
      {"value just fits", "section1", "name1", "default", 5, "val1\0"s, 4},
      {"room for the terminator only", "section1", "name4", "default", 1, "\0"s, 0},
      {"default cut to fit", "section1", "notakey", "default", 4, "def\0"s, 3},
      {"size 0 leaves the buffer alone", "section1", "name1", "default", 0, ""s, 0},
      {"section names", nullptr, "name1", "default", kBig, "section1\0section2\0\0"s, 18},
      {"section names just fit", nullptr, nullptr, "", 19, "section1\0section2\0\0"s, 18},
      {"section names cut", nullptr, "name1", "default", 16, "section1\0secti\0\0"s, 14},
      {"key names", "section1", nullptr, "default", kBig, "name1\0name2\0name4\0\0"s, 18},
      {"key names cut", "section1", nullptr, "default", 16, "name1\0name2\0na\0\0"s, 14},
      {"key names cut after a name", "section1", nullptr, "", 14, "name1\0name2\0\0\0"s, 12},
      {"key names, room for two zeros", "section1", nullptr, "", 2, "\0\0"s, 0},
      {"key names, room for one zero", "section1", nullptr, "", 1, "\0"s, 0},
      {"key names of a section without keys", "section2", nullptr, "default", kBig, "\0"s, 0},
      {"key names of a missing section", "nosuch", nullptr, "default", kBig, "\0"s, 0},
  };
  const struct {
    const char* name;
    std::string_view lineEnd;
  } lineEnds[] = {{"CR LF", "\r\n"}, {"CR", "\r"}, {"LF", "\n"}};
  for (const auto& style : lineEnds) {
    const std::string file = WithLineEnds(kFixture, style.lineEnd);
    for (const ReadCase& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " (" + style.name + ")");
      DWORD result = 0;
      EXPECT_EQ(Read(&file, c.section, c.key, c.def, c.size, &result), Filled(c.bytes, c.size));
      EXPECT_EQ(result, c.result);
    }
  }
}

TEST(ProfileGetString, MissingFileReadsAsEmpty) {
  DWORD result = 0;
  EXPECT_EQ(Read(nullptr, "s", "k", "dflt  ", kBig, &result), Filled("dflt\0"s, kBig));
  EXPECT_EQ(result, 4u);
  EXPECT_EQ(Read(nullptr, nullptr, nullptr, "dflt", kBig, &result), Filled("\0"s, kBig));
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(Read(nullptr, "s", nullptr, "dflt", kBig, &result), Filled("\0"s, kBig));
  EXPECT_EQ(result, 0u);
}

struct LineRuleCase {
  const char* what;
  std::string file;
  const char* section;
  const char* key;
  std::string value;  // "<default>" when the key is not found
};

TEST(ProfileGetString, LineRules) {
  const LineRuleCase cases[] = {
      {"blanks inside the brackets", "[ section1 ]\r\nk=v\r\n", "section1", "k", "v"},
      {"blanks around the line and the '='", "[s]\r\n \t k \t = \t v w \t \r\n", "s", "k", "v w"},
      {"Ctrl-Z is a blank", "[s]\x1a\r\nk=v\x1a\x1a", "s", "k", "v"},
      {"the first '=' ends the name", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
      {"';' is part of the name", "[s]\r\n;k=v\r\n", "s", ";k", "v"},
      {"';' is part of the value", "[s]\r\nk=v ; note\r\n", "s", "k", "v ; note"},
      {"a commented-out key is another key", "[s]\r\n;k=old\r\n", "s", "k", "<default>"},
      {"one pair of quotes only", "[s]\r\nk=\"\"v\"\"\r\n", "s", "k", "\"v\""},
      {"quotes must surround the whole value", "[s]\r\nk=\"a\" b\r\n", "s", "k", "\"a\" b"},
      {"a lone quote stays", "[s]\r\nk=\"\r\n", "s", "k", "\""},
      {"empty quotes", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
      {"empty value is found", "[s]\r\nk=\r\n", "s", "k", ""},
      {"lines before the first section belong to none", "k=v\r\n[s]\r\n", "s", "k", "<default>"},
      {"first of duplicate keys", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
      {"first of duplicate sections only", "[s]\r\n[S]\r\nk=2\r\n", "s", "k", "<default>"},
      {"header without ']'", "[s\r\nk=v\r\n", "s", "k", "v"},
      {"text after ']' ignored", "[s] x\r\nk=v\r\n", "s", "k", "v"},
      {"a line ends at NUL", "[s]\r\nk=ab\0cd\r\n"s, "s", "k", "ab"},
      {"a NUL before '=' makes no key", "[s]\r\nk\0=v\r\n"s, "s", "k", "<default>"},
      {"mixed line ends", "[a]\rx=1\n[s]\r\nk=v\n\rj=w", "s", "j", "w"},
      {"LF CR is two line ends", "[s]\n\rk=v", "s", "k", "v"},
      {"name with inner blanks", "[my section]\r\nmy key = v\r\n", "my section", "my key", "v"},
      {"the empty section name", "[]\r\nk=v\r\n", "", "k", "v"},
      {"the empty key name", "[s]\r\n=v\r\n", "s", "", "v"},
  };
  for (const LineRuleCase& c : cases) {
    SCOPED_TRACE(c.what);
    char buffer[kBig];
    const DWORD n = GetString(&c.file, c.section, c.key, "<default>", buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, n), c.value);
    EXPECT_EQ(buffer[n], '\0');
  }
}

struct ListCase {
  const char* what;
  std::string file;
  const char* section;  // null: the section names
  std::string list;
};

TEST(ProfileGetString, ListsNameEachSectionAndKeyOnce) {
  const ListCase cases[] = {
      {"duplicates listed once, first spelling", "[A]\r\n[b]\r\n[a]\r\n[B]\r\n", nullptr,
       "A\0b\0\0"s},
      {"empty names left out", "[]\r\n[s]\r\n=v\r\nk=v\r\nK=w\r\n", nullptr, "s\0\0"s},
      {"keys of the first section only", "[s]\r\nk=v\r\nK=w\r\n=x\r\n[s]\r\nj=1\r\n", "s",
       "k\0\0"s},
      {"comments and bare lines are no keys", "[s]\r\n; note\r\nbare\r\nk=v\r\n", "s", "k\0\0"s},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.what);
    char buffer[kBig];
    const DWORD n = GetString(&c.file, c.section, nullptr, "", buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, n + 1), c.list);
  }
}

TEST(ProfileGetInt, ReadsTheDecimalNumberAtTheStart) {
  const struct {
    const char* value;  // null: no such key
    int def;
    UINT expected;
  } cases[] = {
      {"1", -1, 1},
      {"-1", 1, 4294967295u},
      {"+1", 7, 0},  // Windows 9x has no '+'
      {"4294967296", 7, 0},
      {"4294967297", 7, 1},
      {"-4294967297", 7, 4294967295u},
      {"42A94967297", 7, 42},
      {"B4294967297", 7, 0},
      {"0x10", 7, 0},
      {"007", 7, 7},
      {"  12  ", 7, 12},
      {"\"12\"", 7, 12},
      {"12 34", 7, 12},
      {"- 5", 7, 0},
      {"-", 7, 0},
      {"", 7, 7},
      {"\"\"", 7, 7},
      {nullptr, 7, 7},
      {nullptr, -1, 4294967295u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value ? c.value : "(no key)");
    const std::string file = c.value ? "[s]\r\nk=" + std::string(c.value) + "\r\n" : "[s]\r\n";
    EXPECT_EQ(GetInt(&file, "s", "k", c.def), c.expected);
  }
}

TEST(ProfileGetInt, MissingFileGivesTheDefaultAndNullNamesGiveZero) {
  const std::string file = "[s]\r\nk=5\r\n";
  EXPECT_EQ(GetInt(nullptr, "s", "k", 70), 70u);
  EXPECT_EQ(GetInt(&file, nullptr, "k", 70), 0u);
  EXPECT_EQ(GetInt(&file, "s", nullptr, 70), 0u);
  EXPECT_EQ(GetInt(&file, "S", "K", 70), 5u);
}

struct WriteCase {
  const char* what;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST(ProfileWriteString, EditsInPlace) {
  const WriteCase cases[] = {
      // New files and sections.
      {"new file", "", "App", "key", "string", "[App]\r\nkey=string\r\n"},
      {"empty value", "", "App", "key", "", "[App]\r\nkey=\r\n"},
      {"new section after an empty line", "[a]\r\nx=1\r\n", "b", "y", "2",
       "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n"},
      {"new section, file without final line end", "[a]\r\nx=1", "b", "y", "2",
       "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n"},
      {"new section after a blank last line", "[a]\r\nx=1\r\n \r\n", "b", "y", "2",
       "[a]\r\nx=1\r\n \r\n[b]\r\ny=2\r\n"},
      {"new section after text and NULs before any section", "Data \0 before \0 first \0 section"s,
       "section1", "key1", "string1",
       "Data \0 before \0 first \0 section\r\n\r\n[section1]\r\nkey1=string1\r\n"s},
      {"new section in a CR-only file", "[a]\rx=1\r", "b", "y", "2",
       "[a]\rx=1\r\r\n[b]\r\ny=2\r\n"},

      // Changing a key keeps every other byte.
      {"replaced line, others kept", "; top\n[s]\n\n  a = 1 \n; c\nb=2\n", "s", "a", "5",
       "; top\n[s]\n\na=5\n; c\nb=2\n"},
      {"name written as given", "[s]\r\nKey=1\r\n", "s", "KEY", "2", "[s]\r\nKEY=2\r\n"},
      {"section found ignoring case and blanks", "[ S ]\r\na=1\r\n", "s", "a", "2",
       "[ S ]\r\na=2\r\n"},
      {"the same value changes nothing", "[s]\r\n  A = \"1\" \r\n", "s", "a", "1",
       "[s]\r\n  A = \"1\" \r\n"},
      {"first of duplicate keys", "[s]\r\na=1\r\na=2\r\n", "s", "a", "3", "[s]\r\na=3\r\na=2\r\n"},
      {"first of duplicate sections", "[s]\r\na=1\r\n[s]\r\na=2\r\n", "s", "a", "3",
       "[s]\r\na=3\r\n[s]\r\na=2\r\n"},
      {"CR-only line end kept", "[s]\ra=1\r[t]\rc=3\r", "s", "a", "9", "[s]\ra=9\r[t]\rc=3\r"},
      {"bytes after a NUL replaced with the line", "[s]\r\na=1\0junk\r\nb=2"s, "s", "a", "9",
       "[s]\r\na=9\r\nb=2"},

      // New keys.
      {"after the last key line", "[s]\r\na=1\r\n; note\r\n\r\n[t]\r\n", "s", "b", "2",
       "[s]\r\na=1\r\nb=2\r\n; note\r\n\r\n[t]\r\n"},
      {"right after a header without keys", "[s]\r\n; c\r\n[t]\r\n", "s", "b", "2",
       "[s]\r\nb=2\r\n; c\r\n[t]\r\n"},
      {"after a last line without line end", "[s]\r\na=1", "s", "b", "2", "[s]\r\na=1\r\nb=2\r\n"},
      {"after a header without line end", "[s]", "s", "b", "2", "[s]\r\nb=2\r\n"},
      {"into a CR-only file", "[s]\ra=1\r[t]\rc=3\r", "s", "b", "2", "[s]\ra=1\rb=2\r\n[t]\rc=3\r"},
      {"a commented-out key stays", "[s]\r\n;a=1\r\n", "s", "a", "2", "[s]\r\n;a=1\r\na=2\r\n"},

      // Deleting keys and sections.
      {"key deleted", "[s]\r\na=1\r\nb=2\r\n", "s", "a", nullptr, "[s]\r\nb=2\r\n"},
      {"last key deleted, header stays", "[s]\r\na=1\r\n", "s", "a", nullptr, "[s]\r\n"},
      {"key without line end deleted", "[s]\r\na=1\r\nb=2", "s", "b", nullptr, "[s]\r\na=1\r\n"},
      {"first of duplicate keys deleted", "[s]\r\na=1\r\na=2\r\n", "s", "a", nullptr,
       "[s]\r\na=2\r\n"},
      {"missing key: nothing", "[s]\r\na=1\r\n", "s", "b", nullptr, "[s]\r\na=1\r\n"},
      {"key of a missing section: nothing", "[s]\r\na=1\r\n", "t", "a", nullptr, "[s]\r\na=1\r\n"},
      {"key in a missing file: nothing", "", "s", "a", nullptr, ""},
      {"section deleted with all its lines", "[a]\r\nx=1\r\n; c\r\n\r\n[b]\r\ny=2\r\n", "a",
       nullptr, nullptr, "[b]\r\ny=2\r\n"},
      {"section deleted whatever the value", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n", "b", nullptr, "v",
       "[a]\r\nx=1\r\n"},
      {"first of duplicate sections deleted", "[a]\r\nx=1\r\n[A]\r\ny=2\r\n", "a", nullptr, nullptr,
       "[A]\r\ny=2\r\n"},
      {"text before the first section kept", "top\r\n[a]\r\nx=1\r\n", "a", nullptr, nullptr,
       "top\r\n"},
      {"missing section: nothing", "[a]\r\nx=1\r\n", "b", nullptr, nullptr, "[a]\r\nx=1\r\n"},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::string file = c.before;
    EXPECT_TRUE(WriteString(file, c.section, c.key, c.value));
    EXPECT_EQ(file, c.after);
  }
}

TEST(ProfileWriteString, NullSectionFailsAndChangesNothing) {
  std::string file = "[s]\r\na=1\r\n";
  EXPECT_FALSE(WriteString(file, nullptr, "a", "2"));
  EXPECT_FALSE(WriteString(file, nullptr, nullptr, nullptr));
  EXPECT_EQ(file, "[s]\r\na=1\r\n");
}

// A file built up and torn down call by call, as a program does it.
TEST(ProfileWriteString, BuildsAndTearsDownAFile) {
  std::string file;
  WriteString(file, "App1", "key1", "string1");
  WriteString(file, "App1", "key2", "string2");
  WriteString(file, "App2", "key3", "string3");
  WriteString(file, "app1", "KEY1", "changed");
  WriteString(file, "App3", "key4", "string4");
  EXPECT_EQ(file,
            "[App1]\r\nKEY1=changed\r\nkey2=string2\r\n"
            "\r\n[App2]\r\nkey3=string3\r\n"
            "\r\n[App3]\r\nkey4=string4\r\n");
  char buffer[kBig];
  EXPECT_EQ(GetString(&file, "App1", "key1", "", buffer, sizeof buffer), 7u);
  EXPECT_STREQ(buffer, "changed");

  WriteString(file, "App1", "key2", nullptr);
  WriteString(file, "App2", nullptr, nullptr);
  WriteString(file, "App3", "key4", nullptr);
  EXPECT_EQ(file, "[App1]\r\nKEY1=changed\r\n\r\n[App3]\r\n");
  EXPECT_EQ(GetString(&file, nullptr, nullptr, "", buffer, sizeof buffer), 10u);
  EXPECT_EQ(std::string(buffer, 11), "App1\0App3\0\0"s);
}

}  // namespace
}  // namespace kx::sim::profile
