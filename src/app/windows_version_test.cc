#include <gtest/gtest.h>

#include "app/setup_context.h"
#include "support/sim_machine.h"

namespace kx {
namespace {

struct ClassifyCase {
  const char* what;
  DWORD platformId, major, minor, build;
  WindowsVersionFlags expected;
};

constexpr WindowsVersionFlags kNone{};
constexpr WindowsVersionFlags k95{.isWin95 = 1};
constexpr WindowsVersionFlags k98{.isWin98 = 1};
constexpr WindowsVersionFlags k98SE{.isWin98 = 1, .isWin98SE = 1};
constexpr WindowsVersionFlags kME{.isWinME = 1};
constexpr WindowsVersionFlags kNT4{.isWinNT4 = 1};
constexpr WindowsVersionFlags kNT5{.isWinNT5 = 1};

std::string Describe(const WindowsVersionFlags& f) {
  return testing::PrintToString(
      std::vector<int>{f.isWin95, f.isWin98, f.isWin98SE, f.isWinME, f.isWinNT4, f.isWinNT5});
}

TEST(ClassifyWindowsTest, ReadsTheReleaseFromTheVersionNumbers) {
  const ClassifyCase cases[] = {
      {"95", 1, 4, 0, 0x040003B6, k95},
      {"95 OSR2", 1, 4, 0, 0x04000457, k95},
      {"minor 0 decides 95 whatever the build", 1, 4, 0, 0x045A0BB8, k95},
      {"98 first edition (build 1998, high byte 7)", 1, 4, 10, 0x040A07CE, k98},
      {"98 SE (build 2222, high byte 8)", 1, 4, 10, 0x040A08AE, k98SE},
      {"98 with high byte 9 is not SE", 1, 4, 10, 0x040A09C4, k98},
      {"the SE byte is bits 8 to 15, not the low byte", 1, 4, 10, 0x040A0708, k98},
      {"highest build that is still 98", 1, 4, 10, 0x040FFFFF, k98},
      {"lowest build that is ME", 1, 4, 10, 0x04100000, kME},
      {"ME (4.90, build 3000)", 1, 4, 90, 0x045A0BB8, kME},
      {"a build with the top bit set compares unsigned", 1, 4, 10, 0x80000800, kME},
      {"NT 4.0", 2, 4, 0, 1381, kNT4},
      {"NT 3.51 counts as below 5", 2, 3, 51, 1057, kNT4},
      {"2000", 2, 5, 0, 2195, kNT5},
      {"XP", 2, 5, 1, 2600, kNT5},
      {"a later NT", 2, 6, 0, 6000, kNT5},
      {"Win32s (platform 0)", 0, 3, 10, 0, kNone},
      {"an unknown platform", 3, 5, 0, 0, kNone},
  };
  for (const ClassifyCase& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Machine m = sim::MakeMachine("98");
    m.release.name.clear();
    m.release.platformId = c.platformId;
    m.release.majorVersion = c.major;
    m.release.minorVersion = c.minor;
    m.release.buildNumber = c.build;
    sim::SimPlatform platform(m);
    EXPECT_EQ(Describe(ClassifyWindows(platform)), Describe(c.expected));
  }
}

TEST(ClassifyWindowsTest, KnowsTheBundledReleases) {
  const std::pair<const char*, WindowsVersionFlags> cases[] = {
      {"95", k95},   {"98", k98},    {"98SE", k98SE}, {"ME", kME},
      {"NT4", kNT4}, {"2000", kNT5}, {"XP", kNT5},
  };
  for (const auto& [release, expected] : cases) {
    SCOPED_TRACE(release);
    sim::Machine m = sim::MakeMachine(release);
    sim::SimPlatform platform(m);
    EXPECT_EQ(Describe(ClassifyWindows(platform)), Describe(expected));
  }
}

}  // namespace
}  // namespace kx
