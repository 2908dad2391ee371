// Step 5 of the driver deployment: register the new mixer for start-up, tell
// the user that setup is complete and restart Windows.
#pragma once

#include "deploy/deployment_context.h"
#include "platform/platform.h"

namespace kx {

enum class FinishOutcome {
  ReturnToDialog,       // MainDialogVxdInstall: the dialog now closes with IDOK
  DirectXSetupStarted,  // WebPackageInstall handed over to the DirectX setup: no restart
};

// Writes the "Kestrix Mixer" Run entry when the mixer was staged, pauses,
// shows the final message, requests a restart (not forced) and ends the
// process with exit code 0. The main dialog's variant ends the wait cursor and
// returns instead of ending the process; the flat package's variant hands
// over to a pending DirectX setup when there is one and then returns without
// a restart.
FinishOutcome FinishAndRestart(Platform& platform, const DeploymentContext& context);

}  // namespace kx
