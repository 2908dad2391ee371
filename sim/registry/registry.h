// The simulated PC's registry.
//
// Two real roots, HKEY_LOCAL_MACHINE and HKEY_USERS. HKEY_CURRENT_USER is a
// view of HKEY_USERS\<current user key> (".DEFAULT" unless set otherwise, as
// on Windows 9x without user profiles) and HKEY_CLASSES_ROOT a view of
// HKEY_LOCAL_MACHINE\Software\Classes.
//
// The Reg* operations behave as the ANSI Win32 calls of the same name: the
// same results, error codes and buffer rules, with a handle table of their
// own. Lookups ignore case and keep the stored case; subkeys enumerate in
// case-insensitive alphabetical order, values in the order they were first
// set. Windows 9x semantics by default (RegDeleteKeyA removes a whole subtree,
// access masks are not checked); SetNtBehaviour(true) gives those of Windows
// NT.
//
// Registry has value semantics: a copy is an independent snapshot (handles
// and injected faults included), which is how before/after comparisons are
// made.
//
// Besides the Win32 calls there is a path interface for building, inspecting
// and comparing registries: paths like "HKEY_LOCAL_MACHINE\Software\X", root
// names written out or abbreviated (HKLM, HKU, HKCU, HKCR). It does not see
// handles, access masks or injected faults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/types.h"
#include "sim/registry/registry_key.h"

namespace kx::sim {

// Failures a test can make a key produce, all as kErrorAccessDenied:
// CannotOpen: RegOpenKeyExA of exactly that key.
// CannotWrite: RegSetValueExA and RegDeleteValueA on that key.
// CannotDelete: RegDeleteKeyA of that key or of a key whose subtree holds it
//   (nothing is deleted).
enum class RegistryFault { CannotOpen, CannotWrite, CannotDelete };

class Registry {
 public:
  // Limits Windows documents: characters of one key name, levels of keys
  // below a root, characters of a value name.
  static constexpr std::size_t kMaxKeyNameLength = 255;
  static constexpr std::size_t kMaxKeyDepth = 512;
  static constexpr std::size_t kMaxValueNameLength = 16383;

  Registry();

  void SetNtBehaviour(bool nt) { nt_ = nt; }
  bool NtBehaviour() const { return nt_; }

  // The key under HKEY_USERS that HKEY_CURRENT_USER shows. False (and nothing
  // changed) when the text cannot be a key name.
  bool SetCurrentUserKey(std::string nameUnderHkeyUsers);
  const std::string& CurrentUserKey() const { return currentUser_; }

  // ---- The Win32 operations. They take the predefined kHkey* handles and
  // the handles RegOpenKeyExA hands out. ----
  LONG RegOpenKeyExA(HKey key, const char* subKey, DWORD options, DWORD access, HKey* result);
  LONG RegQueryValueExA(HKey key, const char* valueName, DWORD* type, BYTE* data, DWORD* dataSize);
  LONG RegSetValueExA(HKey key, const char* valueName, DWORD type, const BYTE* data,
                      DWORD dataSize);
  LONG RegEnumKeyExA(HKey key, DWORD index, char* name, DWORD* nameSize);
  LONG RegEnumValueA(HKey key, DWORD index, char* name, DWORD* nameSize, DWORD* type, BYTE* data,
                     DWORD* dataSize);
  LONG RegDeleteKeyA(HKey key, const char* subKey);
  LONG RegDeleteValueA(HKey key, const char* valueName);
  LONG RegCloseKey(HKey key);

  // Handles opened and not yet closed.
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // ---- Building and inspection by full path. An empty value name is the
  // key's default value. ----
  // Creates the key and any missing parent. False for an invalid path.
  bool CreateKey(std::string_view path);
  // Deletes the key with its subtree. False when the path is invalid, names a
  // root (or the key a view shows) or no key.
  bool DeleteKey(std::string_view path);
  // Sets the value, creating the key as needed. False for an invalid path or
  // value name.
  bool SetValue(std::string_view keyPath, std::string_view name, DWORD type, std::string_view data);
  // False when there is no such value.
  bool DeleteValue(std::string_view keyPath, std::string_view name);
  bool KeyExists(std::string_view path) const { return FindKey(path) != nullptr; }
  std::optional<RegistryValue> GetValue(std::string_view keyPath, std::string_view name) const;
  const RegistryKey* FindKey(std::string_view path) const;

  // Why a path or value name is not valid, or "" when it is.
  std::string KeyPathError(std::string_view path) const;
  static std::string ValueNameError(std::string_view name);
  // A root name alone, real ("HKEY_USERS") or a view ("HKEY_CURRENT_USER").
  bool IsRootKeyPath(std::string_view path) const;

  // The real roots; their names are "HKEY_LOCAL_MACHINE" and "HKEY_USERS".
  const RegistryKey& LocalMachine() const { return roots_[kLocalMachine]; }
  const RegistryKey& Users() const { return roots_[kUsers]; }

  // Visits every key, the roots included, parents before their subkeys and
  // subkeys in enumeration order, with its full path.
  void ForEachKey(
      const std::function<void(const std::string& path, const RegistryKey& key)>& visit) const;

  // The same keys and values, names in the same case, in the same order.
  bool SameContent(const Registry& other) const;

  // ---- Fault injection for tests. The path is resolved when the fault is
  // injected; the fault applies to any key that later has that path. ----
  // False for an invalid path.
  bool InjectFault(std::string_view keyPath, RegistryFault fault);
  void ClearFaults() { faults_.clear(); }

 private:
  static constexpr int kLocalMachine = 0;
  static constexpr int kUsers = 1;

  // A key named by a real root and the names below it (as written).
  struct KeyPath {
    int root = kLocalMachine;
    std::vector<std::string> names;
    bool rootOnly = false;  // the path was a root name alone, real or view
  };
  // A key named by a real root and the folded names below it.
  struct FoldedPath {
    int root = kLocalMachine;
    std::vector<std::u16string> names;
    bool operator==(const FoldedPath&) const = default;
  };
  struct OpenKey {
    FoldedPath path;
    std::uint64_t id = 0;
    DWORD access = 0;
  };
  struct Fault {
    FoldedPath path;
    RegistryFault fault;
  };
  // What a handle refers to, found by ResolveHandle.
  struct Target {
    RegistryKey* key = nullptr;
    FoldedPath path;
    bool predefined = false;
  };
  enum class Use { Read, Write };

  bool ParsePath(std::string_view path, KeyPath* out, std::string* error) const;
  static FoldedPath Fold(const KeyPath& path);
  RegistryKey* Walk(const FoldedPath& path);
  const RegistryKey* Walk(const FoldedPath& path) const;
  RegistryKey& CreatePath(const KeyPath& path);

  LONG ResolveHandle(HKey key, Use use, DWORD requiredAccess, Target* out);
  LONG ParseSubKey(const char* subKey, std::vector<std::u16string>* names) const;
  HKey NewHandle(OpenKey open);
  bool HasFault(const FoldedPath& path, RegistryFault fault) const;
  bool DeleteBlocked(const FoldedPath& path) const;
  void RemoveKey(const FoldedPath& path);

  bool nt_ = false;
  std::string currentUser_ = ".DEFAULT";
  RegistryKey roots_[2];
  std::uint64_t nextKeyId_ = 3;
  std::unordered_map<std::uintptr_t, OpenKey> handles_;
  std::uintptr_t nextHandle_ = 0x1000;
  std::vector<Fault> faults_;
};

}  // namespace kx::sim
