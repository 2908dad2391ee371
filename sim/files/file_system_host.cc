// Mounting a host folder as a simulated drive, and writing a drive back out.
#include <algorithm>
#include <fstream>

#include "platform/text.h"
#include "sim/files/file_system.h"
#include "sim/files/short_name.h"

namespace kx::sim {
namespace {

namespace fs = std::filesystem;

struct HostItem {
  std::string name;
  fs::path path;
  bool folder = false;
  std::uint64_t size = 0;
};

// Why a host name cannot be a Windows name, or empty when it can be.
std::string ProblemWithName(const std::string& name) {
  if (name.size() > 255) return "name longer than 255 characters";
  if (name.back() == '.' || name.back() == ' ') return "name ends in a period or a blank";
  for (char c : name) {
    if (!IsNameChar(c)) return "name holds a character Windows forbids";
  }
  return "";
}

bool ReadHostFolder(const fs::path& hostFolder, const std::string& dosPath,
                    std::vector<HostItem>* items, std::string* error) {
  std::error_code ec;
  fs::directory_iterator it(hostFolder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    HostItem item;
    item.path = it->path();
    item.name = item.path.filename().string();
    if (std::string problem = ProblemWithName(item.name); !problem.empty()) {
      *error = item.path.string() + ": " + problem;
      return false;
    }
    if (JoinDosPath(dosPath, item.name).size() >= kMaxPath) {
      *error = item.path.string() + ": its path on the simulated PC would be " +
               std::to_string(kMaxPath) + " characters or longer";
      return false;
    }
    const fs::file_status status = it->status(ec);  // follows links
    if (ec) break;
    if (fs::is_directory(status)) {
      item.folder = true;
    } else if (fs::is_regular_file(status)) {
      item.size = it->file_size(ec);
      if (ec) break;
    } else {
      *error = item.path.string() + ": neither a file nor a folder";
      return false;
    }
    items->push_back(std::move(item));
  }
  if (ec) {
    *error = hostFolder.string() + ": " + ec.message();
    return false;
  }
  // Sorted, and names that are already 8.3 names first, so that the aliases
  // made for the others avoid them and come out the same on every host.
  std::sort(items->begin(), items->end(), [](const HostItem& a, const HostItem& b) {
    const bool aShort = IsShortName(a.name);
    const bool bShort = IsShortName(b.name);
    if (aShort != bShort) return aShort;
    const std::string aKey = AsciiUpper(a.name);
    const std::string bKey = AsciiUpper(b.name);
    return aKey != bKey ? aKey < bKey : a.name < b.name;
  });
  return true;
}

}  // namespace

bool FileSystem::LoadHostFolder(const fs::path& hostFolder, const std::string& dosPath,
                                Drive* drive, std::size_t folder, std::string* error) {
  std::vector<HostItem> items;
  if (!ReadHostFolder(hostFolder, dosPath, &items, error)) return false;
  const bool readOnly = drive->options.readOnly;
  for (HostItem& item : items) {
    if (const FileEntry* twin = drive->folders[folder].Find(item.name)) {
      *error = item.path.string() + ": same name as \"" + twin->name + "\" to Windows";
      return false;
    }
    if (item.folder) {
      const std::size_t index = drive->folders.size();
      drive->folders.emplace_back(folder, AsciiUpper(item.name));
      FileEntry& entry = drive->folders[folder].Add(
          item.name, kFileAttributeDirectory | (readOnly ? kFileAttributeReadonly : 0));
      entry.folder = index;
      if (!LoadHostFolder(item.path, JoinDosPath(dosPath, item.name), drive, index, error)) {
        return false;
      }
    } else {
      FileEntry& entry = drive->folders[folder].Add(
          item.name, readOnly ? kFileAttributeReadonly : kFileAttributeArchive);
      entry.content = FileContent::FromHostFile(item.path, item.size);
      drive->usedBytes += item.size;
    }
  }
  return true;
}

bool FileSystem::LoadDriveFromHost(char letter, const fs::path& hostFolder, std::string* error) {
  std::string message;
  const char key = AsciiUpper(letter);
  std::error_code ec;
  if (key < 'A' || key > 'Z') {
    message = std::string("not a drive letter: ") + letter;
  } else if (!fs::is_directory(hostFolder, ec)) {
    message = hostFolder.string() + ": not a folder";
  } else {
    Drive drive;
    if (const Drive* existing = FindDrive(key)) drive.options = existing->options;
    drive.rootAttributes =
        kFileAttributeDirectory | (drive.options.readOnly ? kFileAttributeReadonly : 0);
    drive.folders.emplace_back(FileFolder::kNoParent, "");
    if (LoadHostFolder(hostFolder, std::string{key, ':', '\\'}, &drive, 0, &message)) {
      drive.mount = nextMount_++;
      drives_[key] = std::move(drive);
      return true;
    }
  }
  if (error) *error = message;
  return false;
}

bool FileSystem::SaveHostFolder(const Drive& drive, std::size_t folder, const fs::path& hostFolder,
                                std::string* error) {
  std::error_code ec;
  for (const auto& [key, entry] : drive.folders[folder].entries()) {
    const fs::path target = hostFolder / entry.name;
    if (entry.IsFolder()) {
      fs::create_directory(target, ec);
      if (ec) {
        *error = target.string() + ": " + ec.message();
        return false;
      }
      if (!SaveHostFolder(drive, entry.folder, target, error)) return false;
      continue;
    }
    if (const fs::path* source = entry.content->unreadHostFile()) {
      // Never read: copy it straight from the mounted file, unless that is
      // the very file being written.
      if (fs::exists(target, ec) && fs::equivalent(*source, target, ec)) continue;
      if (fs::file_size(*source, ec) != entry.size() || ec) {
        *error = source->string() + ": changed on the host since it was mounted";
        return false;
      }
      fs::copy_file(*source, target, fs::copy_options::overwrite_existing, ec);
      if (ec) {
        *error = target.string() + ": " + ec.message();
        return false;
      }
      continue;
    }
    const std::string* bytes = entry.content->bytes();
    if (bytes == nullptr) {
      *error = target.string() + ": the file's bytes could not be read";
      return false;
    }
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
      *error = target.string() + ": cannot write";
      return false;
    }
  }
  return true;
}

bool FileSystem::SaveDriveToHost(char letter, const fs::path& hostFolder,
                                 std::string* error) const {
  std::string message;
  const Drive* drive = FindDrive(letter);
  std::error_code ec;
  if (drive == nullptr) {
    message = std::string("no drive ") + letter + ":";
  } else if (fs::create_directories(hostFolder, ec); ec) {
    message = hostFolder.string() + ": " + ec.message();
  } else if (SaveHostFolder(*drive, 0, hostFolder, &message)) {
    return true;
  }
  if (error) *error = message;
  return false;
}

}  // namespace kx::sim
