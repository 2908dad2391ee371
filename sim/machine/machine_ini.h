// machine.ini: the readable description of a simulated PC in a machine image
// (its registry and drives lie beside it). The format is documented in
// examples/machines/README.md.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "sim/machine/machine.h"

namespace kx::sim {

// Reads machine.ini into *machine: the release, folders, drives (added empty,
// with the image folder each is to be loaded from), windows, devices,
// programs, events, OEM INF registrations and faults. Faults are listed in
// machine->faults but not yet injected (the drives must be loaded first).
// On the first malformed line: false, *error is "fileName:line: what is
// wrong" and *machine is left as it was.
// driveLines, when given, receives the line of each drive's section.
bool ParseMachineIni(std::string_view text, const std::string& fileName, Machine* machine,
                     std::string* error, std::map<char, int>* driveLines = nullptr);

// The machine.ini of a machine; ParseMachineIni reads it back to the same
// machine (registry and file contents aside).
std::string FormatMachineIni(const Machine& machine);

}  // namespace kx::sim
