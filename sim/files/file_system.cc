// Drives, path lookup, folders, attributes, copy, delete and the whole-file
// helpers of the simulated file system.
#include "sim/files/file_system.h"

#include <cstring>

#include "platform/text.h"

namespace kx::sim {
namespace {

// Windows creates folders only below this length, leaving room for an 8.3 name.
constexpr std::size_t kMaxFolderPath = 248;

constexpr DWORD kSettableAttributes =
    kFileAttributeReadonly | kFileAttributeHidden | kFileAttributeSystem | kFileAttributeArchive;

char DriveKey(char letter) {
  const char upper = AsciiUpper(letter);
  return (upper >= 'A' && upper <= 'Z') ? upper : 0;
}

unsigned FaultBit(FileFault fault) { return 1u << static_cast<unsigned>(fault); }

}  // namespace

// ---- Drives. ----

void FileSystem::AddDrive(char letter, DriveOptions options) {
  const char key = DriveKey(letter);
  if (key == 0) return;
  Drive drive;
  drive.options = options;
  drive.folders.emplace_back(FileFolder::kNoParent, "");
  drive.rootAttributes = kFileAttributeDirectory | (options.readOnly ? kFileAttributeReadonly : 0);
  drive.mount = nextMount_++;
  drives_[key] = std::move(drive);
}

bool FileSystem::SetDriveOptions(char letter, DriveOptions options) {
  Drive* drive = FindDrive(letter);
  if (drive == nullptr) return false;
  drive->options = options;
  return true;
}

bool FileSystem::HasDrive(char letter) const { return FindDrive(letter) != nullptr; }

std::vector<char> FileSystem::DriveLetters() const {
  std::vector<char> letters;
  for (const auto& [letter, drive] : drives_) letters.push_back(letter);
  return letters;
}

std::uint64_t FileSystem::UsedBytes(char letter) const {
  const Drive* drive = FindDrive(letter);
  return drive ? drive->usedBytes : 0;
}

FileSystem::Drive* FileSystem::FindDrive(char letter) {
  auto it = drives_.find(DriveKey(letter));
  return it == drives_.end() ? nullptr : &it->second;
}

const FileSystem::Drive* FileSystem::FindDrive(char letter) const {
  auto it = drives_.find(DriveKey(letter));
  return it == drives_.end() ? nullptr : &it->second;
}

// ---- Paths. ----

DWORD FileSystem::Locate(std::string_view path, Location* out) const {
  DosPath resolved;
  if (DWORD error = ResolveDosPath(path, currentDirectory_, PathKind::Name, &resolved)) {
    *out = Location();
    return error;
  }
  return LocateResolved(resolved, out);
}

DWORD FileSystem::LocateResolved(const DosPath& path, Location* out) const {
  *out = Location();
  out->letter = path.drive;
  out->trailingSeparator = path.trailingSeparator;
  // A Location serves the changing operations too; the const lookups only read
  // through it.
  Drive* drive = const_cast<Drive*>(FindDrive(path.drive));
  if (drive == nullptr) return kErrorPathNotFound;
  out->drive = drive;
  std::size_t folder = 0;
  for (std::size_t i = 0; i + 1 < path.parts.size(); ++i) {
    const FileEntry* entry = drive->folders[folder].Find(path.parts[i]);
    if (entry == nullptr || !entry->IsFolder()) return kErrorPathNotFound;
    folder = entry->folder;
  }
  out->folder = folder;
  if (!path.parts.empty()) {
    out->name = path.parts.back();
    out->entry = drive->folders[folder].Find(out->name);
    // "C:\file.txt\" names a folder that is not there.
    if (out->entry && out->trailingSeparator && !out->entry->IsFolder()) {
      return kErrorPathNotFound;
    }
  }
  return kErrorSuccess;
}

std::string FileSystem::FolderPath(char letter, const Drive& drive, std::size_t folder,
                                   std::string FileEntry::*name) const {
  std::vector<const std::string*> names;
  for (std::size_t f = folder; drive.folders[f].parent() != FileFolder::kNoParent;
       f = drive.folders[f].parent()) {
    const FileFolder& here = drive.folders[f];
    names.push_back(&(drive.folders[here.parent()].entries().at(here.keyInParent()).*name));
  }
  std::string path{letter, ':', '\\'};
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    if (it != names.rbegin()) path += '\\';
    path += **it;
  }
  return path;
}

