#include "sim/files/file_system.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kx::sim {
namespace {

DriveOptions ReadOnlyDrive() {
  DriveOptions options;
  options.readOnly = true;
  return options;
}

DriveOptions DriveOfCapacity(std::uint64_t bytes) {
  DriveOptions options;
  options.capacityBytes = bytes;
  return options;
}

// C: a small Windows tree; E: a CD holding Setup.exe (read-only, as a CD's files are).
class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.AddDrive('C', {});
    ASSERT_TRUE(fs.CreateDirectories("C:\\WINDOWS\\INF"));
    ASSERT_TRUE(fs.CreateDirectories("C:\\Program Files\\Kestrix"));
    ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\win.ini", "[windows]\r\n"));
    fs.AddDrive('E', {});
    ASSERT_TRUE(fs.WriteFile("E:\\Setup.exe", "MZ"));
    ASSERT_TRUE(fs.SetFileAttributesA("E:\\Setup.exe", kFileAttributeReadonly));
    ASSERT_TRUE(fs.SetDriveOptions('E', ReadOnlyDrive()));
  }

  std::string Read(const char* path) {
    std::string bytes;
    EXPECT_TRUE(fs.ReadFile(path, &bytes)) << path;
    return bytes;
  }

  // Runs a call that must fail and returns its error.
  template <typename Call>
  DWORD ErrorOf(Call call) {
    fs.set_last_error(0);
    EXPECT_FALSE(call());
    return fs.last_error();
  }

  FileSystem fs;
};

TEST_F(FileSystemTest, CurrentDirectoryResolvesRelativeForms) {
  ASSERT_TRUE(fs.SetCurrentDirectoryA("c:\\progra~1\\kestrix\\"));
  char buffer[kMaxPath];
  ASSERT_EQ(fs.GetCurrentDirectoryA(sizeof buffer, buffer), 19u);
  EXPECT_STREQ(buffer, "C:\\progra~1\\kestrix");  // kept as it was set
  EXPECT_EQ(fs.FullPath("..\\..\\windows\\WIN.INI"), "C:\\WINDOWS\\win.ini");
  EXPECT_EQ(fs.FullPath(".\\new.txt"), "C:\\Program Files\\Kestrix\\new.txt");
  EXPECT_EQ(fs.FullPath("\\WINDOWS/INF//"), "C:\\WINDOWS\\INF");
  EXPECT_TRUE(fs.FileExists("E:Setup.exe"));  // E:'s root: the current folder is on C:
  EXPECT_TRUE(fs.FileExists("C:..\\..\\WINDOWS\\win.ini"));

  ASSERT_TRUE(fs.SetCurrentDirectoryA("E:\\"));
  EXPECT_TRUE(fs.FileExists("setup.EXE"));
  EXPECT_EQ(fs.FullPath("C:windows"), "C:\\WINDOWS");
}

TEST_F(FileSystemTest, CurrentDirectoryRefusalsLeaveItUnchanged) {
  const struct {
    const char* path;
    DWORD error;
  } cases[] = {
      {"C:\\NOPE", kErrorFileNotFound},
      {"C:\\NOPE\\INF", kErrorPathNotFound},
      {"C:\\WINDOWS\\win.ini", kErrorPathNotFound},
      {"Q:\\", kErrorPathNotFound},
      {nullptr, kErrorInvalidParameter},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { return fs.SetCurrentDirectoryA(c.path); }), c.error)
        << (c.path ? c.path : "null");
  }
  char buffer[kMaxPath];
  fs.GetCurrentDirectoryA(sizeof buffer, buffer);
  EXPECT_STREQ(buffer, "C:\\");
}

TEST_F(FileSystemTest, DirectoryCallsReturnRequiredSizeWhenBufferIsSmall) {
  ASSERT_TRUE(fs.SetCurrentDirectoryA("C:\\WINDOWS"));
  char buffer[11] = "untouched";
  EXPECT_EQ(fs.GetCurrentDirectoryA(10, buffer), 11u);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(fs.GetCurrentDirectoryA(11, buffer), 10u);
  EXPECT_STREQ(buffer, "C:\\WINDOWS");
  EXPECT_EQ(fs.GetCurrentDirectoryA(0, nullptr), 11u);

  char shortPath[20] = "untouched";
  EXPECT_EQ(fs.GetShortPathNameA("C:\\Program Files\\Kestrix", shortPath, 19), 20u);
  EXPECT_STREQ(shortPath, "untouched");
  EXPECT_EQ(fs.GetShortPathNameA("C:\\Program Files\\Kestrix", shortPath, 20), 19u);
  EXPECT_STREQ(shortPath, "C:\\PROGRA~1\\KESTRIX");
}

