// The bytes of one simulated file. Immutable once made, and shared between
// copies of a file system (and between a file and its copies), so that a
// snapshot of a machine costs no file data. A file mounted from a host folder
// is read from the host on first use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace kx::sim {

class FileContent {
 public:
  static std::shared_ptr<const FileContent> FromBytes(std::string bytes);
  // A host file of the given size, read when its bytes are first needed.
  static std::shared_ptr<const FileContent> FromHostFile(std::filesystem::path hostFile,
                                                         std::uint64_t size);

  std::uint64_t size() const { return size_; }

  // The bytes, or null when a host file can no longer be read, or no longer
  // has the size it had when it was mounted.
  const std::string* bytes() const;

  // The host file whose bytes have not been read yet; null otherwise.
  const std::filesystem::path* unreadHostFile() const;

  // Use the factories above; public for std::make_shared.
  FileContent(std::string bytes, std::filesystem::path hostFile, std::uint64_t size, bool loaded);

 private:
  mutable std::string bytes_;
  mutable bool loaded_;
  mutable bool failed_ = false;
  std::filesystem::path hostFile_;
  std::uint64_t size_;
};

// True when both hold the same bytes. Shared content compares without being
// read; contents that cannot be read count as different.
bool SameBytes(const std::shared_ptr<const FileContent>& a,
               const std::shared_ptr<const FileContent>& b);

}  // namespace kx::sim
