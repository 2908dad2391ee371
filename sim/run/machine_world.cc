#include "sim/run/machine_world.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/text.h"
#include "sim/registry/reg_file.h"
#include "sim/run/run_stop.h"

namespace kx::sim {
namespace {

std::string WindowName(const Window& w) {
  std::string out = "window \"" + w.title + "\"";
  if (!w.className.empty()) out += " (class " + w.className + ")";
  return out;
}

bool WindowMatches(const Window& w, const MachineAction& a) {
  if (a.matchTitle && !EqualsIgnoreCase(w.title, a.title)) return false;
  if (a.matchClass && !EqualsIgnoreCase(w.className, a.className)) return false;
  return true;
}

}  // namespace

MachineWorld::MachineWorld(Machine& machine, Transcript& transcript, bool realTime)
    : machine_(machine), transcript_(transcript), realTime_(realTime) {}

void MachineWorld::Advance(SimTime ms) {
  if (ms <= 0) return;
  SimTime target = now_ + ms;
  const bool stuck = target > kStuckAfter;
  if (stuck) target = kStuckAfter;
  if (realTime_ && target > now_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(target - now_));
  }
  while (const std::optional<SimTime> due = NextDue(target)) {
    now_ = std::max(now_, *due);
    FireAt(now_);
  }
  now_ = target;
  if (stuck) {
    throw StuckStop{"Setup has been waiting for more than " + FormatDuration(kStuckAfter) +
                    " of simulated time"};
  }
}

void MachineWorld::FireDue() {
  while (const std::optional<SimTime> due = NextDue(now_)) {
    if (*due > now_) break;
    FireAt(now_);
  }
}

std::optional<SimTime> MachineWorld::NextDue(SimTime limit) const {
  std::optional<SimTime> next;
  auto consider = [&](SimTime t) {
    if (t <= limit && (!next || t < *next)) next = t;
  };
  for (const TimedEvent& e : machine_.events) {
    if (e.trigger.empty()) consider(e.at);
  }
  for (const SimProcess& p : processes_) {
    if (!p.ended && p.endsAt) consider(*p.endsAt);
  }
  for (const Window& w : machine_.windows) {
    if (w.gone) continue;
    if (w.appearsAt > now_) consider(w.appearsAt);
    if (w.vanishesAt && *w.vanishesAt > now_) consider(*w.vanishesAt);
  }
  return next;
}

void MachineWorld::FireAt(SimTime when) {
  for (std::size_t i = 0; i < machine_.windows.size(); ++i) {
    Window& w = machine_.windows[i];
    if (w.gone) continue;
    if (w.vanishesAt && *w.vanishesAt == when && when > 0) {
      RemoveWindow(i, "[machine]");
    } else if (w.appearsAt == when && when > 0) {
      transcript_.Add(now_, "[machine] " + WindowName(w) + " opens");
    }
  }

  std::vector<TimedEvent> due;
  auto& events = machine_.events;
  for (auto it = events.begin(); it != events.end();) {
    if (it->trigger.empty() && it->at <= when) {
      due.push_back(std::move(*it));
      it = events.erase(it);
    } else {
      ++it;
    }
  }
  for (const TimedEvent& e : due) Apply(e.action, "[event]", 0);

  for (std::size_t i = 0; i < processes_.size(); ++i) {
    if (!processes_[i].ended && processes_[i].endsAt && *processes_[i].endsAt <= when) {
      EndProcess(processes_[i]);
    }
  }
}

DWORD MachineWorld::StartProcess(const std::string& program, const std::string& commandLine) {
  SimProcess p;
  p.id = nextProcessId_++;
  p.program = program;
  p.commandLine = commandLine;
  p.startedAt = now_;
  p.idleAt = now_;
  p.endsAt = now_;
  std::vector<MachineAction> onStart;
  if (const ProgramBehaviour* b = machine_.FindProgram(program)) {
    p.endsAt = b->runsFor ? std::optional<SimTime>(now_ + *b->runsFor) : std::nullopt;
    p.exitCode = b->exitCode;
    p.idleAt = now_ + b->idleAfter;
    p.onEnd = b->onEnd;
    onStart = b->onStart;
  }
  const DWORD id = p.id;
  processes_.push_back(std::move(p));
  const std::string who = "[" + program + "]";
  for (const MachineAction& a : onStart) Apply(a, who, id);
  SimProcess* started = FindProcess(id);
  if (!started->ended && started->endsAt && *started->endsAt <= now_) EndProcess(*started);
  return id;
}

