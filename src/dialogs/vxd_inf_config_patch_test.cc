#include "dialogs/vxd_inf_config_patch.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/sim_machine.h"

namespace kx {
namespace {

constexpr char kInf[] = "C:\\WINDOWS\\INF\\OTHER\\KXAUDIO.INF";

// The five option lines as the package ships them.
constexpr char kShipped[] =
    "[Config]\r\n"
    "HKR,Config,DISMPU,1,0\r\n"
    "HKR,Config,DISJSTK,1,0\r\n"
    "HKR,Config,LINEINasREAR,1,1\r\n"
    "HKR,Config,LINEINasBASS,1,0\r\n"
    "HKR,Config,MICasBASS,1,0\r\n";

// Every edit called for: both ports off, line-in not on the rear jack, the
// subwoofer on line-in and microphone (not a state the dialog reaches, but
// the one that exercises all five lines at once).
DriverOptionChoices AllEdits() {
  DriverOptionChoices choices;
  choices.disableLegacyPort = true;
  choices.disableGamePort = true;
  choices.lineInSharesRear = false;
  choices.lineInSharesCenter = true;
  choices.micSharesSubwoofer = true;
  return choices;
}

std::string Patched(const std::string& before, const DriverOptionChoices& choices) {
  sim::Machine machine = sim::MakeMachine("98");
  machine.files.CreateDirectories("C:\\WINDOWS\\INF\\OTHER");
  machine.files.WriteFile(kInf, before);
  sim::SimPlatform platform(machine);
  PatchVxdInfConfig(platform, kInf, choices);
  std::string after;
  EXPECT_TRUE(machine.files.ReadFile(kInf, &after));
  return after;
}

struct PatchCase {
  const char* name;
  std::string before;
  std::string after;
};

TEST(VxdInfConfigPatchTest, ReplacesTheLastDigitOfTheFirstExactCrLfLine) {
  const std::string dismpu = "HKR,Config,DISMPU,1,0\r\n";
  const std::string edited = "HKR,Config,DISMPU,1,1\r\n";
  const PatchCase cases[] = {
      {"all five lines", kShipped,
       "[Config]\r\n"
       "HKR,Config,DISMPU,1,1\r\n"
       "HKR,Config,DISJSTK,1,1\r\n"
       "HKR,Config,LINEINasREAR,1,0\r\n"
       "HKR,Config,LINEINasBASS,1,1\r\n"
       "HKR,Config,MICasBASS,1,1\r\n"},
      {"near misses are passed over",
       "HKR,Config,DISMPU,1,0 ; MIDI port\r\n"
       "HKR, Config,DISMPU,1,0\r\n"
       "hkr,config,dismpu,1,0\r\n"
       " HKR,Config,DISMPU,1,0\r\n" +
           dismpu,
       "HKR,Config,DISMPU,1,0 ; MIDI port\r\n"
       "HKR, Config,DISMPU,1,0\r\n"
       "hkr,config,dismpu,1,0\r\n"
       " HKR,Config,DISMPU,1,0\r\n" +
           edited},
      {"only the first copy", dismpu + dismpu, edited + dismpu},
      {"the last line", "[Config]\r\n" + dismpu, "[Config]\r\n" + edited},
      {"a line shipped with the new digit", "HKR,Config,DISMPU,1,1\r\n" + dismpu,
       "HKR,Config,DISMPU,1,1\r\n" + edited},
  };
  for (const PatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Patched(c.before, AllEdits()), c.after);
  }
}

TEST(VxdInfConfigPatchTest, InitialChoicesLeaveEveryLineAsShipped) {
  EXPECT_EQ(Patched(kShipped, DriverOptionChoices()), kShipped);
}

// Lines whose end is not CR LF have no defined edit position: the file is
// left byte for byte as it was. The first matching line decides, so a proper
// copy after it stays too.
TEST(VxdInfConfigPatchTest, LeavesLinesWithoutCrLfUnedited) {
  const std::string dismpu = "HKR,Config,DISMPU,1,0\r\n";
  const std::string longLine =
      std::string(1023, 'x') + dismpu;  // the option text starts the second read
  const PatchCase cases[] = {
      {"bare LF", "HKR,Config,DISMPU,1,0\n" + dismpu, ""},
      {"bare CR", "HKR,Config,DISMPU,1,0\rHKR,Config,DISJSTK,1,0\r", ""},
      {"no line end at the end of the file", "[Config]\r\nHKR,Config,DISMPU,1,0", ""},
      {"one more character instead of a line end", "[Config]\r\nHKR,Config,DISMPU,1,0X", ""},
      {"the end of a line longer than the buffer", longLine, ""},
      {"a zero byte before the line", std::string("\0", 1) + "HKR,Config,DISMPU,1,0\r\n", ""},
  };
  DriverOptionChoices midiOff;
  midiOff.disableLegacyPort = true;
  for (const PatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Patched(c.before, midiOff), c.before);
  }
  // A real line after the long one is still found.
  EXPECT_EQ(Patched(longLine + dismpu, midiOff), longLine + "HKR,Config,DISMPU,1,1\r\n");
}

TEST(VxdInfConfigPatchTest, LeavesAFileThatCannotBeOpenedForUpdate) {
  sim::Machine machine = sim::MakeMachine("98");
  machine.files.CreateDirectories("C:\\WINDOWS\\INF\\OTHER");
  machine.files.WriteFile(kInf, kShipped);
  machine.files.SetFileAttributesA(kInf, kFileAttributeReadonly);
  sim::SimPlatform platform(machine);
  PatchVxdInfConfig(platform, kInf, AllEdits());
  std::string after;
  ASSERT_TRUE(machine.files.ReadFile(kInf, &after));
  EXPECT_EQ(after, kShipped);
}

}  // namespace
}  // namespace kx
