// Removal of the card's present device node, so that the next detection of
// the hardware installs it afresh with the driver Setup has made available.
#pragma once

#include "platform/platform.h"

namespace kx {

// The card's id fragment, and the size of the callers' id buffer.
inline constexpr char kCardHardwareId[] = "PCI\\VEN_1A9C&DEV_0111";
inline constexpr int kHardwareIdBufferSize = 256;

// Finds the first present device one of whose hardware ids contains
// hardwareId (case-sensitive) and returns 1; 0 when none does or the device
// list cannot be had. On a match hardwareId (a kHardwareIdBufferSize buffer)
// receives the whole id, cut to fit, and, when *removeDevice is non-zero, the
// device is removed and *removeDevice set to 1 on success, 0 on failure.
// Without a match both arguments are left as they were. The thread's last
// error is that of the device enumeration, not of its clean-up.
int RemovePresentAudioDevices(Platform& platform, char* hardwareId, int* removeDevice);

}  // namespace kx
