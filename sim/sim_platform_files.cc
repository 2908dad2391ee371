// The simulated platform's folders, files, streams and profile files: the
// file system does the work; this adds the last-error rule and the
// transcript of what changed.
#include <algorithm>

#include "platform/text.h"
#include "sim/profile/profile.h"
#include "sim/sim_platform.h"

namespace kx::sim {
namespace {

std::string AttributeNames(DWORD a) {
  if (a == kFileAttributeNormal) return "NORMAL";
  std::string out;
  const std::pair<DWORD, const char*> names[] = {{kFileAttributeReadonly, "READONLY"},
                                                 {kFileAttributeHidden, "HIDDEN"},
                                                 {kFileAttributeSystem, "SYSTEM"},
                                                 {kFileAttributeArchive, "ARCHIVE"}};
  for (const auto& [bit, name] : names) {
    if (a & bit) out += std::string(out.empty() ? "" : "|") + name;
  }
  return out.empty() ? "0" : out;
}

bool WritesTo(const char* mode) {
  return mode != nullptr && (std::string(mode).find_first_of("wa+") != std::string::npos);
}

}  // namespace

BOOL SimPlatform::FileResult(BOOL ok) {
  if (!ok) lastError_ = machine_.files.last_error();
  return ok;
}

DWORD SimPlatform::GetCurrentDirectoryA(DWORD size, char* buffer) {
  Call();
  return machine_.files.GetCurrentDirectoryA(size, buffer);
}

BOOL SimPlatform::SetCurrentDirectoryA(const char* path) {
  Call();
  return FileResult(machine_.files.SetCurrentDirectoryA(path));
}

BOOL SimPlatform::CreateDirectoryA(const char* path) {
  Call();
  const BOOL ok = FileResult(machine_.files.CreateDirectoryA(path));
  if (ok) Note(std::string("CreateDirectoryA ") + path);
  return ok;
}

DWORD SimPlatform::GetShortPathNameA(const char* longPath, char* shortPath, DWORD size) {
  Call();
  const DWORD result = machine_.files.GetShortPathNameA(longPath, shortPath, size);
  if (result == 0) lastError_ = machine_.files.last_error();
  return result;
}

FindHandle SimPlatform::FindFirstFileA(const char* pattern, FindData* data) {
  Call();
  const FindHandle find = machine_.files.FindFirstFileA(pattern, data);
  if (find == kInvalidFindHandle) lastError_ = machine_.files.last_error();
  return find;
}

BOOL SimPlatform::FindNextFileA(FindHandle find, FindData* data) {
  Call();
  return FileResult(machine_.files.FindNextFileA(find, data));
}

BOOL SimPlatform::FindClose(FindHandle find) {
  Call();
  return FileResult(machine_.files.FindClose(find));
}

BOOL SimPlatform::CopyFileA(const char* source, const char* target, BOOL failIfExists) {
  Call();
  const BOOL ok = FileResult(machine_.files.CopyFileA(source, target, failIfExists));
  const std::string what = std::string("CopyFileA ") + (source ? source : "(null)") + " -> " +
                           (target ? target : "(null)");
  Note(ok ? what : what + ": failed, error " + std::to_string(lastError_));
  return ok;
}

BOOL SimPlatform::SetFileAttributesA(const char* path, DWORD attributes) {
  Call();
  const DWORD before = path ? machine_.files.GetFileAttributesA(path) : kInvalidFileAttributes;
  const BOOL ok = FileResult(machine_.files.SetFileAttributesA(path, attributes));
  if (ok && machine_.files.GetFileAttributesA(path) != before) {
    Note(std::string("SetFileAttributesA ") + path + " " + AttributeNames(attributes));
  }
  return ok;
}

DWORD SimPlatform::GetFileAttributesA(const char* path) {
  Call();
  const DWORD attributes = machine_.files.GetFileAttributesA(path);
  if (attributes == kInvalidFileAttributes) lastError_ = machine_.files.last_error();
  return attributes;
}

BOOL SimPlatform::DeleteFileA(const char* path) {
  Call();
  const bool existed = path && machine_.files.GetFileAttributesA(path) != kInvalidFileAttributes;
  const BOOL ok = FileResult(machine_.files.DeleteFileA(path));
  if (ok) {
    Note(std::string("DeleteFileA ") + path);
  } else if (existed) {
    Note(std::string("DeleteFileA ") + path + ": failed, error " + std::to_string(lastError_));
  }
  return ok;
}

FileStream SimPlatform::FOpen(const char* path, const char* mode) {
  Call();
  const FileStream stream = machine_.files.FOpen(path, mode);
  if (stream == nullptr) {
    lastError_ = machine_.files.last_error();
    return nullptr;
  }
  openStreams_.push_back(stream);
  if (WritesTo(mode)) streamPaths_[stream] = {path, 0};
  return stream;
}

char* SimPlatform::FGets(char* buffer, int size, FileStream stream) {
  Call();
  return machine_.files.FGets(buffer, size, stream);
}

int SimPlatform::FSeek(FileStream stream, long offset, int origin) {
  Call();
  return machine_.files.FSeek(stream, offset, origin);
}

std::size_t SimPlatform::FWrite(const void* data, std::size_t size, std::size_t count,
                                FileStream stream) {
  Call();
  const std::size_t written = machine_.files.FWrite(data, size, count, stream);
  const auto it = streamPaths_.find(stream);
  if (it != streamPaths_.end()) it->second.bytesWritten += written * size;
  return written;
}

int SimPlatform::FFlush(FileStream stream) {
  Call();
  return machine_.files.FFlush(stream);
}

int SimPlatform::FClose(FileStream stream) {
  Call();
  const int result = machine_.files.FClose(stream);
  openStreams_.erase(std::remove(openStreams_.begin(), openStreams_.end(), stream),
                     openStreams_.end());
  const auto it = streamPaths_.find(stream);
  if (it != streamPaths_.end()) {
    if (it->second.bytesWritten > 0) {
      Note("fwrite " + it->second.path + ": " + std::to_string(it->second.bytesWritten) +
           " bytes written in place");
    }
    streamPaths_.erase(it);
  }
  return result;
}

// ---- Profile files. ----

std::string SimPlatform::ProfilePath(const char* file) {
  const std::string name = file ? file : "WIN.INI";
  if (name.find_first_of("\\/:") == std::string::npos) {
    return machine_.windowsFolder + "\\" + name;
  }
  return machine_.files.FullPath(name).value_or(name);
}

UINT SimPlatform::GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                                        const char* file) {
  Call();
  std::string bytes;
  const bool exists = machine_.files.ReadFile(ProfilePath(file), &bytes);
  return profile::GetInt(exists ? &bytes : nullptr, section, key, defaultValue);
}

