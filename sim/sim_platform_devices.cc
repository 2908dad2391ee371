// The simulated platform's device installation: device information sets over
// the present devices, device removal, the configuration manager, the
// installation source list and OEM INF registration.
#include <algorithm>
#include <cstring>

#include "platform/text.h"
#include "sim/sim_constants.h"
#include "sim/sim_platform.h"

namespace kx::sim {

namespace {

// A device's node number: stable for the run, derived from its instance id.
DevInst DevNodeOf(const std::string& instanceId) {
  DWORD hash = 2166136261u;
  for (char c : instanceId) hash = (hash ^ static_cast<unsigned char>(AsciiUpper(c))) * 16777619u;
  return 0x100 + (hash & 0xFFFFF);
}

std::string MultiString(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += t + '\0';
  return out + '\0';
}

}  // namespace

SimPlatform::DeviceSet* SimPlatform::FindSet(HDevInfo set) {
  const auto it = deviceSets_.find(reinterpret_cast<std::uintptr_t>(set));
  return it == deviceSets_.end() ? nullptr : it->second.get();
}

HDevInfo SimPlatform::SetupDiGetClassDevsA(const Guid* classGuid, const char* enumerator,
                                           HWnd /*parent*/, DWORD flags) {
  Call();
  if (classGuid == nullptr && !(flags & kDigcfAllClasses)) {
    lastError_ = kErrorInvalidParameter;
    return kInvalidDevInfo;
  }
  auto set = std::make_unique<DeviceSet>();
  // Device classes are not modelled: a set of one class is empty.
  if (classGuid == nullptr || (flags & kDigcfAllClasses)) {
    for (const Device& d : machine_.devices) {
      if (enumerator != nullptr && *enumerator != '\0' &&
          !StartsWithIgnoreCase(d.instanceId, std::string(enumerator) + "\\")) {
        continue;
      }
      set->devices.push_back(d);
    }
  }
  const std::uintptr_t handle = 0x40000 + 4 * nextDeviceSet_++;
  deviceSets_[handle] = std::move(set);
  return reinterpret_cast<HDevInfo>(handle);
}

BOOL SimPlatform::SetupDiEnumDeviceInfo(HDevInfo set, DWORD index, DevInfoData* data) {
  Call();
  DeviceSet* s = FindSet(set);
  if (s == nullptr) {
    lastError_ = kErrorInvalidHandle;
    return kFalse;
  }
  if (data == nullptr || data->cbSize != kDevInfoDataSize) {
    lastError_ = kErrorInvalidUserBuffer;
    return kFalse;
  }
  if (index >= s->devices.size()) {
    lastError_ = kErrorNoMoreItems;
    return kFalse;
  }
  data->classGuid = Guid{};
  data->devInst = DevNodeOf(s->devices[index].instanceId);
  data->reserved = index + 1;
  return kTrue;
}

BOOL SimPlatform::SetupDiGetDeviceRegistryPropertyA(HDevInfo set, DevInfoData* data, DWORD property,
                                                    DWORD* type, BYTE* buffer, DWORD size,
                                                    DWORD* requiredSize) {
  Call();
  DeviceSet* s = FindSet(set);
  if (s == nullptr) {
    lastError_ = kErrorInvalidHandle;
    return kFalse;
  }
  if (data == nullptr || data->cbSize != kDevInfoDataSize || data->reserved == 0 ||
      data->reserved > s->devices.size()) {
    lastError_ = kErrorInvalidUserBuffer;
    return kFalse;
  }
  const Device& device = s->devices[data->reserved - 1];
  if (property != kSpdrpHardwareId || device.hardwareIds.empty()) {
    lastError_ = kErrorInvalidData;
    return kFalse;
  }
  const std::string bytes = MultiString(device.hardwareIds);
  if (requiredSize != nullptr) *requiredSize = static_cast<DWORD>(bytes.size());
  if (type != nullptr) *type = kRegMultiSz;
  if (buffer == nullptr || size < bytes.size()) {
    lastError_ = kErrorInsufficientBuffer;
    return kFalse;
  }
  std::memcpy(buffer, bytes.data(), bytes.size());
  return kTrue;
}

BOOL SimPlatform::SetupDiRemoveDevice(HDevInfo set, DevInfoData* data) {
  Call();
  DeviceSet* s = FindSet(set);
  if (s == nullptr) {
    lastError_ = kErrorInvalidHandle;
    return kFalse;
  }
  if (data == nullptr || data->cbSize != kDevInfoDataSize || data->reserved == 0 ||
      data->reserved > s->devices.size()) {
    lastError_ = kErrorInvalidUserBuffer;
    return kFalse;
  }
  const std::string& id = s->devices[data->reserved - 1].instanceId;
  auto& present = machine_.devices;
  const auto it = std::find_if(present.begin(), present.end(),
                               [&](const Device& d) { return EqualsIgnoreCase(d.instanceId, id); });
  if (it == present.end()) {
    lastError_ = kErrorNoSuchDevinst;
    return kFalse;
  }
  if (it->removalFails) {
    Note("SetupDiRemoveDevice " + id + ": refused");
    lastError_ = kErrorAccessDenied;
    return kFalse;
  }
  present.erase(it);
  Note("SetupDiRemoveDevice " + id + ": device removed");
  return kTrue;
}

BOOL SimPlatform::SetupDiDestroyDeviceInfoList(HDevInfo set) {
  Call();
  if (deviceSets_.erase(reinterpret_cast<std::uintptr_t>(set)) == 0) {
    lastError_ = kErrorInvalidHandle;
    return kFalse;
  }
  return kTrue;
}

ConfigRet SimPlatform::CM_Locate_DevNodeA(DevInst* devInst, const char* deviceId, ULONG flags) {
  Call();
  ConfigManagerCall call{world_.now(), "CM_Locate_DevNodeA", deviceId ? deviceId : "", 0, flags,
                         kCrSuccess};
  if (devInst == nullptr) {
    call.result = kCrInvalidPointer;
  } else if (deviceId == nullptr || *deviceId == '\0') {
    *devInst = kRootDevNode;
    call.devInst = kRootDevNode;
  } else {
    call.result = kCrNoSuchDevnode;
    for (const Device& d : machine_.devices) {
      if (EqualsIgnoreCase(d.instanceId, deviceId)) {
        *devInst = call.devInst = DevNodeOf(d.instanceId);
        call.result = kCrSuccess;
        break;
      }
    }
  }
  cmCalls_.push_back(call);
  return call.result;
}

ConfigRet SimPlatform::CM_Reenumerate_DevNode(DevInst devInst, ULONG flags) {
  Call();
  ConfigManagerCall call{world_.now(), "CM_Reenumerate_DevNode", "", devInst,
                         flags,        kCrInvalidDevnode};
  bool known = devInst == kRootDevNode;
  for (const Device& d : machine_.devices) known = known || DevNodeOf(d.instanceId) == devInst;
  if (known) call.result = kCrSuccess;
  cmCalls_.push_back(call);
  if (!known) return call.result;
  Note(devInst == kRootDevNode ? "CM_Reenumerate_DevNode: the device tree is re-enumerated"
                               : "CM_Reenumerate_DevNode: a device node is re-enumerated");
  world_.Trigger(kReenumerateTrigger);
  return call.result;
}

BOOL SimPlatform::SetupQuerySourceListA(DWORD /*flags*/, const char*** list, UINT* count) {
  Call();
  if (list == nullptr || count == nullptr) {
    lastError_ = kErrorInvalidParameter;
    return kFalse;
  }
  auto queried = std::make_unique<QueriedList>();
  queried->entries = machine_.SourceList();
  for (const std::string& e : queried->entries) queried->pointers.push_back(e.c_str());
  queried->pointers.push_back(nullptr);
  *list = queried->pointers.data();
  *count = static_cast<UINT>(queried->entries.size());
  queriedLists_[*list] = std::move(queried);
  return kTrue;
}

BOOL SimPlatform::SetupFreeSourceListA(const char*** list, UINT /*count*/) {
  Call();
  if (list == nullptr || queriedLists_.erase(*list) == 0) {
    lastError_ = kErrorInvalidParameter;
    return kFalse;
  }
  *list = nullptr;
  return kTrue;
}

BOOL SimPlatform::SetupSetSourceListA(DWORD flags, const char** list, UINT count) {
  Call();
  if (list == nullptr && count > 0) {
    lastError_ = kErrorInvalidParameter;
    return kFalse;
  }
  std::vector<std::string> entries;
  for (UINT i = 0; i < count; ++i) {
    if (list[i] == nullptr) {
      lastError_ = kErrorInvalidParameter;
      return kFalse;
    }
    entries.push_back(list[i]);
  }
  machine_.SetSourceList(entries);
  sourceListsSet_.push_back({world_.now(), flags, entries});
  std::string shown;
  for (const std::string& e : entries) shown += (shown.empty() ? "" : ", ") + e;
  Note("SetupSetSourceListA: installation sources " + (shown.empty() ? "(none)" : shown));
  return kTrue;
}

BOOL SimPlatform::SetupCopyOEMInfA(const char* sourceInf, const char* mediaLocation,
                                   DWORD mediaType, DWORD /*copyStyle*/, char* destination,
                                   DWORD destinationSize, DWORD* requiredSize,
                                   char** destinationComponent) {
  Call();
  std::string contents;
  if (sourceInf == nullptr || !machine_.files.ReadFile(sourceInf, &contents)) {
    lastError_ = kErrorFileNotFound;
    return kFalse;
  }
  const std::string infFolder = machine_.InfFolder() + "\\";
  // Windows keeps one copy of an INF: an identical registered copy is reused.
  std::string name;
  for (const OemInf& oem : machine_.oemInfs) {
    std::string existing;
    if (machine_.files.ReadFile(infFolder + oem.name, &existing) && existing == contents) {
      name = oem.name;
      break;
    }
  }
  const bool reused = !name.empty();
  if (!reused) {
    for (int n = 0;; ++n) {
      const std::string candidate = "OEM" + std::to_string(n) + ".INF";
      const bool registered =
          std::any_of(machine_.oemInfs.begin(), machine_.oemInfs.end(),
                      [&](const OemInf& o) { return EqualsIgnoreCase(o.name, candidate); });
      if (!registered && machine_.files.GetFileAttributesA((infFolder + candidate).c_str()) ==
                             kInvalidFileAttributes) {
        name = candidate;
        break;
      }
    }
  }
  const std::string target = infFolder + name;
  if (requiredSize != nullptr) *requiredSize = static_cast<DWORD>(target.size() + 1);
  if (destination != nullptr && destinationSize < target.size() + 1) {
    lastError_ = kErrorInsufficientBuffer;
    return kFalse;
  }
  if (!reused) {
    if (!machine_.files.WriteFile(target, contents)) {
      lastError_ = machine_.files.last_error();
      Note(std::string("SetupCopyOEMInfA ") + sourceInf + ": could not write " + target);
      return kFalse;
    }
    machine_.oemInfs.push_back({name, sourceInf, mediaLocation ? mediaLocation : "", mediaType});
    Note(std::string("SetupCopyOEMInfA ") + sourceInf + ": registered as " + target);
  } else {
    Note(std::string("SetupCopyOEMInfA ") + sourceInf + ": already registered as " + target);
  }
  if (destination != nullptr) {
    CopyToBuffer(target, destination, destinationSize);
    if (destinationComponent != nullptr) {
      *destinationComponent = destination + infFolder.size();
    }
  }
  return kTrue;
}

}  // namespace kx::sim
