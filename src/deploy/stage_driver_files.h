// Step 2 of the driver deployment: copy what the driver installation needs
// from the installation media to the places Windows looks for it once the
// media is gone.
#pragma once

#include "deploy/deployment_context.h"
#include "platform/platform.h"

namespace kx {

// Retires old driver files, builds the staging tree under
// "C:\Program Files\Kestrix\", chooses the driver architecture and folder by
// the caller variant, and copies the DOS, driver, INF, catalog and mixer
// files. Fills context.infPatchList, mixerStaged, mixerStartupCommand and
// sourcePathCopy; the unattended variants also set context.useVxd.
//
// The main dialog's variants take the architecture from context.useVxd, and
// the driver folder follows it, so that the files always come from the folder
// of the architecture being installed. InstallWdmDriver removes the present
// device, purges the old device keys and retires the old INF files itself
// before this step, and gives its INF edit as context.patchStagedInf.
//
// Nothing is reported: a missing folder has no files to copy, failed copies
// are ignored (except the Windows setup source copy, whose first failure ends
// those copies and sends that file to the OTHER folder), and a copy whose path
// does not fit a 260-character buffer is left out.
void StageDriverFiles(Platform& platform, DeploymentContext& context);

}  // namespace kx
