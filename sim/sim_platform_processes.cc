// The simulated platform's processes: starting programs the way Windows finds
// them, and waiting for them on the simulated clock.
#include <algorithm>

#include "platform/text.h"
#include "sim/sim_constants.h"
#include "sim/sim_platform.h"

namespace kx::sim {
namespace {

// WinExec's result for a program that started (any value above 31 means so).
constexpr UINT kWinExecStarted = 33;

// Asking for the exit code of a running program in a loop lets that program
// run meanwhile: each such call costs this much simulated time.
constexpr SimTime kPollCost = 10;

bool HasExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\:");
  const std::size_t dot = path.find_last_of('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

bool NamesFolder(const std::string& name) {
  return name.find('\\') != std::string::npos || name.find(':') != std::string::npos;
}

}  // namespace

// The program a command line starts, found as Windows finds it: the first
// token (up to the closing quote, or for an unquoted line the shortest run of
// words that names a file, as "C:\Program Files\App\Uninst.exe -a" needs);
// ".exe" appended to a name without extension; a path relative to the
// current folder, a bare name in the current, Windows and system folders.
std::string SimPlatform::ResolveProgram(const std::string& commandLine, std::string* programPath) {
  std::string line = commandLine;
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  line.erase(0, first);

  std::vector<std::string> candidates;
  if (line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    candidates.push_back(
        line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  } else {
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == ' ' || line[i] == '\t') candidates.push_back(line.substr(0, i));
    }
    candidates.push_back(line);
  }

