#include "app/dispatch.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

enum class Os { k95, k98, k98SE, kME, kNT4, kNT5, kOther };

WindowsVersionFlags Flags(Os os) {
  WindowsVersionFlags flags;
  switch (os) {
    case Os::k95:
      flags.isWin95 = 1;
      break;
    case Os::k98:
      flags.isWin98 = 1;
      break;
    case Os::k98SE:
      flags.isWin98 = flags.isWin98SE = 1;
      break;
    case Os::kME:
      flags.isWinME = 1;
      break;
    case Os::kNT4:
      flags.isWinNT4 = 1;
      break;
    case Os::kNT5:
      flags.isWinNT5 = 1;
      break;
    case Os::kOther:
      break;
  }
  return flags;
}

constexpr CommandSwitch kNone = CommandSwitch::kNone;
constexpr CommandSwitch kAp = CommandSwitch::kApplicationsOnly;
constexpr CommandSwitch kDriver = CommandSwitch::kDriver;

struct DispatchCase {
  Os os;
  int webSetup;
  int driverOnly;
  CommandSwitch commandSwitch;
  int row;
};

TEST(DispatchTest, TakesTheFirstMatchingRow) {
  const DispatchCase cases[] = {
      // Row 1: the AP switch on normal media, on every Windows, also 2000/XP
      // and also against DriverOnly.
      {Os::kME, 0, 0, kAp, 1},
      {Os::k95, 0, 1, kAp, 1},
      {Os::kNT4, 0, 0, kAp, 1},
      {Os::kNT5, 0, 0, kAp, 1},
      // Row 2: Windows 2000/XP hands over whatever else is asked.
      {Os::kNT5, 0, 0, kNone, 2},
      {Os::kNT5, 0, 1, kDriver, 2},
      {Os::kNT5, 1, 0, kAp, 2},
      {Os::kNT5, 2, 1, kNone, 2},
      // Row 3: a driver request on NT 4.0 ends silently.
      {Os::kNT4, 0, 0, kDriver, 3},
      {Os::kNT4, 0, 1, kNone, 3},
      // Row 4: a driver request, from the switch or from DriverOnly.
      {Os::kME, 0, 0, kDriver, 4},
      {Os::k98, 0, 1, kNone, 4},
      {Os::kOther, 0, 1, kNone, 4},
      // Row 5: normal media without a switch, NT 4.0 included.
      {Os::k98SE, 0, 0, kNone, 5},
      {Os::kNT4, 0, 0, kNone, 5},
      {Os::kOther, 0, 0, kNone, 5},
      // Row 6: WebSetup 1 ignores both switches and DriverOnly, on NT 4.0 too.
      {Os::kME, 1, 0, kAp, 6},
      {Os::k95, 1, 1, kDriver, 6},
      {Os::kNT4, 1, 0, kAp, 6},
      // Row 7: a flat package on NT 4.0 ends silently.
      {Os::kNT4, 2, 0, kNone, 7},
      {Os::kNT4, 7, 1, kDriver, 7},
      // Row 8: any other WebSetup installs the flat package.
      {Os::k98, 2, 0, kAp, 8},
      {Os::kME, 7, 1, kDriver, 8},
      {Os::kME, -1, 0, kNone, 8},
      {Os::kOther, 2, 0, kNone, 8},
  };
  for (const DispatchCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "os " << static_cast<int>(c.os) << " WebSetup " << c.webSetup << " DriverOnly "
                 << c.driverOnly << " switch " << static_cast<int>(c.commandSwitch));
    SetupOptions options;
    options.WebSetup = c.webSetup;
    options.DriverOnly = c.driverOnly;
    EXPECT_EQ(static_cast<int>(SelectDispatchRow(Flags(c.os), options, c.commandSwitch)), c.row);
  }
}

}  // namespace
}  // namespace kx
