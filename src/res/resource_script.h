// Writes Setup's resource script (.rc, UTF-8 with #pragma code_page(65001))
// from the dialog and string tables, so that Setup.exe's resources and the
// data the simulated PC uses cannot drift apart.
#pragma once

#include <string>

namespace kx::res {

// iconFile: the file name the ICON statement names.
std::string WriteResourceScript(const std::string& iconFile);

}  // namespace kx::res
