#include "deploy/finish_and_restart.h"

#include "app/continuation_file.h"
#include "app/texts.h"
#include "deploy/deploy_names.h"

namespace kx {
namespace {

enum class Ending { EndProcess, ReturnToDialog };

struct FinishRow {
  CallerVariant variant;
  bool pausesBeforeRunEntry;  // the 5000 ms pause before the Run entry instead of after it
  bool offersDirectXHandOff;
  Ending ending;
};

// The main dialog's staging run stops before this step; its row only keeps
// the table complete. InstallWdmDriver never stages the mixer, so it writes no
// Run entry.
constexpr FinishRow kFinishRows[] = {
    {CallerVariant::MainDialogStaging, false, false, Ending::ReturnToDialog},
    {CallerVariant::MainDialogVxdInstall, false, false, Ending::ReturnToDialog},
    {CallerVariant::UnattendedDriver, true, false, Ending::EndProcess},
    {CallerVariant::WebPackageInstall, false, true, Ending::EndProcess},
    {CallerVariant::InstallWdmDriver, false, false, Ending::EndProcess},
};

constexpr DWORD kFinalPause = 5000;

void WriteMixerRunEntry(Platform& platform, const DeploymentContext& context) {
  if (!context.mixerStaged) return;
  HKey run = nullptr;
  if (platform.RegOpenKeyExA(kHkeyLocalMachine, deploy::kRunKey, 0, kKeyAllAccess, &run) !=
      kErrorSuccess) {
    return;
  }
  // The stored text includes its terminating zero, as a string value must:
  // readers of the Run key get a complete command whatever they do.
  const std::string& command = context.mixerStartupCommand;
  platform.RegSetValueExA(run, deploy::kMixerRunValue, kRegSz,
                          reinterpret_cast<const BYTE*>(command.c_str()),
                          static_cast<DWORD>(command.size() + 1));
  platform.RegCloseKey(run);
}

}  // namespace

FinishOutcome FinishAndRestart(Platform& platform, const DeploymentContext& context) {
  const FinishRow& row = RowFor(kFinishRows, context.variant);
  if (row.pausesBeforeRunEntry) platform.SleepEx(kFinalPause, kFalse);
  WriteMixerRunEntry(platform, context);
  if (row.offersDirectXHandOff && RunDirectXHandOff(platform)) {
    return FinishOutcome::DirectXSetupStarted;
  }
  if (!row.pausesBeforeRunEntry) platform.SleepEx(kFinalPause, kFalse);

  platform.MessageBoxA(context.owner, text::kSetupCompletedRestart, text::kCaptionSetup, kMbOk);
  platform.ExitWindowsEx(kEwxReboot, 0);

  if (row.ending == Ending::ReturnToDialog) {
    platform.EndWaitCursor();
    return FinishOutcome::ReturnToDialog;
  }
  platform.Exit(0);
}

}  // namespace kx
