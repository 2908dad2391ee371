// The registry's tree, its path interface and fault injection. The Win32
// operations are in registry_calls.cc.
#include "sim/registry/registry.h"

#include "platform/text.h"
#include "sim/registry/ansi_code_page.h"

namespace kx::sim {
namespace {

constexpr std::string_view kRootNames[2] = {"HKEY_LOCAL_MACHINE", "HKEY_USERS"};

// The names a path may start with; views name the real root they show.
enum class RootName { LocalMachine, Users, CurrentUser, ClassesRoot };
struct RootSpelling {
  std::string_view name;
  RootName root;
};
constexpr RootSpelling kRootSpellings[] = {
    {"HKEY_LOCAL_MACHINE", RootName::LocalMachine},
    {"HKLM", RootName::LocalMachine},
    {"HKEY_USERS", RootName::Users},
    {"HKU", RootName::Users},
    {"HKEY_CURRENT_USER", RootName::CurrentUser},
    {"HKCU", RootName::CurrentUser},
    {"HKEY_CLASSES_ROOT", RootName::ClassesRoot},
    {"HKCR", RootName::ClassesRoot},
};

std::string KeyNameError(std::string_view name) {
  if (name.empty()) return "empty key name";
  if (name.size() > Registry::kMaxKeyNameLength) {
    return "key name longer than " + std::to_string(Registry::kMaxKeyNameLength) + " characters";
  }
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return "control character in key name";
  }
  return {};
}

}  // namespace

Registry::Registry() {
  roots_[kLocalMachine] = RegistryKey(std::string(kRootNames[kLocalMachine]), 1);
  roots_[kUsers] = RegistryKey(std::string(kRootNames[kUsers]), 2);
}

bool Registry::SetCurrentUserKey(std::string nameUnderHkeyUsers) {
  if (!KeyNameError(nameUnderHkeyUsers).empty() ||
      nameUnderHkeyUsers.find('\\') != std::string::npos) {
    return false;
  }
  currentUser_ = std::move(nameUnderHkeyUsers);
  return true;
}

bool Registry::ParsePath(std::string_view path, KeyPath* out, std::string* error) const {
  const std::size_t slash = path.find('\\');
  const std::string_view rootName = path.substr(0, slash);
  const RootSpelling* spelling = nullptr;
  for (const RootSpelling& candidate : kRootSpellings) {
    if (EqualsIgnoreCase(rootName, candidate.name)) spelling = &candidate;
  }
  if (!spelling) {
    *error = "unknown root key \"" + std::string(rootName) + "\"";
    return false;
  }
  KeyPath parsed;
  switch (spelling->root) {
    case RootName::LocalMachine:
      parsed.root = kLocalMachine;
      break;
    case RootName::Users:
      parsed.root = kUsers;
      break;
    case RootName::CurrentUser:
      parsed.root = kUsers;
      parsed.names.push_back(currentUser_);
      break;
    case RootName::ClassesRoot:
      parsed.root = kLocalMachine;
      parsed.names = {"Software", "Classes"};
      break;
  }
  parsed.rootOnly = slash == std::string_view::npos;
  if (!parsed.rootOnly) {
    std::string_view rest = path.substr(slash + 1);
    for (;;) {
      const std::size_t next = rest.find('\\');
      const std::string_view name = rest.substr(0, next);
      std::string why = KeyNameError(name);
      if (!why.empty()) {
        *error = std::move(why);
        return false;
      }
      parsed.names.emplace_back(name);
      if (parsed.names.size() > kMaxKeyDepth) {
        *error = "key path deeper than " + std::to_string(kMaxKeyDepth) + " levels";
        return false;
      }
      if (next == std::string_view::npos) break;
      rest.remove_prefix(next + 1);
    }
  }
  *out = std::move(parsed);
  return true;
}

std::string Registry::KeyPathError(std::string_view path) const {
  KeyPath parsed;
  std::string error;
  ParsePath(path, &parsed, &error);
  return error;
}

std::string Registry::ValueNameError(std::string_view name) {
  if (name.size() > kMaxValueNameLength) {
    return "value name longer than " + std::to_string(kMaxValueNameLength) + " characters";
  }
  // A registry file has no way to write these in a name.
  for (char c : name) {
    if (c == '\0' || c == '\r' || c == '\n') return "value name holds a NUL or line break";
  }
  return {};
}

bool Registry::IsRootKeyPath(std::string_view path) const {
  KeyPath parsed;
  std::string error;
  return ParsePath(path, &parsed, &error) && parsed.rootOnly;
}

Registry::FoldedPath Registry::Fold(const KeyPath& path) {
  FoldedPath folded;
  folded.root = path.root;
  folded.names.reserve(path.names.size());
  for (const std::string& name : path.names) folded.names.push_back(FoldRegistryName(name));
  return folded;
}

