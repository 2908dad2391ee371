// The copy rules of the staging step and the path building they rely on.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kx {

// folder + name when the result fits a 260-character path buffer (259
// characters and the terminator); nothing otherwise. Callers skip the action
// whose path does not fit.
std::optional<std::string> JoinPath(std::string_view folder, std::string_view name);
// The Windows folder (with its trailing backslash) + name; nothing when the
// Windows folder cannot be obtained or the path does not fit.
std::optional<std::string> InWindowsFolder(Platform& platform, std::string_view name);

// Copy-over: clears the target's attributes so that a read-only file left by
// an earlier run can be replaced, then copies with overwriting.
BOOL CopyOver(Platform& platform, const std::string& source, const std::string& target);
// Copy-over, then clears the target's attributes again: files copied from a
// CD keep their read-only attribute otherwise.
BOOL CopyOverAndNormalise(Platform& platform, const std::string& source, const std::string& target);

// Calls visit with the name of every file of folder (entries of "*.*" that are
// not folders), in the order the enumeration returns them. A folder that is
// missing, or whose pattern does not fit a path buffer, has no files.
void ForEachFileIn(Platform& platform, std::string_view folder,
                   const std::function<void(const char* name)>& visit);

// Copies every file of sourceFolder into targetFolder under the same name with
// copy-over-and-normalise. Files whose paths do not fit are skipped.
void CopyFolderFilesAndNormalise(Platform& platform, std::string_view sourceFolder,
                                 std::string_view targetFolder);

}  // namespace kx
