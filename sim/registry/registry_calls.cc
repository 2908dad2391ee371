// The registry's Win32 operations: handles, access masks and the results and
// buffer rules of the ANSI calls.
#include <cstring>

#include "sim/registry/ansi_code_page.h"
#include "sim/registry/registry.h"

namespace kx::sim {
namespace {

// Generic rights and MAXIMUM_ALLOWED, as Windows maps them for keys.
constexpr DWORD kGenericRead = 0x80000000u;
constexpr DWORD kGenericWrite = 0x40000000u;
constexpr DWORD kGenericExecute = 0x20000000u;
constexpr DWORD kGenericAll = 0x10000000u;
constexpr DWORD kMaximumAllowed = 0x02000000u;

DWORD MapAccess(DWORD access) {
  DWORD mapped =
      access & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll | kMaximumAllowed);
  if (access & (kGenericRead | kGenericExecute)) mapped |= kKeyRead;
  if (access & kGenericWrite) mapped |= kKeyWrite;
  if (access & (kGenericAll | kMaximumAllowed)) mapped |= kKeyAllAccess;
  return mapped;
}

std::uintptr_t HandleValue(HKey key) { return reinterpret_cast<std::uintptr_t>(key); }

bool IsPredefined(HKey key) {
  return key == kHkeyLocalMachine || key == kHkeyUsers || key == kHkeyCurrentUser ||
         key == kHkeyClassesRoot;
}

}  // namespace

LONG Registry::ResolveHandle(HKey key, Use use, DWORD requiredAccess, Target* out) {
  Target target;
  target.predefined = IsPredefined(key);
  if (target.predefined) {
    // The views show a key of a real root. Windows always has it; when a
    // machine image lacks it, reads find nothing and the first write
    // creates it.
    KeyPath path;
    if (key == kHkeyLocalMachine || key == kHkeyClassesRoot) {
      path.root = kLocalMachine;
      if (key == kHkeyClassesRoot) path.names = {"Software", "Classes"};
    } else {
      path.root = kUsers;
      if (key == kHkeyCurrentUser) path.names = {currentUser_};
    }
    target.path = Fold(path);
    target.key = use == Use::Write ? &CreatePath(path) : Walk(target.path);
    if (!target.key) return kErrorFileNotFound;
    *out = std::move(target);
    return kErrorSuccess;
  }

  const auto found = handles_.find(HandleValue(key));
  if (found == handles_.end()) return kErrorInvalidHandle;
  const OpenKey& open = found->second;
  if (nt_ && (open.access & requiredAccess) != requiredAccess) return kErrorAccessDenied;
  target.path = open.path;
  target.key = Walk(target.path);
  if (!target.key || target.key->id() != open.id) return kErrorKeyDeleted;
  *out = std::move(target);
  return kErrorSuccess;
}

