// Machine images: a folder holding machine.ini, registry.reg (REGEDIT4, or
// the Version 5.00 form) and one folder per drive (C/, ...).
#pragma once

#include <filesystem>
#include <string>

#include "sim/machine/machine.h"

namespace kx::sim {

// Loads the image. On any error (a malformed line of machine.ini or
// registry.reg, a missing drive folder, a host name Windows cannot hold):
// false with *error as "file:line: what is wrong" (or "file: what") and
// *machine left as it was. Drive contents are read lazily from the image.
bool LoadMachineImage(const std::filesystem::path& folder, Machine* machine, std::string* error);

// Writes the machine as an image to folder: everything goes into a new
// folder beside it, which then takes folder's place, so that folder holds
// either the old image or the whole new one. Drives mounted for one run
// (installation media) are left out.
bool SaveMachineImage(const Machine& machine, const std::filesystem::path& folder,
                      std::string* error);

}  // namespace kx::sim