TEST_F(FileSystemTest, ShortPathNames) {
  ASSERT_TRUE(fs.WriteFile("C:\\Program Files\\Kestrix\\Read me first.html", ""));
  const struct {
    const char* path;
    const char* shortPath;
  } cases[] = {
      {"C:\\Program Files\\Kestrix\\Read me first.html", "C:\\PROGRA~1\\KESTRIX\\README~1.HTM"},
      {"c:\\program files\\", "C:\\PROGRA~1\\"},
      {"C:\\PROGRA~1\\..\\WINDOWS\\win.ini", "C:\\WINDOWS\\WIN.INI"},
      {"C:\\", "C:\\"},
  };
  for (const auto& c : cases) {
    char buffer[kMaxPath];
    ASSERT_GT(fs.GetShortPathNameA(c.path, buffer, sizeof buffer), 0u) << c.path;
    EXPECT_STREQ(buffer, c.shortPath);
  }
  char buffer[kMaxPath];
  EXPECT_EQ(fs.GetShortPathNameA("C:\\Program Files\\Nope", buffer, sizeof buffer), 0u);
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorFileNotFound));
}

TEST_F(FileSystemTest, CreateDirectory) {
  EXPECT_TRUE(fs.CreateDirectoryA("C:\\Program Files\\Kestrix\\WIN_9x\\"));
  EXPECT_EQ(fs.GetFileAttributesA("C:\\PROGRA~1\\KESTRIX\\WIN_9X"), kFileAttributeDirectory);
  const std::string deep = "C:\\" + std::string(240, 'd');
  ASSERT_TRUE(fs.CreateDirectoryA(deep.c_str()));  // 243 characters
  const struct {
    std::string path;
    DWORD error;
  } cases[] = {
      {"C:\\WINDOWS", kErrorAlreadyExists},
      {"c:\\windows\\win.ini", kErrorAlreadyExists},
      {"C:\\", kErrorAlreadyExists},
      {"C:\\Missing\\Sub", kErrorPathNotFound},
      {"E:\\NEW", kErrorAccessDenied},
      {"C:\\bad|name", kErrorInvalidName},
      {deep + "\\abcd", kErrorFilenameExcedRange},  // 248: no room left for an 8.3 name
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { return fs.CreateDirectoryA(c.path.c_str()); }), c.error)
        << c.path.substr(0, 30);
  }
}

TEST_F(FileSystemTest, Attributes) {
  const char* ini = "C:\\WINDOWS\\win.ini";
  EXPECT_EQ(fs.GetFileAttributesA(ini), kFileAttributeArchive);
  ASSERT_TRUE(fs.SetFileAttributesA(ini, kFileAttributeNormal));
  EXPECT_EQ(fs.GetFileAttributesA(ini), kFileAttributeNormal);
  ASSERT_TRUE(fs.SetFileAttributesA(ini, kFileAttributeReadonly | kFileAttributeHidden));
  EXPECT_EQ(fs.GetFileAttributesA(ini), kFileAttributeReadonly | kFileAttributeHidden);
  ASSERT_TRUE(fs.SetFileAttributesA("C:\\WINDOWS", kFileAttributeHidden));
  EXPECT_EQ(fs.GetFileAttributesA("C:\\WINDOWS"), kFileAttributeDirectory | kFileAttributeHidden);
  fs.AddDrive('F', ReadOnlyDrive());
  EXPECT_EQ(fs.GetFileAttributesA("F:\\"), kFileAttributeDirectory | kFileAttributeReadonly);

  EXPECT_EQ(fs.GetFileAttributesA("C:\\WINDOWS\\nope.ini"), kInvalidFileAttributes);
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorFileNotFound));
  EXPECT_EQ(fs.GetFileAttributesA("C:\\NOPE\\nope.ini"), kInvalidFileAttributes);
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorPathNotFound));
  EXPECT_EQ(ErrorOf([&] { return fs.SetFileAttributesA("C:\\nope", kFileAttributeNormal); }),
            static_cast<DWORD>(kErrorFileNotFound));
  EXPECT_EQ(ErrorOf([&] { return fs.SetFileAttributesA("E:\\Setup.exe", kFileAttributeNormal); }),
            static_cast<DWORD>(kErrorAccessDenied));
}

