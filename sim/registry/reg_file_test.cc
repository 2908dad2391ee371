#include "sim/registry/reg_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/text.h"
#include "sim/registry/registry_diff.h"

namespace kx::sim {
namespace {

std::string Sz(std::string_view text) { return std::string(text) + '\0'; }

// A Version 5.00 file as regedit writes it: UTF-16 LE with a byte-order mark.
std::string Utf16File(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

TEST(RegFileTest, LoadsEveryFormOfLine) {
  const std::string file =
      "REGEDIT4\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Kestrix]\r\n"
      "@=\"default\"\r\n"
      "\"Path\"=\"C:\\\\Program Files\\\\\\\"KX\\\"\"\r\n"
      "\"Empty\"=\"\"\r\n"
      "\"Count\"=dword:0000001F\r\n"
      "\"Small\"=dword:7\r\n"
      "\"Bytes\"=hex:01,00,ff\r\n"
      "\"NoBytes\"=hex:\r\n"
      "\"Expand\"=hex(2):25,77,69,6e,00\r\n"
      "\"Long\"=hex(7):61,00,\\\r\n"
      "  62,00,\\\r\n"
      "  00\r\n"
      "\"Odd\"=hex(12345678):aa\r\n"
      "\"Ends with backslash\"=\"x\\\\\"\r\n"
      "  \"Indented\" = \"ok\"\r\n"
      "\"Doomed\"=\"x\"\r\n"
      "\"Doomed\"=-\r\n"
      "\"NeverThere\"=-\r\n"
      "\n"  // a bare LF line end among CR LF ones
      "[HKEY_LOCAL_MACHINE\\Software\\Old\\Inner]\r\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\NeverThere]\r\n"
      "[HKEY_CURRENT_USER\\Software\\Kestrix]\r\n"
      "[HKEY_CLASSES_ROOT\\.kx]\r\n"
      "@=\"KxFile\"\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Empty Key]";  // no line end at the end
  Registry reg;
  std::string error;
  ASSERT_TRUE(LoadRegFile(file, "test.reg", reg, &error)) << error;
  const std::string kx = "HKLM\\Software\\Kestrix";
  struct Expected {
    const char* name;
    DWORD type;
    std::string data;
  };
  const Expected values[] = {
      {"", kRegSz, Sz("default")},
      {"Path", kRegSz, Sz("C:\\Program Files\\\"KX\"")},
      {"Empty", kRegSz, Sz("")},
      {"Count", kRegDword, std::string("\x1f\0\0\0", 4)},
      {"Small", kRegDword, std::string("\x07\0\0\0", 4)},
      {"Bytes", kRegBinary, std::string("\x01\x00\xff", 3)},
      {"NoBytes", kRegBinary, ""},
      {"Expand", kRegExpandSz, Sz("%win")},
      {"Long", kRegMultiSz, std::string("a\0b\0\0", 5)},
      {"Odd", 0x12345678, "\xaa"},
      {"Ends with backslash", kRegSz, Sz("x\\")},
      {"Indented", kRegSz, Sz("ok")},
  };
  const RegistryKey* key = reg.FindKey(kx);
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->ValueCount(), std::size(values));
  for (std::size_t i = 0; i < std::size(values); ++i) {
    SCOPED_TRACE(values[i].name);
    EXPECT_EQ(key->ValueAt(i).name, values[i].name);
    EXPECT_EQ(key->ValueAt(i).type, values[i].type);
    EXPECT_EQ(key->ValueAt(i).data, values[i].data);
  }
  EXPECT_FALSE(reg.KeyExists("HKLM\\Software\\Old"));
  EXPECT_TRUE(reg.KeyExists("HKEY_USERS\\.DEFAULT\\Software\\Kestrix"));
  EXPECT_EQ(reg.GetValue("HKLM\\Software\\Classes\\.kx", "")->data, Sz("KxFile"));
  EXPECT_TRUE(reg.KeyExists("HKLM\\Software\\Empty Key"));
}

TEST(RegFileTest, FirstBadLineFailsTheWholeLoadWithItsLine) {
  struct Case {
    std::string body;  // after the header line
    std::string error;
  };
  const Case cases[] = {
      {"\"v\"=\"x\"\r\n", "t.reg:2: value outside a key"},
      {"[HKLM\\A]\r\n[-HKLM\\A]\r\n\"v\"=\"x\"\r\n", "t.reg:4: value outside a key"},
      {"[HKEY_LOCAL_MACHINE\\A\r\n", "t.reg:2: key line does not end in ]"},
      {"[HKEY_CURRENT_CONFIG\\A]\r\n", "t.reg:2: unknown root key \"HKEY_CURRENT_CONFIG\""},
      {"[]\r\n", "t.reg:2: unknown root key \"\""},
      {"[HKLM\\A\\\\B]\r\n", "t.reg:2: empty key name"},
      {"[HKLM\\" + std::string(256, 'k') + "]\r\n", "t.reg:2: key name longer than 255"},
      {"\r\n[-HKEY_LOCAL_MACHINE]\r\n", "t.reg:3: a root key cannot be deleted"},
      {"[HKLM\\A]\r\n\"v\"=\"open\r\n", "t.reg:3: string has no closing quote"},
      {"[HKLM\\A]\r\n\"v\"=\"a\\\"\r\n", "t.reg:3: string has no closing quote"},
      {"[HKLM\\A]\r\n\"v=\"x\"\r\n", "t.reg:3: expected = after the value name"},
      {"[HKLM\\A]\r\n\"v\"=\"a\\n\"\r\n", "t.reg:3: unknown escape \\n"},
      {"[HKLM\\A]\r\n\"v\"=\"a\" junk\r\n", "t.reg:3: unexpected text after the closing quote"},
      {"[HKLM\\A]\r\n\"v\"=dword:123456789\r\n", "t.reg:3: dword: needs 1 to 8 hex digits"},
      {"[HKLM\\A]\r\n\"v\"=dword:\r\n", "t.reg:3: dword: needs 1 to 8 hex digits"},
      {"[HKLM\\A]\r\n\"v\"=dword:12g4\r\n", "t.reg:3: dword: needs 1 to 8 hex digits"},
      {"[HKLM\\A]\r\n\"v\"=hex:01,0g\r\n", "t.reg:3: hex data must be bytes"},
      {"[HKLM\\A]\r\n\"v\"=hex:01,123\r\n", "t.reg:3: hex data must be bytes"},
      {"[HKLM\\A]\r\n\"v\"=hex:01,,02\r\n", "t.reg:3: hex data must be bytes"},
      {"[HKLM\\A]\r\n\"v\"=hex:01,\r\n", "t.reg:3: hex data must be bytes"},
      {"[HKLM\\A]\r\n\"v\"=hex:01,\\\r\n  02,\\\r\n  zz\r\n", "t.reg:5: hex data must be bytes"},
      {"[HKLM\\A]\r\n\"v\"=hex:01,\\\r\n", "t.reg:3: file ends inside a continued hex value"},
      {"[HKLM\\A]\r\n\"v\"=hex(2x):00\r\n", "t.reg:3: hex(N): needs a type"},
      {"[HKLM\\A]\r\n\"v\"=hex(123456789):00\r\n", "t.reg:3: hex(N): needs a type"},
      {"[HKLM\\A]\r\n\"v\"=hex 01\r\n", "t.reg:3: expected : after hex"},
      {"[HKLM\\A]\r\n\"v\"=str:\"x\"\r\n", "t.reg:3: unknown value type"},
      {"[HKLM\\A]\r\n\"v\"=\r\n", "t.reg:3: unknown value type"},
      {"[HKLM\\A]\r\nv=\"x\"\r\n", "t.reg:3: not a key, value or comment line"},
      {"[HKLM\\A]\r\n\"" + std::string(16384, 'n') + "\"=\"x\"\r\n",
       "t.reg:3: value name longer than 16383"},
      {"[HKLM\\A]\r\n\"v\"=\"a" + std::string(1, '\0') + "b\"\r\n",
       "t.reg:3: NUL character in the file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body.substr(0, 60));
    Registry reg;
    reg.SetValue("HKLM\\Software\\Before", "kept", kRegSz, Sz("yes"));
    const Registry original = reg;
    std::string error;
    EXPECT_FALSE(LoadRegFile("REGEDIT4\r\n" + c.body, "t.reg", reg, &error));
    EXPECT_EQ(error.substr(0, c.error.size()), c.error) << error;
    EXPECT_TRUE(reg.SameContent(original));  // nothing of the file was applied
  }
}

TEST(RegFileTest, HeaderAndEncodingErrors) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "x.reg:1: empty file"},
      {"\r\n[HKLM\\A]\r\n", "x.reg:1: not a registry file: the first line must be REGEDIT4"},
      {"REGEDIT5\r\n", "x.reg:1: not a registry file"},
      {"\xEF\xBB\xBFREGEDIT4\r\n", "x.reg:1: UTF-8 text is not supported"},
      {"Windows Registry Editor Version 5.00\r\n", "x.reg:1: a \"Windows Registry Editor"},
      {Utf16File(u"REGEDIT4\r\n"), "x.reg:1: a REGEDIT4 file must be ANSI text"},
      {Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\\u4E2D]\r\n"),
       "x.reg:3: character U+4E2D has no equivalent in the ANSI code page"},
      {Utf16File(u"Windows Registry Editor Version 5.00\r\n\xD800x"),
       "x.reg:2: invalid UTF-16 text"},
      {Utf16File(u"Windows Registry Editor Version 5.00\r\n") + "x",
       "x.reg:2: UTF-16 text ends in the middle of a character"},
      {Utf16File(u"Windows Registry Editor Version 5.00\r\n[HKLM\\A]\r\n\"v\"=hex(2):41\r\n"),
       "x.reg:3: UTF-16 string data of an odd number of bytes"},
      {"\xFE\xFF", "x.reg:1: UTF-16 big-endian"},
      {std::string("\x7f\x45\x4c\x46\x02\x01\x01\0\0\0", 10), "x.reg:1: not a registry file"},
  };
  for (const auto& [bytes, expected] : cases) {
    Registry reg;
    std::string error;
    EXPECT_FALSE(LoadRegFile(bytes, "x.reg", reg, &error));
    EXPECT_EQ(error.substr(0, expected.size()), expected) << error;
  }
}