std::string FileSystem::EntryPath(const Location& location) const {
  const std::string folder = FolderPath(location.letter, *location.drive, location.folder);
  if (location.IsRoot()) return folder;
  return JoinDosPath(folder, location.entry ? location.entry->name : location.name);
}

DWORD FileSystem::FolderAttributes(const Drive& drive, std::size_t folder) const {
  if (folder == 0) return drive.rootAttributes;
  const FileFolder& here = drive.folders[folder];
  return drive.folders[here.parent()].entries().at(here.keyInParent()).attributes;
}

// ---- Checks. ----

bool FileSystem::FolderHasFault(char letter, const Drive& drive, std::size_t folder,
                                FileFault fault) const {
  if (faults_.empty()) return false;
  auto it = faults_.find(AsciiUpper(FolderPath(letter, drive, folder)));
  return it != faults_.end() && (it->second & FaultBit(fault)) != 0;
}

bool FileSystem::HasFault(const Location& location, FileFault fault) const {
  if (faults_.empty()) return false;
  if (FolderHasFault(location.letter, *location.drive, location.folder, fault)) return true;
  if (location.IsRoot()) return false;
  auto it = faults_.find(AsciiUpper(EntryPath(location)));
  return it != faults_.end() && (it->second & FaultBit(fault)) != 0;
}

DWORD FileSystem::CheckWritable(const Location& location) const {
  // "C:\new.txt\" names a folder: no file is made of it.
  if (location.trailingSeparator) return kErrorInvalidName;
  if (location.drive->options.readOnly) return kErrorAccessDenied;
  if (location.entry && (location.entry->attributes & kFileAttributeReadonly)) {
    return kErrorAccessDenied;
  }
  if (HasFault(location, FileFault::CannotWrite)) return kErrorAccessDenied;
  return kErrorSuccess;
}

DWORD FileSystem::CheckCapacity(const Drive& drive, std::uint64_t oldSize,
                                std::uint64_t newSize) const {
  if (!drive.options.capacityBytes || newSize <= oldSize) return kErrorSuccess;
  if (drive.usedBytes - oldSize + newSize > *drive.options.capacityBytes) {
    return kErrorHandleDiskFull;
  }
  return kErrorSuccess;
}

bool FileSystem::IsOpen(const Location& location) const {
  if (location.entry == nullptr || streams_.empty()) return false;
  const std::string key = AsciiUpper(location.entry->name);
  for (const auto& [id, stream] : streams_) {
    if (stream.letter == location.letter && stream.folder == location.folder && stream.key == key) {
      return true;
    }
  }
  return false;
}

BOOL FileSystem::Fail(DWORD error) const {
  lastError_ = error;
  return kFalse;
}

// ---- Changes. ----

FileEntry& FileSystem::CreateFile(Location* location, DWORD attributes,
                                  std::shared_ptr<const FileContent> content) {
  FileEntry& entry = location->drive->folders[location->folder].Add(location->name, attributes);
  entry.content = std::move(content);
  location->drive->usedBytes += entry.size();
  location->entry = &entry;
  return entry;
}

void FileSystem::ReplaceContent(Drive* drive, FileEntry* entry,
                                std::shared_ptr<const FileContent> content) {
  drive->usedBytes = drive->usedBytes - entry->size() + content->size();
  entry->content = std::move(content);
}

void FileSystem::RemoveFile(Location* location) {
  location->drive->usedBytes -= location->entry->size();
  location->drive->folders[location->folder].Remove(*location->entry);
  location->entry = nullptr;
}

