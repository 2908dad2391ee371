// The whole simulated PC as data: the Windows release and its folders, the
// registry, the drives and files, the windows on the screen, how the programs
// Setup starts behave, the present devices, the mixer device count, the
// registered OEM INF files and what happens on its own while Setup runs.
//
// A Machine is a value: copy it to keep a "before" picture. Its times are
// simulated milliseconds since the start of the run (SimPlatform's clock).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/files/file_system.h"
#include "sim/machine/duration_text.h"
#include "sim/machine/machine_action.h"
#include "sim/machine/windows_release.h"
#include "sim/registry/registry.h"

namespace kx::sim {

// A top-level window of another program.
struct Window {
  std::string title;
  std::string className;
  CloseBehaviour onClose = CloseBehaviour::kCloses;
  SimTime appearsAt = 0;              // on the screen from this time on
  std::optional<SimTime> vanishesAt;  // gone from this time on; never if empty
  // Set when the window has gone (WM_CLOSE, its program ended, an event).
  bool gone = false;
  // The simulated process that opened it, 0 for windows of the image.
  DWORD ownerProcessId = 0;

  bool IsOpenAt(SimTime now) const {
    return !gone && appearsAt <= now && (!vanishesAt || now < *vanishesAt);
  }
};

// How a program behaves once started. Programs without a behaviour end at
// once with exit code 0 and change nothing.
struct ProgramBehaviour {
  std::string path;                    // its full path, any case
  std::optional<SimTime> runsFor = 0;  // empty: runs until the end of the run
  DWORD exitCode = 0;                  // 259 (STILL_ACTIVE) is allowed
  SimTime idleAfter = 0;               // when WaitForInputIdle sees it ready
  std::vector<MachineAction> onStart;
  std::vector<MachineAction> onEnd;
};

struct Device {
  std::string instanceId;
  std::vector<std::string> hardwareIds;  // the SPDRP_HARDWAREID multi-string
  bool removalFails = false;
};

// Something that happens at a time: after the start of the run, or after the
// first time Setup triggers it (only "reenumerate": CM_Reenumerate_DevNode).
struct TimedEvent {
  SimTime at = 0;
  std::string trigger;  // empty, or "reenumerate"
  MachineAction action;
};

inline constexpr char kReenumerateTrigger[] = "reenumerate";

// An INF registered with SetupCopyOEMInfA.
struct OemInf {
  std::string name;  // "OEM0.INF", in the INF folder
  std::string sourceInf;
  std::string mediaLocation;
  DWORD mediaType = 0;
};

enum class FaultKind { kCannotOpen, kCannotWrite, kCannotDelete };

struct Fault {
  std::string path;  // a registry key (HKEY_...) or a file or folder path
  FaultKind kind = FaultKind::kCannotOpen;
};

struct Drive {
  char letter = 'C';
  std::string imageFolder;  // the folder of the machine image that holds it
  DriveOptions options;
  // Mounted for one run (installation media); not part of a saved image.
  bool transient = false;
};

struct Machine {
  WindowsRelease release;
  std::string windowsFolder;  // no trailing backslash: C:\WINDOWS
  std::string systemFolder;
  std::string startFolder;               // the current folder Setup starts in
  int language = 1033;                   // the user's language id, for dialog templates
  std::string currentUser = ".DEFAULT";  // HKEY_CURRENT_USER's key under HKEY_USERS
  char cdDrive = 'D';                    // where installation media is mounted

  Registry registry;
  FileSystem files;
  std::vector<Drive> drives;

  std::vector<Window> windows;  // in the order FindWindowExA finds them
  std::vector<ProgramBehaviour> programs;
  std::vector<Device> devices;  // in enumeration order
  UINT mixerDevices = 0;
  std::vector<TimedEvent> events;
  std::vector<OemInf> oemInfs;
  std::vector<Fault> faults;

  // Sets the release, its default folders and the registry's behaviour
  // (NT or 9x) and current user.
  void SetRelease(const WindowsRelease& newRelease);
  void SetCurrentUser(const std::string& userKey);

  // Adds a drive (forwarded to the file system) and remembers it for saving.
  void AddDrive(char letter, DriveOptions options, std::string imageFolder = {});
  const Drive* FindDrive(char letter) const;

  // Windows folder + "\INF".
  std::string InfFolder() const;

  // The installation source list that SetupQuerySourceListA returns; it is
  // kept where Windows keeps it, in the registry value "Installation Sources"
  // of HKLM\Software\Microsoft\Windows\CurrentVersion\Setup.
  std::vector<std::string> SourceList() const;
  void SetSourceList(const std::vector<std::string>& list);

  // The behaviour of the program at that full path (any case), or null.
  const ProgramBehaviour* FindProgram(std::string_view path) const;

  // Makes a key, file or folder fail to open, write or delete: forwarded to
  // the registry (paths starting with HKEY_) or the file system.
  void InjectFault(const std::string& path, FaultKind kind);
};

// A small but plausible machine of that release ("95", "98", "98SE", "ME",
// "NT4", "2000", "XP"): drive C with the Windows, system and INF folders and
// SYSTRAY.EXE, the standard keys (Run, Setup SourcePath, the tray's Services
// value, the Multimedia Audio formats), no windows, no devices, one mixer.
// Aborts for an unknown release name: it is meant for tests.
Machine MakeMachine(std::string_view release);

}  // namespace kx::sim
