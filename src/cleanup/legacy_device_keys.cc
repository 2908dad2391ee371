#include "cleanup/legacy_device_keys.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace kx {
namespace {

// Under HKEY_LOCAL_MACHINE.
constexpr char kMediaClassKey[] = "System\\CurrentControlSet\\services\\Class\\MEDIA";
constexpr char kMediaResourcesKey[] = "System\\CurrentControlSet\\control\\MediaResources\\";
constexpr const char* kMediaResourceTypes[] = {"aux", "joystick", "midi", "mixer", "wave"};

// A MEDIA instance is the maker's when its "ProviderName" value (name spelled
// exactly so) begins with the maker's name in any case.
constexpr char kProviderValueName[] = "ProviderName";
constexpr std::string_view kMakerName = "KESTRIX";
constexpr DWORD kMaxInstanceValues = 1000;
constexpr DWORD kProviderNameRoom = 80;

// Instance names are four digits (0000); longer names are cut to four.
constexpr std::size_t kInstanceNameLength = 4;
// MediaResources entries end in the instance number and one more character,
// as in "...<0001>".
constexpr std::size_t kMediaResourceSuffixLength = kInstanceNameLength + 1;
constexpr std::size_t kMaxMediaResourceEntries = 15;

// Room for the longest key name the registry holds (255 characters).
constexpr DWORD kKeyNameRoom = 256;

// The card's device keys: every subkey whose name starts with the prefix
// (compared with case) is deleted.
struct DeviceKeyWalk {
  const char* parentKey;
  std::string_view namePrefix;
};
constexpr DeviceKeyWalk kDeviceKeyWalks[] = {
    {"Enum\\PCI", "VEN_1A9C&DEV_01"},
    {"Enum\\KXI", "CHILD"},
};

constexpr const char* kVirtualDeviceKeys[] = {
    "Enum\\VIRTUAL\\SSC-SWMIDI", "Enum\\VIRTUAL\\SSC-DOSEMU", "Enum\\VIRTUAL\\SSC-LEGACY",
    "Enum\\VIRTUAL\\SSC-SBEMU",  "Enum\\VIRTUAL\\SSC-JOYSTK",
};

// The old driver's 3D-audio and ASIO registrations, removed once a device
// key of the card was found.
struct RegistrationKey {
  HKey root;
  const char* path;
};
const RegistrationKey kOldDriverRegistrations[] = {
    {kHkeyClassesRoot, "Space3D"},
    {kHkeyClassesRoot, "CLSID\\{D8F1EEE0-F634-11CF-8700-00A0245D918B}"},
    {kHkeyLocalMachine, "SOFTWARE\\ASIO"},
    {kHkeyClassesRoot, "CLSID\\{6A04F3B2-E7C9-4b81-9D35-1C8E52A07F66}"},
};

enum class KeyDeletion { kAbsent, kDeleted, kFailed };

// Reads the name of subkey `index` of key. kErrorMoreData means a name that
// does not fit; callers step over it rather than end their walk on it.
LONG SubkeyName(Platform& platform, HKey key, DWORD index, std::string* name) {
  char buffer[kKeyNameRoom] = {};
  DWORD size = kKeyNameRoom;
  const LONG result = platform.RegEnumKeyExA(key, index, buffer, &size);
  if (result == kErrorSuccess) name->assign(buffer, strnlen(buffer, kKeyNameRoom - 1));
  return result;
}

// Deletes root\path if it opens with `access`, which proves that it exists.
KeyDeletion DeleteKeyIfPresent(Platform& platform, HKey root, const std::string& path,
                               DWORD access) {
  HKey key = nullptr;
  if (platform.RegOpenKeyExA(root, path.c_str(), 0, access, &key) != kErrorSuccess) {
    return KeyDeletion::kAbsent;
  }
  platform.RegCloseKey(key);
  return platform.RegDeleteKeyA(root, path.c_str()) == kErrorSuccess ? KeyDeletion::kDeleted
                                                                     : KeyDeletion::kFailed;
}

// The names of the MEDIA class instances, cut to four characters. The list is
// complete before anything is deleted, so the deletions cannot shift it. It
// grows with the class: every instance is examined, however many there are.
std::vector<std::string> ListMediaInstances(Platform& platform) {
  std::vector<std::string> instances;
  HKey media = nullptr;
  if (platform.RegOpenKeyExA(kHkeyLocalMachine, kMediaClassKey, 0, kKeyEnumerateSubKeys, &media) !=
      kErrorSuccess) {
    return instances;
  }
  for (DWORD index = 0;; ++index) {
    std::string name;
    const LONG result = SubkeyName(platform, media, index, &name);
    if (result == kErrorMoreData) continue;
    if (result != kErrorSuccess) break;
    instances.push_back(name.substr(0, kInstanceNameLength));
  }
  platform.RegCloseKey(media);
  return instances;
}

// Whether the open instance key has a "ProviderName" whose first seven
// characters are the maker's name. Only the value names are enumerated; the
// data is read by name, whatever its length, so that a long value elsewhere in
// the key cannot end the search early.
bool ProviderIsMaker(Platform& platform, HKey instance) {
  for (DWORD index = 0; index < kMaxInstanceValues; ++index) {
    char name[kKeyNameRoom] = {};
    DWORD nameSize = kKeyNameRoom;
    const LONG result =
        platform.RegEnumValueA(instance, index, name, &nameSize, nullptr, nullptr, nullptr);
    if (result == kErrorMoreData) continue;  // a name too long to be ProviderName
    if (result != kErrorSuccess) return false;
    if (std::strcmp(name, kProviderValueName) != 0) continue;

    std::vector<BYTE> data(kProviderNameRoom);
    DWORD type = 0;
    DWORD dataSize = kProviderNameRoom;
    LONG read = platform.RegQueryValueExA(instance, name, &type, data.data(), &dataSize);
    if (read == kErrorMoreData && dataSize > data.size()) {
      data.resize(dataSize);
      read = platform.RegQueryValueExA(instance, name, &type, data.data(), &dataSize);
    }
    if (read != kErrorSuccess) continue;
    const std::string_view text(reinterpret_cast<const char*>(data.data()),
                                strnlen(reinterpret_cast<const char*>(data.data()),
                                        dataSize < data.size() ? dataSize : data.size()));
    if (EqualsIgnoreCase(text.substr(0, kMakerName.size()), kMakerName)) return true;
  }
  return false;
}

// Step 1 for one instance: a maker's instance goes, with its entries under
// each MediaResources type.
void PurgeMediaInstance(Platform& platform, const std::string& instanceName) {
  const std::string path = std::string(kMediaClassKey) + "\\" + instanceName;
  HKey instance = nullptr;
  if (platform.RegOpenKeyExA(kHkeyLocalMachine, path.c_str(), 0, kKeyRead, &instance) !=
      kErrorSuccess) {
    return;
  }
  const bool matched = ProviderIsMaker(platform, instance);
  if (matched) platform.RegDeleteKeyA(kHkeyLocalMachine, path.c_str());
  platform.RegCloseKey(instance);
  if (!matched) return;
  for (const char* type : kMediaResourceTypes) {
    const std::string typeKey = std::string(kMediaResourcesKey) + type;
    DeleteMediaResourceEntries(platform, typeKey.c_str(), instanceName.c_str());
  }
}

void PurgeMediaInstances(Platform& platform) {
  for (const std::string& instance : ListMediaInstances(platform)) {
    PurgeMediaInstance(platform, instance);
  }
}

// Steps 2 and 3: deletes every subkey of the walk's key that starts with its
// prefix. After each deletion the walk starts again at index 0, since the
// deletion shifts the indexes of the keys after it. A matching key that does
// not open ends the walk.
KeyDeletion PurgeDeviceKeys(Platform& platform, const DeviceKeyWalk& walk) {
  KeyDeletion outcome = KeyDeletion::kAbsent;
  HKey parent = nullptr;
  if (platform.RegOpenKeyExA(kHkeyLocalMachine, walk.parentKey, 0, kKeyEnumerateSubKeys, &parent) !=
      kErrorSuccess) {
    return outcome;
  }
  for (DWORD index = 0;;) {
    std::string name;
    const LONG result = SubkeyName(platform, parent, index, &name);
    if (result == kErrorMoreData ||
        (result == kErrorSuccess && !StartsWith(name, walk.namePrefix))) {
      ++index;
      continue;
    }
    if (result != kErrorSuccess) break;

    platform.RegCloseKey(parent);
    const std::string path = std::string(walk.parentKey) + "\\" + name;
    switch (DeleteKeyIfPresent(platform, kHkeyLocalMachine, path, kKeyRead)) {
      case KeyDeletion::kAbsent:
        return outcome;
      case KeyDeletion::kFailed:
        return KeyDeletion::kFailed;
      case KeyDeletion::kDeleted:
        outcome = KeyDeletion::kDeleted;
        break;
    }
    if (platform.RegOpenKeyExA(kHkeyLocalMachine, walk.parentKey, 0, kKeyEnumerateSubKeys,
                               &parent) != kErrorSuccess) {
      return outcome;
    }
    index = 0;
  }
  platform.RegCloseKey(parent);
  return outcome;
}

// Step 4: each virtual device of the card that is present goes.
KeyDeletion PurgeVirtualDevices(Platform& platform) {
  KeyDeletion outcome = KeyDeletion::kAbsent;
  for (const char* path : kVirtualDeviceKeys) {
    switch (DeleteKeyIfPresent(platform, kHkeyLocalMachine, path, kKeyRead)) {
      case KeyDeletion::kAbsent:
        break;
      case KeyDeletion::kFailed:
        return KeyDeletion::kFailed;
      case KeyDeletion::kDeleted:
        outcome = KeyDeletion::kDeleted;
        break;
    }
  }
  return outcome;
}

// Step 6: failures are ignored.
void PurgeOldDriverRegistrations(Platform& platform) {
  for (const RegistrationKey& registration : kOldDriverRegistrations) {
    DeleteKeyIfPresent(platform, registration.root, registration.path, kKeyWrite);
  }
}

}  // namespace

