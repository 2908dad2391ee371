// The changes between two states of the simulated PC's drives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace kx::sim {

class FileSystem;

struct FileChange {
  enum class Kind {
    FolderAdded,
    FolderDeleted,
    FileAdded,
    FileChanged,
    FileDeleted,
    AttributesChanged,
  };
  Kind kind;
  std::string path;  // full long path in its stored case
  std::uint64_t oldSize = 0;
  std::uint64_t newSize = 0;
  DWORD oldAttributes = 0;  // as GetFileAttributesA reports them; 0 when absent
  DWORD newAttributes = 0;
};

// Every change from before to after, ordered by path component by component
// (each component ignoring case, a folder before what it holds). A file whose
// bytes and attributes both changed gives FileChanged then AttributesChanged;
// an added or deleted folder is followed by everything in it. Contents that
// are shared between the two states compare equal without being read.
std::vector<FileChange> DiffFiles(const FileSystem& before, const FileSystem& after);

}  // namespace kx::sim
