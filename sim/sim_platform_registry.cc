// The simulated platform's registry calls: the registry does the work; this
// keeps the path of every open key so that the transcript can name what
// changed.
#include "platform/text.h"
#include "sim/run/change_text.h"
#include "sim/sim_platform.h"

namespace kx::sim {
namespace {

std::string RootName(HKey key) {
  if (key == kHkeyLocalMachine) return "HKEY_LOCAL_MACHINE";
  if (key == kHkeyCurrentUser) return "HKEY_CURRENT_USER";
  if (key == kHkeyUsers) return "HKEY_USERS";
  if (key == kHkeyClassesRoot) return "HKEY_CLASSES_ROOT";
  return {};
}

std::string ValueShown(const char* name) {
  return name == nullptr || *name == '\0' ? "@" : "\"" + std::string(name) + "\"";
}

}  // namespace

std::string SimPlatform::KeyName(HKey key, const char* subKey) {
  std::string path = RootName(key);
  if (path.empty()) {
    const auto it = keyPaths_.find(key);
    path = it == keyPaths_.end() ? "(unknown key)" : it->second;
  }
  if (subKey != nullptr && *subKey != '\0') path += "\\" + std::string(subKey);
  return path;
}

LONG SimPlatform::RegOpenKeyExA(HKey key, const char* subKey, DWORD options, DWORD access,
                                HKey* result) {
  Call();
  const LONG status = machine_.registry.RegOpenKeyExA(key, subKey, options, access, result);
  if (status == kErrorSuccess && result != nullptr) keyPaths_[*result] = KeyName(key, subKey);
  return status;
}

LONG SimPlatform::RegQueryValueExA(HKey key, const char* valueName, DWORD* type, BYTE* data,
                                   DWORD* dataSize) {
  Call();
  return machine_.registry.RegQueryValueExA(key, valueName, type, data, dataSize);
}

LONG SimPlatform::RegSetValueExA(HKey key, const char* valueName, DWORD type, const BYTE* data,
                                 DWORD dataSize) {
  Call();
  const LONG status = machine_.registry.RegSetValueExA(key, valueName, type, data, dataSize);
  std::string what = "RegSetValueExA " + KeyName(key, nullptr) + " " + ValueShown(valueName);
  if (status == kErrorSuccess) {
    const std::string bytes =
        data ? std::string(reinterpret_cast<const char*>(data), dataSize) : "";
    Note(what + "=" + FormatValueForPeople(type, bytes));
  } else {
    Note(what + ": failed, error " + std::to_string(status));
  }
  return status;
}

LONG SimPlatform::RegEnumKeyExA(HKey key, DWORD index, char* name, DWORD* nameSize) {
  Call();
  return machine_.registry.RegEnumKeyExA(key, index, name, nameSize);
}

LONG SimPlatform::RegEnumValueA(HKey key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                                BYTE* data, DWORD* dataSize) {
  Call();
  return machine_.registry.RegEnumValueA(key, index, name, nameSize, type, data, dataSize);
}

LONG SimPlatform::RegDeleteKeyA(HKey key, const char* subKey) {
  Call();
  const LONG status = machine_.registry.RegDeleteKeyA(key, subKey);
  const std::string what = "RegDeleteKeyA " + KeyName(key, subKey);
  if (status == kErrorSuccess) {
    Note(what);
  } else if (status != kErrorFileNotFound) {
    Note(what + ": failed, error " + std::to_string(status));
  }
  return status;
}

LONG SimPlatform::RegDeleteValueA(HKey key, const char* valueName) {
  Call();
  const LONG status = machine_.registry.RegDeleteValueA(key, valueName);
  const std::string what = "RegDeleteValueA " + KeyName(key, nullptr) + " " + ValueShown(valueName);
  if (status == kErrorSuccess) {
    Note(what);
  } else if (status != kErrorFileNotFound) {
    Note(what + ": failed, error " + std::to_string(status));
  }
  return status;
}

LONG SimPlatform::RegCloseKey(HKey key) {
  Call();
  const LONG status = machine_.registry.RegCloseKey(key);
  if (status == kErrorSuccess) keyPaths_.erase(key);
  return status;
}

}  // namespace kx::sim
