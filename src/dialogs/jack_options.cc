#include "dialogs/jack_options.h"

#include "res/resource_ids.h"

namespace kx {
namespace {

constexpr int kSharingBoxes[] = {res::kLineInSharesRear, res::kLineInSharesCenter,
                                 res::kMicSharesSubwoofer};

void EnableSharingBoxes(OptionButtons& buttons, bool enabled) {
  for (int id : kSharingBoxes) buttons.Enable(id, enabled);
}

}  // namespace

void SetInitialJackOptions(OptionButtons& buttons) {
  buttons.SetCheck(res::kJacksOnMotherboard, true);
  buttons.SetCheck(res::kJacksOnSoundCard, false);
  buttons.SetCheck(res::kLineInSharesRear, true);
  buttons.SetCheck(res::kLineInSharesCenter, false);
  buttons.SetCheck(res::kMicSharesSubwoofer, false);
}

void OnJacksOnMotherboard(OptionButtons& buttons) {
  buttons.SetCheck(res::kJacksOnMotherboard, true);
  buttons.SetCheck(res::kJacksOnSoundCard, false);
  EnableSharingBoxes(buttons, true);
}

void OnJacksOnSoundCard(OptionButtons& buttons) {
  buttons.SetCheck(res::kJacksOnMotherboard, false);
  buttons.SetCheck(res::kJacksOnSoundCard, true);
  EnableSharingBoxes(buttons, false);
}

// Line-in cannot share a jack with both the rear output and the
// center/subwoofer output, and the subwoofer cannot come out of both the
// line-in and the microphone jack.
void OnLineInSharesRear(OptionButtons& buttons) {
  buttons.SetCheck(res::kLineInSharesRear, true);
  buttons.SetCheck(res::kLineInSharesCenter, false);
}

void OnLineInSharesCenter(OptionButtons& buttons) {
  buttons.SetCheck(res::kLineInSharesCenter, true);
  buttons.SetCheck(res::kLineInSharesRear, false);
  buttons.SetCheck(res::kMicSharesSubwoofer, false);
}

void OnMicSharesSubwoofer(OptionButtons& buttons) {
  buttons.SetCheck(res::kMicSharesSubwoofer, true);
  buttons.SetCheck(res::kLineInSharesCenter, false);
}

bool OnJackControlClicked(OptionButtons& buttons, int id) {
  switch (id) {
    case res::kJacksOnMotherboard:
      OnJacksOnMotherboard(buttons);
      return true;
    case res::kJacksOnSoundCard:
      OnJacksOnSoundCard(buttons);
      return true;
    case res::kLineInSharesRear:
      OnLineInSharesRear(buttons);
      return true;
    case res::kLineInSharesCenter:
      OnLineInSharesCenter(buttons);
      return true;
    case res::kMicSharesSubwoofer:
      OnMicSharesSubwoofer(buttons);
      return true;
    default:
      return false;
  }
}

DriverOptionChoices ReadDriverOptionChoices(const OptionButtons& buttons) {
  DriverOptionChoices choices;
  choices.jacksOnSoundCard = buttons.IsChecked(res::kJacksOnSoundCard);
  choices.lineInSharesRear = buttons.IsChecked(res::kLineInSharesRear);
  choices.lineInSharesCenter = buttons.IsChecked(res::kLineInSharesCenter);
  choices.micSharesSubwoofer = buttons.IsChecked(res::kMicSharesSubwoofer);
  choices.disableLegacyPort = buttons.IsChecked(res::kLegacyPortBox);
  choices.disableGamePort = buttons.IsChecked(res::kGamePortBox);
  return choices;
}

int JackConfig(const DriverOptionChoices& choices) {
  if (choices.jacksOnSoundCard) return 0;
  return (choices.lineInSharesRear ? 1 : 0) + (choices.lineInSharesCenter ? 2 : 0) +
         (choices.micSharesSubwoofer ? 4 : 0);
}

std::vector<VxdConfigEdit> VxdConfigEdits(const DriverOptionChoices& choices) {
  const bool onMotherboard = !choices.jacksOnSoundCard;
  std::vector<VxdConfigEdit> edits;
  if (choices.disableLegacyPort) edits.push_back({"HKR,Config,DISMPU,1,0", '1'});
  if (choices.disableGamePort) edits.push_back({"HKR,Config,DISJSTK,1,0", '1'});
  if (!onMotherboard || !choices.lineInSharesRear) {
    edits.push_back({"HKR,Config,LINEINasREAR,1,1", '0'});
  }
  if (onMotherboard && choices.lineInSharesCenter) {
    edits.push_back({"HKR,Config,LINEINasBASS,1,0", '1'});
  }
  if (onMotherboard && choices.micSharesSubwoofer) {
    edits.push_back({"HKR,Config,MICasBASS,1,0", '1'});
  }
  return edits;
}

}  // namespace kx
