// Closing the applications package's running players, so that its setup
// program finds none of their files in use.
#pragma once

#include "platform/platform.h"

namespace kx {

// Whether ClosePlayerWindows ends with its own 500 ms pause. The WDM options
// installer closes the mixer right after the players and pauses once for both.
enum class PlayerClosePause { kFinalPause, kNoFinalPause };

// The rack player "TuneStack" alone when it runs (it owns the others), else
// "Disc Player", "Synth Player" and "Track Player" in this order; WM_CLOSE to
// the first window of each title, then a 500 ms pause (TuneStack gets one more
// right after its close). Whether a window really closed is not checked.
void ClosePlayerWindows(Platform& platform, PlayerClosePause pause = PlayerClosePause::kFinalPause);

}  // namespace kx
