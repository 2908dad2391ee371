// How a registry file writes a value: a quoted string, dword:0000001f or
// hex bytes, the forms regedit exports in REGEDIT4 files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace kx::sim {

// text in double quotes, with backslashes and double quotes escaped.
std::string QuoteRegString(std::string_view text);

// The text after "name"= for a value of this type and data. Strings that a
// quoted string cannot carry exactly (no terminator, an embedded NUL, a line
// break) are written as hex(1). With wrap, long hex data go on continuation
// lines (",\" then CR LF and two blanks) to stay within about 80 columns,
// counting from startColumn, the column the text starts in.
std::string EncodeRegValueData(DWORD type, std::string_view data, bool wrap = false,
                               std::size_t startColumn = 0);

}  // namespace kx::sim
