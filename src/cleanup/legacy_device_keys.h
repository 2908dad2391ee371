// Removal of the registry entries that earlier drivers of the card left on
// Windows 95/98/ME: the maker's MEDIA class instances with their multimedia
// resource entries, the card's device keys, its virtual devices and, when a
// device key was found, the old 3D-audio and ASIO registrations.
#pragma once

#include "platform/platform.h"

namespace kx {

// Results of PurgeLegacyDeviceKeys.
inline constexpr int kPurgeDeviceKeysDeleted = 0;  // the registrations went too
inline constexpr int kPurgeNoDeviceKeys = 1;
inline constexpr int kPurgeDeviceKeyStuck = 2;   // under Enum\PCI or Enum\KXI
inline constexpr int kPurgeVirtualKeyStuck = 3;  // under Enum\VIRTUAL

// Removes the old drivers' registry entries. 0: a device key was deleted and
// the 3D-audio and ASIO registrations went too; 1: no device key found;
// 2: a PCI or private-enumerator key could not be deleted; 3: a virtual-device
// key could not be deleted. A stuck key stops the purge where it stands.
int PurgeLegacyDeviceKeys(Platform& platform);

// Deletes the subkeys of the MediaResources type key typeKeyPath (under
// HKEY_LOCAL_MACHINE) whose four characters before the last one name the
// MEDIA instance instanceName, ignoring case; at most 15 of them per call.
void DeleteMediaResourceEntries(Platform& platform, const char* typeKeyPath,
                                const char* instanceName);

}  // namespace kx
