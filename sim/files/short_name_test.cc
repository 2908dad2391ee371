#include "sim/files/short_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/files/file_tree.h"

namespace kx::sim {
namespace {

TEST(ShortNameTest, RecognisesNamesThatAreAlready83) {
  const struct {
    const char* name;
    bool isShort;
  } cases[] = {
      {"README.TXT", true}, {"readme.txt", true},   {"WIN_ME", true},     {"A", true},
      {"KX~1.INF", true},   {"ABCDEFGH.IJK", true}, {"ABCDEFGHI", false}, {"A.TEXT", false},
      {"A.B.C", false},     {"A B", false},         {"A+B", false},       {".INF", false},
      {"A[1]", false},      {"A;B", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsShortName(c.name), c.isShort) << c.name;
}

// Names created one after another in one folder, and the aliases they get.
TEST(ShortNameTest, AliasesMadeAtCreation) {
  const struct {
    std::vector<std::string> names;
    std::vector<std::string> aliases;
  } cases[] = {
      {{"Program Files", "Program Filez"}, {"PROGRA~1", "PROGRA~2"}},
      {{"readme.txt", "Kestrix", "WIN_9x"}, {"README.TXT", "KESTRIX", "WIN_9X"}},
      {{"x.html"}, {"X~1.HTM"}},
      {{"my file.txt"}, {"MYFILE~1.TXT"}},
      {{"a.b.c.txt"}, {"ABC~1.TXT"}},
      {{"long.extension"}, {"LONG~1.EXT"}},
      {{"[x];=,y.inf"}, {"XY~1.INF"}},
      {{"a+b.txt"}, {"A_B~1.TXT"}},
      {{".htaccess"}, {"HTACCE~1"}},
      {{"trail. txt"}, {"TRAIL~1.TXT"}},
      // A long name that looks like an alias keeps it; the next alias avoids it.
      {{"PROGRA~1", "Program Files"}, {"PROGRA~1", "PROGRA~2"}},
      // Past ~9 the base gives up a character for the longer tail.
      {{"ABCDEFGH1", "ABCDEFGH2", "ABCDEFGH3", "ABCDEFGH4", "ABCDEFGH5", "ABCDEFGH6", "ABCDEFGH7",
        "ABCDEFGH8", "ABCDEFGH9", "ABCDEFGH10"},
       {"ABCDEF~1", "ABCDEF~2", "ABCDEF~3", "ABCDEF~4", "ABCDEF~5", "ABCDEF~6", "ABCDEF~7",
        "ABCDEF~8", "ABCDEF~9", "ABCDE~10"}},
      // Same base, other extension: a separate sequence.
      {{"report one.doc", "report one.txt"}, {"REPORT~1.DOC", "REPORT~1.TXT"}},
  };
  for (const auto& c : cases) {
    FileFolder folder(FileFolder::kNoParent, "");
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      EXPECT_EQ(folder.Add(c.names[i], 0).shortName, c.aliases[i]) << c.names[i];
    }
  }
}

TEST(ShortNameTest, LookupByEitherNameIgnoringCaseKeepsStoredCase) {
  FileFolder folder(FileFolder::kNoParent, "");
  folder.Add("Program Files", kFileAttributeDirectory);
  for (const char* name : {"Program Files", "PROGRAM FILES", "progra~1"}) {
    const FileEntry* entry = folder.Find(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry->name, "Program Files");
  }
  EXPECT_EQ(folder.Find("PROGRA~2"), nullptr);
}

TEST(ShortNameTest, FreedAliasIsReusedAndThousandsStayDistinct) {
  FileFolder folder(FileFolder::kNoParent, "");
  folder.Add("Program Files", 0);
  folder.Add("Program Filez", 0);
  folder.Remove(*folder.Find("Program Files"));
  EXPECT_EQ(folder.Add("Program Fileq", 0).shortName, "PROGRA~1");
  EXPECT_EQ(folder.Add("Program Filex", 0).shortName, "PROGRA~3");

  FileFolder big(FileFolder::kNoParent, "");
  for (int i = 0; i < 3000; ++i) big.Add("similar name " + std::to_string(i) + ".txt", 0);
  EXPECT_EQ(big.Find("SIMILA~1.TXT")->name, "similar name 0.txt");
  EXPECT_EQ(big.Find("SIMI~100.TXT")->name, "similar name 99.txt");
  EXPECT_EQ(big.Find("SIM~3000.TXT")->name, "similar name 2999.txt");
}

}  // namespace
}  // namespace kx::sim
