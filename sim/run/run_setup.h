// Runs Setup from start to end on a simulated PC and reports what it did.
#pragma once

#include <string>
#include <vector>

#include "sim/files/file_diff.h"
#include "sim/machine/machine.h"
#include "sim/registry/registry_diff.h"
#include "sim/run/answers.h"
#include "sim/run/transcript.h"
#include "sim/run/user.h"
#include "sim/run/wininit_renames.h"
#include "sim/sim_platform.h"

namespace kx::sim {

struct RunOptions {
  std::string programPath = "D:\\SETUP.EXE";
  std::string arguments;  // the command line after the program name
  Answers answers;
  User::Ask ask;  // the terminal, when there is one
  bool realTime = false;
  Transcript::Sink transcript;
};

enum class RunOutcome {
  kCompleted,     // Setup ended by itself (returned or exit())
  kStuck,         // stopped: it would have waited forever
  kNotAvailable,  // it reached a path that is not built yet
  kFailed,        // the simulation itself failed
};

const char* RunOutcomeName(RunOutcome outcome);  // "completed", "stuck", ...

struct RunResult {
  RunOutcome outcome = RunOutcome::kCompleted;
  int exitCode = 0;     // Setup's exit code, when completed
  std::string message;  // why it was stopped, or the path not available
  bool restartRequested = false;
  UINT restartFlags = 0;
  SimTime endTime = 0;
  std::vector<StartedProgram> started;  // every start attempt, in order
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<RegistryChange> registryChanges;
  std::vector<FileChange> fileChanges;
  std::vector<RenameEntry> renames;  // WININIT.INI [rename] entries added
  std::vector<TranscriptEntry> transcript;
};

// Runs kx::SetupMain on the machine, which is changed in place and afterwards
// stands as it is at the end of the run (see SettleMachine).
RunResult RunSetup(Machine& machine, const RunOptions& options);

// Makes the machine an image of how it stands at time now, for a run that
// starts afresh: closed windows and the events that fired are gone, the
// remaining times count from now, programs' windows become the machine's own.
void SettleMachine(Machine& machine, SimTime now);

}  // namespace kx::sim