TEST_F(FileSystemTest, CopyRefusals) {
  ASSERT_TRUE(fs.WriteFile("C:\\locked.txt", "old"));
  ASSERT_TRUE(fs.SetFileAttributesA("C:\\locked.txt", kFileAttributeReadonly));
  const struct {
    const char* source;
    const char* target;
    BOOL failIfExists;
    DWORD error;
  } cases[] = {
      {"E:\\missing.inf", "C:\\a.inf", kFalse, kErrorFileNotFound},
      {"E:\\NODIR\\x.inf", "C:\\a.inf", kFalse, kErrorPathNotFound},
      {"C:\\WINDOWS", "C:\\a", kFalse, kErrorAccessDenied},
      {"E:\\Setup.exe", "C:\\WINDOWS\\WIN.INI", kTrue, kErrorFileExists},
      {"E:\\Setup.exe", "C:\\locked.txt", kFalse, kErrorAccessDenied},
      {"C:\\WINDOWS\\win.ini", "E:\\win.ini", kFalse, kErrorAccessDenied},
      {"E:\\Setup.exe", "C:\\NODIR\\Setup.exe", kFalse, kErrorPathNotFound},
      {"E:\\Setup.exe", "C:\\WINDOWS", kFalse, kErrorAccessDenied},
      {"C:\\WINDOWS\\win.ini", "c:\\windows\\WIN.INI", kFalse, kErrorSharingViolation},
      {nullptr, "C:\\a", kFalse, kErrorInvalidParameter},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { return fs.CopyFileA(c.source, c.target, c.failIfExists); }), c.error)
        << (c.source ? c.source : "null") << " -> " << c.target;
  }
  EXPECT_EQ(Read("C:\\locked.txt"), "old");
  EXPECT_EQ(Read("C:\\WINDOWS\\win.ini"), "[windows]\r\n");
  EXPECT_FALSE(fs.FileExists("C:\\a.inf"));
}

TEST_F(FileSystemTest, CopyCarriesBytesAndAttributes) {
  ASSERT_TRUE(fs.CopyFileA("E:\\SETUP.EXE", "C:\\Program Files\\Kestrix\\setup.exe", kTrue));
  const char* copy = "C:\\Program Files\\Kestrix\\setup.exe";
  EXPECT_EQ(Read(copy), "MZ");
  EXPECT_EQ(fs.GetFileAttributesA(copy), kFileAttributeReadonly | kFileAttributeArchive);
  EXPECT_EQ(fs.FullPath("C:\\PROGRA~1\\KESTRIX\\SETUP.EXE"), copy);  // the given case is kept

  // Overwriting keeps the target's name and replaces its bytes.
  ASSERT_TRUE(fs.SetFileAttributesA(copy, kFileAttributeNormal));
  ASSERT_TRUE(fs.CopyFileA("C:\\WINDOWS\\win.ini", "C:\\PROGRA~1\\KESTRIX\\SETUP.EXE", kFalse));
  EXPECT_EQ(Read(copy), "[windows]\r\n");
  EXPECT_EQ(fs.FullPath("C:\\PROGRA~1\\KESTRIX\\SETUP.EXE"), copy);
  // The copy is its own file.
  ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\win.ini", "changed"));
  EXPECT_EQ(Read(copy), "[windows]\r\n");
}

TEST_F(FileSystemTest, DeleteRules) {
  ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\ro.dll", "x"));
  ASSERT_TRUE(fs.SetFileAttributesA("C:\\WINDOWS\\ro.dll", kFileAttributeReadonly));
  ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\open.dll", "x"));
  FileStream open = fs.FOpen("C:\\WINDOWS\\open.dll", "rb");
  ASSERT_NE(open, nullptr);
  const struct {
    const char* path;
    DWORD error;
  } cases[] = {
      {"C:\\WINDOWS\\ro.dll", kErrorAccessDenied},
      {"C:\\WINDOWS\\INF", kErrorAccessDenied},
      {"C:\\WINDOWS\\none.dll", kErrorFileNotFound},
      {"C:\\NODIR\\none.dll", kErrorPathNotFound},
      {"E:\\Setup.exe", kErrorAccessDenied},
      {"C:\\WINDOWS\\open.dll", kErrorSharingViolation},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { return fs.DeleteFileA(c.path); }), c.error) << c.path;
  }
  EXPECT_EQ(fs.FClose(open), 0);
  EXPECT_TRUE(fs.DeleteFileA("C:\\WINDOWS\\OPEN.DLL"));
  EXPECT_FALSE(fs.FileExists("C:\\WINDOWS\\open.dll"));
  ASSERT_TRUE(fs.SetFileAttributesA("C:\\WINDOWS\\ro.dll", kFileAttributeNormal));
  EXPECT_TRUE(fs.DeleteFileA("C:\\WINDOWS\\ro.dll"));
}

