#include "dialogs/wdm_inf_settings_patch.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/sim_machine.h"

namespace kx {
namespace {

constexpr char kInf[] = "C:\\Program Files\\Kestrix\\WIN_ME\\KXAUDIO.INF";

// The two lines as shipped, and with another digit at column 48.
const std::string kLegacy = kEnableLegacyLine;
const std::string kJack = kJackConfigLine;
std::string WithValue(std::string line, char digit) {
  line[kSettingsValueColumn] = digit;
  return line;
}

const std::string kShipped = "[Settings.AddReg]\r\n" + kLegacy + "\r\n" + kJack + "\r\n";

DriverOptionChoices LegacyOffOnSoundCard() {
  DriverOptionChoices choices;
  choices.disableLegacyPort = true;
  choices.jacksOnSoundCard = true;
  return choices;
}

std::string Patched(const std::string& before, const DriverOptionChoices& choices) {
  sim::Machine machine = sim::MakeMachine("ME");
  machine.files.CreateDirectories("C:\\Program Files\\Kestrix\\WIN_ME");
  machine.files.WriteFile(kInf, before);
  sim::SimPlatform platform(machine);
  PatchWdmInfSettings(platform, kInf, choices);
  std::string after;
  EXPECT_TRUE(machine.files.ReadFile(kInf, &after));
  return after;
}

struct PatchCase {
  const char* name;
  std::string before;
  DriverOptionChoices choices;
  std::string after;
};

TEST(WdmInfSettingsPatchTest, WritesTheValuesAtColumn48OfTheFirstPrefixLine) {
  DriverOptionChoices rearAndSub;
  rearAndSub.micSharesSubwoofer = true;
  const std::string comment = " ; how the jacks are wired";
  const PatchCase cases[] = {
      {"initial choices", kShipped, DriverOptionChoices(),
       "[Settings.AddReg]\r\n" + kLegacy + "\r\n" + WithValue(kJack, '1') + "\r\n"},
      {"legacy devices off, jacks on the sound card", kShipped, LegacyOffOnSoundCard(),
       "[Settings.AddReg]\r\n" + WithValue(kLegacy, '2') + "\r\n" + WithValue(kJack, '0') + "\r\n"},
      {"JackConfig before EnableLegacy", kJack + "\r\n" + kLegacy + "\r\n", LegacyOffOnSoundCard(),
       WithValue(kJack, '0') + "\r\n" + WithValue(kLegacy, '2') + "\r\n"},
      {"a comment after the prefix", kJack + comment + "\r\n", rearAndSub,
       WithValue(kJack, '5') + comment + "\r\n"},
      {"no EnableLegacy line", kJack + "\r\n", LegacyOffOnSoundCard(),
       WithValue(kJack, '0') + "\r\n"},
      {"only the first copy", kJack + "\r\n" + kJack + "\r\n", DriverOptionChoices(),
       WithValue(kJack, '1') + "\r\n" + kJack + "\r\n"},
      {"other spacing and case are not the prefix",
       "HKR,\"Settings\",\"JackConfig\",     0x00010001,0x05,0,0,0\r\n"
       "hkr,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0\r\n",
       DriverOptionChoices(),
       "HKR,\"Settings\",\"JackConfig\",     0x00010001,0x05,0,0,0\r\n"
       "hkr,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0\r\n"},
  };
  for (const PatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Patched(c.before, c.choices), c.after);
  }
}

// Column 48 is counted back from a CR LF line end: lines without one, or too
// long for the line buffer, are left byte for byte as they were, and the
// first matching line decides.
TEST(WdmInfSettingsPatchTest, LeavesLinesWithoutCrLfUnedited) {
  const std::string cases[] = {
      kJack + "\n" + kJack + "\r\n",
      kLegacy + "\n",
      kJack + "\r",
      "[Settings.AddReg]\r\n" + kJack + ";",
      kJack + " ;" + std::string(1000, '-') + "\r\n",
  };
  DriverOptionChoices legacyOff;  // JackConfig 1: no digit the line already holds
  legacyOff.disableLegacyPort = true;
  for (const std::string& before : cases) {
    SCOPED_TRACE(before.substr(0, 70));
    EXPECT_EQ(Patched(before, legacyOff), before);
  }
}

TEST(WdmInfSettingsPatchTest, LeavesAFileThatCannotBeOpenedForUpdate) {
  sim::Machine machine = sim::MakeMachine("ME");
  machine.files.CreateDirectories("C:\\Program Files\\Kestrix\\WIN_ME");
  machine.files.WriteFile(kInf, kShipped);
  machine.files.SetFileAttributesA(kInf, kFileAttributeReadonly);
  sim::SimPlatform platform(machine);
  PatchWdmInfSettings(platform, kInf, LegacyOffOnSoundCard());
  std::string after;
  ASSERT_TRUE(machine.files.ReadFile(kInf, &after));
  EXPECT_EQ(after, kShipped);
}

}  // namespace
}  // namespace kx
