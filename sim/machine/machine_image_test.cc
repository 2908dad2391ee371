// Machine images on the host: the bundled ones load, bad ones are refused
// with the file and line, and saving replaces a folder as a whole.
#include "sim/machine/machine_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/registry/reg_file.h"
#include "support/sim_machine.h"

namespace kx::sim {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() /
            ("kx-image-" +
             std::to_string(std::hash<std::string>{}(
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) +
             "-" + std::to_string(counter_++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  static inline int counter_ = 0;
  fs::path path_;
};

void WriteHost(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadHost(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(MachineImage, EveryBundledMachineLoads) {
  for (const char* name : {"win95", "win98", "win98se", "winme", "nt4", "win2000", "winxp"}) {
    SCOPED_TRACE(name);
    Machine m;
    std::string error;
    ASSERT_TRUE(LoadMachineImage(test::ExamplePath(std::string("machines/") + name), &m, &error))
        << error;
    EXPECT_TRUE(m.files.FolderExists(m.windowsFolder));
    EXPECT_TRUE(m.files.FolderExists(m.systemFolder));
    EXPECT_TRUE(m.files.FileExists(m.systemFolder + "\\SYSTRAY.EXE"));
    EXPECT_TRUE(m.registry.KeyExists("HKCU\\Software\\Microsoft\\Multimedia\\Audio"));
    EXPECT_TRUE(m.registry.GetValue("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup",
                                    "SourcePath"));
  }
}

TEST(MachineImage, RefusesABadImageAndLoadsNothing) {
  struct Case {
    const char* machineIni;  // null: no machine.ini at all
    const char* registry;    // null: no registry.reg
    const char* where;       // the message starts with the file, then the line
  };
  const Case cases[] = {
      {nullptr, nullptr, "machine.ini"},
      {"[machine]\r\nrelease = ME\r\n[drive C]\r\n", nullptr, "machine.ini:3:"},  // no C folder
      {"[machine]\r\nrelease = ME\r\n",
       "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"a\"=dword:xyz\r\n", "registry.reg:4:"},
      {"[machine]\r\nrelease = ME\r\n", "not a registry file\r\n", "registry.reg:1:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.machineIni ? c.machineIni : "(none)");
    TempFolder image;
    if (c.machineIni) WriteHost(image.path() / "machine.ini", c.machineIni);
    if (c.registry) WriteHost(image.path() / "registry.reg", c.registry);
    Machine m = MakeMachine("95");
    std::string error;
    EXPECT_FALSE(LoadMachineImage(image.path(), &m, &error));
    EXPECT_NE(error.find(c.where), std::string::npos) << error;
    EXPECT_EQ(m.release.name, "95");
  }
}

TEST(MachineImage, SavedImagesLoadBackAndReplaceTheOldOneWhole) {
  Machine m = MakeMachine("98SE");
  m.files.WriteFile("C:\\WINDOWS\\KXCDPLAY.INI", "[DISC PLAYER]\r\nUsingCDDA=1\r\n");
  m.registry.SetValue("HKLM\\Software\\Kestrix", "Version", kRegSz, SzData("2.5"));
  m.devices.push_back({"PCI\\VEN_1A9C&DEV_0111\\1", {"PCI\\VEN_1A9C&DEV_0111"}, true});
  test::AddMedia(m, {{"SETUP.EXE", "MZ"}});
  m.drives.back().transient = true;  // as kxsetup mounts media

  TempFolder parent;
  const fs::path target = parent.path() / "after";
  WriteHost(target / "stale.txt", "from an earlier run");
  std::string error;
  ASSERT_TRUE(SaveMachineImage(m, target, &error)) << error;
  EXPECT_FALSE(fs::exists(target / "stale.txt"));
  EXPECT_FALSE(fs::exists(target / "D")) << "media are not part of the machine";
  // Only the image is left beside it: no temporary or old folders.
  EXPECT_EQ(std::distance(fs::directory_iterator(parent.path()), fs::directory_iterator()), 1);

  Machine loaded;
  ASSERT_TRUE(LoadMachineImage(target, &loaded, &error)) << error;
  EXPECT_EQ(loaded.release.name, "98SE");
  std::string bytes;
  ASSERT_TRUE(loaded.files.ReadFile("C:\\WINDOWS\\KXCDPLAY.INI", &bytes));
  EXPECT_EQ(bytes, "[DISC PLAYER]\r\nUsingCDDA=1\r\n");
  EXPECT_TRUE(loaded.registry.SameContent(m.registry));
  ASSERT_EQ(loaded.devices.size(), 1u);
  EXPECT_TRUE(loaded.devices[0].removalFails);
  EXPECT_FALSE(loaded.files.HasDrive('D'));
}

TEST(MachineImage, ATargetThatIsAFileIsLeftAlone) {
  TempFolder parent;
  WriteHost(parent.path() / "file", "x");
  std::string error;
  EXPECT_FALSE(SaveMachineImage(MakeMachine("ME"), parent.path() / "file", &error));
  EXPECT_EQ(ReadHost(parent.path() / "file"), "x");
  EXPECT_FALSE(SaveMachineImage(MakeMachine("ME"), parent.path() / "no" / "such", &error));
  EXPECT_EQ(std::distance(fs::directory_iterator(parent.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace kx::sim
