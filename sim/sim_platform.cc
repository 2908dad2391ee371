// The simulated platform's core: the run, the record, version and folders,
// the clock, the user and the windows.
#include "sim/sim_platform.h"

#include <cstring>

#include "platform/text.h"
#include "sim/run/run_stop.h"
#include "sim/sim_constants.h"

namespace kx::sim {
namespace {

// After this many calls with the clock standing still, Setup is spinning.
constexpr long long kMaxCallsWithoutTime = 10'000'000;

// The tick count of a machine that has been up for a while when Setup starts.
constexpr DWORD kTicksAtStart = 754'000;

// Copies text and returns its length, or returns the size needed (terminator
// included) and leaves the buffer alone when it does not fit: the contract of
// GetWindowsDirectoryA, GetSystemDirectoryA and GetCurrentDirectoryA.
UINT CopyFolder(const std::string& text, char* buffer, UINT size) {
  if (buffer == nullptr || text.size() + 1 > size) return static_cast<UINT>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<UINT>(text.size());
}

std::string Shown(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

SimPlatform::SimPlatform(Machine& machine, SimOptions options)
    : machine_(machine),
      options_(std::move(options)),
      transcript_(options_.transcript),
      world_(machine_, transcript_, options_.realTime),
      user_(options_.answers, options_.ask) {
  if (!machine_.startFolder.empty()) {
    machine_.files.SetCurrentDirectoryA(machine_.startFolder.c_str());
  }
  world_.FireDue();
}

SimPlatform::~SimPlatform() {
  for (FileStream stream : openStreams_) machine_.files.FClose(stream);
}

CallOutcome SimPlatform::Run(const std::function<void()>& fn) {
  CallOutcome outcome;
  try {
    fn();
  } catch (const ProcessExitStop& stop) {
    outcome.end = CallEnd::kExited;
    outcome.exitCode = stop.code;
    // exit() flushes and closes the run-time library's streams.
    for (FileStream stream : std::vector<FileStream>(openStreams_)) FClose(stream);
  } catch (const StuckStop& stop) {
    outcome.end = CallEnd::kStuck;
    outcome.message = stop.reason;
    transcript_.Add(world_.now(), "stopped: " + stop.reason);
  } catch (const NotAvailableStop& stop) {
    outcome.end = CallEnd::kNotAvailable;
    outcome.message = stop.feature;
  }
  transcript_.Flush();
  return outcome;
}

void SimPlatform::AdvanceClock(SimTime ms) { world_.Advance(ms); }

void SimPlatform::Call() {
  if (world_.now() != lastCallTime_) {
    lastCallTime_ = world_.now();
    callsWithoutTime_ = 0;
  }
  if (++callsWithoutTime_ > kMaxCallsWithoutTime) {
    throw StuckStop{"Setup called Windows " + std::to_string(kMaxCallsWithoutTime) +
                    " times without pausing (a loop that never waits)"};
  }
}

void SimPlatform::Note(std::string what) { transcript_.Add(world_.now(), std::move(what)); }

void SimPlatform::Pause(DWORD milliseconds, const char* call) {
  transcript_.AddPause(world_.now(), milliseconds, call);
  world_.Advance(milliseconds == kInfinite ? kStuckAfter + 1 : SimTime{milliseconds});
}

void SimPlatform::EndProcess(int code) {
  Note("exit(" + std::to_string(code) + ")");
  throw ProcessExitStop{code};
}

void SimPlatform::StopNotAvailable(const char* feature) {
  Note(std::string("not available yet: ") + (feature ? feature : ""));
  throw NotAvailableStop{feature ? feature : ""};
}

// ---- Command line, version and folders. ----

const char* SimPlatform::GetCommandLineA() {
  Call();
  return options_.commandLine.c_str();
}

DWORD SimPlatform::GetModuleFileNameA(char* buffer, DWORD size) {
  Call();
  const std::string& path = options_.modulePath;
  if (buffer == nullptr || size == 0) {
    lastError_ = kErrorInsufficientBuffer;
    return 0;
  }
  if (!CopyToBuffer(path, buffer, size)) {
    lastError_ = kErrorInsufficientBuffer;
    return size;
  }
  return static_cast<DWORD>(path.size());
}

BOOL SimPlatform::GetVersionExA(OsVersionInfo* info) {
  Call();
  constexpr DWORD kExSize = 156;  // OSVERSIONINFOEXA
  if (info == nullptr || (info->dwOSVersionInfoSize != sizeof(OsVersionInfo) &&
                          info->dwOSVersionInfoSize != kExSize)) {
    lastError_ = kErrorInsufficientBuffer;
    return kFalse;
  }
  const WindowsRelease& r = machine_.release;
  info->dwMajorVersion = r.majorVersion;
  info->dwMinorVersion = r.minorVersion;
  info->dwBuildNumber = r.buildNumber;
  info->dwPlatformId = r.platformId;
  CopyToBuffer(r.csdVersion, info->szCSDVersion, sizeof info->szCSDVersion);
  return kTrue;
}

UINT SimPlatform::GetWindowsDirectoryA(char* buffer, UINT size) {
  Call();
  return CopyFolder(machine_.windowsFolder, buffer, size);
}

UINT SimPlatform::GetSystemDirectoryA(char* buffer, UINT size) {
  Call();
  return CopyFolder(machine_.systemFolder, buffer, size);
}

DWORD SimPlatform::GetLastError() { return lastError_; }

void SimPlatform::SetLastError(DWORD error) { lastError_ = error; }

DWORD SimPlatform::GetTickCount() {
  Call();
  return kTicksAtStart + static_cast<DWORD>(world_.now());
}

// ---- Pauses and the wait cursor. ----

void SimPlatform::Sleep(DWORD milliseconds) {
  Call();
  Pause(milliseconds, "Sleep");
}

DWORD SimPlatform::SleepEx(DWORD milliseconds, BOOL /*alertable*/) {
  Call();
  Pause(milliseconds, "SleepEx");
  return 0;
}

void SimPlatform::BeginWaitCursor() {
  Call();
  if (waitCursorDepth_++ == 0) Note("wait cursor on");
  waitCursorShown_ = true;
}

void SimPlatform::EndWaitCursor() {
  Call();
  if (waitCursorDepth_ == 0) return;
  if (--waitCursorDepth_ == 0) Note("wait cursor off");
}

// ---- The user. ----

int SimPlatform::MessageBoxA(HWnd owner, const char* text, const char* caption, UINT type) {
  Call();
  const Question question = MessageBoxQuestion(caption ? caption : "Error", text ? text : "", type);
  MessageBoxRecord record;
  record.at = world_.now();
  record.caption = question.caption;
  record.text = question.text;
  record.type = type;
  record.owned = owner != nullptr;
  std::string buttons;
  for (int b : question.buttons) {
    record.buttons.push_back(ButtonName(b));
    buttons += std::string(buttons.empty() ? "" : " ") + "[" + ButtonName(b) + "]";
  }
  const Reply reply = user_.Answer(question);
  record.answer = reply.button;
  record.answerName = ButtonName(reply.button);
  record.answeredBy = reply.by;
  messageBoxes_.push_back(record);
  Note("message box \"" + question.caption + "\": \"" + Shown(question.text) + "\" " + buttons +
       " -> " + record.answerName + " (" + reply.by + ")");
  return reply.button;
}

BOOL SimPlatform::ExitWindowsEx(UINT flags, DWORD /*reason*/) {
  Call();
  restartRequested_ = true;
  restartFlags_ = flags;
  std::string how = (flags & kEwxReboot)     ? "restart"
                    : (flags & kEwxShutdown) ? "shut down"
                                             : "log off";
  if (flags & kEwxForce) how += ", forced";
  Note("ExitWindowsEx: " + how + " requested");
  return kTrue;
}

// ---- Windows. ----

std::size_t SimPlatform::WindowIndex(HWnd window) const {
  const auto value = reinterpret_cast<std::uintptr_t>(window);
  if (value < kWindowHandleBase || (value - kWindowHandleBase) % 4 != 0) return std::string::npos;
  const std::size_t index = (value - kWindowHandleBase) / 4;
  if (index >= machine_.windows.size() || !machine_.windows[index].IsOpenAt(world_.now())) {
    return std::string::npos;
  }
  return index;
}

HWnd SimPlatform::FindWindowExA(HWnd parent, HWnd childAfter, const char* className,
                                const char* windowName) {
  Call();
  // Only top-level windows are modelled: no window has children.
  if (parent != nullptr) return nullptr;
  std::size_t from = 0;
  if (childAfter != nullptr) {
    const std::size_t after = WindowIndex(childAfter);
    if (after == std::string::npos) {
      lastError_ = kErrorInvalidWindowHandle;
      return nullptr;
    }
    from = after + 1;
  }
  for (std::size_t i = from; i < machine_.windows.size(); ++i) {
    const Window& w = machine_.windows[i];
    if (!w.IsOpenAt(world_.now())) continue;
    if (className != nullptr && !EqualsIgnoreCase(w.className, className)) continue;
    if (windowName != nullptr && !EqualsIgnoreCase(w.title, windowName)) continue;
    return reinterpret_cast<HWnd>(kWindowHandleBase + 4 * i);
  }
  return nullptr;
}

std::intptr_t SimPlatform::SendMessageA(HWnd window, UINT message, std::uintptr_t /*wParam*/,
                                        std::intptr_t /*lParam*/) {
  Call();
  const std::size_t index = WindowIndex(window);
  if (index == std::string::npos) {
    lastError_ = kErrorInvalidWindowHandle;
    return 0;
  }
  if (message == kWmClose) {
    const Window& w = machine_.windows[index];
    if (w.onClose == CloseBehaviour::kCloses) {
      world_.RemoveWindow(index, "WM_CLOSE:");
    } else {
      Note("WM_CLOSE: window \"" + w.title + "\" ignores it");
    }
  }
  return 0;
}

BOOL SimPlatform::ShowWindow(HWnd window, int command) {
  Call();
  const std::size_t index = WindowIndex(window);
  if (index == std::string::npos) {
    lastError_ = kErrorInvalidWindowHandle;
    return kFalse;
  }
  Note("ShowWindow \"" + machine_.windows[index].title + "\" " + std::to_string(command));
  return kTrue;
}

BOOL SimPlatform::EnableWindow(HWnd window, BOOL /*enable*/) {
  Call();
  if (WindowIndex(window) == std::string::npos) {
    lastError_ = kErrorInvalidWindowHandle;
    return kFalse;
  }
  return kFalse;  // the window was enabled before
}

BOOL SimPlatform::RedrawWindow(HWnd window, UINT /*flags*/) {
  Call();
  if (window != nullptr && WindowIndex(window) == std::string::npos) {
    lastError_ = kErrorInvalidWindowHandle;
    return kFalse;
  }
  return kTrue;
}

// ---- Multimedia. ----

UINT SimPlatform::mixerGetNumDevs() {
  Call();
  return machine_.mixerDevices;
}

}  // namespace kx::sim
