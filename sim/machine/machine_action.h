// One change the world outside Setup makes to the simulated PC: what a timed
// event does, or what a started program does when it starts or ends.
//
// Written one per line, in the words of the field:
//   open window "Title" [class "Class"] [ignores WM_CLOSE]
//   close window ["Title"] [class "Class"]          every window that matches
//   mixer devices N
//   set value KEY "Name"=DATA          DATA as in a REGEDIT4 file; @=DATA for
//   delete value KEY "Name"            the default value
//   create key KEY
//   delete key KEY                     with all its subkeys
//   add device "INSTANCE" ids "ID" ["ID" ...] [removal fails]
//   remove device "INSTANCE"
//   write file PATH "TEXT"
//   delete file PATH
// KEY starts with a root key, written out (HKEY_LOCAL_MACHINE) or short
// (HKLM, HKCU, HKU, HKCR). Quoted text holds no escapes: "" stands for one
// double quote. A KEY or PATH at the end of the line may hold blanks unquoted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace kx::sim {

enum class CloseBehaviour {
  kCloses,   // WM_CLOSE destroys the window
  kIgnores,  // WM_CLOSE is answered and nothing happens
};

enum class ActionKind {
  kOpenWindow,
  kCloseWindow,
  kSetMixerDevices,
  kSetValue,
  kDeleteValue,
  kCreateKey,
  kDeleteKey,
  kAddDevice,
  kRemoveDevice,
  kWriteFile,
  kDeleteFile,
};

struct MachineAction {
  ActionKind kind = ActionKind::kOpenWindow;

  // Windows. For kCloseWindow an empty optional part matches any window.
  std::string title;
  bool matchTitle = false;
  std::string className;
  bool matchClass = false;
  CloseBehaviour onClose = CloseBehaviour::kCloses;

  // Registry: the key with its root written out, the value name (empty for
  // the default value) and, for kSetValue, the data as a REGEDIT4 file
  // writes it ("text" in quotes, dword:0000001f, hex:01,02, ...).
  std::string key;
  std::string valueName;
  std::string data;

  // Devices.
  std::string instanceId;
  std::vector<std::string> hardwareIds;
  bool removalFails = false;

  // Files, and the mixer count.
  std::string path;
  std::string text;
  UINT count = 0;
};

// Reads one action. False with a message that names what is wrong. The data of
// a registry value is checked only for its form here; the machine loader
// checks that a REGEDIT4 file would read it.
bool ParseMachineAction(std::string_view text, MachineAction* action, std::string* error);

// The action as ParseMachineAction reads it back.
std::string FormatMachineAction(const MachineAction& action);

// The lines of a REGEDIT4 file that make a registry action's change, header
// included; empty for other actions.
std::string RegistryActionAsRegFile(const MachineAction& action);

// "HKLM\Software" -> "HKEY_LOCAL_MACHINE\Software"; false for an unknown root.
bool ExpandRootKeyName(std::string_view key, std::string* full);

}  // namespace kx::sim