SimProcess* MachineWorld::FindProcess(DWORD id) {
  for (SimProcess& p : processes_) {
    if (p.id == id) return &p;
  }
  return nullptr;
}

void MachineWorld::EndProcess(SimProcess& process) {
  process.ended = true;
  const DWORD id = process.id;
  const std::string who = "[" + process.program + "]";
  const std::vector<MachineAction> onEnd = process.onEnd;
  transcript_.Add(now_, who + " ends with exit code " + std::to_string(process.exitCode));
  for (const MachineAction& a : onEnd) Apply(a, who, id);
  for (std::size_t i = 0; i < machine_.windows.size(); ++i) {
    const Window& w = machine_.windows[i];
    if (!w.gone && w.ownerProcessId == id) RemoveWindow(i, who);
  }
}

void MachineWorld::Trigger(const std::string& trigger) {
  if (std::find(triggered_.begin(), triggered_.end(), trigger) != triggered_.end()) return;
  triggered_.push_back(trigger);
  for (TimedEvent& e : machine_.events) {
    if (e.trigger == trigger) {
      e.trigger.clear();
      e.at += now_;
    }
  }
  FireDue();
}

void MachineWorld::RemoveWindow(std::size_t index, const std::string& why) {
  Window& w = machine_.windows[index];
  w.gone = true;
  transcript_.Add(now_, why + " " + WindowName(w) + " closes");
}

void MachineWorld::Apply(const MachineAction& a, const std::string& who, DWORD ownerProcessId) {
  const std::string said = who + " " + FormatMachineAction(a);
  switch (a.kind) {
    case ActionKind::kOpenWindow: {
      Window w;
      w.title = a.title;
      w.className = a.className;
      w.onClose = a.onClose;
      w.appearsAt = now_;
      w.ownerProcessId = ownerProcessId;
      machine_.windows.push_back(w);
      transcript_.Add(now_, who + " " + WindowName(w) + " opens");
      return;
    }
    case ActionKind::kCloseWindow: {
      bool any = false;
      for (std::size_t i = 0; i < machine_.windows.size(); ++i) {
        const Window& w = machine_.windows[i];
        if (w.IsOpenAt(now_) && WindowMatches(w, a)) {
          RemoveWindow(i, who);
          any = true;
        }
      }
      if (!any) transcript_.Add(now_, said + ": no such window");
      return;
    }
    case ActionKind::kSetMixerDevices:
      machine_.mixerDevices = a.count;
      transcript_.Add(now_, said);
      return;
    case ActionKind::kSetValue:
    case ActionKind::kDeleteValue:
    case ActionKind::kCreateKey:
    case ActionKind::kDeleteKey: {
      std::string error;
      const bool ok = LoadRegFile(RegistryActionAsRegFile(a), "action", machine_.registry, &error);
      transcript_.Add(now_, ok ? said : said + ": failed (" + error + ")");
      return;
    }
    case ActionKind::kAddDevice:
      machine_.devices.push_back({a.instanceId, a.hardwareIds, a.removalFails});
      transcript_.Add(now_, said);
      return;
    case ActionKind::kRemoveDevice: {
      auto& devices = machine_.devices;
      const auto it = std::find_if(devices.begin(), devices.end(), [&](const Device& d) {
        return EqualsIgnoreCase(d.instanceId, a.instanceId);
      });
      if (it == devices.end()) {
        transcript_.Add(now_, said + ": no such device");
      } else {
        devices.erase(it);
        transcript_.Add(now_, said);
      }
      return;
    }
    case ActionKind::kWriteFile: {
      const bool ok = machine_.files.WriteFile(a.path, a.text);
      transcript_.Add(now_, ok ? said : said + ": failed");
      return;
    }
    case ActionKind::kDeleteFile: {
      const bool ok = machine_.files.DeleteFileA(a.path.c_str()) != kFalse;
      transcript_.Add(now_, ok ? said : said + ": failed");
      return;
    }
  }
}

}  // namespace kx::sim