  char current[kMaxPath + 1] = {};
  machine_.files.GetCurrentDirectoryA(sizeof current, current);
  for (std::string name : candidates) {
    if (name.empty()) continue;
    if (!HasExtension(name)) name += ".exe";
    std::vector<std::string> places;
    if (NamesFolder(name)) {
      places.push_back(machine_.files.FullPath(name).value_or(name));
    } else {
      for (const std::string& folder :
           {std::string(current), machine_.windowsFolder, machine_.systemFolder}) {
        const std::string path = WithTrailingBackslash(folder) + name;
        places.push_back(machine_.files.FullPath(path).value_or(path));
      }
    }
    for (const std::string& place : places) {
      const DWORD attributes = machine_.files.GetFileAttributesA(place.c_str());
      if (attributes != kInvalidFileAttributes && !(attributes & kFileAttributeDirectory)) {
        *programPath = place;
        return name;
      }
    }
  }
  return {};
}

DWORD SimPlatform::Start(const char* via, const std::string& commandLine, int show,
                         std::string* program) {
  StartedProgram record;
  record.at = world_.now();
  record.via = via;
  record.command = commandLine;
  record.show = show;
  char current[kMaxPath + 1] = {};
  machine_.files.GetCurrentDirectoryA(sizeof current, current);
  record.currentFolder = current;
  std::string path;
  if (program->empty()) {
    ResolveProgram(commandLine, &path);
  } else {
    const std::string full = machine_.files.FullPath(*program).value_or(*program);
    const DWORD attributes = machine_.files.GetFileAttributesA(full.c_str());
    if (attributes != kInvalidFileAttributes && !(attributes & kFileAttributeDirectory))
      path = full;
  }
  if (path.empty()) {
    started_.push_back(record);
    Note(std::string(via) + " \"" + commandLine + "\": no such program, not started");
    return 0;
  }
  record.program = path;
  record.started = true;
  Note(std::string(via) + " \"" + commandLine + "\" in " + record.currentFolder + " starts " +
       path);
  record.processId = world_.StartProcess(path, commandLine);
  started_.push_back(record);
  *program = path;
  return record.processId;
}

UINT SimPlatform::WinExec(const char* commandLine, UINT show) {
  Call();
  std::string program;
  if (commandLine == nullptr ||
      Start("WinExec", commandLine, static_cast<int>(show), &program) == 0) {
    lastError_ = kErrorFileNotFound;
    return kErrorFileNotFound;
  }
  return kWinExecStarted;
}

BOOL SimPlatform::CreateProcessA(const char* applicationName, char* commandLine,
                                 BOOL /*inheritHandles*/, DWORD /*creationFlags*/,
                                 const char* currentDirectory, const StartupInfo* startup,
                                 ProcessInformation* info) {
  Call();
  if (applicationName == nullptr && commandLine == nullptr) {
    lastError_ = kErrorInvalidParameter;
    return kFalse;
  }
  const int show = (startup != nullptr && (startup->dwFlags & kStartfUseShowWindow))
                       ? startup->wShowWindow
                       : kSwShowNormal;
  std::string program = applicationName ? applicationName : "";
  const std::string line = commandLine ? commandLine : program;
  DWORD id = 0;
  if (currentDirectory != nullptr) {
    // The child starts in that folder; Setup's own stays where it is.
    char own[kMaxPath + 1] = {};
    machine_.files.GetCurrentDirectoryA(sizeof own, own);
    if (!machine_.files.SetCurrentDirectoryA(currentDirectory)) {
      lastError_ = kErrorDirectory;
      return kFalse;
    }
    id = Start("CreateProcessA", line, show, &program);
    machine_.files.SetCurrentDirectoryA(own);
  } else {
    id = Start("CreateProcessA", line, show, &program);
  }
  if (id == 0) {
    lastError_ = kErrorFileNotFound;
    return kFalse;
  }
  if (info != nullptr) {
    info->hProcess = reinterpret_cast<Handle>(kProcessHandleBase + 4 * id);
    info->hThread = reinterpret_cast<Handle>(kThreadHandleBase + 4 * id);
    info->dwProcessId = id;
    info->dwThreadId = id + 0x100;
  }
  return kTrue;
}

SimProcess* SimPlatform::ProcessFromHandle(Handle handle) {
  if (std::find(closedHandles_.begin(), closedHandles_.end(), handle) != closedHandles_.end()) {
    return nullptr;
  }
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  for (std::uintptr_t base : {kProcessHandleBase, kThreadHandleBase}) {
    if (value > base && value < base + 0x10000 && (value - base) % 4 == 0) {
      return world_.FindProcess(static_cast<DWORD>((value - base) / 4));
    }
  }
  return nullptr;
}

bool SimPlatform::ProcessHasEnded(Handle process) const {
  const auto value = reinterpret_cast<std::uintptr_t>(process);
  for (const SimProcess& p : world_.processes()) {
    if (value == kProcessHandleBase + 4 * p.id || value == kThreadHandleBase + 4 * p.id) {
      return p.ended;
    }
  }
  return false;
}

DWORD SimPlatform::WaitForInputIdle(Handle process, DWORD milliseconds) {
  Call();
  SimProcess* p = ProcessFromHandle(process);
  if (p == nullptr) {
    lastError_ = kErrorInvalidHandle;
    return kWaitFailed;
  }
  if (p->ended || world_.now() >= p->idleAt) return kWaitObject0;
  SimTime until = p->idleAt;
  if (p->endsAt) until = std::min(until, *p->endsAt);
  if (milliseconds != kInfinite) until = std::min(until, world_.now() + SimTime{milliseconds});
  const DWORD id = p->id;
  world_.Advance(until - world_.now());
  p = world_.FindProcess(id);
  return (p->ended || world_.now() >= p->idleAt) ? kWaitObject0 : kWaitTimeout;
}

DWORD SimPlatform::WaitForSingleObject(Handle object, DWORD milliseconds) {
  Call();
  SimProcess* p = ProcessFromHandle(object);
  if (p == nullptr) {
    lastError_ = kErrorInvalidHandle;
    return kWaitFailed;
  }
  if (p->ended) return kWaitObject0;
  const DWORD id = p->id;
  SimTime wait = milliseconds == kInfinite ? kStuckAfter + 1 : SimTime{milliseconds};
  if (p->endsAt) wait = std::min(wait, *p->endsAt - world_.now());
  world_.Advance(wait);
  return world_.FindProcess(id)->ended ? kWaitObject0 : kWaitTimeout;
}

BOOL SimPlatform::GetExitCodeProcess(Handle process, DWORD* exitCode) {
  Call();
  SimProcess* p = ProcessFromHandle(process);
  if (p == nullptr || exitCode == nullptr) {
    lastError_ = p == nullptr ? kErrorInvalidHandle : kErrorInvalidParameter;
    return kFalse;
  }
  // A program that ended with 259 reads as running too, and costs as much.
  *exitCode = p->ended ? p->exitCode : kStillActive;
  if (*exitCode == kStillActive) world_.Advance(kPollCost);
  return kTrue;
}

BOOL SimPlatform::CloseHandle(Handle object) {
  Call();
  if (ProcessFromHandle(object) == nullptr) {
    lastError_ = kErrorInvalidHandle;
    return kFalse;
  }
  closedHandles_.push_back(object);
  return kTrue;
}

}  // namespace kx::sim