TEST_F(FileSystemTest, MoveFile) {
  ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\old name.dll", "dll"));
  ASSERT_TRUE(fs.MoveFileA("C:\\WINDOWS\\OLDNAM~1.DLL", "C:\\WINDOWS\\INF\\Other Name.dll"));
  EXPECT_FALSE(fs.FileExists("C:\\WINDOWS\\old name.dll"));
  EXPECT_EQ(Read("C:\\WINDOWS\\INF\\OTHERN~1.DLL"), "dll");
  ASSERT_TRUE(fs.MoveFileA("C:\\WINDOWS\\INF\\Other Name.dll", "C:\\WINDOWS\\INF\\OTHER NAME.DLL"));
  EXPECT_EQ(fs.FullPath("C:\\WINDOWS\\INF\\other name.dll"), "C:\\WINDOWS\\INF\\OTHER NAME.DLL");
  EXPECT_EQ(ErrorOf([&] {
              return fs.MoveFileA("C:\\WINDOWS\\INF\\OTHERN~1.DLL", "C:\\WINDOWS\\win.ini");
            }),
            static_cast<DWORD>(kErrorAlreadyExists));
  EXPECT_EQ(ErrorOf([&] { return fs.MoveFileA("E:\\Setup.exe", "C:\\Setup.exe"); }),
            static_cast<DWORD>(kErrorAccessDenied));
  EXPECT_EQ(ErrorOf([&] { return fs.MoveFileA("C:\\WINDOWS\\INF", "C:\\INF"); }),
            static_cast<DWORD>(kErrorAccessDenied));
}

TEST_F(FileSystemTest, FullDriveRefusesGrowthAndChangesNothing) {
  ASSERT_TRUE(fs.SetDriveOptions('C', DriveOfCapacity(fs.UsedBytes('C') + 10)));
  ASSERT_TRUE(fs.WriteFile("C:\\six.bin", "123456"));
  EXPECT_EQ(ErrorOf([&] { return fs.WriteFile("C:\\five.bin", "12345"); }),
            static_cast<DWORD>(kErrorHandleDiskFull));
  EXPECT_FALSE(fs.FileExists("C:\\five.bin"));
  ASSERT_TRUE(fs.WriteFile("C:\\six.bin", "1234567890"));  // replacing counts only the growth
  EXPECT_EQ(ErrorOf([&] { return fs.CopyFileA("E:\\Setup.exe", "C:\\Setup.exe", kFalse); }),
            static_cast<DWORD>(kErrorHandleDiskFull));
  EXPECT_FALSE(fs.FileExists("C:\\Setup.exe"));

  FileStream stream = fs.FOpen("C:\\six.bin", "r+b");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(fs.FWrite("ab", 1, 2, stream), 2u);  // in place: no growth
  EXPECT_EQ(fs.FSeek(stream, 0, kSeekEnd), 0);
  EXPECT_EQ(fs.FWrite("x", 1, 1, stream), 0u);
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorHandleDiskFull));
  EXPECT_EQ(fs.FClose(stream), 0);
  EXPECT_EQ(Read("C:\\six.bin"), "ab34567890");
  EXPECT_TRUE(fs.DeleteFileA("C:\\six.bin"));
  EXPECT_TRUE(fs.WriteFile("C:\\five.bin", "12345"));
}