DWORD FileSystem::MakeFolder(const DosPath& path) {
  Location location;
  if (DWORD error = LocateResolved(path, &location)) return error;
  if (location.IsRoot() || location.entry) return kErrorAlreadyExists;
  if (path.Text().size() >= kMaxFolderPath) return kErrorFilenameExcedRange;
  if (location.drive->options.readOnly) return kErrorAccessDenied;
  if (HasFault(location, FileFault::CannotWrite)) return kErrorAccessDenied;
  Drive& drive = *location.drive;
  const std::size_t index = drive.folders.size();
  drive.folders.emplace_back(location.folder, AsciiUpper(location.name));
  FileEntry& entry = drive.folders[location.folder].Add(location.name, kFileAttributeDirectory);
  entry.folder = index;
  return kErrorSuccess;
}

// ---- Folders. ----

DWORD FileSystem::GetCurrentDirectoryA(DWORD size, char* buffer) const {
  const auto length = static_cast<DWORD>(currentDirectory_.size());
  if (buffer == nullptr || size <= length) return length + 1;
  std::memcpy(buffer, currentDirectory_.c_str(), length + 1);
  return length;
}

BOOL FileSystem::SetCurrentDirectoryA(const char* path) {
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  DosPath resolved;
  if (DWORD error = ResolveDosPath(path, currentDirectory_, PathKind::Name, &resolved)) {
    return Fail(error);
  }
  Location location;
  if (DWORD error = LocateResolved(resolved, &location)) return Fail(error);
  std::size_t folder = 0;
  if (!location.IsRoot()) {
    if (location.entry == nullptr) return Fail(kErrorFileNotFound);
    if (!location.entry->IsFolder()) return Fail(kErrorPathNotFound);
    folder = location.entry->folder;
  }
  if (FolderHasFault(location.letter, *location.drive, folder, FileFault::CannotOpen)) {
    return Fail(kErrorAccessDenied);
  }
  currentDirectory_ = resolved.Text();
  return kTrue;
}

BOOL FileSystem::CreateDirectoryA(const char* path) {
  if (path == nullptr) return Fail(kErrorPathNotFound);
  DosPath resolved;
  if (DWORD error = ResolveDosPath(path, currentDirectory_, PathKind::Name, &resolved)) {
    return Fail(error);
  }
  if (DWORD error = MakeFolder(resolved)) return Fail(error);
  return kTrue;
}

bool FileSystem::CreateDirectories(std::string_view path) {
  DosPath resolved;
  if (DWORD error = ResolveDosPath(path, currentDirectory_, PathKind::Name, &resolved)) {
    return Fail(error);
  }
  DosPath prefix;
  prefix.drive = resolved.drive;
  for (const std::string& part : resolved.parts) {
    prefix.parts.push_back(part);
    Location location;
    if (DWORD error = LocateResolved(prefix, &location)) return Fail(error);
    if (location.entry && location.entry->IsFolder()) continue;
    if (location.entry) return Fail(kErrorAlreadyExists);
    if (DWORD error = MakeFolder(prefix)) return Fail(error);
  }
  if (!HasDrive(resolved.drive)) return Fail(kErrorPathNotFound);
  return true;
}

DWORD FileSystem::GetShortPathNameA(const char* longPath, char* shortPath, DWORD size) const {
  if (longPath == nullptr) return Fail(kErrorInvalidParameter);
  Location location;
  if (DWORD error = Locate(longPath, &location)) return Fail(error);
  std::string text;
  if (location.IsRoot()) {
    text = FolderPath(location.letter, *location.drive, 0);
  } else {
    if (location.entry == nullptr) return Fail(kErrorFileNotFound);
    text = JoinDosPath(
        FolderPath(location.letter, *location.drive, location.folder, &FileEntry::shortName),
        location.entry->shortName);
    if (location.trailingSeparator) text += '\\';
  }
  const auto length = static_cast<DWORD>(text.size());
  if (shortPath == nullptr || size <= length) return length + 1;
  std::memcpy(shortPath, text.c_str(), length + 1);
  return length;
}

// ---- Attributes, copy, delete, move. ----

