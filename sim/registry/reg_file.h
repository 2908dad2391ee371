// Registry files as regedit writes them: "REGEDIT4" (ANSI) and "Windows
// Registry Editor Version 5.00" (UTF-16 LE with a byte-order mark).
#pragma once

#include <string>
#include <string_view>

#include "sim/registry/registry.h"

namespace kx::sim {

// Applies the file to into: [key] creates a key, [-key] deletes one with its
// subtree, "name"=... and @=... set values ("string", dword:, hex:, hex(N):),
// "name"=- deletes one. Text of a Version 5.00 file is converted to the ANSI
// code page (Windows-1252), and so is the data of its hex(1), hex(2) and
// hex(7) values, which that format writes as UTF-16.
//
// Stricter than regedit, which skips what it cannot read: the first line it
// cannot accept makes the whole load fail with *error set to
// "fileName:LINE: what is wrong", and into is left unchanged.
bool LoadRegFile(std::string_view bytes, std::string_view fileName, Registry& into,
                 std::string* error);

// The whole registry as a REGEDIT4 file with CR LF line ends: a [key] line
// for every key, the roots included, parents before subkeys and subkeys in
// enumeration order, each key's values in their order; long hex data
// continued on further lines. Loading the result gives the same registry.
std::string SaveRegFile(const Registry& registry);

}  // namespace kx::sim
