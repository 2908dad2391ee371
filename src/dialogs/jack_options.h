// The jack and legacy-port options of the two driver options dialogs (103 for
// the VxD driver, 131 for the WDM driver): how the audio chip's phone jacks are
// wired in this machine and whether the legacy MIDI and game ports are to be
// disabled. Both dialogs use the same control ids and the same rules; this is
// the one implementation of those rules, written against the dialog's buttons
// so that a dialog class only forwards to it.
//
// The controls: radio buttons 1006 (jacks on the motherboard) and 1007 (on the
// sound card), each beginning a control group of its own, so Windows clears
// neither when the other is clicked; check boxes 1011 (line-in shares the rear
// output jack), 1012 (line-in shares center/subwoofer) and 1013 (microphone
// shares the subwoofer); and the legacy-port boxes, 1000 and 1001 in dialog
// 103 (MIDI port, game port), 1000 alone in dialog 131 (both ports), which
// have no handler and toggle by themselves.
#pragma once

#include <vector>

namespace kx {

// The dialog's buttons by control id, as the rules use them: the check state
// (BM_GETCHECK, BM_SETCHECK) and enabling (EnableWindow).
class OptionButtons {
 public:
  virtual ~OptionButtons() = default;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetCheck(int id, bool checked) = 0;
  virtual void Enable(int id, bool enabled) = 0;
};

// OnInitDialog: 1006 selected, 1007 not, 1011 checked, 1012 and 1013
// unchecked. The legacy-port boxes keep the unchecked state of the template,
// and every control stays enabled as the template has it.
void SetInitialJackOptions(OptionButtons& buttons);

// The BN_CLICKED handlers of the five jack controls, run after Windows' own
// toggle. Each sets the clicked control checked (so clicking a checked sharing
// box leaves it checked) and clears the controls it excludes. The sound-card
// location disables the three sharing boxes, keeping their checks; the
// motherboard location enables them again.
void OnJacksOnMotherboard(OptionButtons& buttons);  // 1006
void OnJacksOnSoundCard(OptionButtons& buttons);    // 1007
void OnLineInSharesRear(OptionButtons& buttons);    // 1011: clears 1012
void OnLineInSharesCenter(OptionButtons& buttons);  // 1012: clears 1011 and 1013
void OnMicSharesSubwoofer(OptionButtons& buttons);  // 1013: clears 1012

// Runs the handler of a jack control. False for an id that has none (the
// legacy-port boxes and everything else), which then changes nothing.
bool OnJackControlClicked(OptionButtons& buttons, int id);

// What the user chose, read from the buttons when Install is pressed.
struct DriverOptionChoices {
  bool jacksOnSoundCard = false;    // 1007 selected; otherwise the motherboard
  bool lineInSharesRear = true;     // 1011
  bool lineInSharesCenter = false;  // 1012
  bool micSharesSubwoofer = false;  // 1013
  // Box 1000: "Disable MIDI port (device)" in dialog 103, "Disable legacy
  // device (MIDI/GAME port)" in dialog 131.
  bool disableLegacyPort = false;
  bool disableGamePort = false;  // box 1001, dialog 103 only
};

// Reads the six boxes. A dialog without box 1001 reports it unchecked.
DriverOptionChoices ReadDriverOptionChoices(const OptionButtons& buttons);

// The WDM driver's JackConfig: 0 with the jacks on the sound card, whatever the
// disabled boxes show; otherwise 1 for 1011 + 2 for 1012 + 4 for 1013. The
// reachable values are 0, 1, 2, 4 and 5; the initial state gives 1.
int JackConfig(const DriverOptionChoices& choices);

// The WDM driver's EnableLegacy digit when box 1000 is checked; otherwise the
// INF keeps the value it ships (3).
inline constexpr char kEnableLegacyDisabled = '2';

// One option line of the VxD driver's INF: the line exactly as shipped and the
// digit that replaces its last character.
struct VxdConfigEdit {
  const char* line;
  char digit;
};

// The VxD INF edits the choices call for, in the order they are made:
// DISMPU, DISJSTK, LINEINasREAR, LINEINasBASS, MICasBASS. The initial state
// calls for none.
std::vector<VxdConfigEdit> VxdConfigEdits(const DriverOptionChoices& choices);

}  // namespace kx
