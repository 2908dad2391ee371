// The [rename] section of WININIT.INI: what Windows 95/98/ME move or delete
// at their next start, before any driver loads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx::sim {

struct RenameEntry {
  std::string destination;  // the key: the new name, or NUL to delete
  std::string source;       // the value: the existing file
  bool operator==(const RenameEntry&) const = default;
};

// Every entry of [rename] (any case), in file order, duplicates included
// (NUL= usually repeats), read as Windows reads the file at start.
std::vector<RenameEntry> ReadRenameEntries(std::string_view wininit);

// The entries of after that before did not hold (counting repeats).
std::vector<RenameEntry> AddedRenameEntries(const std::vector<RenameEntry>& before,
                                            const std::vector<RenameEntry>& after);

}  // namespace kx::sim
