#include <gtest/gtest.h>

#include "app/setup_context.h"
#include "support/sim_machine.h"

namespace kx {
namespace {

struct SourceDirCase {
  const char* programPath;
  const char* currentFolder;
  const char* expected;
};

TEST(DeriveSourceDirTest, TakesTheProgramFolderAndCompletesTheDrive) {
  const SourceDirCase cases[] = {
      {"D:\\SETUP.EXE", "C:\\WINDOWS", "D:\\"},
      {"D:\\CD\\DISK1\\SETUP.EXE", "C:\\WINDOWS", "D:\\CD\\DISK1\\"},
      {"d:\\cd\\setup.exe", "C:\\WINDOWS", "d:\\cd\\"},  // the case as written
      {"D:\\My CD\\SETUP.EXE", "C:\\WINDOWS", "D:\\My CD\\"},
      // Rooted but without a drive: the current drive goes in front.
      {"\\CD\\SETUP.EXE", "C:\\WINDOWS", "C:\\CD\\"},
      // Relative: the drive alone, so the folder stays drive-relative.
      {"SUB\\SETUP.EXE", "E:\\WORK", "E:SUB\\"},
      {"SETUP", "E:\\WORK", "E:SETUP\\"},
      {"SETUP.EXE", "E:\\", "E:SETUP.EXE\\"},
      // A second character that is a backslash gets one inserted.
      {".\\SUB\\SETUP.EXE", "E:\\WORK", "E:\\.\\SUB\\"},
      // The first character is never looked at as the cut point.
      {"\\SETUP.EXE", "C:\\WINDOWS", "C:\\SETUP.EXE\\"},
      // A drive-qualified path without a backslash stays whole.
      {"D:SETUP.EXE", "C:\\WINDOWS", "D:SETUP.EXE\\"},
  };
  for (const SourceDirCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.programPath << " in " << c.currentFolder);
    sim::Machine m = sim::MakeMachine("ME");
    m.AddDrive('E', {});
    ASSERT_TRUE(m.files.CreateDirectories("E:\\WORK"));
    sim::SimPlatform platform(m);
    ASSERT_TRUE(platform.SetCurrentDirectoryA(c.currentFolder));
    EXPECT_EQ(DeriveSourceDir(platform, c.programPath), c.expected);
  }
}

TEST(DeriveSourceDirTest, WithoutDriveKeepsTheFolderAsWritten) {
  const std::pair<const char*, const char*> cases[] = {
      {"D:\\SETUP.EXE", "D:\\"},
      {"SUB\\SETUP.EXE", "SUB\\"},
      {"SETUP.EXE", "SETUP.EXE\\"},
      {"\\CD\\SETUP.EXE", "\\CD\\"},
  };
  for (const auto& [programPath, expected] : cases) {
    EXPECT_EQ(DeriveSourceDirWithoutDrive(programPath), expected) << programPath;
  }
}

TEST(ReadSetupOptionsTest, MissingFileGivesTheDefaults) {
  sim::Machine m = sim::MakeMachine("ME");
  test::AddMedia(m, {{"SETUP.EXE", "MZ"}});
  sim::SimPlatform platform(m);
  const SetupOptions o = ReadSetupOptions(platform, "D:\\");
  EXPECT_EQ(o.DriverOnly, 0);
  EXPECT_EQ(o.WindowsMEDriverAskUser, 0);
  EXPECT_EQ(o.WindowsMEDriver, 1);
  EXPECT_EQ(o.Windows98SEDriverAskUser, 0);
  EXPECT_EQ(o.Windows98SEDriver, 0);
  EXPECT_EQ(o.WebSetup, 0);
  EXPECT_EQ(o.InstallWDMDriver, 0);
  EXPECT_EQ(o.UsingCDDA, 0);
}

TEST(ReadSetupOptionsTest, ReadsEachKeyFromItsSection) {
  sim::Machine m = sim::MakeMachine("ME");
  test::AddMedia(m, {{"CD\\Setup.INI",
                      "[installoption]\r\n"
                      "DriverOnly=2\r\n"
                      "WindowsMEDriverAskUser=3\r\n"
                      "Windows98SEDriverAskUser=4\r\n"
                      "Windows98SEDriver=5\r\n"
                      "WebSetup=6\r\n"
                      "InstallWDMDriver=7\r\n"
                      "UsingCDDA=9\r\n"  // not its section
                      "\r\n"
                      "[Default]\r\n"
                      "UsingCDDA=8\r\n"}});
  sim::SimPlatform platform(m);
  const SetupOptions o = ReadSetupOptions(platform, "D:\\CD\\");
  EXPECT_EQ(o.DriverOnly, 2);
  EXPECT_EQ(o.WindowsMEDriverAskUser, 3);
  EXPECT_EQ(o.WindowsMEDriver, 1);  // missing key: its default
  EXPECT_EQ(o.Windows98SEDriverAskUser, 4);
  EXPECT_EQ(o.Windows98SEDriver, 5);
  EXPECT_EQ(o.WebSetup, 6);
  EXPECT_EQ(o.InstallWDMDriver, 7);
  EXPECT_EQ(o.UsingCDDA, 8);
}

}  // namespace
}  // namespace kx
