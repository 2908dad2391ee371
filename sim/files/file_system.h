// The drives and files of the simulated PC, with the file semantics of
// Windows 9x: case-insensitive names with 8.3 aliases, wildcard search
// against both names, attributes, the C run-time's text-mode streams, and
// error codes as the Win32 calls report them.
//
// A FileSystem is a value: a copy is an independent snapshot that shares the
// file contents with the original until either changes, so keeping the state
// before a run to compare with the state after it costs no file data.
//
// Write refusals, in the order they are checked: a read-only drive (as a CD
// refuses writes: kErrorAccessDenied), the read-only attribute
// (kErrorAccessDenied), an injected fault (kErrorAccessDenied), a full drive
// (kErrorHandleDiskFull). A refused change changes nothing.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"
#include "sim/files/dos_path.h"
#include "sim/files/file_diff.h"
#include "sim/files/file_tree.h"

namespace kx::sim {

struct DriveOptions {
  bool readOnly = false;
  // The most bytes the drive's files may hold together; none: no limit.
  std::optional<std::uint64_t> capacityBytes;
};

// Failures a test can attach to a file or folder path. A fault on a folder
// applies to the folder and to the entries directly in it. Each refusal
// reports kErrorAccessDenied.
enum class FileFault {
  CannotOpen,    // opening, reading or copying from it; listing or entering the folder
  CannotWrite,   // writing it, copying onto it, creating in the folder
  CannotDelete,  // DeleteFileA (and MoveFileA away from it)
};

class FileSystem {
 public:
  // ---- Drives. ----
  // Adds an empty drive ('A' to 'Z', either case); replaces one that exists.
  void AddDrive(char letter, DriveOptions options);
  // Changes the options of a drive and keeps its tree (attributes stay as
  // they are); false when there is no such drive.
  bool SetDriveOptions(char letter, DriveOptions options);
  bool HasDrive(char letter) const;
  std::vector<char> DriveLetters() const;  // upper case, in order
  // The bytes the drive's files hold together; 0 for a missing drive.
  std::uint64_t UsedBytes(char letter) const;

  // Makes the drive hold the tree of hostFolder (adding the drive with
  // default options when it has none). Only the folder tree is read now; each
  // file's bytes are read from the host when first needed. Files of a
  // read-only drive carry the read-only attribute, as files on a CD do; on
  // other drives files carry the archive attribute. Names are taken in sorted
  // order, so aliases come out the same on every run. A host name that no
  // Windows name can be (forbidden characters, trailing period or blank, a
  // twin differing only in case) or a path of kMaxPath characters or more
  // fails the whole load with a message in *error, leaving the drive as it was.
  bool LoadDriveFromHost(char letter, const std::filesystem::path& hostFolder, std::string* error);
  // Writes the drive's folders and files under hostFolder (created when
  // missing). Attributes are not kept. Making the result atomic is the caller's
  // part: write to a new folder and rename it.
  bool SaveDriveToHost(char letter, const std::filesystem::path& hostFolder,
                       std::string* error) const;

  // ---- The error of the last failed call, as GetLastError reports it. ----
  DWORD last_error() const { return lastError_; }
  void set_last_error(DWORD error) { lastError_ = error; }

  // ---- Folders (KERNEL32). ----
  // The current directory starts as "C:\"; it is kept as it was set (case and
  // short or long names as given), without a trailing backslash except at a root.
  DWORD GetCurrentDirectoryA(DWORD size, char* buffer) const;
  BOOL SetCurrentDirectoryA(const char* path);
  BOOL CreateDirectoryA(const char* path);
  // The full path with each component's 8.3 alias ("C:\PROGRA~1\KESTRIX");
  // every component must exist.
  DWORD GetShortPathNameA(const char* longPath, char* shortPath, DWORD size) const;

  // ---- Files. ----
  FindHandle FindFirstFileA(const char* pattern, FindData* data);
  BOOL FindNextFileA(FindHandle find, FindData* data);
  BOOL FindClose(FindHandle find);
  BOOL CopyFileA(const char* source, const char* target, BOOL failIfExists);
  BOOL SetFileAttributesA(const char* path, DWORD attributes);
  DWORD GetFileAttributesA(const char* path) const;
  BOOL DeleteFileA(const char* path);
  // Renames or moves a file (also to another drive); fails with
  // kErrorAlreadyExists when the target exists. Folders are not moved.
  BOOL MoveFileA(const char* existing, const char* target);

  // ---- C run-time streams, with the Windows run-time's text mode. ----
  FileStream FOpen(const char* path, const char* mode);
  char* FGets(char* buffer, int size, FileStream stream);
  int FSeek(FileStream stream, long offset, int origin);
  long FTell(FileStream stream) const;
  std::size_t FWrite(const void* data, std::size_t size, std::size_t count, FileStream stream);
  // A null stream flushes every open stream.
  int FFlush(FileStream stream);
  int FClose(FileStream stream);

