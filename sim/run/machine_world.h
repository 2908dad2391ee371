// Everything on the simulated PC that happens besides Setup: the clock, the
// programs Setup started, the timed events and the windows that come and go.
// Time moves only when Setup pauses or waits; whatever falls due on the way
// happens in time order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/machine/machine.h"
#include "sim/run/transcript.h"

namespace kx::sim {

// Simulated time beyond which a run is taken to wait forever.
inline constexpr SimTime kStuckAfter = 24 * kHour;

struct SimProcess {
  DWORD id = 0;
  std::string program;  // the full path it was started from
  std::string commandLine;
  SimTime startedAt = 0;
  std::optional<SimTime> endsAt;  // empty: runs until the end of the run
  SimTime idleAt = 0;             // WaitForInputIdle returns from then on
  DWORD exitCode = 0;
  bool ended = false;
  std::vector<MachineAction> onEnd;
};

class MachineWorld {
 public:
  MachineWorld(Machine& machine, Transcript& transcript, bool realTime);

  SimTime now() const { return now_; }

  // Moves the clock on by ms, carrying out on the way everything that falls
  // due. Throws StuckStop when the clock would pass kStuckAfter.
  void Advance(SimTime ms);
  // Carries out what is due now (events at time 0 before Setup starts).
  void FireDue();

  // Starts a program (its behaviour from the machine) and returns its id.
  DWORD StartProcess(const std::string& program, const std::string& commandLine);
  SimProcess* FindProcess(DWORD id);
  const std::vector<SimProcess>& processes() const { return processes_; }

  // Arms the events waiting for this trigger, counted from now. Only the first
  // trigger counts.
  void Trigger(const std::string& trigger);

  // Carries out one action; who is "event" or the program doing it.
  void Apply(const MachineAction& action, const std::string& who, DWORD ownerProcessId);

  // Closes a window of the machine (WM_CLOSE, its program ended, an event).
  void RemoveWindow(std::size_t index, const std::string& why);

 private:
  std::optional<SimTime> NextDue(SimTime limit) const;
  void FireAt(SimTime when);
  void EndProcess(SimProcess& process);

  Machine& machine_;
  Transcript& transcript_;
  bool realTime_;
  SimTime now_ = 0;
  DWORD nextProcessId_ = 1;
  std::vector<SimProcess> processes_;
  std::vector<std::string> triggered_;
};

}  // namespace kx::sim