TEST_F(FileSystemTest, InjectedFaults) {
  ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\INF\\oem1.inf", "inf"));
  fs.InjectFault("C:\\windows\\inf\\OEM1.INF", FileFault::CannotOpen);
  fs.InjectFault("C:\\PROGRA~1\\Kestrix", FileFault::CannotWrite);
  fs.InjectFault("C:\\WINDOWS\\win.ini", FileFault::CannotDelete);
  fs.InjectFault("C:\\WINDOWS\\later.ini", FileFault::CannotWrite);  // not there yet
  const char* oem = "C:\\WINDOWS\\INF\\oem1.inf";
  const char* staging = "C:\\Program Files\\Kestrix";

  const struct {
    const char* what;
    std::function<bool()> call;
  } refused[] = {
      {"open", [&] { return fs.FOpen(oem, "rb") != nullptr; }},
      {"read", [&] { return fs.ReadFile(oem, nullptr); }},
      {"copy from", [&] { return fs.CopyFileA(oem, "C:\\oem1.inf", kFalse) != 0; }},
      {"create in", [&] { return fs.WriteFile("C:\\Program Files\\Kestrix\\a", "a"); }},
      {"copy into",
       [&] { return fs.CopyFileA("E:\\Setup.exe", "C:\\PROGRA~1\\KESTRIX\\s", 0) != 0; }},
      {"folder in", [&] { return fs.CreateDirectoryA("C:\\Program Files\\Kestrix\\WIN_ME") != 0; }},
      {"stream in", [&] { return fs.FOpen("C:\\Program Files\\Kestrix\\a", "w") != nullptr; }},
      {"delete", [&] { return fs.DeleteFileA("C:\\WINDOWS\\win.ini") != 0; }},
      {"create later", [&] { return fs.WriteFile("C:\\WINDOWS\\LATER.INI", ""); }},
  };
  for (const auto& c : refused) {
    EXPECT_EQ(ErrorOf(c.call), static_cast<DWORD>(kErrorAccessDenied)) << c.what;
  }
  // What the faults do not cover still works.
  EXPECT_EQ(fs.GetFileAttributesA(oem), kFileAttributeArchive);
  EXPECT_TRUE(fs.FolderExists(staging));
  EXPECT_TRUE(fs.SetCurrentDirectoryA(staging));
  EXPECT_EQ(Read("C:\\WINDOWS\\win.ini"), "[windows]\r\n");
  EXPECT_TRUE(fs.WriteFile("C:\\WINDOWS\\win.ini", "written"));
  fs.ClearFaults();
  EXPECT_EQ(Read(oem), "inf");
  EXPECT_TRUE(fs.WriteFile("C:\\Program Files\\Kestrix\\a", "a"));
}

TEST_F(FileSystemTest, CopyIsAnIndependentSnapshot) {
  const FileSystem before = fs;
  ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\win.ini", "changed"));
  ASSERT_TRUE(fs.WriteFile("C:\\new.txt", "new"));
  ASSERT_TRUE(fs.SetFileAttributesA("C:\\WINDOWS\\win.ini", kFileAttributeReadonly));
  ASSERT_TRUE(fs.CreateDirectoryA("C:\\NEWDIR"));
  ASSERT_TRUE(fs.SetCurrentDirectoryA("C:\\NEWDIR"));

  std::string bytes;
  ASSERT_TRUE(before.ReadFile("C:\\WINDOWS\\win.ini", &bytes));
  EXPECT_EQ(bytes, "[windows]\r\n");
  EXPECT_EQ(before.GetFileAttributesA("C:\\WINDOWS\\win.ini"), kFileAttributeArchive);
  EXPECT_FALSE(before.FileExists("C:\\new.txt"));
  EXPECT_FALSE(before.FolderExists("C:\\NEWDIR"));
  char current[kMaxPath];
  before.GetCurrentDirectoryA(sizeof current, current);
  EXPECT_STREQ(current, "C:\\");
}

TEST_F(FileSystemTest, BadPathsFailCleanly) {
  const std::string longPath = "C:\\" + std::string(300, 'x');
  const std::string garbage("C:\\\x01\xff\x7f\0name", 11);
  for (const std::string& path : {longPath, garbage, std::string("")}) {
    const char* p = path.c_str();
    EXPECT_EQ(fs.GetFileAttributesA(p), kInvalidFileAttributes);
    EXPECT_FALSE(fs.SetCurrentDirectoryA(p));
    EXPECT_FALSE(fs.CreateDirectoryA(p));
    EXPECT_FALSE(fs.DeleteFileA(p));
    EXPECT_FALSE(fs.CopyFileA(p, p, kFalse));
    EXPECT_EQ(fs.FOpen(p, "w"), nullptr);
    EXPECT_FALSE(fs.WriteFile(path, "x"));
    EXPECT_NE(fs.last_error(), 0u);
    FindData data;
    EXPECT_EQ(fs.FindFirstFileA(p, &data), kInvalidFindHandle);
  }
  EXPECT_FALSE(fs.WriteFile(longPath, "x"));
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorFilenameExcedRange));
  EXPECT_FALSE(fs.WriteFile(garbage, "x"));
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorInvalidName));
}

}  // namespace
}  // namespace kx::sim
