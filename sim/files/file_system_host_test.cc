#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sim/files/file_system.h"

namespace kx::sim {
namespace {

namespace stdfs = std::filesystem;

// A host folder of its own for each test, removed afterwards.
class HostFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = stdfs::temp_directory_path() /
           ("kx_files_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    stdfs::remove_all(root);
    stdfs::create_directories(root / "in");
  }
  void TearDown() override { stdfs::remove_all(root); }

  void Put(const stdfs::path& relative, const std::string& bytes) {
    const stdfs::path path = root / "in" / relative;
    stdfs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  static std::string HostBytes(const stdfs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  stdfs::path root;
};

TEST_F(HostFolderTest, RoundTripKeepsTreeAndBytes) {
  const std::string binary("\0\r\n\x1a\xff", 5);
  Put("Program Files/Kestrix/a.bin", binary);
  Put("Program Filez/readme.txt", "text\r\n");
  Put("WINDOWS/INF/oem1.inf", "[Version]\r\n");
  stdfs::create_directories(root / "in" / "EMPTY");

  FileSystem fs;
  std::string error;
  ASSERT_TRUE(fs.LoadDriveFromHost('c', root / "in", &error)) << error;
  // Aliases come from the sorted names, whatever order the host lists them in.
  char shortPath[kMaxPath];
  ASSERT_GT(fs.GetShortPathNameA("C:\\Program Filez\\readme.txt", shortPath, kMaxPath), 0u);
  EXPECT_STREQ(shortPath, "C:\\PROGRA~2\\README.TXT");
  EXPECT_EQ(fs.GetFileAttributesA("C:\\WINDOWS\\INF\\oem1.inf"), kFileAttributeArchive);
  EXPECT_EQ(fs.UsedBytes('C'), 5u + 6u + 11u);

  ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\INF\\oem1.inf", "changed"));
  ASSERT_TRUE(fs.WriteFile("C:\\WINDOWS\\new.ini", "new"));
  ASSERT_TRUE(fs.SaveDriveToHost('C', root / "out", &error)) << error;
  EXPECT_EQ(HostBytes(root / "out" / "Program Files" / "Kestrix" / "a.bin"), binary);
  EXPECT_EQ(HostBytes(root / "out" / "WINDOWS" / "INF" / "oem1.inf"), "changed");
  EXPECT_EQ(HostBytes(root / "out" / "WINDOWS" / "new.ini"), "new");
  EXPECT_TRUE(stdfs::is_directory(root / "out" / "EMPTY"));
  EXPECT_EQ(HostBytes(root / "in" / "WINDOWS" / "INF" / "oem1.inf"), "[Version]\r\n");

  FileSystem again;
  ASSERT_TRUE(again.LoadDriveFromHost('C', root / "out", &error)) << error;
  EXPECT_TRUE(DiffFiles(fs, again).empty());
}

TEST_F(HostFolderTest, ContentsAreReadOnFirstUse) {
  Put("big.dat", "AAAA");
  Put("gone.dat", "BBBB");
  FileSystem fs;
  fs.AddDrive('E', {});
  DriveOptions cd;
  cd.readOnly = true;
  ASSERT_TRUE(fs.SetDriveOptions('E', cd));
  std::string error;
  ASSERT_TRUE(fs.LoadDriveFromHost('E', root / "in", &error)) << error;
  EXPECT_EQ(fs.GetFileAttributesA("E:\\big.dat"), kFileAttributeReadonly);
  EXPECT_EQ(fs.GetFileAttributesA("E:\\"), kFileAttributeDirectory | kFileAttributeReadonly);

  // Mounted, not read: the host file's bytes at first use are what counts.
  Put("big.dat", "CCCC");
  stdfs::remove(root / "in" / "gone.dat");
  std::string bytes;
  ASSERT_TRUE(fs.ReadFile("E:\\big.dat", &bytes));
  EXPECT_EQ(bytes, "CCCC");
  EXPECT_FALSE(fs.ReadFile("E:\\gone.dat", &bytes));  // a read failure, not a crash
  EXPECT_EQ(fs.last_error(), static_cast<DWORD>(kErrorAccessDenied));
  EXPECT_NE(fs.FOpen("E:\\gone.dat", "rb"), nullptr);  // it still opens: reading fails
}

TEST_F(HostFolderTest, RefusesNamesWindowsCannotHold) {
  const struct {
    const char* name;
    const char* problem;
  } cases[] = {
      {"a:b", "forbids"},
      {"what?", "forbids"},
      {"dot.", "period"},
      {"README.TXT", "same name"},  // beside readme.txt
  };
  for (const auto& c : cases) {
    stdfs::remove_all(root / "in");
    Put("keep/readme.txt", "x");
    Put(std::string("keep/") + c.name, "y");
    FileSystem fs;
    fs.AddDrive('C', {});
    fs.WriteFile("C:\\old.txt", "old");
    std::string error;
    EXPECT_FALSE(fs.LoadDriveFromHost('C', root / "in", &error)) << c.name;
    EXPECT_NE(error.find(c.problem), std::string::npos) << error;
    EXPECT_TRUE(fs.FileExists("C:\\old.txt"));  // the drive is left as it was
  }
  stdfs::remove_all(root / "in");
  Put(std::string(250, 'd') + "/" + std::string(10, 'f'), "deep");
  FileSystem fs;
  std::string error;
  EXPECT_FALSE(fs.LoadDriveFromHost('C', root / "in", &error));
  EXPECT_NE(error.find("260"), std::string::npos) << error;
  EXPECT_FALSE(fs.LoadDriveFromHost('C', root / "missing", &error));
  EXPECT_FALSE(fs.LoadDriveFromHost('1', root / "in", &error));
  EXPECT_FALSE(fs.SaveDriveToHost('Q', root / "out", &error));
}

}  // namespace
}  // namespace kx::sim
