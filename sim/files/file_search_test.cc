#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/files/file_system.h"

namespace kx::sim {
namespace {

class FileSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.AddDrive('C', {});
    fs.CreateDirectories("C:\\WINDOWS\\INF\\OTHER");
    for (const char* name :
         {"oem1.INF", "a.inf", "KXAUDIO.Inf", "x.html", "README", "_setup.log", "Zeta", "b.infx"}) {
      fs.WriteFile(std::string("C:\\WINDOWS\\INF\\") + name, "1234");
    }
  }

  // The names a search returns, as "long|short".
  std::vector<std::string> Find(const char* pattern) {
    std::vector<std::string> names;
    FindData data;
    FindHandle find = fs.FindFirstFileA(pattern, &data);
    if (find == kInvalidFindHandle) return names;
    do {
      std::string name = data.cFileName;
      if (data.cAlternateFileName[0]) name += std::string("|") + data.cAlternateFileName;
      names.push_back(name);
    } while (fs.FindNextFileA(find, &data));
    EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorNoMoreFiles));
    EXPECT_TRUE(fs.FindClose(find));
    return names;
  }

  FileSystem fs;
};

using Names = std::vector<std::string>;

TEST_F(FileSearchTest, MatchesLongAndShortNamesInListingOrder) {
  const struct {
    const char* pattern;
    Names names;
  } cases[] = {
      {"C:\\WINDOWS\\INF\\*.*",
       // Sorted by the upper-case names: '_' comes after the letters.
       {".", "..", "a.inf", "b.infx|B~1.INF", "KXAUDIO.Inf", "oem1.INF", "OTHER", "README",
        "x.html|X~1.HTM", "Zeta", "_setup.log"}},
      {"C:\\WINDOWS\\INF\\*.INF", {"a.inf", "b.infx|B~1.INF", "KXAUDIO.Inf", "oem1.INF"}},
      {"c:\\windows\\inf\\KX*.INF", {"KXAUDIO.Inf"}},
      {"C:\\WINDOWS\\INF\\*.htm", {"x.html|X~1.HTM"}},
      {"C:\\WINDOWS\\INF\\*.", {".", "..", "OTHER", "README", "Zeta"}},
      {"C:\\WINDOWS\\INF\\oem?.inf", {"oem1.INF"}},
      {"C:\\WINDOWS\\INF\\readme", {"README"}},           // a plain name
      {"C:\\WINDOWS\\INF\\X~1.HTM", {"x.html|X~1.HTM"}},  // found by its alias
      {"C:\\WINDOWS\\*", {".", "..", "INF"}},
      {"C:\\*.*", {"WINDOWS"}},  // a root has no "." and ".."
  };
  for (const auto& c : cases) EXPECT_EQ(Find(c.pattern), c.names) << c.pattern;
}

TEST_F(FileSearchTest, ReportsAttributesAndSize) {
  FindData data;
  FindHandle find = fs.FindFirstFileA("C:\\WINDOWS\\INF\\OTHER", &data);
  ASSERT_NE(find, kInvalidFindHandle);
  EXPECT_EQ(data.dwFileAttributes, kFileAttributeDirectory);
  fs.FindClose(find);
  fs.SetFileAttributesA("C:\\WINDOWS\\INF\\a.inf", kFileAttributeNormal);
  find = fs.FindFirstFileA("C:\\WINDOWS\\INF\\A.INF", &data);
  EXPECT_EQ(data.dwFileAttributes, kFileAttributeNormal);
  EXPECT_EQ(data.nFileSizeLow, 4u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  fs.FindClose(find);
}

TEST_F(FileSearchTest, Failures) {
  const struct {
    const char* pattern;
    DWORD error;
  } cases[] = {
      {"C:\\WINDOWS\\INF\\*.exe", kErrorFileNotFound},
      {"C:\\WINDOWS\\INF\\", kErrorFileNotFound},
      {"C:\\NODIR\\*.*", kErrorPathNotFound},
      {"C:\\WINDOWS\\INF\\a.inf\\*.*", kErrorPathNotFound},
      {"Q:\\*.*", kErrorPathNotFound},
      {"C:\\WIN*\\*.*", kErrorInvalidName},
  };
  for (const auto& c : cases) {
    FindData data;
    fs.set_last_error(0);
    EXPECT_EQ(fs.FindFirstFileA(c.pattern, &data), kInvalidFindHandle) << c.pattern;
    EXPECT_EQ(fs.last_error(), c.error) << c.pattern;
  }
  FindData data;
  EXPECT_FALSE(fs.FindNextFileA(kInvalidFindHandle, &data));
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorInvalidHandle));
  EXPECT_FALSE(fs.FindClose(kInvalidFindHandle));
}

TEST_F(FileSearchTest, ChangesDuringAnEnumerationDoNotDisturbIt) {
  FindData data;
  FindHandle find = fs.FindFirstFileA("C:\\WINDOWS\\INF\\*.inf", &data);
  ASSERT_NE(find, kInvalidFindHandle);
  Names names{data.cFileName};
  // Delete what is still to come and add new matches.
  fs.DeleteFileA("C:\\WINDOWS\\INF\\oem1.INF");
  fs.WriteFile("C:\\WINDOWS\\INF\\new.inf", "");
  while (fs.FindNextFileA(find, &data)) {
    names.push_back(data.cFileName);
    fs.DeleteFileA((std::string("C:\\WINDOWS\\INF\\") + data.cFileName).c_str());
  }
  fs.FindClose(find);
  EXPECT_EQ(names, (Names{"a.inf", "b.infx", "KXAUDIO.Inf", "oem1.INF"}));
}

TEST_F(FileSearchTest, LargeFolderListsEveryFileOnce) {
  fs.CreateDirectoryA("C:\\MEDIA");
  for (int i = 0; i < 5000; ++i) {
    fs.WriteFile("C:\\MEDIA\\track number " + std::to_string(i) + ".wav", "");
  }
  const Names names = Find("C:\\MEDIA\\*.WAV");
  EXPECT_EQ(names.size(), 5000u);
  EXPECT_EQ(names.front(), "track number 0.wav|TRACKN~1.WAV");
  EXPECT_EQ(Find("C:\\MEDIA\\TRA~5000.WAV"), (Names{"track number 4999.wav|TRA~5000.WAV"}));
}

}  // namespace
}  // namespace kx::sim