// Splits a subkey path relative to a handle. Trailing backslashes are
// ignored; a leading backslash or an empty name inside the path names no key
// (Windows NT calls it a bad path name).
LONG Registry::ParseSubKey(const char* subKey, std::vector<std::u16string>* names) const {
  names->clear();
  std::string_view rest = subKey ? subKey : "";
  while (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
  if (rest.empty()) return kErrorSuccess;
  const LONG badPath = nt_ ? kErrorBadPathname : kErrorFileNotFound;
  for (;;) {
    const std::size_t next = rest.find('\\');
    const std::string_view name = rest.substr(0, next);
    if (name.empty()) return badPath;
    if (name.size() > kMaxKeyNameLength) return kErrorFileNotFound;
    names->push_back(FoldRegistryName(name));
    if (next == std::string_view::npos) return kErrorSuccess;
    rest.remove_prefix(next + 1);
  }
}

HKey Registry::NewHandle(OpenKey open) {
  // Handle values look like Windows' (multiples of four) and stay clear of
  // the predefined keys' values.
  if (nextHandle_ >= 0x80000000u && nextHandle_ < 0x80000100u) nextHandle_ = 0x80000100u;
  const std::uintptr_t value = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(value, std::move(open));
  return reinterpret_cast<HKey>(value);
}

LONG Registry::RegOpenKeyExA(HKey key, const char* subKey, DWORD /*options*/, DWORD access,
                             HKey* result) {
  if (!result) return kErrorInvalidParameter;
  Target target;
  LONG error = ResolveHandle(key, Use::Read, 0, &target);
  if (error == kErrorInvalidHandle) return error;  // *result stays as it was
  *result = nullptr;
  if (error != kErrorSuccess) return error;
  std::vector<std::u16string> names;
  error = ParseSubKey(subKey, &names);
  if (error != kErrorSuccess) return error;
  RegistryKey* found = target.key;
  for (const std::u16string& name : names) {
    found = found->FindSubkey(name);
    if (!found) return kErrorFileNotFound;
    target.path.names.push_back(name);
  }
  if (HasFault(target.path, RegistryFault::CannotOpen)) return kErrorAccessDenied;
  *result = NewHandle(OpenKey{std::move(target.path), found->id(), MapAccess(access)});
  return kErrorSuccess;
}

LONG Registry::RegQueryValueExA(HKey key, const char* valueName, DWORD* type, BYTE* data,
                                DWORD* dataSize) {
  if (data && !dataSize) return kErrorInvalidParameter;
  Target target;
  const LONG error = ResolveHandle(key, Use::Read, kKeyQueryValue, &target);
  if (error != kErrorSuccess) return error;
  const RegistryValue* value = target.key->FindValue(valueName ? valueName : "");
  if (!value) {
    if (dataSize && !data) *dataSize = 0;
    return kErrorFileNotFound;
  }
  if (type) *type = value->type;
  if (!dataSize) return kErrorSuccess;
  const auto size = static_cast<DWORD>(value->data.size());
  if (data && *dataSize < size) {
    *dataSize = size;
    return kErrorMoreData;
  }
  if (data && size > 0) std::memcpy(data, value->data.data(), size);
  *dataSize = size;
  return kErrorSuccess;
}

LONG Registry::RegSetValueExA(HKey key, const char* valueName, DWORD type, const BYTE* data,
                              DWORD dataSize) {
  if (!data && dataSize > 0) return kErrorInvalidParameter;
  // Windows 9x refuses a string without any data; NT stores it empty.
  if (!nt_ && !data && type == kRegSz) return kErrorInvalidParameter;
  const std::string_view name = valueName ? valueName : "";
  if (!ValueNameError(name).empty()) return kErrorInvalidParameter;
  Target target;
  const LONG error = ResolveHandle(key, Use::Write, kKeySetValue, &target);
  if (error != kErrorSuccess) return error;
  if (HasFault(target.path, RegistryFault::CannotWrite)) return kErrorAccessDenied;
  const std::string_view bytes =
      data ? std::string_view(reinterpret_cast<const char*>(data), dataSize) : std::string_view();
  target.key->SetValue(name, type, bytes);
  return kErrorSuccess;
}

LONG Registry::RegEnumKeyExA(HKey key, DWORD index, char* name, DWORD* nameSize) {
  if (!name || !nameSize) return kErrorInvalidParameter;
  Target target;
  const LONG error = ResolveHandle(key, Use::Read, kKeyEnumerateSubKeys, &target);
  if (error == kErrorFileNotFound) return kErrorNoMoreItems;  // a view showing no key
  if (error != kErrorSuccess) return error;
  if (index >= target.key->SubkeyCount()) return kErrorNoMoreItems;
  const std::string& subName = target.key->Subkey(index).name();
  if (subName.size() >= *nameSize) return kErrorMoreData;
  std::memcpy(name, subName.c_str(), subName.size() + 1);
  *nameSize = static_cast<DWORD>(subName.size());
  return kErrorSuccess;
}

LONG Registry::RegEnumValueA(HKey key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                             BYTE* data, DWORD* dataSize) {
  if (!name || !nameSize || (data && !dataSize)) return kErrorInvalidParameter;
  Target target;
  const LONG error = ResolveHandle(key, Use::Read, kKeyQueryValue, &target);
  if (error == kErrorFileNotFound) return kErrorNoMoreItems;
  if (error != kErrorSuccess) return error;
  if (index >= target.key->ValueCount()) return kErrorNoMoreItems;
  const RegistryValue& value = target.key->ValueAt(index);
  const auto size = static_cast<DWORD>(value.data.size());
  if (type) *type = value.type;
  // When the name or the data does not fit, only the type and the size of
  // the data are returned; the name, its size and the data stay untouched.
  if (value.name.size() >= *nameSize || (data && *dataSize < size)) {
    if (dataSize) *dataSize = size;
    return kErrorMoreData;
  }
  std::memcpy(name, value.name.c_str(), value.name.size() + 1);
  *nameSize = static_cast<DWORD>(value.name.size());
  if (data && size > 0) std::memcpy(data, value.data.data(), size);
  if (dataSize) *dataSize = size;
  return kErrorSuccess;
}

LONG Registry::RegDeleteKeyA(HKey key, const char* subKey) {
  if (!subKey) return kErrorInvalidParameter;
  Target target;
  LONG error = ResolveHandle(key, Use::Read, 0, &target);
  if (error != kErrorSuccess) return error;
  std::vector<std::u16string> names;
  error = ParseSubKey(subKey, &names);
  if (error != kErrorSuccess) return error;
  RegistryKey* victim = target.key;
  for (const std::u16string& name : names) {
    victim = victim->FindSubkey(name);
    if (!victim) return kErrorFileNotFound;
    target.path.names.push_back(name);
  }
  // The roots, and the keys the predefined handles show, cannot be deleted.
  if (target.path.names.empty() || (target.predefined && names.empty())) {
    return kErrorAccessDenied;
  }
  if (nt_ && victim->SubkeyCount() > 0) return kErrorAccessDenied;
  if (DeleteBlocked(target.path)) return kErrorAccessDenied;
  RemoveKey(target.path);
  return kErrorSuccess;
}

LONG Registry::RegDeleteValueA(HKey key, const char* valueName) {
  Target target;
  const LONG error = ResolveHandle(key, Use::Read, kKeySetValue, &target);
  if (error != kErrorSuccess) return error;
  if (HasFault(target.path, RegistryFault::CannotWrite)) return kErrorAccessDenied;
  return target.key->RemoveValue(valueName ? valueName : "") ? kErrorSuccess : kErrorFileNotFound;
}

LONG Registry::RegCloseKey(HKey key) {
  if (IsPredefined(key)) return kErrorSuccess;
  return handles_.erase(HandleValue(key)) ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace kx::sim