void DeleteMediaResourceEntries(Platform& platform, const char* typeKeyPath,
                                const char* instanceName) {
  if (typeKeyPath == nullptr || instanceName == nullptr) return;
  HKey typeKey = nullptr;
  if (platform.RegOpenKeyExA(kHkeyLocalMachine, typeKeyPath, 0, kKeyRead, &typeKey) !=
      kErrorSuccess) {
    return;
  }
  // The list is complete before anything is deleted.
  std::vector<std::string> entries;
  for (DWORD index = 0;; ++index) {
    std::string name;
    const LONG result = SubkeyName(platform, typeKey, index, &name);
    if (result == kErrorMoreData) continue;
    if (result != kErrorSuccess) break;
    if (name.size() < kMediaResourceSuffixLength) continue;
    const std::string_view number = std::string_view(name).substr(
        name.size() - kMediaResourceSuffixLength, kInstanceNameLength);
    if (EqualsIgnoreCase(number, instanceName) && entries.size() < kMaxMediaResourceEntries) {
      entries.push_back(name);
    }
  }
  platform.RegCloseKey(typeKey);
  for (const std::string& name : entries) {
    DeleteKeyIfPresent(platform, kHkeyLocalMachine, std::string(typeKeyPath) + "\\" + name,
                       kKeyRead);
  }
}

int PurgeLegacyDeviceKeys(Platform& platform) {
  PurgeMediaInstances(platform);

  bool found = false;
  for (const DeviceKeyWalk& walk : kDeviceKeyWalks) {
    const KeyDeletion outcome = PurgeDeviceKeys(platform, walk);
    if (outcome == KeyDeletion::kFailed) return kPurgeDeviceKeyStuck;
    if (outcome == KeyDeletion::kDeleted) found = true;
  }
  const KeyDeletion virtualOutcome = PurgeVirtualDevices(platform);
  if (virtualOutcome == KeyDeletion::kFailed) return kPurgeVirtualKeyStuck;
  if (virtualOutcome == KeyDeletion::kDeleted) found = true;

  if (!found) return kPurgeNoDeviceKeys;
  PurgeOldDriverRegistrations(platform);
  return kPurgeDeviceKeysDeleted;
}

}  // namespace kx
