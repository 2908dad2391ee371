#include "app/unattended_install.h"

#include "deploy/deployment_context.h"
#include "deploy/finish_and_restart.h"
#include "deploy/patch_inf_source_disks.h"
#include "deploy/quiesce_mixer_and_tray.h"
#include "deploy/register_wdm_driver.h"
#include "deploy/stage_driver_files.h"

namespace kx {
namespace {

DeploymentContext UnattendedContext(CSetupApp& app, CallerVariant variant,
                                    const std::string& sourceDir, const SetupOptions& options) {
  DeploymentContext context;
  context.variant = variant;
  context.os = app.m_os;
  context.useVxd = app.m_useVxd;
  context.sourceDir = sourceDir;
  context.windows98SEDriver = options.Windows98SEDriver;
  context.windowsMEDriver = options.WindowsMEDriver;
  context.installWDMDriver = options.InstallWDMDriver;
  context.owner = nullptr;
  return context;
}

// The whole deployment without a dialog. Returns only when the flat package
// handed over to the DirectX setup.
void RunUnattendedDeployment(CSetupApp& app, DeploymentContext& context) {
  Platform& platform = app.platform();
  QuiesceMixerAndTray(platform, context);
  StageDriverFiles(platform, context);
  app.m_useVxd = context.useVxd;
  PatchInfSourceDisks(platform, context);
  RegisterWdmDriver(platform, context);
  if (FinishAndRestart(platform, context) == FinishOutcome::DirectXSetupStarted) {
    platform.EndWaitCursor();
  }
}

}  // namespace

void UnattendedDriver(CSetupApp& app, const std::string& sourceDir, const SetupOptions& options) {
  DeploymentContext context =
      UnattendedContext(app, CallerVariant::UnattendedDriver, sourceDir, options);
  RunUnattendedDeployment(app, context);
  app.platform().Exit(0);
}

void WebPackageInstall(CSetupApp& app, const std::string& sourceDir, const SetupOptions& options) {
  DeploymentContext context =
      UnattendedContext(app, CallerVariant::WebPackageInstall, sourceDir, options);
  RunUnattendedDeployment(app, context);
}

}  // namespace kx
