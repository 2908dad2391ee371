// Profile files, registry forwarding and the user on the simulated PC.
#include <gtest/gtest.h>

#include "sim/machine/registry_data.h"
#include "sim/sim_platform.h"
#include "support/sim_machine.h"

namespace kx::sim {
namespace {

TEST(SimPlatformProfile, ABareNameMeansTheWindowsFolder) {
  Machine m = MakeMachine("98");
  SimPlatform p(m);
  ASSERT_TRUE(p.SetCurrentDirectoryA("C:\\Program Files"));
  EXPECT_TRUE(p.WritePrivateProfileStringA("DISC PLAYER", "UsingCDDA", "1", "KXCDPLAY.INI"));
  std::string bytes;
  ASSERT_TRUE(m.files.ReadFile("C:\\WINDOWS\\KXCDPLAY.INI", &bytes));
  EXPECT_EQ(bytes, "[DISC PLAYER]\r\nUsingCDDA=1\r\n");
  char value[16];
  EXPECT_EQ(p.GetPrivateProfileStringA("disc player", "usingcdda", "", value, sizeof value,
                                       "C:\\WINDOWS\\kxcdplay.ini"),
            1u);
  EXPECT_STREQ(value, "1");
  EXPECT_EQ(p.GetPrivateProfileIntA("DISC PLAYER", "UsingCDDA", 7, "kxcdplay.ini"), 1u);
  EXPECT_FALSE(m.files.FileExists("C:\\Program Files\\KXCDPLAY.INI"));
}

TEST(SimPlatformProfile, DeletingFromAMissingFileCreatesNothing) {
  Machine m = MakeMachine("ME");
  SimPlatform p(m);
  EXPECT_TRUE(p.WritePrivateProfileStringA("rename", "NUL", nullptr, "WININIT.INI"));
  EXPECT_TRUE(p.WritePrivateProfileStringA("rename", nullptr, nullptr, "WININIT.INI"));
  EXPECT_FALSE(m.files.FileExists("C:\\WINDOWS\\WININIT.INI"));
  EXPECT_EQ(p.GetPrivateProfileIntA("RUNTIME", "Initialize", 5, "mixerdef.ini"), 5u);
}

TEST(SimPlatformProfile, AWriteThatCannotBeMadeFails) {
  Machine m = MakeMachine("ME");
  test::AddMedia(m, {{"setup.ini", "[InstallOption]\r\nDriverOnly=1\r\n"}});
  SimPlatform p(m);
  EXPECT_FALSE(p.WritePrivateProfileStringA("InstallOption", "DriverOnly", "0", "D:\\setup.ini"));
  EXPECT_EQ(p.GetLastError(), static_cast<DWORD>(kErrorAccessDenied));
  EXPECT_EQ(p.GetPrivateProfileIntA("InstallOption", "DriverOnly", 0, "D:\\setup.ini"), 1u);
}

TEST(SimPlatformRegistry, CurrentUserIsTheDefaultUserOn9x) {
  Machine m = MakeMachine("ME");
  SimPlatform p(m);
  HKey key = nullptr;
  ASSERT_EQ(p.RegOpenKeyExA(kHkeyCurrentUser, "Software\\Microsoft\\Multimedia\\Audio", 0,
                            kKeyAllAccess, &key),
            kErrorSuccess);
  const char text[] = "CD Quality";
  ASSERT_EQ(p.RegSetValueExA(key, "DefaultFormat", kRegSz, reinterpret_cast<const BYTE*>(text), 10),
            kErrorSuccess);
  p.RegCloseKey(key);
  const auto value = m.registry.GetValue(
      "HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Multimedia\\Audio", "DefaultFormat");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data.substr(0, 10), "CD Quality");
  // The transcript names the key as Setup opened it.
  EXPECT_NE(test::TranscriptText(p).find(
                "HKEY_CURRENT_USER\\Software\\Microsoft\\Multimedia\\Audio \"DefaultFormat\""),
            std::string::npos)
      << test::TranscriptText(p);
}

TEST(SimPlatformRegistry, DeleteKeyFollowsTheRelease) {
  for (const char* release : {"98", "XP"}) {
    SCOPED_TRACE(release);
    Machine m = MakeMachine(release);
    m.registry.CreateKey("HKLM\\SOFTWARE\\ASIO\\Kestrix ASIO");
    SimPlatform p(m);
    const LONG status = p.RegDeleteKeyA(kHkeyLocalMachine, "SOFTWARE\\ASIO");
    if (m.release.IsNt()) {
      EXPECT_EQ(status, kErrorAccessDenied);
      EXPECT_TRUE(m.registry.KeyExists("HKLM\\SOFTWARE\\ASIO"));
    } else {
      EXPECT_EQ(status, kErrorSuccess);
      EXPECT_FALSE(m.registry.KeyExists("HKLM\\SOFTWARE\\ASIO"));
    }
  }
}

// ---- The user. ----

TEST(SimPlatformUser, AnswersComeFromRulesThenTheTerminalThenTheDefault) {
  Machine m = MakeMachine("ME");
  SimOptions options;
  options.answers.Add({"Setup", "Can not find*", kIdCancel, 1, 0});
  int asked = 0;
  options.ask = [&](const Question& q) {
    ++asked;
    return q.caption == "Ask me" ? kIdCancel : 99;  // 99: not a button, so the default
  };
  SimPlatform p(m, options);
  EXPECT_EQ(p.MessageBoxA(nullptr, "Can not find installation files.", "Setup", kMbOkCancel),
            kIdCancel);
  // The rule is used up: the terminal answers, or its bad answer leaves the default.
  EXPECT_EQ(p.MessageBoxA(nullptr, "Can not find installation files.", "Setup", kMbOkCancel),
            kIdOk);
  EXPECT_EQ(p.MessageBoxA(nullptr, "Question", "Ask me", kMbOkCancel), kIdCancel);
  EXPECT_EQ(asked, 2);
  ASSERT_EQ(p.messageBoxes().size(), 3u);
  EXPECT_EQ(p.messageBoxes()[0].answeredBy, "answers");
  EXPECT_EQ(p.messageBoxes()[1].answeredBy, "default button");
  EXPECT_EQ(p.messageBoxes()[2].answeredBy, "terminal");
  const std::vector<std::string> buttons = {"OK", "Cancel"};
  EXPECT_EQ(p.messageBoxes()[0].buttons, buttons);
}

TEST(SimPlatformUser, DefaultButtonFollowsTheStyle) {
  Machine m = MakeMachine("ME");
  SimPlatform p(m);
  EXPECT_EQ(p.MessageBoxA(nullptr, "t", "c", kMbOk), kIdOk);
  EXPECT_EQ(p.MessageBoxA(nullptr, "t", "c", kMbOkCancel | 0x100), kIdCancel);  // MB_DEFBUTTON2
  EXPECT_EQ(p.MessageBoxA(nullptr, "t", "c", 4 | 0x100), 7);                    // MB_YESNO: No
  EXPECT_EQ(p.MessageBoxA(nullptr, "t", "c", 4 | 0x300), 6);  // no fourth button: the first
}

TEST(SimPlatformUser, TheSameQuestionAHundredTimesInARowIsStuck) {
  Machine m = MakeMachine("ME");
  SimPlatform p(m);
  int shown = 0;
  const CallOutcome end = p.Run([&] {
    while (p.MessageBoxA(nullptr, "Can not find DirectX setup program.", "Setup", kMbOkCancel) ==
           kIdOk) {
      ++shown;
    }
  });
  EXPECT_EQ(end.end, CallEnd::kStuck);
  EXPECT_EQ(shown, kStuckQuestionRepeats - 1);
  EXPECT_NE(end.message.find("DirectX"), std::string::npos);

  // Another question in between starts the count again.
  Machine m2 = MakeMachine("ME");
  SimPlatform p2(m2);
  const CallOutcome fine = p2.Run([&] {
    for (int i = 0; i < 150; ++i) {
      p2.MessageBoxA(nullptr, "again", "Setup", kMbOk);
      if (i % 50 == 49) p2.MessageBoxA(nullptr, "other", "Setup", kMbOk);
    }
  });
  EXPECT_EQ(fine.end, CallEnd::kReturned);
}

}  // namespace
}  // namespace kx::sim
