// The three small adjustments Setup makes on every start, whatever path it
// takes afterwards. None reports anything; a failure ends only its own step.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kx {

// Writes "1" (usingCdda non-zero) or "0" as [DISC PLAYER] UsingCDDA of the
// CD player's settings file KXCDPLAY.INI in the Windows folder.
void ApplyCdAudioSetting(Platform& platform, int usingCdda);

// Makes the first recording format whose name contains "CD" the default one,
// for the current user and for the default user.
void SelectCdDefaultFormat(Platform& platform);

// Deletes the applications package's Run value "Orvanta Applications".
void RemoveAppsRunEntry(Platform& platform);

// The format names of SystemFormats are held in a field of this size; a
// chosen name that does not fit it (32 characters or more) is not written.
inline constexpr std::size_t kFormatNameField = 32;

// The name SelectCdDefaultFormat picks from a SystemFormats text: the first
// comma-ended entry that contains "CD" (case-sensitive). The text after the
// last comma is never examined. Empty when nothing is chosen.
std::string ChooseCdFormat(std::string_view systemFormats);

}  // namespace kx
