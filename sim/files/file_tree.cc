#include "sim/files/file_tree.h"

#include <algorithm>

#include "platform/text.h"
#include "sim/files/short_name.h"

namespace kx::sim {
namespace {

std::string AliasBasisKey(const ShortNameBasis& basis) {
  return basis.base.substr(0, 6) + "." + basis.extension;
}

}  // namespace

const FileEntry* FileFolder::Find(std::string_view name) const {
  const std::string key = AsciiUpper(name);
  if (auto it = entries_.find(key); it != entries_.end()) return &it->second;
  if (auto it = keyByAlias_.find(key); it != keyByAlias_.end()) return &entries_.at(it->second);
  return nullptr;
}

FileEntry* FileFolder::Find(std::string_view name) {
  return const_cast<FileEntry*>(static_cast<const FileFolder*>(this)->Find(name));
}

bool FileFolder::Holds(const std::string& upperName) const {
  return entries_.count(upperName) != 0 || keyByAlias_.count(upperName) != 0;
}

FileEntry& FileFolder::Add(std::string name, DWORD attributes) {
  std::string key = AsciiUpper(name);
  FileEntry entry;
  entry.attributes = attributes;
  if (IsShortName(name)) {
    entry.shortName = key;
  } else {
    const ShortNameBasis basis = MakeShortNameBasis(name);
    std::uint32_t& firstFree = firstFreeAlias_[AliasBasisKey(basis)];
    std::uint32_t number = std::max<std::uint32_t>(firstFree, 1);
    // Every candidate that is taken belongs to an entry, so this ends.
    while (Holds(NumberedShortName(basis, number))) ++number;
    firstFree = number + 1;
    entry.shortName = NumberedShortName(basis, number);
    entry.aliasNumber = number;
    keyByAlias_[entry.shortName] = key;
  }
  entry.name = std::move(name);
  return entries_.emplace(std::move(key), std::move(entry)).first->second;
}

void FileFolder::Remove(const FileEntry& entry) {
  const std::string key = AsciiUpper(entry.name);
  if (entry.aliasNumber != 0) {
    keyByAlias_.erase(entry.shortName);
    std::uint32_t& firstFree = firstFreeAlias_[AliasBasisKey(MakeShortNameBasis(entry.name))];
    firstFree = std::min(firstFree, entry.aliasNumber);
  }
  entries_.erase(key);
}

}  // namespace kx::sim
