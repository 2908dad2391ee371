#include "dialogs/jack_options.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "res/resource_ids.h"

namespace kx {
namespace {

constexpr int kBoard = res::kJacksOnMotherboard;   // 1006
constexpr int kCard = res::kJacksOnSoundCard;      // 1007
constexpr int kRear = res::kLineInSharesRear;      // 1011
constexpr int kCenter = res::kLineInSharesCenter;  // 1012
constexpr int kSub = res::kMicSharesSubwoofer;     // 1013
constexpr int kMidi = res::kLegacyPortBox;         // 1000
constexpr int kGame = res::kGamePortBox;           // 1001

// The buttons of dialog 103 as Windows runs them: every control starts
// enabled and unchecked as the template has it; a click on a disabled control
// does nothing; an automatic radio button (each alone in its group) becomes
// checked and an automatic check box toggles before the dialog's handler runs.
class DialogButtons : public OptionButtons {
 public:
  DialogButtons() { SetInitialJackOptions(*this); }

  bool IsChecked(int id) const override {
    auto it = checked_.find(id);
    return it != checked_.end() && it->second;
  }
  void SetCheck(int id, bool checked) override { checked_[id] = checked; }
  void Enable(int id, bool enabled) override { disabled_[id] = !enabled; }
  bool IsEnabled(int id) const {
    auto it = disabled_.find(id);
    return it == disabled_.end() || !it->second;
  }

  void Click(int id) {
    if (!IsEnabled(id)) return;
    SetCheck(id, id == kBoard || id == kCard ? true : !IsChecked(id));
    OnJackControlClicked(*this, id);
  }

  std::set<int> CheckedSharingBoxes() const {
    std::set<int> boxes;
    for (int id : {kRear, kCenter, kSub}) {
      if (IsChecked(id)) boxes.insert(id);
    }
    return boxes;
  }

  bool operator<(const DialogButtons& other) const {
    return std::tie(checked_, disabled_) < std::tie(other.checked_, other.disabled_);
  }

