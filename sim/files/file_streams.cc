// The C run-time's streams on the simulated file system. A stream reads the
// file as it was when opened or last committed and collects its writes in a
// working copy, which fflush, fseek and fclose commit to the file, as the
// run-time's buffer does. Offsets are byte offsets in the file, also in text
// mode, where reading turns CR LF into '\n' and stops at Ctrl-Z, and writing
// turns '\n' into CR LF.
#include <climits>
#include <cstring>

#include "platform/text.h"
#include "sim/files/file_system.h"

namespace kx::sim {
namespace {

// The run-time's offsets are longs: no file grows past this.
constexpr std::uint64_t kMaxStreamFileSize = 0x7FFFFFFF;
constexpr char kCtrlZ = 0x1A;
constexpr int kEof = -1;

struct StreamMode {
  char kind = 0;  // 'r', 'w' or 'a'
  bool update = false;
  bool binary = false;
};

bool ParseMode(const char* mode, StreamMode* out) {
  if (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a') return false;
  out->kind = mode[0];
  bool translationGiven = false;
  for (const char* p = mode + 1; *p; ++p) {
    if (*p == '+' && !out->update) {
      out->update = true;
    } else if ((*p == 'b' || *p == 't') && !translationGiven) {
      translationGiven = true;
      out->binary = *p == 'b';
    } else {
      return false;
    }
  }
  return true;
}

FileStream ToStream(std::uintptr_t id) { return reinterpret_cast<FileStream>(id); }

const std::string& NoBytes() {
  static const std::string empty;
  return empty;
}

}  // namespace

FileSystem::OpenStream* FileSystem::FindStream(FileStream stream) {
  auto it = streams_.find(reinterpret_cast<std::uintptr_t>(stream));
  return it == streams_.end() ? nullptr : &it->second;
}

const FileSystem::OpenStream* FileSystem::FindStream(FileStream stream) const {
  auto it = streams_.find(reinterpret_cast<std::uintptr_t>(stream));
  return it == streams_.end() ? nullptr : &it->second;
}

FileEntry* FileSystem::StreamEntry(const OpenStream& stream, Drive** drive) {
  *drive = FindDrive(stream.letter);
  if (*drive == nullptr || (*drive)->mount != stream.mount ||
      stream.folder >= (*drive)->folders.size()) {
    return nullptr;
  }
  return (*drive)->folders[stream.folder].Find(stream.key);
}

const std::string* FileSystem::StreamBytes(const OpenStream& stream) const {
  if (stream.dirty) return &stream.pending;
  return stream.committed ? stream.committed->bytes() : &NoBytes();
}

bool FileSystem::CommitStream(OpenStream* stream) {
  if (!stream->dirty) return true;
  Drive* drive = nullptr;
  FileEntry* entry = StreamEntry(*stream, &drive);
  if (entry == nullptr) return Fail(kErrorFileNotFound);
  if (DWORD error = CheckCapacity(*drive, entry->size(), stream->pending.size())) {
    return Fail(error);
  }
  auto content = FileContent::FromBytes(std::move(stream->pending));
  stream->pending.clear();
  stream->dirty = false;
  stream->committed = content;
  ReplaceContent(drive, entry, std::move(content));
  entry->attributes |= kFileAttributeArchive;
  return true;
}

FileStream FileSystem::FOpen(const char* path, const char* mode) {
  StreamMode parsed;
  if (path == nullptr || mode == nullptr || !ParseMode(mode, &parsed)) {
    Fail(kErrorInvalidParameter);
    return nullptr;
  }
  Location location;
  if (DWORD error = Locate(path, &location)) {
    Fail(error);
    return nullptr;
  }
  if (location.IsRoot() || (location.entry && location.entry->IsFolder())) {
    Fail(kErrorAccessDenied);
    return nullptr;
  }
  const bool canWrite = parsed.kind != 'r' || parsed.update;
  if (parsed.kind == 'r' && location.entry == nullptr) {
    Fail(kErrorFileNotFound);
    return nullptr;
  }
  if (HasFault(location, FileFault::CannotOpen)) {
    Fail(kErrorAccessDenied);
    return nullptr;
  }
  if (canWrite) {
    if (DWORD error = CheckWritable(location)) {
      Fail(error);
      return nullptr;
    }
  }
  if (location.entry == nullptr) {
    CreateFile(&location, kFileAttributeArchive, FileContent::FromBytes(""));
  } else if (parsed.kind == 'w') {
    ReplaceContent(location.drive, location.entry, FileContent::FromBytes(""));
    location.entry->attributes |= kFileAttributeArchive;
  }

  OpenStream stream;
  stream.letter = location.letter;
  stream.mount = location.drive->mount;
  stream.folder = location.folder;
  stream.key = AsciiUpper(location.entry->name);
  stream.committed = location.entry->content;
  stream.canRead = parsed.kind == 'r' || parsed.update;
  stream.canWrite = canWrite;
  stream.append = parsed.kind == 'a';
  stream.text = !parsed.binary;
  const std::uintptr_t id = nextHandle_++;
  streams_.emplace(id, std::move(stream));
  return ToStream(id);
}

char* FileSystem::FGets(char* buffer, int size, FileStream handle) {
  OpenStream* stream = FindStream(handle);
  if (stream == nullptr) {
    Fail(kErrorInvalidHandle);
    return nullptr;
  }
  if (buffer == nullptr || size <= 0) {
    Fail(kErrorInvalidParameter);
    return nullptr;
  }
  if (!stream->canRead) {
    Fail(kErrorAccessDenied);
    return nullptr;
  }
  const std::string* bytes = StreamBytes(*stream);
  if (bytes == nullptr) {
    Fail(kErrorAccessDenied);  // the file's bytes cannot be read
    return nullptr;
  }
  const std::uint64_t end = bytes->size();
  std::uint64_t position = stream->position;
  int count = 0;
  bool atEnd = false;
  while (count < size - 1) {
    if (position >= end) {
      atEnd = true;
      break;
    }
    char c = (*bytes)[position];
    if (stream->text && c == kCtrlZ) {
      atEnd = true;
      break;
    }
    if (stream->text && c == '\r' && position + 1 < end && (*bytes)[position + 1] == '\n') {
      c = '\n';
      position += 2;
    } else {
      position += 1;
    }
    buffer[count++] = c;
    if (c == '\n') break;
  }
  stream->position = position;
  if (count == 0 && atEnd) return nullptr;
  buffer[count] = '\0';
  return buffer;
}

int FileSystem::FSeek(FileStream handle, long offset, int origin) {
  OpenStream* stream = FindStream(handle);
  if (stream == nullptr) {
    Fail(kErrorInvalidHandle);
    return -1;
  }
  std::int64_t base = 0;
  if (origin == kSeekCur) {
    base = static_cast<std::int64_t>(stream->position);
  } else if (origin == kSeekEnd) {
    const std::string* bytes = StreamBytes(*stream);
    base = bytes ? static_cast<std::int64_t>(bytes->size())
                 : static_cast<std::int64_t>(stream->committed->size());
  } else if (origin != kSeekSet) {
    Fail(kErrorInvalidParameter);
    return -1;
  }
  const std::int64_t target = base + static_cast<std::int64_t>(offset);
  if (target < 0 || static_cast<std::uint64_t>(target) > kMaxStreamFileSize) {
    Fail(kErrorInvalidParameter);
    return -1;
  }
  // Seeking writes out what the stream holds, as the run-time does.
  if (!CommitStream(stream)) return -1;
  stream->position = static_cast<std::uint64_t>(target);
  return 0;
}

long FileSystem::FTell(FileStream handle) const {
  const OpenStream* stream = FindStream(handle);
  if (stream == nullptr) {
    Fail(kErrorInvalidHandle);
    return -1;
  }
  return static_cast<long>(stream->position);
}

std::size_t FileSystem::FWrite(const void* data, std::size_t size, std::size_t count,
                               FileStream handle) {
  OpenStream* stream = FindStream(handle);
  if (stream == nullptr) {
    Fail(kErrorInvalidHandle);
    return 0;
  }
  if (size == 0 || count == 0) return 0;
  if (data == nullptr || count > SIZE_MAX / size) {
    Fail(kErrorInvalidParameter);
    return 0;
  }
  if (!stream->canWrite) {
    Fail(kErrorAccessDenied);
    return 0;
  }
  const std::string_view raw(static_cast<const char*>(data), size * count);
  std::string translated;
  std::string_view out = raw;
  if (stream->text && raw.find('\n') != std::string_view::npos) {
    translated.reserve(raw.size() + raw.size() / 8);
    for (char c : raw) {
      if (c == '\n') translated += '\r';
      translated += c;
    }
    out = translated;
  }

  const std::string* bytes = StreamBytes(*stream);
  if (bytes == nullptr) {
    Fail(kErrorAccessDenied);
    return 0;
  }
  const std::uint64_t position = stream->append ? bytes->size() : stream->position;
  const std::uint64_t newSize = std::max<std::uint64_t>(bytes->size(), position + out.size());
  if (newSize > kMaxStreamFileSize) {
    Fail(kErrorHandleDiskFull);
    return 0;
  }
  Drive* drive = nullptr;
  FileEntry* entry = StreamEntry(*stream, &drive);
  if (entry == nullptr) {
    Fail(kErrorFileNotFound);
    return 0;
  }
  if (DWORD error = CheckCapacity(*drive, entry->size(), newSize)) {
    Fail(error);
    return 0;
  }
  if (!stream->dirty) {
    stream->pending = *bytes;
    stream->dirty = true;
  }
  std::string& pending = stream->pending;
  if (pending.size() < position) pending.resize(position, '\0');
  pending.replace(position, out.size(), out);
  stream->position = position + out.size();
  return count;
}

int FileSystem::FFlush(FileStream handle) {
  if (handle == nullptr) {
    bool ok = true;
    for (auto& [id, stream] : streams_) ok = CommitStream(&stream) && ok;
    return ok ? 0 : kEof;
  }
  OpenStream* stream = FindStream(handle);
  if (stream == nullptr) {
    Fail(kErrorInvalidHandle);
    return kEof;
  }
  return CommitStream(stream) ? 0 : kEof;
}

int FileSystem::FClose(FileStream handle) {
  OpenStream* stream = FindStream(handle);
  if (stream == nullptr) {
    Fail(kErrorInvalidHandle);
    return kEof;
  }
  const bool ok = CommitStream(stream);
  streams_.erase(reinterpret_cast<std::uintptr_t>(handle));
  return ok ? 0 : kEof;
}

}  // namespace kx::sim