DWORD SimPlatform::GetPrivateProfileStringA(const char* section, const char* key,
                                            const char* defaultValue, char* buffer, DWORD size,
                                            const char* file) {
  Call();
  std::string bytes;
  const bool exists = machine_.files.ReadFile(ProfilePath(file), &bytes);
  return profile::GetString(exists ? &bytes : nullptr, section, key, defaultValue, buffer, size);
}

BOOL SimPlatform::WritePrivateProfileStringA(const char* section, const char* key,
                                             const char* value, const char* file) {
  Call();
  const std::string path = ProfilePath(file);
  std::string before;
  const bool exists = machine_.files.ReadFile(path, &before);
  std::string after = before;
  if (!profile::WriteString(after, section, key, value)) {
    lastError_ = kErrorInvalidParameter;
    return kFalse;
  }
  // Nothing to write: the file keeps its bytes, and a deletion does not
  // create a missing file.
  if (after == before) return kTrue;
  std::string what = "WritePrivateProfileStringA " + path + " [" + (section ? section : "") + "] ";
  if (key == nullptr) {
    what += "deleted";
  } else if (value == nullptr) {
    what += std::string(key) + " deleted";
  } else {
    what += std::string(key) + "=" + value;
  }
  if (!machine_.files.WriteFile(path, after)) {
    lastError_ = machine_.files.last_error();
    Note(what + ": failed, error " + std::to_string(lastError_));
    return kFalse;
  }
  if (!exists) what += " (file created)";
  Note(what);
  return kTrue;
}

}  // namespace kx::sim
