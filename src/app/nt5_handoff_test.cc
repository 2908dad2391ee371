#include "app/nt5_handoff.h"

#include <gtest/gtest.h>

#include "support/sim_machine.h"

namespace kx {
namespace {

struct HandOffCase {
  const char* what;
  std::vector<test::MediaFile> media;
  bool driverRequest;
  const char* command;  // what WinExec gets; null when nothing may start
};

TEST(HandOffToNt5SetupTest, StartsTheFirstSetupThatCanBeOpened) {
  const HandOffCase cases[] = {
      {"dat before exe", {{"W2KSetup.dat", "MZ"}, {"W2KSetup.exe", "MZ"}}, false,
       "D:\\W2KSetup.dat"},
      {"dat before exe, driver request", {{"W2KSetup.dat", "MZ"}, {"W2KSetup.exe", "MZ"}}, true,
       "D:\\W2KSetup.dat /DRIVER"},
      {"exe alone", {{"W2KSetup.exe", "MZ"}}, false, "D:\\W2KSetup.exe"},
      {"exe alone, driver request", {{"W2KSetup.exe", "MZ"}}, true, "D:\\W2KSetup.exe /DRIVER"},
      {"a folder named like the dat is no file", {{"W2KSetup.dat\\x", ""}, {"W2KSetup.exe", "MZ"}},
       false, "D:\\W2KSetup.exe"},
      {"neither", {{"setup.ini", ""}}, true, nullptr},
  };
  for (const HandOffCase& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Machine m = sim::MakeMachine("XP");
    test::AddMedia(m, c.media);
    sim::SimPlatform platform(m);
    HandOffToNt5Setup(platform, "D:\\", c.driverRequest);
    if (c.command == nullptr) {
      EXPECT_TRUE(platform.started().empty());
      ASSERT_EQ(platform.messageBoxes().size(), 1u);
      const sim::MessageBoxRecord& box = platform.messageBoxes()[0];
      EXPECT_EQ(box.text, "Can not find the setup program for Windows 2000/XP.");
      EXPECT_EQ(box.caption, "Setup");
      EXPECT_EQ(box.type, kMbOk);
      EXPECT_FALSE(box.owned);
    } else {
      EXPECT_TRUE(platform.messageBoxes().empty());
      ASSERT_EQ(platform.started().size(), 1u);
      EXPECT_EQ(platform.started()[0].via, "WinExec");
      EXPECT_EQ(platform.started()[0].command, c.command);
      EXPECT_EQ(platform.started()[0].show, kSwShow);
    }
  }
}

// The path goes unquoted, blanks and all, and Setup does not wait for it.
TEST(HandOffToNt5SetupTest, PassesThePathUnquotedAndDoesNotWait) {
  sim::Machine m = sim::MakeMachine("2000");
  test::AddMedia(m, {{"Kestrix CD\\W2KSetup.dat", "MZ"}});
  sim::ProgramBehaviour setup;
  setup.path = "D:\\Kestrix CD\\W2KSetup.dat";
  setup.runsFor = 60000;
  m.programs.push_back(setup);
  sim::SimPlatform platform(m);
  HandOffToNt5Setup(platform, "D:\\Kestrix CD\\", true);
  ASSERT_EQ(platform.started().size(), 1u);
  EXPECT_EQ(platform.started()[0].command, "D:\\Kestrix CD\\W2KSetup.dat /DRIVER");
  EXPECT_TRUE(platform.started()[0].started);
  EXPECT_EQ(platform.Now(), 0);
}

}  // namespace
}  // namespace kx
