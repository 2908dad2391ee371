// The three small adjustments Setup makes on every start, whatever path it
// takes afterwards. None reports anything; a failure ends only its own step.
#pragma once

#include "platform/platform.h"

namespace kx {

// Writes "1" (usingCdda non-zero) or "0" as [DISC PLAYER] UsingCDDA of the
// CD player's settings file KXCDPLAY.INI in the Windows folder.
void ApplyCdAudioSetting(Platform& platform, int usingCdda);

// Makes the first recording format of SystemFormats whose name contains "CD"
// (case-sensitive) the default one, for the current user and for the default
// user. Only comma-ended entries are looked at: the text after the last comma
// never is. A chosen name of 32 characters or more does not fit the field
// Setup holds it in and is not written (a cut name would name no format).
void SelectCdDefaultFormat(Platform& platform);

// Deletes the applications package's Run value "Orvanta Applications".
void RemoveAppsRunEntry(Platform& platform);

}  // namespace kx
