// One line of text for each change a run made, as the kxsetup summary and
// test messages show them.
#pragma once

#include <string>

#include "sim/files/file_diff.h"
#include "sim/registry/registry_diff.h"

namespace kx::sim {

// "file added C:\WINDOWS\KXCDPLAY.INI (32 bytes)"
std::string FormatFileChange(const FileChange& change);
// "value changed HKEY_USERS\.DEFAULT\...\Audio "DefaultFormat": "Radio Quality" -> "CD Quality""
std::string FormatRegistryChange(const RegistryChange& change);

// A value as a registry file writes it, except that a string stored without
// its terminator (as Setup writes them) reads "text" (no terminator).
std::string FormatValueForPeople(DWORD type, const std::string& data);

// "added", "changed", "deleted", ... for reports.
const char* FileChangeKindName(FileChange::Kind kind);
const char* RegistryChangeKindName(RegistryChange::Kind kind);

}  // namespace kx::sim
