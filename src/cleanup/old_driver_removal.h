// The three stateless operations that take what earlier drivers of the card
// left behind out of the way. No caller examines their results.
#pragma once

#include "platform/platform.h"

namespace kx {

// Removes the old drivers' registry entries. 0: a device key was deleted and
// the 3D-audio and ASIO registrations went too; 1: no device key found;
// 2: a PCI or private-enumerator key could not be deleted; 3: a virtual-device
// key could not be deleted.
int PurgeLegacyDeviceKeys(Platform& platform);
void DeleteMediaResourceEntries(Platform& platform, const char* typeKeyPath,
                                const char* instanceName);

// Deletes old INF files (and their PNF twins); with scheduleRenames non-zero
// also schedules the old system files for renaming at the next start.
void RetireOldDriverFiles(Platform& platform, int scheduleRenames);

// The card's id fragment, and the size of the callers' id buffer.
inline constexpr char kCardHardwareId[] = "PCI\\VEN_1A9C&DEV_0111";
inline constexpr int kHardwareIdBufferSize = 256;

// Finds the first present device whose hardware ids contain hardwareId and,
// when *removeDevice is non-zero, removes it. Returns 1 on a match.
int RemovePresentAudioDevices(Platform& platform, char* hardwareId, int* removeDevice);

}  // namespace kx
