// Placeholder bodies so that callers link until the real operations land.
#include "cleanup/old_driver_removal.h"

namespace kx {

int PurgeLegacyDeviceKeys(Platform&) { return 1; }
void DeleteMediaResourceEntries(Platform&, const char*, const char*) {}
void RetireOldDriverFiles(Platform&, int) {}
int RemovePresentAudioDevices(Platform&, char*, int*) { return 0; }

}  // namespace kx
