// The folders and entries of a simulated drive: names indexed by their
// upper-case long and short forms, kept in the order a directory listing
// returns them, with 8.3 aliases made as entries are added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/types.h"
#include "sim/files/file_content.h"

namespace kx::sim {

struct FileEntry {
  std::string name;        // long name, in the case it was created with
  std::string shortName;   // 8.3 alias, upper case
  DWORD attributes = 0;    // kFileAttributeDirectory for folders; never kFileAttributeNormal
  std::size_t folder = 0;  // folders: index of their FileFolder in the drive
  std::shared_ptr<const FileContent> content;  // files
  std::uint32_t aliasNumber = 0;               // n of a generated "~n" alias, 0 otherwise

  bool IsFolder() const { return (attributes & kFileAttributeDirectory) != 0; }
  std::uint64_t size() const { return content ? content->size() : 0; }
};

// Attributes as GetFileAttributesA and FindFirstFileA report them: a file
// without any reads as kFileAttributeNormal.
inline DWORD ReportedAttributes(DWORD attributes) {
  return attributes == 0 ? kFileAttributeNormal : attributes;
}

class FileFolder {
 public:
  static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

  FileFolder(std::size_t parent, std::string keyInParent)
      : parent_(parent), keyInParent_(std::move(keyInParent)) {}

  // The entry whose long or short name is name, ignoring case.
  const FileEntry* Find(std::string_view name) const;
  FileEntry* Find(std::string_view name);

  // Adds an entry that Find(name) does not find, giving it its alias: the
  // upper-case name itself when that is a valid 8.3 name, otherwise the
  // lowest "~n" form free in this folder.
  FileEntry& Add(std::string name, DWORD attributes);
  void Remove(const FileEntry& entry);

  // Entries by upper-case long name: the order a listing returns them.
  using Entries = std::map<std::string, FileEntry, std::less<>>;
  const Entries& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }

  std::size_t parent() const { return parent_; }
  const std::string& keyInParent() const { return keyInParent_; }

 private:
  bool Holds(const std::string& upperName) const;

  std::size_t parent_;
  std::string keyInParent_;
  Entries entries_;
  std::unordered_map<std::string, std::string> keyByAlias_;  // aliases that differ from the key
  // Per alias basis (first six base characters and extension), the number
  // below which every "~n" alias is taken: keeps a folder of thousands of
  // similar names from being scanned again for each new one.
  std::unordered_map<std::string, std::uint32_t> firstFreeAlias_;
};

}  // namespace kx::sim