TEST(RegFileTest, LoadsUtf16FilesIntoTheAnsiCodePage) {
  const std::string file = Utf16File(
      u"Windows Registry Editor Version 5.00\r\n"
      u"\r\n"
      u"[HKEY_LOCAL_MACHINE\\Software\\Caf\u00E9]\r\n"
      u"\"Price\"=\"5 \u20AC\"\r\n"
      u"\"Expand\"=hex(2):25,00,e9,00,00,00\r\n"
      u"\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
      u"\"Bytes\"=hex:e9,00\r\n");
  Registry reg;
  std::string error;
  ASSERT_TRUE(LoadRegFile(file, "u.reg", reg, &error)) << error;
  const std::string key = "HKLM\\Software\\Caf\xE9";
  EXPECT_EQ(reg.FindKey(key)->name(), "Caf\xE9");
  EXPECT_EQ(reg.GetValue(key, "Price")->data, Sz("5 \x80"));
  EXPECT_EQ(reg.GetValue(key, "Expand")->data, Sz("%\xE9"));
  EXPECT_EQ(reg.GetValue(key, "Multi")->data, std::string("a\0\0", 3));
  EXPECT_EQ(reg.GetValue(key, "Bytes")->data, std::string("\xE9\0", 2));  // binary as it is
}