  // ---- Whole files, for the profile functions and the simulated PC. ----
  bool ReadFile(std::string_view path, std::string* bytes) const;
  // Creates or replaces the file; the folder must exist.
  bool WriteFile(std::string_view path, std::string_view bytes);
  bool FileExists(std::string_view path) const;
  bool FolderExists(std::string_view path) const;
  // Creates the folder and any missing folders above it.
  bool CreateDirectories(std::string_view path);
  // The full long path in its stored case ("C:\Program Files\Kestrix"). The
  // last component need not exist (it is then kept as given); the folders
  // above it must.
  std::optional<std::string> FullPath(std::string_view path) const;

  // ---- Fault injection for tests. ----
  void InjectFault(std::string_view path, FileFault fault);
  void ClearFaults();

 private:
  friend class FileDiffWalker;

  struct Drive {
    DriveOptions options;
    std::deque<FileFolder> folders;  // [0] is the root
    DWORD rootAttributes = kFileAttributeDirectory;
    std::uint64_t usedBytes = 0;
    std::uint64_t mount = 0;  // changes when the drive is replaced or mounted anew
  };

  // Where a resolved path leads: the folder holding its last component, and
  // the entry of that name when there is one. A root has no entry and an
  // empty name.
  struct Location {
    char letter = 0;
    Drive* drive = nullptr;
    std::size_t folder = 0;
    FileEntry* entry = nullptr;
    std::string name;
    bool trailingSeparator = false;
    bool IsRoot() const { return name.empty(); }
  };

  struct OpenStream {
    char letter = 0;
    std::uint64_t mount = 0;  // a stream outlives no remount of its drive
    std::size_t folder = 0;
    std::string key;  // upper-case long name in the folder
    std::shared_ptr<const FileContent> committed;
    std::string pending;  // the working copy once written, until committed
    bool dirty = false;
    std::uint64_t position = 0;
    bool canRead = false;
    bool canWrite = false;
    bool append = false;
    bool text = true;
  };

  struct Search {
    std::vector<FindData> results;
    std::size_t next = 0;
  };

  // Path handling.
  DWORD Locate(std::string_view path, Location* out) const;
  DWORD LocateResolved(const DosPath& path, Location* out) const;
  Drive* FindDrive(char letter);
  const Drive* FindDrive(char letter) const;
  // "C:\A\B" of a folder, built from each component's long name, or from its
  // alias with &FileEntry::shortName.
  std::string FolderPath(char letter, const Drive& drive, std::size_t folder,
                         std::string FileEntry::*name = &FileEntry::name) const;
  std::string EntryPath(const Location& location) const;

  // Checks shared by the changing operations; each returns kErrorSuccess or
  // the refusal.
  bool HasFault(const Location& location, FileFault fault) const;
  bool FolderHasFault(char letter, const Drive& drive, std::size_t folder, FileFault fault) const;
  DWORD CheckWritable(const Location& location) const;
  DWORD CheckCapacity(const Drive& drive, std::uint64_t oldSize, std::uint64_t newSize) const;
  bool IsOpen(const Location& location) const;

  // Changes; the checks have been made.
  FileEntry& CreateFile(Location* location, DWORD attributes,
                        std::shared_ptr<const FileContent> content);
  void ReplaceContent(Drive* drive, FileEntry* entry, std::shared_ptr<const FileContent> content);
  void RemoveFile(Location* location);

  // Streams.
  OpenStream* FindStream(FileStream stream);
  const OpenStream* FindStream(FileStream stream) const;
  FileEntry* StreamEntry(const OpenStream& stream, Drive** drive);
  const std::string* StreamBytes(const OpenStream& stream) const;
  bool CommitStream(OpenStream* stream);

  DWORD MakeFolder(const DosPath& path);
  DWORD FolderAttributes(const Drive& drive, std::size_t folder) const;
  BOOL Fail(DWORD error) const;

  // Host folders.
  static bool LoadHostFolder(const std::filesystem::path& hostFolder, const std::string& dosPath,
                             Drive* drive, std::size_t folder, std::string* error);
  static bool SaveHostFolder(const Drive& drive, std::size_t folder,
                             const std::filesystem::path& hostFolder, std::string* error);

  std::map<char, Drive> drives_;
  std::string currentDirectory_ = "C:\\";
  std::map<std::string, unsigned> faults_;  // upper-case full long path -> FileFault bits
  std::map<std::uintptr_t, OpenStream> streams_;
  std::map<std::uintptr_t, Search> searches_;
  std::uintptr_t nextHandle_ = 1;
  std::uint64_t nextMount_ = 1;
  mutable DWORD lastError_ = kErrorSuccess;
};

}  // namespace kx::sim
