// Setup run end to end on a simulated PC: the outcome and the report of
// changes.
#include "sim/run/run_setup.h"

#include <gtest/gtest.h>

#include "sim/run/change_text.h"
#include "support/sim_machine.h"

namespace kx::sim {
namespace {

TEST(RunSetup, ReportsTheChangesOfAStartUp) {
  Machine m = MakeMachine("ME");
  test::MountExampleMedia(m, "new-layout");
  std::vector<std::string> streamed;
  RunOptions options;
  options.transcript = [&](const TranscriptEntry& e) { streamed.push_back(e.what); };
  const RunResult result = RunSetup(m, options);
  std::string text;
  for (const TranscriptEntry& e : result.transcript) text += FormatTranscriptEntry(e) + "\n";
  EXPECT_NE(result.outcome, RunOutcome::kFailed) << result.message;
  EXPECT_EQ(streamed.size(), result.transcript.size());
  // Every start writes the CD-audio setting.
  bool wroteCdAudio = false;
  for (const FileChange& c : result.fileChanges) {
    wroteCdAudio = wroteCdAudio || c.path == "C:\\WINDOWS\\KXCDPLAY.INI";
  }
  EXPECT_TRUE(wroteCdAudio) << text;
}

TEST(RunSetup, ListsTheRenamesAddedToWininit) {
  const std::vector<RenameEntry> before = {{"NUL", "C:\\OLD.TMP"}};
  const std::vector<RenameEntry> after = ReadRenameEntries(
      "[Rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=C:\\OLD.TMP\r\n[other]\r\nx=y\r\n[rename]\r\n"
      "C:\\WINDOWS\\SYSTEM\\K3D.OLD=C:\\WINDOWS\\SYSTEM\\K3D.DLL\r\n");
  const std::vector<RenameEntry> expected = {
      {"NUL", "C:\\OLD.TMP"}, {"C:\\WINDOWS\\SYSTEM\\K3D.OLD", "C:\\WINDOWS\\SYSTEM\\K3D.DLL"}};
  EXPECT_EQ(AddedRenameEntries(before, after), expected);
}

TEST(RunSetup, SettlingKeepsWhatIsStillToComeFromNowOn) {
  Machine m = MakeMachine("ME");
  Window gone, later, vanishing;
  gone.title = "gone";
  gone.gone = true;
  later.title = "later";
  later.appearsAt = 30 * kSecond;
  vanishing.title = "vanishing";
  vanishing.vanishesAt = 5 * kSecond;
  m.windows = {gone, later, vanishing};
  m.events = {{25 * kSecond, "", {}}, {2 * kSecond, kReenumerateTrigger, {}}};
  SettleMachine(m, 10 * kSecond);
  ASSERT_EQ(m.windows.size(), 1u);
  EXPECT_EQ(m.windows[0].title, "later");
  EXPECT_EQ(m.windows[0].appearsAt, 20 * kSecond);
  EXPECT_EQ(m.events[0].at, 15 * kSecond);
  EXPECT_EQ(m.events[1].at, 2 * kSecond);  // still waits for its trigger
}

}  // namespace
}  // namespace kx::sim
