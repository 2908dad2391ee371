#include "apps/apps_setup.h"

#include <gtest/gtest.h>

#include "support/sim_machine.h"

namespace kx {
namespace {

const std::vector<test::MediaFile> kNewLayout = {
    {"W95-98\\app\\Setup.exe", "MZ"},
    {"W2K-ME\\app\\Setup.exe", "MZ"},
    {"NT40\\app\\Setup.exe", "MZ"},
};
const std::vector<test::MediaFile> kOldLayout = {
    {"WIN_9x\\app\\Setup.exe", "MZ"},
    {"WIN_ME\\app\\Setup.exe", "MZ"},
    {"WIN_NT40\\app\\Setup.exe", "MZ"},
};

// A machine of that release; "none" is a Windows that is neither 9x nor NT.
sim::Machine MachineFor(const char* release) {
  if (std::string(release) != "none") return sim::MakeMachine(release);
  sim::Machine m = sim::MakeMachine("98");
  m.release.name.clear();
  m.release.platformId = 0;
  return m;
}

std::string Select(sim::Machine& m, int useVxd, std::string* currentFolder = nullptr) {
  sim::SimPlatform platform(m);
  WindowsVersionFlags os = ClassifyWindows(platform);
  const std::string path = SelectAppsSetupPath(platform, "D:\\", os, useVxd);
  if (currentFolder != nullptr) {
    char buffer[kMaxPath] = {};
    platform.GetCurrentDirectoryA(kMaxPath, buffer);
    *currentFolder = buffer;
  }
  return path;
}

struct SelectionCase {
  const char* release;
  int useVxd;
  const char* newLayout;
  const char* oldLayout;
};

TEST(SelectAppsSetupPathTest, PicksTheProgramForTheReleaseAndArchitecture) {
  const SelectionCase cases[] = {
      {"95", 1, "D:\\W95-98\\app\\Setup.exe", "D:\\WIN_9x\\app\\Setup.exe"},
      {"95", 0, "D:\\W95-98\\app\\Setup.exe", "D:\\WIN_9x\\app\\Setup.exe"},
      {"98", 1, "D:\\W95-98\\app\\Setup.exe", "D:\\WIN_9x\\app\\Setup.exe"},
      {"98", 0, "D:\\W2K-ME\\app\\Setup.exe", "D:\\WIN_ME\\app\\Setup.exe"},
      {"98SE", 1, "D:\\W95-98\\app\\Setup.exe", "D:\\WIN_9x\\app\\Setup.exe"},
      {"98SE", 0, "D:\\W2K-ME\\app\\Setup.exe", "D:\\WIN_ME\\app\\Setup.exe"},
      {"ME", 1, "D:\\W95-98\\app\\Setup.exe", "D:\\WIN_9x\\app\\Setup.exe"},
      {"ME", 0, "D:\\W2K-ME\\app\\Setup.exe", "D:\\WIN_ME\\app\\Setup.exe"},
      {"NT4", 1, "D:\\NT40\\app\\Setup.exe", "D:\\WIN_NT40\\app\\Setup.exe"},
      {"NT4", 0, "D:\\NT40\\app\\Setup.exe", "D:\\WIN_NT40\\app\\Setup.exe"},
      {"2000", 1, "D:\\W2K-ME\\app\\Setup.exe", "D:\\WIN_ME\\app\\Setup.exe"},
      {"XP", 0, "D:\\W2K-ME\\app\\Setup.exe", "D:\\WIN_ME\\app\\Setup.exe"},
      // Any non-zero flag means VxD.
      {"ME", 2, "D:\\W95-98\\app\\Setup.exe", "D:\\WIN_9x\\app\\Setup.exe"},
      // Nothing is appended: SourceDir itself, which no caller can open.
      {"none", 0, "D:\\", "D:\\"},
  };
  for (const SelectionCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.release << " useVxd " << c.useVxd);
    sim::Machine newMedia = MachineFor(c.release);
    test::AddMedia(newMedia, kNewLayout);
    EXPECT_EQ(Select(newMedia, c.useVxd), c.newLayout);
    sim::Machine oldMedia = MachineFor(c.release);
    test::AddMedia(oldMedia, kOldLayout);
    EXPECT_EQ(Select(oldMedia, c.useVxd), c.oldLayout);
  }
}

struct FallbackCase {
  const char* what;
  const char* release;
  int useVxd;
  std::vector<test::MediaFile> media;
  const char* expected;
};

TEST(SelectAppsSetupPathTest, FallsBackToTheMeProgramOnlyOnWindows9x) {
  const FallbackCase cases[] = {
      {"98 first edition without its own program",
       "98",
       1,
       {{"W2K-ME\\app\\Setup.exe", "MZ"}},
       "D:\\W2K-ME\\app\\Setup.exe"},
      {"95, old layout", "95", 0, {{"WIN_ME\\app\\Setup.exe", "MZ"}}, "D:\\WIN_ME\\app\\Setup.exe"},
      {"the fallback is not tested",
       "ME",
       1,
       {{"W2K-ME\\drv\\KXAUDIO.INF", ""}},
       "D:\\W2K-ME\\app\\Setup.exe"},
      {"a folder named Setup.exe is no program",
       "98SE",
       1,
       {{"W95-98\\app\\Setup.exe\\readme.txt", ""}, {"W2K-ME\\app\\Setup.exe", "MZ"}},
       "D:\\W2K-ME\\app\\Setup.exe"},
      {"no fallback on NT 4.0",
       "NT4",
       0,
       {{"WIN_ME\\app\\Setup.exe", "MZ"}},
       "D:\\WIN_NT40\\app\\Setup.exe"},
      {"no fallback on XP",
       "XP",
       0,
       {{"WIN_9x\\app\\Setup.exe", "MZ"}},
       "D:\\WIN_ME\\app\\Setup.exe"},
  };
  for (const FallbackCase& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Machine m = MachineFor(c.release);
    test::AddMedia(m, c.media);
    EXPECT_EQ(Select(m, c.useVxd), c.expected);
  }
}

// The layout test leaves the current folder in W2K-ME\ when that folder is
// there; the old layout leaves it where it was. Media carrying both layouts
// count as the new one.
TEST(SelectAppsSetupPathTest, TheNewLayoutLeavesTheCurrentFolderInIt) {
  std::vector<test::MediaFile> both = kOldLayout;
  both.insert(both.end(), kNewLayout.begin(), kNewLayout.end());
  const std::tuple<const char*, std::vector<test::MediaFile>, const char*, const char*> cases[] = {
      {"new", kNewLayout, "D:\\W2K-ME\\app\\Setup.exe", "D:\\W2K-ME"},
      {"old", kOldLayout, "D:\\WIN_ME\\app\\Setup.exe", "C:\\WINDOWS"},
      {"both", both, "D:\\W2K-ME\\app\\Setup.exe", "D:\\W2K-ME"},
  };
  for (const auto& [what, media, path, folder] : cases) {
    SCOPED_TRACE(what);
    sim::Machine m = sim::MakeMachine("ME");
    test::AddMedia(m, media);
    std::string current;
    EXPECT_EQ(Select(m, 0, &current), path);
    EXPECT_EQ(current, folder);
  }
}

// The program starts shown, unquoted, in the folder the selection left, and
// Setup does not wait for it.
TEST(LaunchAppsSetupTest, StartsTheProgramInTheCurrentFolderWithoutWaiting) {
  sim::Machine m = sim::MakeMachine("ME");
  test::AddMedia(m, {{"Kestrix CD\\W2K-ME\\app\\Setup.exe", "MZ"}});
  sim::ProgramBehaviour apps;
  apps.path = "D:\\Kestrix CD\\W2K-ME\\app\\Setup.exe";
  apps.runsFor = std::nullopt;  // still running when Setup has long gone
  m.programs.push_back(apps);
  sim::SimPlatform platform(m);
  const std::string path =
      SelectAppsSetupPath(platform, "D:\\Kestrix CD\\", ClassifyWindows(platform), 0);
  LaunchAppsSetup(platform, path);
  ASSERT_EQ(platform.started().size(), 1u);
  const sim::StartedProgram& started = platform.started()[0];
  EXPECT_EQ(started.via, "CreateProcessA");
  EXPECT_EQ(started.command, "D:\\Kestrix CD\\W2K-ME\\app\\Setup.exe");
  EXPECT_TRUE(started.started);
  EXPECT_EQ(started.currentFolder, "D:\\Kestrix CD\\W2K-ME");
  EXPECT_EQ(started.show, kSwShow);
  EXPECT_EQ(platform.Now(), 0);
}

}  // namespace
}  // namespace kx