RegistryKey* Registry::Walk(const FoldedPath& path) {
  RegistryKey* key = &roots_[path.root];
  for (const std::u16string& name : path.names) {
    key = key->FindSubkey(name);
    if (!key) return nullptr;
  }
  return key;
}

const RegistryKey* Registry::Walk(const FoldedPath& path) const {
  return const_cast<Registry*>(this)->Walk(path);
}

RegistryKey& Registry::CreatePath(const KeyPath& path) {
  RegistryKey* key = &roots_[path.root];
  for (const std::string& name : path.names) {
    RegistryKey& sub = key->AddSubkey(name, nextKeyId_);
    if (sub.id() == nextKeyId_) ++nextKeyId_;
    key = &sub;
  }
  return *key;
}

void Registry::RemoveKey(const FoldedPath& path) {
  FoldedPath parent = path;
  parent.names.pop_back();
  if (RegistryKey* key = Walk(parent)) key->subkeys_.Erase(path.names.back());
}

bool Registry::CreateKey(std::string_view path) {
  KeyPath parsed;
  std::string error;
  if (!ParsePath(path, &parsed, &error)) return false;
  CreatePath(parsed);
  return true;
}

bool Registry::DeleteKey(std::string_view path) {
  KeyPath parsed;
  std::string error;
  if (!ParsePath(path, &parsed, &error) || parsed.rootOnly) return false;
  const FoldedPath folded = Fold(parsed);
  if (!Walk(folded)) return false;
  RemoveKey(folded);
  return true;
}

bool Registry::SetValue(std::string_view keyPath, std::string_view name, DWORD type,
                        std::string_view data) {
  KeyPath parsed;
  std::string error;
  if (!ParsePath(keyPath, &parsed, &error) || !ValueNameError(name).empty()) return false;
  CreatePath(parsed).SetValue(name, type, data);
  return true;
}

bool Registry::DeleteValue(std::string_view keyPath, std::string_view name) {
  KeyPath parsed;
  std::string error;
  if (!ParsePath(keyPath, &parsed, &error)) return false;
  RegistryKey* key = Walk(Fold(parsed));
  return key && key->RemoveValue(name);
}

const RegistryKey* Registry::FindKey(std::string_view path) const {
  KeyPath parsed;
  std::string error;
  if (!ParsePath(path, &parsed, &error)) return nullptr;
  return Walk(Fold(parsed));
}

std::optional<RegistryValue> Registry::GetValue(std::string_view keyPath,
                                                std::string_view name) const {
  const RegistryKey* key = FindKey(keyPath);
  if (!key) return std::nullopt;
  const RegistryValue* value = key->FindValue(name);
  if (!value) return std::nullopt;
  return *value;
}

namespace {

void VisitTree(std::string& path, const RegistryKey& key,
               const std::function<void(const std::string&, const RegistryKey&)>& visit) {
  visit(path, key);
  const std::size_t length = path.size();
  for (std::size_t i = 0; i < key.SubkeyCount(); ++i) {
    const RegistryKey& sub = key.Subkey(i);
    path += '\\';
    path += sub.name();
    VisitTree(path, sub, visit);
    path.resize(length);
  }
}

}  // namespace

void Registry::ForEachKey(
    const std::function<void(const std::string& path, const RegistryKey& key)>& visit) const {
  for (const RegistryKey& root : roots_) {
    std::string path = root.name();
    VisitTree(path, root, visit);
  }
}

bool Registry::SameContent(const Registry& other) const {
  return roots_[kLocalMachine].SameContent(other.roots_[kLocalMachine]) &&
         roots_[kUsers].SameContent(other.roots_[kUsers]);
}

bool Registry::InjectFault(std::string_view keyPath, RegistryFault fault) {
  KeyPath parsed;
  std::string error;
  if (!ParsePath(keyPath, &parsed, &error)) return false;
  faults_.push_back(Fault{Fold(parsed), fault});
  return true;
}

bool Registry::HasFault(const FoldedPath& path, RegistryFault fault) const {
  for (const Fault& f : faults_) {
    if (f.fault == fault && f.path == path) return true;
  }
  return false;
}

bool Registry::DeleteBlocked(const FoldedPath& path) const {
  for (const Fault& f : faults_) {
    if (f.fault != RegistryFault::CannotDelete || f.path.root != path.root ||
        f.path.names.size() < path.names.size()) {
      continue;
    }
    bool inside = true;
    for (std::size_t i = 0; i < path.names.size() && inside; ++i) {
      inside = f.path.names[i] == path.names[i];
    }
    if (inside) return true;
  }
  return false;
}

}  // namespace kx::sim
