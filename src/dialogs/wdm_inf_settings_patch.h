// Writing the user's jack and legacy-device options into the staged INF of the
// WDM driver, so that Windows puts them into the device's "Settings" key when
// it installs the driver.
#pragma once

#include <cstddef>
#include <string>

#include "dialogs/jack_options.h"
#include "platform/platform.h"

namespace kx {

// The two HKR,"Settings" lines as the package's INF ships them: blanks pad the
// data field to column 34, so the value's low hexadecimal digit stands at
// column 48 (counting from 0).
inline constexpr char kEnableLegacyLine[] =
    "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0";
inline constexpr char kJackConfigLine[] =
    "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0";
inline constexpr std::size_t kSettingsValueColumn = 48;

// Edits the staged INF in place: with box 1000 checked, the first line that
// begins with the EnableLegacy text gets 2 at column 48 (legacy MIDI and game
// ports off); then, always, the first line that begins with the JackConfig
// text gets the JackConfig digit there. Text after the prefix (a comment) is
// allowed. The file keeps its length and every other byte.
//
// A line that does not end in CR LF, or that is longer than the 1024-byte line
// buffer, is left unedited, as is a file that cannot be opened for update.
void PatchWdmInfSettings(Platform& platform, const std::string& path,
                         const DriverOptionChoices& options);

}  // namespace kx
