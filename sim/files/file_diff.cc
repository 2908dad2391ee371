#include "sim/files/file_diff.h"

#include <set>

#include "sim/files/file_system.h"

namespace kx::sim {

// Walks two states of the drives side by side, folder by folder, in listing
// order.
class FileDiffWalker {
 public:
  std::vector<FileChange> Run(const FileSystem& before, const FileSystem& after) {
    std::set<char> letters;
    for (const auto& [letter, drive] : before.drives_) letters.insert(letter);
    for (const auto& [letter, drive] : after.drives_) letters.insert(letter);
    for (char letter : letters) {
      const Drive* old = before.FindDrive(letter);
      const Drive* now = after.FindDrive(letter);
      const std::string root{letter, ':', '\\'};
      if (old == nullptr) {
        Note(FileChange::Kind::FolderAdded, root, 0, 0, 0, now->rootAttributes);
        AddAll(*now, 0, root);
      } else if (now == nullptr) {
        Note(FileChange::Kind::FolderDeleted, root, 0, 0, old->rootAttributes, 0);
        DeleteAll(*old, 0, root);
      } else {
        if (old->rootAttributes != now->rootAttributes) {
          Note(FileChange::Kind::AttributesChanged, root, 0, 0, old->rootAttributes,
               now->rootAttributes);
        }
        Compare(*old, 0, *now, 0, root);
      }
    }
    return std::move(changes_);
  }

 private:
  using Drive = FileSystem::Drive;

  void Note(FileChange::Kind kind, std::string path, std::uint64_t oldSize, std::uint64_t newSize,
            DWORD oldAttributes, DWORD newAttributes) {
    changes_.push_back({kind, std::move(path), oldSize, newSize, oldAttributes, newAttributes});
  }

  void Added(const Drive& drive, const FileEntry& entry, const std::string& path) {
    if (entry.IsFolder()) {
      Note(FileChange::Kind::FolderAdded, path, 0, 0, 0, entry.attributes);
      AddAll(drive, entry.folder, path);
    } else {
      Note(FileChange::Kind::FileAdded, path, 0, entry.size(), 0,
           ReportedAttributes(entry.attributes));
    }
  }

  void Deleted(const Drive& drive, const FileEntry& entry, const std::string& path) {
    if (entry.IsFolder()) {
      Note(FileChange::Kind::FolderDeleted, path, 0, 0, entry.attributes, 0);
      DeleteAll(drive, entry.folder, path);
    } else {
      Note(FileChange::Kind::FileDeleted, path, entry.size(), 0,
           ReportedAttributes(entry.attributes), 0);
    }
  }

  void AddAll(const Drive& drive, std::size_t folder, const std::string& path) {
    for (const auto& [key, entry] : drive.folders[folder].entries()) {
      Added(drive, entry, JoinDosPath(path, entry.name));
    }
  }

  void DeleteAll(const Drive& drive, std::size_t folder, const std::string& path) {
    for (const auto& [key, entry] : drive.folders[folder].entries()) {
      Deleted(drive, entry, JoinDosPath(path, entry.name));
    }
  }

  void Both(const Drive& oldDrive, const FileEntry& old, const Drive& newDrive,
            const FileEntry& now, const std::string& parent) {
    const std::string path = JoinDosPath(parent, now.name);
    if (old.IsFolder() != now.IsFolder()) {
      Deleted(oldDrive, old, JoinDosPath(parent, old.name));
      Added(newDrive, now, path);
      return;
    }
    const DWORD oldAttributes = ReportedAttributes(old.attributes);
    const DWORD newAttributes = ReportedAttributes(now.attributes);
    if (!now.IsFolder() && !SameBytes(old.content, now.content)) {
      Note(FileChange::Kind::FileChanged, path, old.size(), now.size(), oldAttributes,
           newAttributes);
    }
    if (oldAttributes != newAttributes) {
      Note(FileChange::Kind::AttributesChanged, path, old.size(), now.size(), oldAttributes,
           newAttributes);
    }
    if (now.IsFolder()) Compare(oldDrive, old.folder, newDrive, now.folder, path);
  }

  void Compare(const Drive& oldDrive, std::size_t oldFolder, const Drive& newDrive,
               std::size_t newFolder, const std::string& path) {
    const auto& olds = oldDrive.folders[oldFolder].entries();
    const auto& nows = newDrive.folders[newFolder].entries();
    auto o = olds.begin();
    auto n = nows.begin();
    while (o != olds.end() || n != nows.end()) {
      if (n == nows.end() || (o != olds.end() && o->first < n->first)) {
        Deleted(oldDrive, o->second, JoinDosPath(path, o->second.name));
        ++o;
      } else if (o == olds.end() || n->first < o->first) {
        Added(newDrive, n->second, JoinDosPath(path, n->second.name));
        ++n;
      } else {
        Both(oldDrive, o->second, newDrive, n->second, path);
        ++o;
        ++n;
      }
    }
  }

  std::vector<FileChange> changes_;
};

std::vector<FileChange> DiffFiles(const FileSystem& before, const FileSystem& after) {
  return FileDiffWalker().Run(before, after);
}

}  // namespace kx::sim
