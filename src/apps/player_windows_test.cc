#include "apps/player_windows.h"

#include <gtest/gtest.h>

#include "support/sim_machine.h"

namespace kx {
namespace {

// What ClosePlayerWindows did, in order: "close T" for each WM_CLOSE (closed
// or ignored), "sleep N" for each pause.
std::vector<std::string> Steps(const sim::SimPlatform& platform) {
  std::vector<std::string> steps;
  for (const sim::TranscriptEntry& e : platform.transcript().entries()) {
    if (e.isPause) {
      for (int i = 0; i < e.repeat; ++i) steps.push_back(e.what);
    } else if (e.what.rfind("WM_CLOSE: window \"", 0) == 0) {
      const std::size_t start = e.what.find('"') + 1;
      steps.push_back("close " + e.what.substr(start, e.what.find('"', start) - start));
    }
  }
  return steps;
}

sim::Window PlayerWindow(const char* title,
                         sim::CloseBehaviour onClose = sim::CloseBehaviour::kCloses) {
  sim::Window window;
  window.title = title;
  window.className = "OrvantaPlayer";
  window.onClose = onClose;
  return window;
}

struct CloseCase {
  const char* what;
  std::vector<const char*> open;  // window titles, in the order Windows finds them
  std::vector<std::string> steps;
  sim::SimTime pause;
};

TEST(ClosePlayerWindowsTest, ClosesTheRackPlayerAloneElseEachPlayer) {
  const CloseCase cases[] = {
      {"nothing open", {}, {"Sleep 500 ms"}, 500},
      {"the rack player owns the others: they are not looked for",
       {"Disc Player", "TuneStack", "Track Player"},
       {"close TuneStack", "Sleep 500 ms", "Sleep 500 ms"},
       1000},
      {"the three players in their order, whatever the screen order, without pauses between",
       {"Track Player", "Synth Player", "Disc Player"},
       {"close Disc Player", "close Synth Player", "close Track Player", "Sleep 500 ms"},
       500},
      {"only the first window of a title",
       {"Synth Player", "Synth Player"},
       {"close Synth Player", "Sleep 500 ms"},
       500},
      {"the title must match whole",
       {"TuneStack 2", "Disc Player - track 1"},
       {"Sleep 500 ms"},
       500},
  };
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Machine m = sim::MakeMachine("98SE");
    for (const char* title : c.open) m.windows.push_back(PlayerWindow(title));
    sim::SimPlatform platform(m);
    ClosePlayerWindows(platform);
    EXPECT_EQ(Steps(platform), c.steps);
    EXPECT_EQ(platform.Now(), c.pause);
  }
}

// A player that ignores WM_CLOSE still counts as found: the pauses do not
// change and nothing waits for it to go.
TEST(ClosePlayerWindowsTest, DoesNotCheckThatAWindowClosed) {
  sim::Machine m = sim::MakeMachine("ME");
  m.windows.push_back(PlayerWindow("TuneStack", sim::CloseBehaviour::kIgnores));
  m.windows.push_back(PlayerWindow("Disc Player"));
  sim::SimPlatform platform(m);
  ClosePlayerWindows(platform);
  EXPECT_EQ(Steps(platform),
            (std::vector<std::string>{"close TuneStack", "Sleep 500 ms", "Sleep 500 ms"}));
  EXPECT_EQ(platform.Now(), 1000);
  EXPECT_TRUE(m.windows[0].IsOpenAt(platform.Now()));
  EXPECT_TRUE(m.windows[1].IsOpenAt(platform.Now()));
}

}  // namespace
}  // namespace kx
