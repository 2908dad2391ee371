// Step 3 of the driver deployment: point the INF copies in the Windows INF
// folders at the local staging folder instead of the installation media.
#pragma once

#include "deploy/deployment_context.h"
#include "platform/platform.h"

namespace kx {

// Rewrites the source-disk entry of every INF copy in context.infPatchList,
// then empties the list. VxD: [SourceDisksNames] "1" keeps its value and gets
// ", " and the short VxD staging folder appended. WDM: [SourceDisksNames]
// "200" becomes the Kestrix disk entry with the short WDM staging folder (the
// unattended media installation appends the folder to the old value instead)
// and [SourceDisksFiles] "kxaudio.cat" is set to "200". An INF without the
// entry is left as it is.
//
// When the staging folder has no short form (it is missing), or a value would
// not fit the 1024-character entry buffer, the INF is left unchanged rather
// than given a cut or undefined entry.
void PatchInfSourceDisks(Platform& platform, DeploymentContext& context);

}  // namespace kx
