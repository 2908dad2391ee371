// What kxsetup shows of a run: the header, each transcript line, the summary
// of changes, and the JSON report.
#pragma once

#include <string>

#include "sim/run/run_setup.h"

namespace kx::sim {

// The summary after the transcript: Setup's exit code (or why the run
// stopped), the restart request, programs started, message boxes, and the
// files, registry and WININIT.INI changes.
std::string FormatRunSummary(const RunResult& result);

// The JSON report: outcome, exit_code, restart_requested, started,
// message_boxes, registry, files, wininit_renames, transcript.
std::string FormatJsonReport(const RunResult& result);

}  // namespace kx::sim
