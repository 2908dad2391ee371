#include "sim/files/file_content.h"

#include <fstream>
#include <iterator>

namespace kx::sim {

FileContent::FileContent(std::string bytes, std::filesystem::path hostFile, std::uint64_t size,
                         bool loaded)
    : bytes_(std::move(bytes)), loaded_(loaded), hostFile_(std::move(hostFile)), size_(size) {}

std::shared_ptr<const FileContent> FileContent::FromBytes(std::string bytes) {
  const std::uint64_t size = bytes.size();
  return std::make_shared<const FileContent>(std::move(bytes), std::filesystem::path(), size, true);
}

std::shared_ptr<const FileContent> FileContent::FromHostFile(std::filesystem::path hostFile,
                                                             std::uint64_t size) {
  return std::make_shared<const FileContent>(std::string(), std::move(hostFile), size, false);
}

const std::string* FileContent::bytes() const {
  if (loaded_) return &bytes_;
  if (failed_) return nullptr;
  std::ifstream in(hostFile_, std::ios::binary);
  std::string data;
  if (in) data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad() || data.size() != size_) {
    failed_ = true;
    return nullptr;
  }
  bytes_ = std::move(data);
  loaded_ = true;
  return &bytes_;
}

const std::filesystem::path* FileContent::unreadHostFile() const {
  return loaded_ ? nullptr : &hostFile_;
}

bool SameBytes(const std::shared_ptr<const FileContent>& a,
               const std::shared_ptr<const FileContent>& b) {
  if (a == b) return true;
  if (!a || !b || a->size() != b->size()) return false;
  const std::string* left = a->bytes();
  const std::string* right = b->bytes();
  return left && right && *left == *right;
}

}  // namespace kx::sim
