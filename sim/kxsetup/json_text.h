// JSON text for kxsetup's report: strings of the simulated PC are ANSI
// (Windows-1252) and come out as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace kx::sim {

// "text" with JSON escapes, the ANSI bytes converted to UTF-8.
std::string JsonString(std::string_view ansi);

}  // namespace kx::sim
