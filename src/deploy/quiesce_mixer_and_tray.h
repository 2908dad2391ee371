// Step 1 of the driver deployment: stop the card's mixer application and the
// tray's volume service so that no program holds the old driver open.
#pragma once

#include "deploy/deployment_context.h"
#include "platform/platform.h"

namespace kx {

// Shows the start message and begins the wait cursor where the caller
// variant wants them, closes the "Mixer" window, clears the tray's
// volume-service bit, restarts the tray program and marks the mixer's settings
// for re-initialisation. Every failure is ignored.
void QuiesceMixerAndTray(Platform& platform, const DeploymentContext& context);

}  // namespace kx