TEST(RegFileTest, SaveWritesRegeditText) {
  Registry reg;
  reg.SetValue("HKLM\\Software\\Kestrix", "", kRegSz, Sz("d"));
  reg.SetValue("HKLM\\Software\\Kestrix", "Quote\"Back\\", kRegDword, std::string("\x01\0\0\0", 4));
  reg.CreateKey("HKU\\.DEFAULT");
  EXPECT_EQ(SaveRegFile(reg),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE]\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software]\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Kestrix]\r\n"
            "@=\"d\"\r\n"
            "\"Quote\\\"Back\\\\\"=dword:00000001\r\n"
            "\r\n"
            "[HKEY_USERS]\r\n"
            "\r\n"
            "[HKEY_USERS\\.DEFAULT]\r\n"
            "\r\n");
}

TEST(RegFileTest, SaveContinuesLongHexWithinEightyColumns) {
  Registry reg;
  reg.SetValue("HKLM\\K", "Blob", kRegBinary, std::string(100, '\xAB'));
  const std::string saved = SaveRegFile(reg);
  const std::size_t start = saved.find("\"Blob\"=hex:ab,ab,");
  ASSERT_NE(start, std::string::npos);
  std::istringstream lines(saved.substr(start));
  std::string line;
  int count = 0;
  std::size_t bytes = 0;
  bool continued = true;
  while (continued && std::getline(lines, line)) {
    ++count;
    ASSERT_EQ(line.back(), '\r');
    line.pop_back();
    EXPECT_LE(line.size(), 80u) << line;
    if (count > 1) {
      EXPECT_EQ(line.substr(0, 2), "  ");
    }
    continued = line.back() == '\\';
    EXPECT_TRUE(EndsWith(line, continued ? "ab,\\" : "ab")) << line;
    for (std::size_t i = line.find("ab"); i != std::string::npos; i = line.find("ab", i + 2)) {
      ++bytes;
    }
  }
  EXPECT_GT(count, 3);
  EXPECT_EQ(bytes, 100u);
}

