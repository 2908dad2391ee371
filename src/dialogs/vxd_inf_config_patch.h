// Writing the user's jack and legacy-port options into an INF copy of the VxD
// driver, so that Windows puts them into the device's registry key when it
// installs the driver.
#pragma once

#include <string>

#include "dialogs/jack_options.h"
#include "platform/platform.h"

namespace kx {

// Makes the HKR,Config line edits the choices call for (VxdConfigEdits), in
// their order, in place. Each edit looks from the start of the file for the
// first line that equals its line exactly (other spacing, case or a comment
// after it do not match) and replaces that line's last character with the new
// digit; later copies of the line stay as they are. The file keeps its length
// and every other byte.
//
// A line that does not end in CR LF, or that is longer than the 1024-byte line
// buffer, is left unedited, as is a file that cannot be opened for update.
void PatchVxdInfConfig(Platform& platform, const std::string& path,
                       const DriverOptionChoices& options);

}  // namespace kx
