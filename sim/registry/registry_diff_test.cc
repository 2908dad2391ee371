#include "sim/registry/registry_diff.h"

#include <gtest/gtest.h>

namespace kx::sim {
namespace {

using Kind = RegistryChange::Kind;

std::string Sz(std::string_view text) { return std::string(text) + '\0'; }

RegistryChange KeyChange(Kind kind, std::string key) {
  RegistryChange change;
  change.kind = kind;
  change.key = std::move(key);
  return change;
}

RegistryChange ValueChange(Kind kind, std::string key, std::string name, DWORD oldType,
                           std::string oldData, DWORD newType, std::string newData) {
  RegistryChange change = KeyChange(kind, std::move(key));
  change.valueName = std::move(name);
  change.oldType = oldType;
  change.oldData = std::move(oldData);
  change.newType = newType;
  change.newData = std::move(newData);
  return change;
}

TEST(RegistryDiffTest, ReportsChangesInPathThenValueOrder) {
  const std::string kx = "HKEY_LOCAL_MACHINE\\Software\\Kestrix";
  Registry before;
  before.SetValue(kx, "Same", kRegSz, Sz("x"));
  before.SetValue(kx, "Text", kRegSz, Sz("old"));
  before.SetValue(kx, "Kind", kRegBinary, "\x01");
  before.SetValue(kx, "Gone", kRegSz, Sz("bye"));
  before.SetValue(kx, "CaseOnly", kRegSz, Sz("c"));
  before.SetValue(kx + "\\Old\\Inner", "v", kRegSz, Sz("deep"));
  before.CreateKey("HKU\\.DEFAULT");

  Registry after = before;
  after.SetValue(kx, "Text", kRegSz, Sz("new"));
  after.SetValue(kx, "Kind", kRegDword, "\x01");  // same bytes, another type
  after.DeleteValue(kx, "Gone");
  after.DeleteValue(kx, "CaseOnly");
  after.SetValue(kx, "caseonly", kRegSz, Sz("c"));
  after.SetValue(kx, "", kRegSz, Sz("default"));
  after.DeleteKey(kx + "\\Old");
  after.SetValue(kx + "\\New", "b", kRegSz, Sz("2"));
  after.SetValue(kx + "\\New", "a", kRegSz, Sz("1"));
  after.CreateKey(kx + "\\New\\Child");
  after.SetValue("HKCU\\Software", "u", kRegBinary, "");

  const std::vector<RegistryChange> expected = {
      ValueChange(Kind::ValueAdded, kx, "", 0, "", kRegSz, Sz("default")),
      ValueChange(Kind::ValueDeleted, kx, "Gone", kRegSz, Sz("bye"), 0, ""),
      ValueChange(Kind::ValueChanged, kx, "Kind", kRegBinary, "\x01", kRegDword, "\x01"),
      ValueChange(Kind::ValueChanged, kx, "Text", kRegSz, Sz("old"), kRegSz, Sz("new")),
      KeyChange(Kind::KeyAdded, kx + "\\New"),
      ValueChange(Kind::ValueAdded, kx + "\\New", "a", 0, "", kRegSz, Sz("1")),
      ValueChange(Kind::ValueAdded, kx + "\\New", "b", 0, "", kRegSz, Sz("2")),
      KeyChange(Kind::KeyAdded, kx + "\\New\\Child"),
      KeyChange(Kind::KeyDeleted, kx + "\\Old"),  // one entry for the whole subtree
      KeyChange(Kind::KeyAdded, "HKEY_USERS\\.DEFAULT\\Software"),
      ValueChange(Kind::ValueAdded, "HKEY_USERS\\.DEFAULT\\Software", "u", 0, "", kRegBinary, ""),
  };
  EXPECT_EQ(DiffRegistry(before, after), expected);
  EXPECT_TRUE(DiffRegistry(after, after).empty());
  EXPECT_TRUE(DiffRegistry(Registry(), Registry()).empty());
}

TEST(RegistryDiffTest, FormatRegValueGivesTheRegistryFileForm) {
  struct Case {
    DWORD type;
    std::string data;
    std::string text;
  };
  const Case cases[] = {
      {kRegSz, Sz("C:\\Program Files\\\"KX\""), "\"C:\\\\Program Files\\\\\\\"KX\\\"\""},
      {kRegSz, Sz(""), "\"\""},
      {kRegSz, "", "hex(1):"},         // no terminator at all
      {kRegSz, "ab", "hex(1):61,62"},  // no terminator
      {kRegSz, std::string("a\0b\0", 4), "hex(1):61,00,62,00"},
      {kRegSz, Sz("two\r\nlines"), "hex(1):74,77,6f,0d,0a,6c,69,6e,65,73,00"},
      {kRegDword, std::string("\x1f\0\0\0", 4), "dword:0000001f"},
      {kRegDword, "\xff\xff\xff\xff", "dword:ffffffff"},
      {kRegDword, "\x01\x02", "hex(4):01,02"},
      {kRegBinary, std::string("\x01\x00\xAB", 3), "hex:01,00,ab"},
      {kRegBinary, "", "hex:"},
      {kRegExpandSz, Sz("%windir%"), "hex(2):25,77,69,6e,64,69,72,25,00"},
      {kRegMultiSz, std::string("a\0b\0\0", 5), "hex(7):61,00,62,00,00"},
      {kRegNone, "", "hex(0):"},
      {0x0B, "\x01", "hex(b):01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatRegValue(c.type, c.data), c.text);
  }
}

}  // namespace
}  // namespace kx::sim
