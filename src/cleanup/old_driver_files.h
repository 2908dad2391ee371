// Retiring the files of earlier driver releases: old INF files (with their
// precompiled PNF twins) are deleted from the Windows INF folders, and the old
// system files are scheduled for renaming to backup names at the next start.
#pragma once

#include "platform/platform.h"

namespace kx {

// Always deletes the old INF files. With scheduleRenames non-zero it also
// writes the [rename] entries of WININIT.INI for every old system file present
// and blanks the run= line of WIN.INI's [Windows] section.
void RetireOldDriverFiles(Platform& platform, int scheduleRenames);

}  // namespace kx
