// The Windows behaviours the setup logic relies on, on a simulated PC built in
// code: each test states how Windows behaves and checks the simulation does.
#include "sim/sim_platform.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/text.h"
#include "sim/machine/registry_data.h"
#include "support/sim_machine.h"

namespace kx::sim {
namespace {

MachineAction Action(const char* text) {
  MachineAction a;
  std::string error;
  EXPECT_TRUE(ParseMachineAction(text, &a, &error)) << text << ": " << error;
  return a;
}

Window MakeWindow(const char* title, const char* className = "",
                  CloseBehaviour onClose = CloseBehaviour::kCloses) {
  Window w;
  w.title = title;
  w.className = className;
  w.onClose = onClose;
  return w;
}

// ---- Version and folders. ----

TEST(SimPlatformVersion, ReportsEachReleaseAsWindowsDoes) {
  struct Case {
    const char* release;
    DWORD platform, major, minor, build;
    const char* windows;
    const char* system;
  };
  const Case cases[] = {
      {"95", 1, 4, 0, 0x040003B6, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
      {"98", 1, 4, 10, 0x040A07CE, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
      {"98SE", 1, 4, 10, 0x040A08AE, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
      {"ME", 1, 4, 90, 0x045A0BB8, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
      {"NT4", 2, 4, 0, 1381, "C:\\WINNT", "C:\\WINNT\\system32"},
      {"2000", 2, 5, 0, 2195, "C:\\WINNT", "C:\\WINNT\\system32"},
      {"XP", 2, 5, 1, 2600, "C:\\WINDOWS", "C:\\WINDOWS\\system32"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.release);
    Machine m = MakeMachine(c.release);
    SimPlatform p(m);
    OsVersionInfo info;
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(p.GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, c.platform);
    EXPECT_EQ(info.dwMajorVersion, c.major);
    EXPECT_EQ(info.dwMinorVersion, c.minor);
    EXPECT_EQ(info.dwBuildNumber, c.build);
    char folder[kMaxPath];
    EXPECT_EQ(p.GetWindowsDirectoryA(folder, sizeof folder), std::strlen(c.windows));
    EXPECT_STREQ(folder, c.windows);
    EXPECT_EQ(p.GetSystemDirectoryA(folder, sizeof folder), std::strlen(c.system));
    EXPECT_STREQ(folder, c.system);
  }
}

TEST(SimPlatformVersion, WrongRecordSizeAndShortBuffersFail) {
  Machine m = MakeMachine("ME");
  SimPlatform p(m);
  OsVersionInfo info;
  info.dwOSVersionInfoSize = 100;
  EXPECT_FALSE(p.GetVersionExA(&info));
  EXPECT_EQ(p.GetLastError(), static_cast<DWORD>(kErrorInsufficientBuffer));
  // A buffer too small for the folder: the size needed, terminator included,
  // and the buffer untouched.
  char small[4] = {'x', 'x', 'x', '\0'};
  EXPECT_EQ(p.GetWindowsDirectoryA(small, sizeof small), 11u);
  EXPECT_STREQ(small, "xxx");
}

// ---- Windows. ----

TEST(SimPlatformWindows, FindWindowFindsTheFirstMatchIgnoringCase) {
  Machine m = MakeMachine("ME");
  m.windows = {MakeWindow("Disc Player", "KxDisc"), MakeWindow("Mixer", "KxMixA"),
               MakeWindow("Mixer", "KxMixB")};
  SimPlatform p(m);
  const HWnd first = p.FindWindowExA(nullptr, nullptr, nullptr, "mixer");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(p.FindWindowExA(nullptr, nullptr, "KXMIXA", nullptr), first);
  const HWnd second = p.FindWindowExA(nullptr, first, nullptr, "Mixer");
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(p.FindWindowExA(nullptr, second, nullptr, "Mixer"), nullptr);
  EXPECT_EQ(p.FindWindowExA(nullptr, nullptr, nullptr, "Mix"), nullptr);
  EXPECT_EQ(p.FindWindowExA(nullptr, nullptr, "KxMixB", "Disc Player"), nullptr);
}

TEST(SimPlatformWindows, WmCloseDoesWhatTheWindowDoes) {
  Machine m = MakeMachine("ME");
  m.windows = {MakeWindow("Mixer", "", CloseBehaviour::kIgnores), MakeWindow("Mixer")};
  SimPlatform p(m);
  const HWnd stubborn = p.FindWindowExA(nullptr, nullptr, nullptr, "Mixer");
  p.SendMessageA(stubborn, kWmClose, 0, 0);
  EXPECT_EQ(p.FindWindowExA(nullptr, nullptr, nullptr, "Mixer"), stubborn);

  const HWnd closing = p.FindWindowExA(nullptr, stubborn, nullptr, "Mixer");
  p.SendMessageA(closing, kWmClose, 0, 0);
  EXPECT_EQ(p.FindWindowExA(nullptr, stubborn, nullptr, "Mixer"), nullptr);
  // A closed window's handle is no longer valid.
  EXPECT_EQ(p.SendMessageA(closing, kWmClose, 0, 0), 0);
  EXPECT_EQ(p.GetLastError(), 1400u);
}

TEST(SimPlatformWindows, WindowsComeAndGoOnTheClock) {
  Machine m = MakeMachine("ME");
  Window installer = MakeWindow("Found New Hardware", "KXDNINST");
  installer.appearsAt = 2 * kSecond;
  installer.vanishesAt = 7 * kSecond;
  m.windows = {installer};
  SimPlatform p(m);
  EXPECT_EQ(p.FindWindowExA(nullptr, nullptr, "KXDNINST", nullptr), nullptr);
  p.Sleep(2000);
  EXPECT_NE(p.FindWindowExA(nullptr, nullptr, "KXDNINST", nullptr), nullptr);
  p.Sleep(4999);
  EXPECT_NE(p.FindWindowExA(nullptr, nullptr, "KXDNINST", nullptr), nullptr);
  p.Sleep(1);
  EXPECT_EQ(p.FindWindowExA(nullptr, nullptr, "KXDNINST", nullptr), nullptr);
}

// ---- Processes. ----

class SimPlatformProcesses : public ::testing::Test {
 protected:
  SimPlatformProcesses() : m(MakeMachine("98SE")) {
    m.files.CreateDirectories("C:\\Program Files\\Orvanta");
    m.files.WriteFile("C:\\Program Files\\Orvanta\\Uninst.exe", "MZ");
  }
  Machine m;
};

TEST_F(SimPlatformProcesses, ProgramsAreFoundAsWindowsFindsThem) {
  m.AddDrive('D', {});
  m.files.WriteFile("D:\\SETUP.EXE", "MZ");
  m.files.CreateDirectories("D:\\W2K-ME\\app");
  m.files.WriteFile("D:\\W2K-ME\\app\\Setup.exe", "MZ");
  struct Case {
    const char* command;
    const char* program;  // empty: does not start
  };
  const Case cases[] = {
      {"SysTray.exe", "C:\\WINDOWS\\SYSTEM\\SYSTRAY.EXE"},  // system folder
      {"systray", "C:\\WINDOWS\\SYSTEM\\SYSTRAY.EXE"},      // .exe appended
      {"D:\\W2K-ME\\app\\Setup.exe", "D:\\W2K-ME\\app\\Setup.exe"},
      {"C:\\Program Files\\Orvanta\\Uninst.exe -a", "C:\\Program Files\\Orvanta\\Uninst.exe"},
      {"\"C:\\Program Files\\Orvanta\\Uninst.exe\" -a", "C:\\Program Files\\Orvanta\\Uninst.exe"},
      {"SETUP.EXE /DRIVER", "D:\\SETUP.EXE"},  // current folder, set below
      {"D:\\W2KSetup.dat", ""},
      {"NoSuch.exe", ""},
      {"", ""},
  };
  SimPlatform p(m);
  ASSERT_TRUE(p.SetCurrentDirectoryA("D:\\"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    const std::size_t before = p.started().size();
    const UINT result = p.WinExec(c.command, kSwShow);
    ASSERT_EQ(p.started().size(), before + 1);
    const StartedProgram& s = p.started().back();
    EXPECT_EQ(s.command, c.command);
    EXPECT_EQ(s.currentFolder, "D:\\");
    EXPECT_EQ(s.show, kSwShow);
    if (*c.program) {
      EXPECT_GT(result, 31u);
      EXPECT_TRUE(s.started);
      EXPECT_TRUE(EqualsIgnoreCase(s.program, c.program)) << s.program;
    } else {
      EXPECT_EQ(result, 2u);
      EXPECT_FALSE(s.started);
    }
  }
}

TEST_F(SimPlatformProcesses, CreateProcessFailsForAMissingProgram) {
  SimPlatform p(m);
  char command[] = "C:\\Program Files\\Orvanta\\Gone.exe -a";
  StartupInfo startup{kStartupInfoSize, kStartfUseShowWindow, kSwShow};
  ProcessInformation info;
  EXPECT_FALSE(p.CreateProcessA(nullptr, command, kFalse, 0, nullptr, &startup, &info));
  EXPECT_EQ(p.GetLastError(), static_cast<DWORD>(kErrorFileNotFound));
}

TEST_F(SimPlatformProcesses, ARunningProgramReports259UntilItEnds) {
  ProgramBehaviour uninstaller;
  uninstaller.path = "c:\\program files\\orvanta\\UNINST.EXE";
  uninstaller.runsFor = 8 * kSecond;
  uninstaller.exitCode = 3;
  uninstaller.idleAfter = 1500;
  uninstaller.onEnd = {Action("delete key HKLM\\Software\\Orvanta")};
  m.programs = {uninstaller};
  m.registry.CreateKey("HKLM\\Software\\Orvanta");
  SimPlatform p(m);

  char command[] = "C:\\Program Files\\Orvanta\\Uninst.exe -a";
  StartupInfo startup{kStartupInfoSize, kStartfUseShowWindow, kSwShow};
  ProcessInformation info;
  ASSERT_TRUE(p.CreateProcessA(nullptr, command, kFalse, 0, nullptr, &startup, &info));
  DWORD code = 0;
  ASSERT_TRUE(p.GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, kStillActive);
  EXPECT_FALSE(p.ProcessHasEnded(info.hProcess));

  // Not ready for input within 1000 ms, ready at 1500 ms.
  EXPECT_EQ(p.WaitForInputIdle(info.hProcess, 1000), kWaitTimeout);
  EXPECT_EQ(p.WaitForInputIdle(info.hProcess, 1000), kWaitObject0);
  EXPECT_EQ(p.Now(), 1500);

  // Setup's poll loop ends: each poll of a running program lets time pass.
  int polls = 0;
  while (p.GetExitCodeProcess(info.hProcess, &code) && code == kStillActive) ++polls;
  EXPECT_GT(polls, 0);
  EXPECT_EQ(code, 3u);
  EXPECT_GE(p.Now(), 8 * kSecond);
  EXPECT_TRUE(p.ProcessHasEnded(info.hProcess));
  EXPECT_FALSE(m.registry.KeyExists("HKLM\\Software\\Orvanta"));
}

TEST_F(SimPlatformProcesses, WaitForSingleObjectWaitsOnTheClock) {
  ProgramBehaviour tray;
  tray.path = "C:\\WINDOWS\\SYSTEM\\SYSTRAY.EXE";
  tray.runsFor = 3 * kSecond;
  m.programs = {tray};
  SimPlatform p(m);
  char command[] = "SysTray.exe";
  ProcessInformation info;
  ASSERT_TRUE(p.CreateProcessA(nullptr, command, kFalse, 0, nullptr, nullptr, &info));
  EXPECT_EQ(p.WaitForSingleObject(info.hProcess, 1000), kWaitTimeout);
  EXPECT_EQ(p.Now(), 1000);
  EXPECT_EQ(p.WaitForSingleObject(info.hProcess, kInfinite), kWaitObject0);
  EXPECT_EQ(p.Now(), 3000);
  EXPECT_TRUE(p.CloseHandle(info.hProcess));
  EXPECT_FALSE(p.CloseHandle(info.hProcess));
}

TEST_F(SimPlatformProcesses, AProgramThatEndsWith259LooksRunningButTheRunEnds) {
  ProgramBehaviour odd;
  odd.path = "C:\\Program Files\\Orvanta\\Uninst.exe";
  odd.runsFor = 0;
  odd.exitCode = kStillActive;
  m.programs = {odd};
  SimPlatform p(m);
  char command[] = "C:\\Program Files\\Orvanta\\Uninst.exe -a";
  ProcessInformation info;
  ASSERT_TRUE(p.CreateProcessA(nullptr, command, kFalse, 0, nullptr, nullptr, &info));
  EXPECT_TRUE(p.ProcessHasEnded(info.hProcess));
  EXPECT_EQ(p.WaitForSingleObject(info.hProcess, 0), kWaitObject0);
  const CallOutcome end = p.Run([&] {
    DWORD code = 0;
    while (p.GetExitCodeProcess(info.hProcess, &code) && code == kStillActive) {
    }
  });
  EXPECT_EQ(end.end, CallEnd::kStuck);
}

// ---- Clock and events. ----

TEST(SimPlatformClock, PausesMoveTheClockAndFireEventsInOrder) {
  Machine m = MakeMachine("ME");
  m.events = {{5 * kSecond, "", Action("mixer devices 2")},
              {2 * kSecond, "", Action("set value HKLM\\Software\\X \"A\"=dword:00000001")},
              {1 * kSecond, kReenumerateTrigger, Action("open window \"Ready\" class KXDNINST")}};
  SimPlatform p(m);
  EXPECT_EQ(p.mixerGetNumDevs(), 1u);
  p.Sleep(1999);
  EXPECT_FALSE(m.registry.GetValue("HKLM\\Software\\X", "A"));
  p.SleepEx(1, kFalse);
  EXPECT_TRUE(m.registry.GetValue("HKLM\\Software\\X", "A"));
  p.Sleep(3000);
  EXPECT_EQ(p.mixerGetNumDevs(), 2u);
  EXPECT_EQ(p.Now(), 5000);
  EXPECT_EQ(p.GetTickCount() - 5000, p.GetTickCount() - p.Now());

  // The triggered event counts from the trigger.
  p.Sleep(10000);
  EXPECT_EQ(p.FindWindowExA(nullptr, nullptr, "KXDNINST", nullptr), nullptr);
  DevInst root = 0;
  ASSERT_EQ(p.CM_Locate_DevNodeA(&root, nullptr, 0), kCrSuccess);
  ASSERT_EQ(p.CM_Reenumerate_DevNode(root, 0), kCrSuccess);
  p.Sleep(999);
  EXPECT_EQ(p.FindWindowExA(nullptr, nullptr, "KXDNINST", nullptr), nullptr);
  p.Sleep(1);
  EXPECT_NE(p.FindWindowExA(nullptr, nullptr, "KXDNINST", nullptr), nullptr);
  EXPECT_TRUE(m.events.empty());
}

TEST(SimPlatformClock, WaitingPastADayIsStuck) {
  Machine m = MakeMachine("ME");
  SimPlatform p(m);
  const CallOutcome end = p.Run([&] {
    for (;;) p.Sleep(3600 * 1000);
  });
  EXPECT_EQ(end.end, CallEnd::kStuck);
  EXPECT_EQ(p.Now(), 24 * kHour);
}

TEST(SimPlatformClock, ExitAndNotAvailableUnwindTheRun) {
  Machine m = MakeMachine("ME");
  SimPlatform p(m);
  CallOutcome end = p.Run([&] { p.Exit(0); });
  EXPECT_EQ(end.end, CallEnd::kExited);
  EXPECT_EQ(end.exitCode, 0);
  end = p.Run([&] { p.NotAvailableYet("the main dialog"); });
  EXPECT_EQ(end.end, CallEnd::kNotAvailable);
  EXPECT_EQ(end.message, "the main dialog");
  end = p.Run([] {});
  EXPECT_EQ(end.end, CallEnd::kReturned);
}

}  // namespace
}  // namespace kx::sim
