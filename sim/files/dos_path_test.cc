#include "sim/files/dos_path.h"

#include <gtest/gtest.h>

#include <string>

namespace kx::sim {
namespace {

TEST(DosPathTest, ResolvesAsWindowsDoes) {
  const struct {
    const char* current;
    std::string path;
    const char* text;
  } cases[] = {
      {"C:\\WINDOWS", "C:\\X\\Y", "C:\\X\\Y"},
      {"C:\\WINDOWS", "d:\\x", "D:\\x"},
      {"C:\\WINDOWS", "\\X", "C:\\X"},
      {"E:\\MEDIA", "\\", "E:\\"},
      {"C:\\WINDOWS", "SYSTEM", "C:\\WINDOWS\\SYSTEM"},
      {"C:\\WINDOWS", ".\\INF\\", "C:\\WINDOWS\\INF"},
      {"C:\\WINDOWS", "..\\TEMP", "C:\\TEMP"},
      {"C:\\", "..\\..\\A\\.\\B\\..", "C:\\A"},
      {"C:\\WINDOWS", "E:SUB", "E:\\SUB"},
      {"E:\\MEDIA", "E:SUB", "E:\\MEDIA\\SUB"},
      {"E:\\MEDIA", "e:", "E:\\MEDIA"},
      {"E:\\MEDIA", "E:..", "E:\\"},
      {"C:\\WINDOWS", "c:/a//b\\\\\\c/", "C:\\a\\b\\c"},
      {"C:\\WINDOWS", "C:\\a.\\b. .", "C:\\a\\b"},
      {"C:\\", "C:\\" + std::string(200, 'a') + "\\" + std::string(55, 'b'),
       nullptr},  // 259 characters: still a path
  };
  for (const auto& c : cases) {
    DosPath resolved;
    ASSERT_EQ(ResolveDosPath(c.path, c.current, PathKind::Name, &resolved), kErrorSuccess)
        << c.path;
    if (c.text) {
      EXPECT_EQ(resolved.Text(), c.text) << c.path;
    }
  }
}

TEST(DosPathTest, RefusesWhatWindowsRefuses) {
  const std::string deep = "C:\\" + std::string(200, 'a');
  const struct {
    const char* current;
    std::string path;
    DWORD error;
  } cases[] = {
      {"C:\\", "C:\\" + std::string(257, 'a'), kErrorFilenameExcedRange},  // 260 characters
      {"C:\\", std::string(5000, '\\'), kErrorFilenameExcedRange},
      {"C:\\", "C:\\" + std::string(256, 'a'), kErrorFilenameExcedRange},  // one long name
      {deep.c_str(), std::string(60, 'b'), kErrorPathNotFound},            // too long once resolved
      {"C:\\", "", kErrorPathNotFound},
      {"", "relative", kErrorPathNotFound},
      {"C:\\", "C:\\a<b", kErrorInvalidName},
      {"C:\\", "C:\\a*b", kErrorInvalidName},
      {"C:\\", "C:\\a:b", kErrorInvalidName},
      {"C:\\", std::string("C:\\a\x01", 5), kErrorInvalidName},
      {"C:\\", std::string("C:\\a\0b", 6), kErrorInvalidName},
      {"C:\\", "1:\\x", kErrorInvalidName},
      {"C:\\", "C:\\...", kErrorInvalidName},
      {"C:\\", "\\\\server\\share\\x", kErrorBadPathname},
  };
  for (const auto& c : cases) {
    DosPath resolved;
    EXPECT_EQ(ResolveDosPath(c.path, c.current, PathKind::Name, &resolved), c.error)
        << c.path.substr(0, 40);
  }
}

TEST(DosPathTest, PatternKeepsItsLastComponentVerbatim) {
  const struct {
    const char* path;
    const char* folder;
    const char* pattern;
  } cases[] = {
      {"INF\\*.inf", "C:\\WINDOWS\\INF", "*.inf"},
      {"*.", "C:\\WINDOWS", "*."},
      {"C:\\X\\", "C:\\X", ""},
      {"C:\\", "C:\\", ""},
      {"..\\a?c.*", "C:\\", "a?c.*"},
  };
  for (const auto& c : cases) {
    DosPath resolved;
    ASSERT_EQ(ResolveDosPath(c.path, "C:\\WINDOWS", PathKind::Pattern, &resolved), kErrorSuccess)
        << c.path;
    EXPECT_EQ(resolved.Text(), c.folder) << c.path;
    EXPECT_EQ(resolved.pattern, c.pattern) << c.path;
  }
  DosPath resolved;
  EXPECT_EQ(ResolveDosPath("C:\\a*\\b", "C:\\", PathKind::Pattern, &resolved), kErrorInvalidName);
}

}  // namespace
}  // namespace kx::sim
