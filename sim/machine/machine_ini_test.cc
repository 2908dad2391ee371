// machine.ini: what it reads, what it refuses (always naming the line), and
// that what it writes reads back the same.
#include "sim/machine/machine_ini.h"

#include <gtest/gtest.h>

namespace kx::sim {
namespace {

constexpr char kFull[] =
    "; a machine with one of everything\r\n"
    "[machine]\r\n"
    "release = 98SE\r\n"
    "start_folder = D:\\\r\n"
    "language = 1041\r\n"
    "cd_drive = E:\r\n"
    "mixer_devices = 2\r\n"
    "\r\n"
    "[drive C]\r\n"
    "capacity = 512M\r\n"
    "[drive E]\r\n"
    "folder = cdrom\r\n"
    "read_only = yes\r\n"
    "\r\n"
    "[window mixer]\r\n"
    "title = Mixer\r\n"
    "class = KxMixerFrame\r\n"
    "on_close = ignores\r\n"
    "[window installer]\r\n"
    "title = \"\"\r\n"
    "class = KXDNINST\r\n"
    "appears = 2s\r\n"
    "vanishes = 1.5min\r\n"
    "\r\n"
    "[device card]\r\n"
    "instance = PCI\\VEN_1A9C&DEV_0111\\1\r\n"
    "hardware_id = PCI\\VEN_1A9C&DEV_0111&SUBSYS_00011A9C\r\n"
    "hardware_id = PCI\\VEN_1A9C&DEV_0111\r\n"
    "removal = fails\r\n"
    "\r\n"
    "[program uninstaller]\r\n"
    "path = C:\\WINDOWS\\IsUninst.exe\r\n"
    "runs = 6s\r\n"
    "exit_code = 259\r\n"
    "idle_after = 500ms\r\n"
    "on_start = open window \"Uninstall\" class \"#32770\"\r\n"
    "on_end = delete key HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanta "
    "Applications\r\n"
    "[program tray]\r\n"
    "path = C:\\WINDOWS\\SYSTEM\\SYSTRAY.EXE\r\n"
    "runs = forever\r\n"
    "\r\n"
    "[events]\r\n"
    "12s = close window class KXDNINST\r\n"
    "reenumerate + 3s = mixer devices 3\r\n"
    "\r\n"
    "[oem_inf OEM0.INF]\r\n"
    "source = C:\\Program Files\\Kestrix\\WIN_ME\\KXAUDIO.INF\r\n"
    "media = C:\\Program Files\\Kestrix\\WIN_ME\r\n"
    "media_type = 1\r\n"
    "\r\n"
    "[faults]\r\n"
    "C:\\WINDOWS\\OPTIONS\\CABS = cannot write\r\n"
    "HKLM\\Software\\Locked = cannot delete\r\n";

TEST(MachineIni, ReadsEverySection) {
  Machine m;
  std::string error;
  ASSERT_TRUE(ParseMachineIni(kFull, "machine.ini", &m, &error)) << error;
  EXPECT_EQ(m.release.name, "98SE");
  EXPECT_EQ(m.windowsFolder, "C:\\WINDOWS");
  EXPECT_EQ(m.systemFolder, "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(m.startFolder, "D:\\");
  EXPECT_EQ(m.language, 1041);
  EXPECT_EQ(m.cdDrive, 'E');
  EXPECT_EQ(m.mixerDevices, 2u);
  ASSERT_EQ(m.drives.size(), 2u);
  EXPECT_EQ(m.drives[0].imageFolder, "C");
  EXPECT_EQ(m.drives[0].options.capacityBytes, 512u << 20);
  EXPECT_EQ(m.drives[1].imageFolder, "cdrom");
  EXPECT_TRUE(m.drives[1].options.readOnly);
  ASSERT_EQ(m.windows.size(), 2u);
  EXPECT_EQ(m.windows[0].onClose, CloseBehaviour::kIgnores);
  EXPECT_EQ(m.windows[1].title, "");
  EXPECT_EQ(m.windows[1].appearsAt, 2000);
  EXPECT_EQ(m.windows[1].vanishesAt, 90000);
  ASSERT_EQ(m.devices.size(), 1u);
  EXPECT_EQ(m.devices[0].hardwareIds.size(), 2u);
  EXPECT_TRUE(m.devices[0].removalFails);
  ASSERT_EQ(m.programs.size(), 2u);
  EXPECT_EQ(m.programs[0].exitCode, 259u);
  EXPECT_EQ(m.programs[0].runsFor, 6000);
  EXPECT_EQ(m.programs[0].onEnd.size(), 1u);
  EXPECT_FALSE(m.programs[1].runsFor.has_value());
  ASSERT_EQ(m.events.size(), 2u);
  EXPECT_EQ(m.events[1].trigger, kReenumerateTrigger);
  EXPECT_EQ(m.events[1].at, 3000);
  ASSERT_EQ(m.oemInfs.size(), 1u);
  EXPECT_EQ(m.oemInfs[0].mediaType, 1u);
  ASSERT_EQ(m.faults.size(), 2u);
  EXPECT_EQ(m.faults[1].kind, FaultKind::kCannotDelete);
}

TEST(MachineIni, WhatItWritesReadsBackTheSame) {
  Machine first;
  std::string error;
  ASSERT_TRUE(ParseMachineIni(kFull, "machine.ini", &first, &error)) << error;
  const std::string written = FormatMachineIni(first);
  Machine second;
  ASSERT_TRUE(ParseMachineIni(written, "again.ini", &second, &error)) << error << "\n" << written;
  EXPECT_EQ(FormatMachineIni(second), written);
}

TEST(MachineIni, ReleasesGiveTheirFoldersAndRawNumbersWork) {
  struct Case {
    const char* machine;
    const char* windows;
    const char* system;
    const char* name;
  };
  const Case cases[] = {
      {"release = NT4", "C:\\WINNT", "C:\\WINNT\\system32", "NT4"},
      {"release = xp", "C:\\WINDOWS", "C:\\WINDOWS\\system32", "XP"},
      {"release = ME\r\nwindows_folder = D:\\WIN", "D:\\WIN", "D:\\WIN\\SYSTEM", "ME"},
      {"platform_id = 1\r\nversion = 4.10\r\nbuild = 0x040A0801", "C:\\WINDOWS",
       "C:\\WINDOWS\\SYSTEM", ""},
      {"release = 98\r\nbuild = 0x040A08AE", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.machine);
    Machine m;
    std::string error;
    ASSERT_TRUE(
        ParseMachineIni(std::string("[machine]\r\n") + c.machine + "\r\n", "m.ini", &m, &error))
        << error;
    EXPECT_EQ(m.windowsFolder, c.windows);
    EXPECT_EQ(m.systemFolder, c.system);
    EXPECT_EQ(m.release.name, c.name);
    EXPECT_EQ(m.registry.NtBehaviour(), m.release.IsNt());
  }
}

TEST(MachineIni, RefusesMalformedLinesNamingThem) {
  struct Case {
    std::string text;
    const char* where;  // "m.ini:LINE:"
  };
  const Case cases[] = {
      {"", "m.ini:1:"},
      {"[drive C]\r\n", "m.ini:1:"},
      {"[machine]\r\nrelease = 3.11\r\n", "m.ini:2:"},
      {"[machine]\r\nrelase = ME\r\n", "m.ini:2:"},
      {"[machine]\r\nrelease = ME\r\nrelease = 98\r\n", "m.ini:3:"},
      {"[machine]\r\nplatform_id = 1\r\n", "m.ini:1:"},
      {"[machine]\r\nrelease = ME\r\nversion = four\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\nbuild = 0x1FFFFFFFF\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\nwindows_folder = WINDOWS\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\ncd_drive = DD\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\nmixer_devices = -1\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\n[drive 7]\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\n[drive C]\r\n[drive c]\r\n", "m.ini:4:"},
      {"[machine]\r\nrelease = ME\r\n[drive C]\r\nfolder = ../etc\r\n", "m.ini:4:"},
      {"[machine]\r\nrelease = ME\r\n[drive C]\r\ncapacity = lots\r\n", "m.ini:4:"},
      {"[machine]\r\nrelease = ME\r\n[drive C]\r\nread_only = maybe\r\n", "m.ini:4:"},
      {"[machine]\r\nrelease = ME\r\n[window w]\r\nclass = X\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\n[window w]\r\ntitle = X\r\non_close = explodes\r\n",
       "m.ini:5:"},
      {"[machine]\r\nrelease = ME\r\n[window w]\r\ntitle = X\r\nvanishes = 5\r\n", "m.ini:5:"},
      {"[machine]\r\nrelease = ME\r\n[window w]\r\ntitle = X\r\nappears = 5s\r\nvanishes = 2s\r\n",
       "m.ini:6:"},
      {"[machine]\r\nrelease = ME\r\n[device d]\r\nhardware_id = X\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\n[device d]\r\ninstance = X\r\nremoval = sometimes\r\n",
       "m.ini:5:"},
      {"[machine]\r\nrelease = ME\r\n[program p]\r\nruns = 5s\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\n[program p]\r\npath = C:\\A.EXE\r\non_end = fly away\r\n",
       "m.ini:5:"},
      {"[machine]\r\nrelease = ME\r\n[program p]\r\npath = C:\\A.EXE\r\n"
       "on_end = set value HKLM\\X \"A\"=hex:zz\r\n",
       "m.ini:5:"},
      {"[machine]\r\nrelease = ME\r\n[program p]\r\npath = C:\\A.EXE\r\n[program q]\r\npath = "
       "c:\\a.exe\r\n",
       "m.ini:5:"},
      {"[machine]\r\nrelease = ME\r\n[events]\r\nsoon = mixer devices 2\r\n", "m.ini:4:"},
      {"[machine]\r\nrelease = ME\r\n[events]\r\nboot + 1s = mixer devices 2\r\n", "m.ini:4:"},
      {"[machine]\r\nrelease = ME\r\n[faults]\r\nC:\\X = cannot dance\r\n", "m.ini:4:"},
      {"[machine]\r\nrelease = ME\r\n[faults]\r\nrelative\\path = cannot open\r\n", "m.ini:4:"},
      {"[machine]\r\nrelease = ME\r\n[garage]\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\nno equals sign\r\n", "m.ini:3:"},
      {"[machine]\r\nrelease = ME\r\nstart_folder = C:\\" + std::string(300, 'x') + "\r\n",
       "m.ini:3:"},
      {std::string("\x7f\x45\x4c\x46\x01\x00\x00\x00garbage", 15), "m.ini:1:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Machine m = MakeMachine("95");
    std::string error;
    EXPECT_FALSE(ParseMachineIni(c.text, "m.ini", &m, &error));
    EXPECT_EQ(error.rfind(c.where, 0), 0u) << error;
    EXPECT_GT(error.size(), std::string(c.where).size() + 2) << "no explanation: " << error;
    EXPECT_EQ(m.release.name, "95") << "a failed load changed the machine";
  }
}

}  // namespace
}  // namespace kx::sim