DWORD FileSystem::GetFileAttributesA(const char* path) const {
  if (path == nullptr) {
    Fail(kErrorInvalidParameter);
    return kInvalidFileAttributes;
  }
  Location location;
  if (DWORD error = Locate(path, &location)) {
    Fail(error);
    return kInvalidFileAttributes;
  }
  if (location.IsRoot()) return location.drive->rootAttributes;
  if (location.entry == nullptr) {
    Fail(kErrorFileNotFound);
    return kInvalidFileAttributes;
  }
  return ReportedAttributes(location.entry->attributes);
}

BOOL FileSystem::SetFileAttributesA(const char* path, DWORD attributes) {
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  Location location;
  if (DWORD error = Locate(path, &location)) return Fail(error);
  if (location.IsRoot()) return Fail(kErrorAccessDenied);
  if (location.entry == nullptr) return Fail(kErrorFileNotFound);
  if (location.drive->options.readOnly) return Fail(kErrorAccessDenied);
  FileEntry& entry = *location.entry;
  entry.attributes =
      (entry.attributes & kFileAttributeDirectory) | (attributes & kSettableAttributes);
  return kTrue;
}

BOOL FileSystem::DeleteFileA(const char* path) {
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  Location location;
  if (DWORD error = Locate(path, &location)) return Fail(error);
  if (location.IsRoot()) return Fail(kErrorAccessDenied);
  if (location.entry == nullptr) return Fail(kErrorFileNotFound);
  if (location.entry->IsFolder()) return Fail(kErrorAccessDenied);
  if (location.drive->options.readOnly) return Fail(kErrorAccessDenied);
  if (location.entry->attributes & kFileAttributeReadonly) return Fail(kErrorAccessDenied);
  if (HasFault(location, FileFault::CannotDelete)) return Fail(kErrorAccessDenied);
  if (IsOpen(location)) return Fail(kErrorSharingViolation);
  RemoveFile(&location);
  return kTrue;
}

BOOL FileSystem::CopyFileA(const char* source, const char* target, BOOL failIfExists) {
  if (source == nullptr || target == nullptr) return Fail(kErrorInvalidParameter);
  Location from;
  if (DWORD error = Locate(source, &from)) return Fail(error);
  if (from.IsRoot()) return Fail(kErrorAccessDenied);
  if (from.entry == nullptr) return Fail(kErrorFileNotFound);
  if (from.entry->IsFolder()) return Fail(kErrorAccessDenied);
  if (HasFault(from, FileFault::CannotOpen)) return Fail(kErrorAccessDenied);
  // The copy shares the bytes; it gets the source's attributes, as written anew.
  const std::shared_ptr<const FileContent> content = from.entry->content;
  const DWORD attributes = from.entry->attributes | kFileAttributeArchive;

  Location to;
  if (DWORD error = Locate(target, &to)) return Fail(error);
  if (to.IsRoot() || (to.entry && to.entry->IsFolder())) return Fail(kErrorAccessDenied);
  if (to.entry && failIfExists) return Fail(kErrorFileExists);
  if (to.entry == from.entry) return Fail(kErrorSharingViolation);
  if (DWORD error = CheckWritable(to)) return Fail(error);
  if (IsOpen(to)) return Fail(kErrorSharingViolation);
  if (DWORD error = CheckCapacity(*to.drive, to.entry ? to.entry->size() : 0, content->size())) {
    return Fail(error);
  }
  if (to.entry) {
    ReplaceContent(to.drive, to.entry, content);
    to.entry->attributes = attributes;
  } else {
    CreateFile(&to, attributes, content);
  }
  return kTrue;
}

