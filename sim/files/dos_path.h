// Path resolution as Windows does it: drive letters, the current directory,
// "." and ".." components, either slash, and the MAX_PATH limit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace kx::sim {

struct DosPath {
  char drive = 0;                  // 'A' to 'Z'
  std::vector<std::string> parts;  // components below the root, as given
  bool trailingSeparator = false;  // the path ended in a backslash
  std::string pattern;             // PathKind::Pattern only: the last component, verbatim

  // "C:\A\B"; "C:\" for a root. Without the pattern.
  std::string Text() const;
};

enum class PathKind {
  Name,     // a file or folder: trailing periods and blanks of each component go
  Pattern,  // FindFirstFile: the last component is a wildcard pattern, kept verbatim
};

// Resolves path against currentDirectory (a full path such as "C:\WINDOWS",
// or empty when there is none):
//   "C:\X" absolute, "\X" on the current drive, "E:X" relative to the current
//   folder when it is on E: and to E:'s root otherwise, "X" relative.
// Returns kErrorSuccess, or the error Windows reports: kErrorFilenameExcedRange
// for a path of kMaxPath characters or more (or a component of more than 255),
// kErrorPathNotFound when the full path would reach kMaxPath characters or
// there is no current directory to resolve against, kErrorInvalidName for
// characters no name may hold, kErrorBadPathname for network and device paths.
DWORD ResolveDosPath(std::string_view path, std::string_view currentDirectory, PathKind kind,
                     DosPath* out);

// folder + "\" + name, without doubling the backslash of a root ("C:\").
std::string JoinDosPath(std::string_view folder, std::string_view name);

// False for characters no file name may hold: control characters and
// " * / : < > ? \ |.
bool IsNameChar(char c);

}  // namespace kx::sim