 private:
  std::map<int, bool> checked_;
  std::map<int, bool> disabled_;
};

using Edits = std::vector<std::pair<std::string, char>>;

Edits EditsFor(const DialogButtons& buttons) {
  Edits edits;
  for (const VxdConfigEdit& edit : VxdConfigEdits(ReadDriverOptionChoices(buttons))) {
    edits.emplace_back(edit.line, edit.digit);
  }
  return edits;
}

TEST(JackOptionsTest, InitialStateGivesJackConfigOneAndNoVxdEdit) {
  DialogButtons buttons;
  EXPECT_TRUE(buttons.IsChecked(kBoard));
  EXPECT_FALSE(buttons.IsChecked(kCard));
  EXPECT_EQ(buttons.CheckedSharingBoxes(), (std::set<int>{kRear}));
  EXPECT_FALSE(buttons.IsChecked(kMidi));
  EXPECT_FALSE(buttons.IsChecked(kGame));
  const DriverOptionChoices choices = ReadDriverOptionChoices(buttons);
  EXPECT_EQ(JackConfig(choices), 1);
  EXPECT_FALSE(choices.disableLegacyPort);
  EXPECT_TRUE(VxdConfigEdits(choices).empty());
}

// Every state any sequence of clicks can reach: exactly one location is
// selected, the sharing boxes are enabled exactly with the motherboard, and
// the checked sharing boxes are one of four sets (never none, never both
// line-in options, never line-in and microphone on the subwoofer together).
TEST(JackOptionsTest, ClicksReachOnlyTheFourSharingSets) {
  std::set<DialogButtons> seen = {DialogButtons()};
  std::vector<DialogButtons> pending = {DialogButtons()};
  std::set<std::set<int>> sharingSets;
  while (!pending.empty()) {
    const DialogButtons state = pending.back();
    pending.pop_back();
    EXPECT_NE(state.IsChecked(kBoard), state.IsChecked(kCard));
    for (int id : {kRear, kCenter, kSub}) {
      EXPECT_EQ(state.IsEnabled(id), state.IsChecked(kBoard)) << id;
    }
    sharingSets.insert(state.CheckedSharingBoxes());
    const int config = JackConfig(ReadDriverOptionChoices(state));
    EXPECT_TRUE(config == 0 || config == 1 || config == 2 || config == 4 || config == 5) << config;
    for (int id : {kBoard, kCard, kRear, kCenter, kSub}) {
      DialogButtons next = state;
      next.Click(id);
      if (seen.insert(next).second) pending.push_back(next);
    }
  }
  EXPECT_EQ(sharingSets, (std::set<std::set<int>>{{kRear}, {kRear, kSub}, {kCenter}, {kSub}}));
}

struct ClickCase {
  const char* name;
  std::vector<int> clicks;
  std::set<int> sharing;
  bool sharingEnabled;
  int jackConfig;
  Edits vxdEdits;
};

TEST(JackOptionsTest, ClickSequencesGiveTheirStateAndValues) {
  const Edits rearOff = {{"HKR,Config,LINEINasREAR,1,1", '0'}};
  const ClickCase cases[] = {
      {"a checked box stays checked", {kRear}, {kRear}, true, 1, {}},
      {"board again changes nothing", {kBoard}, {kRear}, true, 1, {}},
      {"microphone joins rear",
       {kSub},
       {kRear, kSub},
       true,
       5,
       {{"HKR,Config,MICasBASS,1,0", '1'}}},
      {"center clears both others",
       {kSub, kCenter},
       {kCenter},
       true,
       2,
       {{"HKR,Config,LINEINasREAR,1,1", '0'}, {"HKR,Config,LINEINasBASS,1,0", '1'}}},
      {"rear keeps microphone",
       {kSub, kRear},
       {kRear, kSub},
       true,
       5,
       {{"HKR,Config,MICasBASS,1,0", '1'}}},
      {"microphone clears center",
       {kCenter, kSub},
       {kSub},
       true,
       4,
       {{"HKR,Config,LINEINasREAR,1,1", '0'}, {"HKR,Config,MICasBASS,1,0", '1'}}},
      {"sound card keeps the checks but disables them",
       {kCenter, kCard},
       {kCenter},
       false,
       0,
       rearOff},
      {"back to the board with the checks as they were",
       {kCenter, kCard, kBoard},
       {kCenter},
       true,
       2,
       {{"HKR,Config,LINEINasREAR,1,1", '0'}, {"HKR,Config,LINEINasBASS,1,0", '1'}}},
      {"a disabled box ignores clicks", {kCard, kCenter, kSub}, {kRear}, false, 0, rearOff},
      {"legacy boxes in table order",
       {kGame, kMidi},
       {kRear},
       true,
       1,
       {{"HKR,Config,DISMPU,1,0", '1'}, {"HKR,Config,DISJSTK,1,0", '1'}}},
      {"a legacy box toggles back", {kMidi, kMidi}, {kRear}, true, 1, {}},
      {"legacy boxes work with the sound card",
       {kCard, kMidi},
       {kRear},
       false,
       0,
       {{"HKR,Config,DISMPU,1,0", '1'}, {"HKR,Config,LINEINasREAR,1,1", '0'}}},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    DialogButtons buttons;
    for (int id : c.clicks) buttons.Click(id);
    EXPECT_EQ(buttons.CheckedSharingBoxes(), c.sharing);
    for (int id : {kRear, kCenter, kSub}) EXPECT_EQ(buttons.IsEnabled(id), c.sharingEnabled);
    EXPECT_EQ(JackConfig(ReadDriverOptionChoices(buttons)), c.jackConfig);
    EXPECT_EQ(EditsFor(buttons), c.vxdEdits);
  }
}

}  // namespace
}  // namespace kx
