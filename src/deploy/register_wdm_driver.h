// Step 4 of the driver deployment: remove the card's present device so that
// Windows detects it afresh and, for the WDM driver, make Windows install the
// staged driver now and wait until its installer has finished.
#pragma once

#include "deploy/deployment_context.h"
#include "platform/platform.h"

namespace kx {

// Removes the present audio device (except InstallWdmDriver, which did so
// before staging). For WDM: deletes the driver index, registers the staged
// INF as an OEM INF (not on Windows 98 SE, which installs from the INF
// copies), adds the staging folder to the installation sources, re-enumerates
// the devices, waits for the installer and, when the card's legacy game port
// is enabled, for the game port. Ends, in every architecture, with a wait for
// the installer windows. No failure is reported or stops the step.
void RegisterWdmDriver(Platform& platform, const DeploymentContext& context);

// Returns after five consecutive one-second passes without an installer
// window (class "KXDNINST", or the setup engine's disk prompt). There is no
// upper bound while the windows keep coming back.
void WaitForInstallerWindows(Platform& platform);

// Polls the MEDIA device class for the card's game port: up to 20 passes two
// seconds apart; ends at once when the class key cannot be opened.
void WaitForGamePort(Platform& platform);

// Bit 0 of EnableLegacy in the Settings key of the first audio device of the
// MEDIA class whose value can be read; false when there is none.
bool LegacyGamePortEnabled(Platform& platform);

}  // namespace kx