BOOL FileSystem::MoveFileA(const char* existing, const char* target) {
  if (existing == nullptr || target == nullptr) return Fail(kErrorInvalidParameter);
  Location from;
  if (DWORD error = Locate(existing, &from)) return Fail(error);
  if (from.IsRoot()) return Fail(kErrorAccessDenied);
  if (from.entry == nullptr) return Fail(kErrorFileNotFound);
  if (from.entry->IsFolder()) return Fail(kErrorAccessDenied);
  Location to;
  if (DWORD error = Locate(target, &to)) return Fail(error);
  if (to.IsRoot()) return Fail(kErrorAccessDenied);
  if (to.trailingSeparator) return Fail(kErrorInvalidName);
  const bool sameEntry = to.entry == from.entry;
  if (to.entry && !sameEntry) return Fail(kErrorAlreadyExists);
  if (from.drive->options.readOnly || to.drive->options.readOnly) return Fail(kErrorAccessDenied);
  if (HasFault(from, FileFault::CannotDelete)) return Fail(kErrorAccessDenied);
  if (HasFault(to, FileFault::CannotWrite)) return Fail(kErrorAccessDenied);
  if (IsOpen(from)) return Fail(kErrorSharingViolation);
  if (sameEntry && EqualsIgnoreCase(to.name, from.entry->name)) {
    from.entry->name = to.name;  // only the case changes; the alias stays
    return kTrue;
  }
  const std::shared_ptr<const FileContent> content = from.entry->content;
  const DWORD attributes = from.entry->attributes;
  if (from.drive != to.drive) {
    if (DWORD error = CheckCapacity(*to.drive, 0, content->size())) return Fail(error);
  }
  RemoveFile(&from);
  to.entry = nullptr;
  CreateFile(&to, attributes, content);
  return kTrue;
}

// ---- Whole files. ----

bool FileSystem::ReadFile(std::string_view path, std::string* bytes) const {
  Location location;
  if (DWORD error = Locate(path, &location)) return Fail(error);
  if (location.IsRoot()) return Fail(kErrorAccessDenied);
  if (location.entry == nullptr) return Fail(kErrorFileNotFound);
  if (location.entry->IsFolder()) return Fail(kErrorAccessDenied);
  if (HasFault(location, FileFault::CannotOpen)) return Fail(kErrorAccessDenied);
  const std::string* data = location.entry->content->bytes();
  if (data == nullptr) return Fail(kErrorAccessDenied);
  if (bytes) *bytes = *data;
  return true;
}

bool FileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  Location location;
  if (DWORD error = Locate(path, &location)) return Fail(error);
  if (location.IsRoot() || (location.entry && location.entry->IsFolder())) {
    return Fail(kErrorAccessDenied);
  }
  if (DWORD error = CheckWritable(location)) return Fail(error);
  const std::uint64_t oldSize = location.entry ? location.entry->size() : 0;
  if (DWORD error = CheckCapacity(*location.drive, oldSize, bytes.size())) return Fail(error);
  auto content = FileContent::FromBytes(std::string(bytes));
  if (location.entry) {
    ReplaceContent(location.drive, location.entry, std::move(content));
    location.entry->attributes |= kFileAttributeArchive;
  } else {
    CreateFile(&location, kFileAttributeArchive, std::move(content));
  }
  return true;
}

bool FileSystem::FileExists(std::string_view path) const {
  Location location;
  return Locate(path, &location) == kErrorSuccess && location.entry && !location.entry->IsFolder();
}

bool FileSystem::FolderExists(std::string_view path) const {
  Location location;
  return Locate(path, &location) == kErrorSuccess &&
         (location.IsRoot() || (location.entry && location.entry->IsFolder()));
}

std::optional<std::string> FileSystem::FullPath(std::string_view path) const {
  Location location;
  if (Locate(path, &location) != kErrorSuccess) return std::nullopt;
  return EntryPath(location);
}

// ---- Faults. ----

void FileSystem::InjectFault(std::string_view path, FileFault fault) {
  std::optional<std::string> key = FullPath(path);
  if (!key) {
    // A folder that is not there yet: keep the path as given.
    DosPath resolved;
    if (ResolveDosPath(path, currentDirectory_, PathKind::Name, &resolved)) return;
    key = resolved.Text();
  }
  faults_[AsciiUpper(*key)] |= FaultBit(fault);
}

void FileSystem::ClearFaults() { faults_.clear(); }

}  // namespace kx::sim
