#include "sim/run/run_setup.h"

#include <algorithm>
#include <exception>

#include "app/setup_app.h"

namespace kx::sim {
namespace {

std::vector<RenameEntry> Renames(const Machine& machine) {
  std::string bytes;
  if (!machine.files.ReadFile(machine.windowsFolder + "\\WININIT.INI", &bytes)) return {};
  return ReadRenameEntries(bytes);
}

}  // namespace

const char* RunOutcomeName(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kCompleted:
      return "completed";
    case RunOutcome::kStuck:
      return "stuck";
    case RunOutcome::kNotAvailable:
      return "not available";
    case RunOutcome::kFailed:
      return "failed";
  }
  return "?";
}

void SettleMachine(Machine& machine, SimTime now) {
  auto& windows = machine.windows;
  windows.erase(std::remove_if(windows.begin(), windows.end(),
                               [&](const Window& w) {
                                 return w.gone || (w.vanishesAt && *w.vanishesAt <= now);
                               }),
                windows.end());
  for (Window& w : windows) {
    w.appearsAt = std::max<SimTime>(0, w.appearsAt - now);
    if (w.vanishesAt) *w.vanishesAt -= now;
    w.ownerProcessId = 0;
  }
  for (TimedEvent& e : machine.events) {
    if (e.trigger.empty()) e.at = std::max<SimTime>(0, e.at - now);
  }
}

RunResult RunSetup(Machine& machine, const RunOptions& options) {
  const Registry registryBefore = machine.registry;
  const FileSystem filesBefore = machine.files;
  const std::vector<RenameEntry> renamesBefore = Renames(machine);

  SimOptions sim;
  const bool quote = options.programPath.find(' ') != std::string::npos;
  sim.commandLine = quote ? "\"" + options.programPath + "\"" : options.programPath;
  if (!options.arguments.empty()) sim.commandLine += " " + options.arguments;
  if (!machine.startFolder.empty()) machine.files.SetCurrentDirectoryA(machine.startFolder.c_str());
  sim.modulePath = machine.files.FullPath(options.programPath).value_or(options.programPath);
  sim.answers = options.answers;
  sim.ask = options.ask;
  sim.realTime = options.realTime;
  sim.transcript = options.transcript;

  RunResult result;
  {
    SimPlatform platform(machine, sim);
    CallOutcome outcome;
    try {
      outcome = platform.Run([&] { result.exitCode = SetupMain(platform); });
      switch (outcome.end) {
        case CallEnd::kReturned:
          result.outcome = RunOutcome::kCompleted;
          break;
        case CallEnd::kExited:
          result.outcome = RunOutcome::kCompleted;
          result.exitCode = outcome.exitCode;
          break;
        case CallEnd::kStuck:
          result.outcome = RunOutcome::kStuck;
          break;
        case CallEnd::kNotAvailable:
          result.outcome = RunOutcome::kNotAvailable;
          break;
      }
      result.message = outcome.message;
    } catch (const std::exception& e) {
      result.outcome = RunOutcome::kFailed;
      result.message = e.what();
    }
    result.restartRequested = platform.restartRequested();
    result.restartFlags = platform.restartFlags();
    result.endTime = platform.Now();
    result.started = platform.started();
    result.messageBoxes = platform.messageBoxes();
    result.transcript = platform.transcript().entries();
  }
  SettleMachine(machine, result.endTime);
  result.registryChanges = DiffRegistry(registryBefore, machine.registry);
  result.fileChanges = DiffFiles(filesBefore, machine.files);
  result.renames = AddedRenameEntries(renamesBefore, Renames(machine));
  return result;
}

}  // namespace kx::sim
