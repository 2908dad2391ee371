// SourceDir: the folder Setup was started from, with a trailing backslash.
//
// The paths are worked on as strings of any length; a result that does not fit
// a MAX_PATH buffer is still returned whole, and every media lookup built on it
// then fails (see existence.h) instead of using a cut path.
#include "app/setup_context.h"
#include "platform/text.h"

namespace kx {
namespace {

// Cuts the program name off: the last backslash at an index above 0 and
// everything after it go. The first character is never examined.
std::string ProgramFolder(std::string_view programPath) {
  for (std::size_t i = programPath.size(); i-- > 1;) {
    if (programPath[i] == '\\') return std::string(programPath.substr(0, i));
  }
  return std::string(programPath);
}

char CharAt(std::string_view text, std::size_t index) {
  return index < text.size() ? text[index] : '\0';
}

// The current directory cut after its first colon ("C:"), or the whole of it
// when it has no colon or starts with one. Empty when it cannot be read.
std::string CurrentDrivePrefix(Platform& platform) {
  char buffer[kMaxPath] = {};
  const DWORD length = platform.GetCurrentDirectoryA(kMaxPath, buffer);
  if (length == 0 || length >= kMaxPath) return {};
  std::string_view current(buffer, length);
  const std::size_t colon = current.find(':');
  if (colon == std::string_view::npos || colon == 0) return std::string(current);
  return std::string(current.substr(0, colon + 1));
}

}  // namespace

std::string DeriveSourceDir(Platform& platform, std::string_view programPath) {
  std::string folder = ProgramFolder(programPath);
  if (CharAt(folder, 1) != ':') {
    // Not drive-qualified: complete it with the current drive. A folder like
    // "\CD" becomes "C:\CD", "SUB" the drive-relative "E:SUB", ".\SUB" gets
    // a backslash inserted: "E:\.\SUB".
    std::string completed = CurrentDrivePrefix(platform);
    if (CharAt(folder, 1) == '\\') completed += '\\';
    completed += folder;
    folder = std::move(completed);
  }
  return WithTrailingBackslash(folder);
}

std::string DeriveSourceDirWithoutDrive(std::string_view programPath) {
  return WithTrailingBackslash(ProgramFolder(programPath));
}

}  // namespace kx
