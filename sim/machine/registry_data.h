// Registry data in the form the registry stores it, for building machines in
// code.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace kx::sim {

// A REG_SZ value's bytes: the text and its terminator.
std::string SzData(std::string_view text);
// A REG_DWORD value's bytes, little-endian.
std::string DwordData(DWORD value);

}  // namespace kx::sim
