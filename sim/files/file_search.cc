// FindFirstFileA / FindNextFileA: a pattern matched against each entry's long
// and short name. The matches are taken when the search starts, so changes to
// the folder during an enumeration do not disturb it.
#include "platform/text.h"
#include "sim/files/file_system.h"
#include "sim/files/short_name.h"
#include "sim/files/wildcard.h"

namespace kx::sim {
namespace {

FindHandle ToFindHandle(std::uintptr_t id) { return reinterpret_cast<FindHandle>(id); }

FindData DotEntry(const char* name, DWORD attributes) {
  FindData data;
  data.dwFileAttributes = attributes;
  CopyToBuffer(name, data.cFileName, sizeof data.cFileName);
  return data;
}

FindData EntryData(const FileEntry& entry) {
  FindData data;
  data.dwFileAttributes = ReportedAttributes(entry.attributes);
  data.nFileSizeHigh = static_cast<DWORD>(entry.size() >> 32);
  data.nFileSizeLow = static_cast<DWORD>(entry.size() & 0xFFFFFFFFu);
  CopyToBuffer(entry.name, data.cFileName, sizeof data.cFileName);
  // Windows leaves the alias empty when the long name is itself an 8.3 name.
  if (!IsShortName(entry.name)) {
    CopyToBuffer(entry.shortName, data.cAlternateFileName, sizeof data.cAlternateFileName);
  }
  return data;
}

}  // namespace

FindHandle FileSystem::FindFirstFileA(const char* pattern, FindData* data) {
  if (pattern == nullptr || data == nullptr) {
    Fail(kErrorInvalidParameter);
    return kInvalidFindHandle;
  }
  DosPath resolved;
  Location location;
  DWORD error = ResolveDosPath(pattern, currentDirectory_, PathKind::Pattern, &resolved);
  if (error == kErrorSuccess) error = LocateResolved(resolved, &location);
  if (error == kErrorSuccess && !location.IsRoot() &&
      (location.entry == nullptr || !location.entry->IsFolder())) {
    error = kErrorPathNotFound;
  }
  if (error != kErrorSuccess) {
    Fail(error);
    return kInvalidFindHandle;
  }
  const Drive& drive = *location.drive;
  const std::size_t folder = location.IsRoot() ? 0 : location.entry->folder;
  const std::string& mask = resolved.pattern;
  if (mask.empty()) {
    Fail(kErrorFileNotFound);
    return kInvalidFindHandle;
  }
  if (FolderHasFault(location.letter, drive, folder, FileFault::CannotOpen)) {
    Fail(kErrorAccessDenied);
    return kInvalidFindHandle;
  }

  Search search;
  const bool wildcards = HasWildcards(mask);
  if (folder != 0) {
    const DWORD here = FolderAttributes(drive, folder);
    const DWORD parent = FolderAttributes(drive, drive.folders[folder].parent());
    for (const auto& [name, attributes] : {std::pair{".", here}, std::pair{"..", parent}}) {
      if (wildcards ? MatchesFilePattern(mask, name) : mask == name) {
        search.results.push_back(DotEntry(name, attributes));
      }
    }
  }
  const FileFolder& listing = drive.folders[folder];
  if (wildcards) {
    for (const auto& [key, entry] : listing.entries()) {
      if (MatchesFilePattern(mask, entry.name) || MatchesFilePattern(mask, entry.shortName)) {
        search.results.push_back(EntryData(entry));
      }
    }
  } else if (mask != "." && mask != "..") {
    // A plain name: look it up, trailing periods and blanks dropped as in any path.
    std::string_view name = mask;
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
    if (const FileEntry* entry = name.empty() ? nullptr : listing.Find(name)) {
      search.results.push_back(EntryData(*entry));
    }
  }
  if (search.results.empty()) {
    Fail(kErrorFileNotFound);
    return kInvalidFindHandle;
  }
  *data = search.results[0];
  search.next = 1;
  const std::uintptr_t id = nextHandle_++;
  searches_.emplace(id, std::move(search));
  return ToFindHandle(id);
}

BOOL FileSystem::FindNextFileA(FindHandle find, FindData* data) {
  auto it = searches_.find(reinterpret_cast<std::uintptr_t>(find));
  if (it == searches_.end()) return Fail(kErrorInvalidHandle);
  if (data == nullptr) return Fail(kErrorInvalidParameter);
  Search& search = it->second;
  if (search.next >= search.results.size()) return Fail(kErrorNoMoreFiles);
  *data = search.results[search.next++];
  return kTrue;
}

BOOL FileSystem::FindClose(FindHandle find) {
  if (searches_.erase(reinterpret_cast<std::uintptr_t>(find)) == 0) {
    return Fail(kErrorInvalidHandle);
  }
  return kTrue;
}

}  // namespace kx::sim
