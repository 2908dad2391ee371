// Test support: simulated PCs built in code or from the bundled examples,
// installation media mounted from a host folder or made of a few files, and
// a way to run a piece of Setup that may end the process.
//
//   kx::sim::Machine m = kx::sim::MakeMachine("ME");
//   m.files.WriteFile("C:\\WINDOWS\\INF\\OEM1.INF", "...");
//   m.registry.SetValue("HKLM\\Software\\X", "Name", kx::kRegSz, kx::sim::SzData("v"));
//   kx::test::AddMedia(m, {{"setup.ini", "[InstallOption]\r\nDriverOnly=1\r\n"}});
//   kx::sim::SimPlatform p(m);
//   kx::RetireOldDriverFiles(p, 1);
//   // or, for a step that may end the process:
//   kx::sim::CallOutcome end = p.Run([&] { kx::UnattendedDriver(app, dir, options); });
//   // inspect m (registry, files, devices, windows) and p (started(),
//   // messageBoxes(), Now(), restartRequested(), transcript())
//
// End to end: kx::sim::RunSetup(m, {.arguments = "/DRIVER"}).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sim/machine/machine.h"
#include "sim/machine/registry_data.h"
#include "sim/run/run_setup.h"
#include "sim/sim_platform.h"

namespace kx::test {

// A file of installation media: its path below the drive's root
// ("W2K-ME\\drv\\KXAUDIO.INF") and its bytes.
using MediaFile = std::pair<std::string, std::string>;

// Adds the files as drive letter (the CD drive D: unless said otherwise),
// their folders created as needed. Each file carries the read-only
// attribute, as files on a CD do; the drive itself accepts writes.
void AddMedia(sim::Machine& machine, const std::vector<MediaFile>& files, char letter = 'D');

// Mounts a host folder as a read-only drive, the way kxsetup mounts media.
// Fails the current test on an error.
void MountMediaFolder(sim::Machine& machine, const std::string& hostFolder, char letter = 'D');

// Paths of the bundled examples: ExamplePath("media/new-layout").
std::string ExamplePath(const std::string& relative);

// The bundled installation media ("new-layout", "old-layout", ...) as the CD.
void MountExampleMedia(sim::Machine& machine, const std::string& name, char letter = 'D');

// The changes from before to after, one line each, for failure messages.
std::string DescribeChanges(const sim::Machine& before, const sim::Machine& after);

// Every transcript line, for failure messages.
std::string TranscriptText(const sim::SimPlatform& platform);

}  // namespace kx::test
