// The changes between two registries, for the summaries of a run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"
#include "sim/registry/registry.h"

namespace kx::sim {

struct RegistryChange {
  enum class Kind { KeyAdded, KeyDeleted, ValueAdded, ValueChanged, ValueDeleted };
  Kind kind = Kind::KeyAdded;
  std::string key;        // full path, real root written out ("HKEY_USERS\.DEFAULT\...")
  std::string valueName;  // value changes only; empty is the default value
  DWORD oldType = 0;      // ValueChanged, ValueDeleted
  DWORD newType = 0;      // ValueAdded, ValueChanged
  std::string oldData;
  std::string newData;
  bool operator==(const RegistryChange&) const = default;
};

// The changes from before to after, ordered by key path (parents before
// their subkeys, subkeys in enumeration order) and within a key by value
// name, ignoring case. A deleted key is one KeyDeleted for the top of the
// deleted subtree; an added key is reported with each value and subkey it
// holds. Names compare without regard to case, so a key or value whose name
// only changed case is no change.
std::vector<RegistryChange> DiffRegistry(const Registry& before, const Registry& after);

// The value in the text form of a registry file: "string" (escaped),
// dword:0000001f, hex:01,02, hex(7):..., on one line.
std::string FormatRegValue(DWORD type, std::string_view data);

}  // namespace kx::sim