TEST(RegFileTest, SaveThenLoadGivesTheSameRegistry) {
  Registry reg;
  const std::string odd = "HKEY_LOCAL_MACHINE\\Software\\Odd [names] ]\\ spaced \\-dash\\\xC9t\xE9";
  reg.CreateKey(odd);
  reg.CreateKey("HKLM\\Software\\Empty");
  struct Value {
    std::string name;
    DWORD type;
    std::string data;
  };
  const Value values[] = {
      {"", kRegSz, Sz("")},
      {"@", kRegSz, Sz("not the default")},
      {"\"quoted\" \\ and ; = [x]", kRegSz, Sz("\"\\\\ text \\")},
      {"no terminator", kRegSz, "abc"},
      {"empty data", kRegSz, ""},
      {"embedded nul", kRegSz, std::string("a\0b\0", 4)},
      {"line breaks", kRegSz, Sz("one\r\ntwo\rthree\n")},
      {"high bytes \x80\xFF", kRegSz, Sz("\x80\x81\xFF")},
      {"dword", kRegDword, std::string("\x78\x56\x34\x12", 4)},
      {"short dword", kRegDword, "\x01"},
      {"binary zeros", kRegBinary, std::string(300, '\0')},
      {"empty binary", kRegBinary, ""},
      {"expand", kRegExpandSz, Sz("%SystemRoot%\\x")},
      {"multi", kRegMultiSz, std::string("a\0bc\0\0", 6)},
      {"none", kRegNone, ""},
      {"odd type", 0xFFFFFFFFu, "\x10\x20"},
  };
  for (const Value& v : values) reg.SetValue(odd, v.name, v.type, v.data);
  reg.SetValue("HKCU\\Software\\Kestrix", "", kRegBinary, std::string(1000, '\x5A'));

  const std::string saved = SaveRegFile(reg);
  Registry loaded;
  std::string error;
  ASSERT_TRUE(LoadRegFile(saved, "saved.reg", loaded, &error)) << error;
  EXPECT_TRUE(loaded.SameContent(reg)) << saved;
  EXPECT_TRUE(DiffRegistry(reg, loaded).empty());
  EXPECT_EQ(SaveRegFile(loaded), saved);
}

}  // namespace
}  // namespace kx::sim
