// The inputs and results of the driver deployment steps.
//
// Every driver installation runs the same five steps (QuiesceMixerAndTray,
// StageDriverFiles, PatchInfSourceDisks, RegisterWdmDriver,
// FinishAndRestart). Their callers differ in a few places; each step keeps its
// callers' differences in one table keyed by CallerVariant, so a caller only
// fills a DeploymentContext and runs the steps.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/setup_context.h"
#include "platform/platform.h"

namespace kx {

enum class CallerVariant {
  MainDialogStaging,     // main dialog, Install Device Driver: stages, then hands over
  MainDialogVxdInstall,  // main dialog, driver only with the VxD architecture
  UnattendedDriver,      // the DRIVER switch or DriverOnly, from the installation media
  WebPackageInstall,     // the flat package (WebSetup neither 0 nor 1)
  InstallWdmDriver,      // Install in the WDM options dialog
};
inline constexpr int kCallerVariantCount = 5;

struct DeploymentContext {
  CallerVariant variant = CallerVariant::UnattendedDriver;
  WindowsVersionFlags os;
  // Nonzero: the VxD architecture, 0: WDM. The main dialog's callers bring
  // their choice; the unattended callers have it chosen by StageDriverFiles;
  // InstallWdmDriver is always WDM.
  int useVxd = 0;
  // The folder of the running setup program, with a trailing backslash.
  std::string sourceDir;
  // The setup.ini keys the architecture choice reads.
  int windows98SEDriver = 0;
  int windowsMEDriver = 1;
  int installWDMDriver = 0;
  // Owner of the steps' message boxes; null on the unattended paths.
  HWnd owner = nullptr;
  // InstallWdmDriver only: edits the staged copy of each INF file (the user's
  // jack and legacy-port options) before it is copied to the INF folders.
  std::function<void(Platform&, const std::string& stagedInf)> patchStagedInf;

  // ---- Results of StageDriverFiles. ----
  // Full paths of the INF copies made in the INF and OTHER folders, in the
  // order made; PatchInfSourceDisks rewrites and then empties it.
  std::vector<std::string> infPatchList;
  // Set when the driver folder carried the mixer program.
  bool mixerStaged = false;
  // Windows folder + "NewMixer.exe /startup".
  std::string mixerStartupCommand;
  // True while the Windows setup source folder takes copies of the driver files.
  bool sourcePathCopy = false;
  // That folder, with a trailing backslash, when it was usable at the start.
  std::string sourcePathFolder;
};

// Each step's table of caller differences: one row per variant, looked up by
// the row's variant field so that the tables read as they are written.
template <typename Row, std::size_t N>
const Row& RowFor(const Row (&rows)[N], CallerVariant variant) {
  static_assert(N == kCallerVariantCount, "every caller variant needs a row");
  for (const Row& row : rows) {
    if (row.variant == variant) return row;
  }
  return rows[0];
}

}  // namespace kx
