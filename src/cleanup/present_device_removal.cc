#include "cleanup/present_device_removal.h"

#include <cstring>
#include <string_view>

#include "platform/text.h"

namespace kx {
namespace {

// Room for a device's hardware ids: texts ended by a zero, then an empty text.
constexpr DWORD kHardwareIdsRoom = 1024;

// The first of the hardware ids in ids[0..size) that contains fragment, or an
// empty view. The walk stops at the first empty text or at the end of the
// bytes reported, so unterminated data cannot lead it past the buffer. The ids
// are plain ASCII, so a byte-wise search is the multibyte-aware one.
std::string_view FindMatchingId(const BYTE* ids, DWORD size, std::string_view fragment) {
  const char* text = reinterpret_cast<const char*>(ids);
  DWORD offset = 0;
  while (offset < size) {
    const std::string_view id(text + offset, strnlen(text + offset, size - offset));
    if (id.empty()) break;
    if (id.find(fragment) != std::string_view::npos) return id;
    offset += static_cast<DWORD>(id.size()) + 1;
  }
  return {};
}

// Handles the first device of the set whose ids contain hardwareId.
bool HandleFirstMatchingDevice(Platform& platform, HDevInfo devices, char* hardwareId,
                               int* removeDevice) {
  const std::string_view fragment(hardwareId, strnlen(hardwareId, kHardwareIdBufferSize));
  DevInfoData device;
  device.cbSize = kDevInfoDataSize;
  for (DWORD index = 0; platform.SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    BYTE ids[kHardwareIdsRoom] = {};
    DWORD type = 0;
    DWORD size = 0;
    if (!platform.SetupDiGetDeviceRegistryPropertyA(devices, &device, kSpdrpHardwareId, &type, ids,
                                                    kHardwareIdsRoom, &size)) {
      continue;
    }
    const std::string_view match =
        FindMatchingId(ids, size < kHardwareIdsRoom ? size : kHardwareIdsRoom, fragment);
    if (match.empty()) continue;
    if (*removeDevice != 0) *removeDevice = platform.SetupDiRemoveDevice(devices, &device) ? 1 : 0;
    CopyToBuffer(match, hardwareId, kHardwareIdBufferSize);
    return true;
  }
  return false;
}

}  // namespace

int RemovePresentAudioDevices(Platform& platform, char* hardwareId, int* removeDevice) {
  if (hardwareId == nullptr || removeDevice == nullptr) return 0;
  HDevInfo devices =
      platform.SetupDiGetClassDevsA(nullptr, nullptr, nullptr, kDigcfPresent | kDigcfAllClasses);
  if (devices == kInvalidDevInfo) return 0;
  const bool found = HandleFirstMatchingDevice(platform, devices, hardwareId, removeDevice);
  // The caller sees the error of the enumeration, not that of the clean-up.
  const DWORD error = platform.GetLastError();
  platform.SetupDiDestroyDeviceInfoList(devices);
  platform.SetLastError(error);
  return found ? 1 : 0;
}

}  // namespace kx
