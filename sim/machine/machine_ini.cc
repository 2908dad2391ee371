#include "sim/machine/machine_ini.h"

#include <cstdio>
#include <map>

#include "platform/text.h"
#include "sim/files/dos_path.h"
#include "sim/profile/ini_document.h"
#include "sim/registry/reg_file.h"

namespace kx::sim {
namespace {

using profile::IniEntry;
using profile::IniSection;

// An error at a line of the file; thrown inside the parser only and turned
// into the "file:line: what" message at its end.
struct IniError {
  int line;
  std::string what;
};

[[noreturn]] void Fail(int line, std::string what) { throw IniError{line, std::move(what)}; }

bool ParseNumber(std::string_view text, unsigned long long max, unsigned long long* value) {
  unsigned base = 10;
  if (StartsWithIgnoreCase(text, "0x")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 20) return false;
  unsigned long long v = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && AsciiUpper(c) >= 'A' && AsciiUpper(c) <= 'F') {
      digit = static_cast<unsigned>(AsciiUpper(c) - 'A' + 10);
    } else {
      return false;
    }
    if (v > (max - digit) / base) return false;
    v = v * base + digit;
  }
  *value = v;
  return true;
}

DWORD Number(const IniEntry& e, unsigned long long max) {
  unsigned long long v = 0;
  if (!ParseNumber(e.value, max, &v)) {
    Fail(e.line,
         e.key + " must be a number from 0 to " + std::to_string(max) + ", not '" + e.value + "'");
  }
  return static_cast<DWORD>(v);
}

SimTime Duration(const IniEntry& e) {
  SimTime ms = 0;
  std::string error;
  if (!ParseDuration(e.value, &ms, &error)) Fail(e.line, error);
  return ms;
}

bool YesNo(const IniEntry& e) {
  if (EqualsIgnoreCase(e.value, "yes") || EqualsIgnoreCase(e.value, "true") || e.value == "1") {
    return true;
  }
  if (EqualsIgnoreCase(e.value, "no") || EqualsIgnoreCase(e.value, "false") || e.value == "0") {
    return false;
  }
  Fail(e.line, e.key + " must be yes or no, not '" + e.value + "'");
}

// A full Windows path ("C:\WINDOWS").
std::string WindowsPath(const IniEntry& e) {
  DosPath resolved;
  if (e.value.size() < 3 || e.value[1] != ':' ||
      ResolveDosPath(e.value, "", PathKind::Name, &resolved) != kErrorSuccess) {
    Fail(e.line, e.key + " must be a full Windows path such as C:\\WINDOWS, shorter than " +
                     std::to_string(kMaxPath) + " characters, not '" + e.value + "'");
  }
  return resolved.Text();
}

char DriveLetter(std::string_view text, int line) {
  if (text.size() == 2 && text[1] == ':') text.remove_suffix(1);
  if (text.size() != 1 || AsciiUpper(text[0]) < 'A' || AsciiUpper(text[0]) > 'Z') {
    Fail(line, "'" + std::string(text) + "' is not a drive letter");
  }
  return AsciiUpper(text[0]);
}

MachineAction Action(const IniEntry& e, const std::string& text) {
  MachineAction action;
  std::string error;
  if (!ParseMachineAction(text, &action, &error)) Fail(e.line, error);
  const std::string reg = RegistryActionAsRegFile(action);
  if (!reg.empty()) {
    Registry scratch;
    if (!LoadRegFile(reg, "action", scratch, &error)) {
      const std::size_t cut = error.find(": ");
      Fail(e.line, cut == std::string::npos ? error : error.substr(cut + 2));
    }
  }
  return action;
}

// Keys of one section, each allowed once; unknown keys are errors.
class Keys {
 public:
  Keys(const IniSection& section, std::initializer_list<const char*> known, bool repeatable = false)
      : section_(section) {
    for (const IniEntry& e : section.entries) {
      bool ok = false;
      for (const char* k : known) ok = ok || EqualsIgnoreCase(e.key, k);
      if (!ok) {
        std::string list;
        for (const char* k : known) list += std::string(list.empty() ? "" : ", ") + k;
        Fail(e.line, "unknown key '" + e.key + "' in [" + section.name + "] (known: " + list + ")");
      }
      if (!repeatable) {
        for (const IniEntry* s : seen_) {
          if (EqualsIgnoreCase(s->key, e.key)) Fail(e.line, "'" + e.key + "' is given twice");
        }
      }
      seen_.push_back(&e);
    }
  }
  const IniEntry* Find(const char* key) const { return section_.Find(key); }
  const IniEntry& Require(const char* key) const {
    const IniEntry* e = Find(key);
    if (e == nullptr) Fail(section_.line, "[" + section_.name + "] needs '" + key + "'");
    return *e;
  }

 private:
  const IniSection& section_;
  std::vector<const IniEntry*> seen_;
};

void ReadMachine(const IniSection& s, Machine* m, bool* foldersGiven) {
  const Keys keys(s, {"release", "platform_id", "version", "build", "service_pack",
                      "windows_folder", "system_folder", "start_folder", "language", "current_user",
                      "cd_drive", "mixer_devices"});
  WindowsRelease release;
  const IniEntry* name = keys.Find("release");
  if (name != nullptr && !FindWindowsRelease(name->value, &release)) {
    Fail(name->line, "unknown release '" + name->value + "' (known: " + KnownReleaseNames() +
                         "; or give platform_id, version and build)");
  }
  if (name == nullptr) {
    release.name.clear();
    for (const char* k : {"platform_id", "version", "build"}) {
      if (keys.Find(k) == nullptr) {
        Fail(s.line, std::string("[machine] needs 'release', or 'platform_id', 'version' and "
                                 "'build'; '") +
                         k + "' is missing");
      }
    }
  }
  bool raw = false;
  if (const IniEntry* e = keys.Find("platform_id")) {
    release.platformId = Number(*e, 2);
    raw = true;
  }
  if (const IniEntry* e = keys.Find("version")) {
    const std::size_t dot = e->value.find('.');
    unsigned long long major = 0, minor = 0;
    if (dot == std::string::npos || !ParseNumber(e->value.substr(0, dot), 255, &major) ||
        !ParseNumber(e->value.substr(dot + 1), 255, &minor) ||
        StartsWithIgnoreCase(e->value, "0x")) {
      Fail(e->line, "version must be major.minor, such as 4.90, not '" + e->value + "'");
    }
    release.majorVersion = static_cast<DWORD>(major);
    release.minorVersion = static_cast<DWORD>(minor);
    raw = true;
  }
  if (const IniEntry* e = keys.Find("build")) {
    release.buildNumber = Number(*e, 0xFFFFFFFFull);
    raw = true;
  }
  if (const IniEntry* e = keys.Find("service_pack")) {
    if (e->value.size() > 127) Fail(e->line, "service_pack is longer than 127 characters");
    release.csdVersion = e->value;
  }
  if (raw) {
    // Numbers of a known release keep its name; others are a release of their own.
    WindowsRelease known;
    if (!release.name.empty() && FindWindowsRelease(release.name, &known) &&
        (known.platformId != release.platformId || known.majorVersion != release.majorVersion ||
         known.minorVersion != release.minorVersion || known.buildNumber != release.buildNumber)) {
      release.name.clear();
    }
  }
  m->SetRelease(release);
  if (const IniEntry* e = keys.Find("windows_folder")) {
    m->windowsFolder = WindowsPath(*e);
    *foldersGiven = true;
    if (keys.Find("system_folder") == nullptr) {
      m->systemFolder = m->windowsFolder + (release.IsNt() ? "\\system32" : "\\SYSTEM");
    }
  }
  if (const IniEntry* e = keys.Find("system_folder")) m->systemFolder = WindowsPath(*e);
  m->startFolder = m->windowsFolder;
  if (const IniEntry* e = keys.Find("start_folder")) m->startFolder = WindowsPath(*e);
  if (const IniEntry* e = keys.Find("language")) m->language = static_cast<int>(Number(*e, 0xFFFF));
  m->SetCurrentUser(".DEFAULT");
  if (const IniEntry* e = keys.Find("current_user")) {
    if (e->value.empty() || e->value.find('\\') != std::string::npos || e->value.size() > 255) {
      Fail(e->line, "current_user must be one key name under HKEY_USERS, such as .DEFAULT");
    }
    m->SetCurrentUser(e->value);
  }
  if (const IniEntry* e = keys.Find("cd_drive")) m->cdDrive = DriveLetter(e->value, e->line);
  if (const IniEntry* e = keys.Find("mixer_devices")) m->mixerDevices = Number(*e, 9999);
}

std::uint64_t Capacity(const IniEntry& e) {
  std::string digits = e.value;
  unsigned long long scale = 1;
  if (!digits.empty()) {
    const char unit = AsciiUpper(digits.back());
    scale = unit == 'K' ? 1ull << 10 : unit == 'M' ? 1ull << 20 : unit == 'G' ? 1ull << 30 : 1;
    if (scale > 1) digits.pop_back();
  }
  unsigned long long v = 0;
  if (!ParseNumber(digits, (1ull << 50) / scale, &v) || StartsWithIgnoreCase(digits, "0x")) {
    Fail(e.line, "capacity must be a number of bytes, or with K, M or G, not '" + e.value + "'");
  }
  return v * scale;
}

void ReadDrive(const IniSection& s, std::string_view label, Machine* m) {
  const char letter = DriveLetter(label, s.line);
  if (m->FindDrive(letter) != nullptr)
    Fail(s.line, std::string("drive ") + letter + ": is given twice");
  const Keys keys(s, {"folder", "read_only", "capacity"});
  DriveOptions options;
  std::string folder(1, letter);
  if (const IniEntry* e = keys.Find("folder")) {
    if (e->value.empty() || e->value.find("..") != std::string::npos || e->value[0] == '/' ||
        e->value.find('\\') != std::string::npos) {
      Fail(e->line, "folder must name a folder inside the image, not '" + e->value + "'");
    }
    folder = e->value;
  }
  if (const IniEntry* e = keys.Find("read_only")) options.readOnly = YesNo(*e);
  if (const IniEntry* e = keys.Find("capacity")) options.capacityBytes = Capacity(*e);
  m->AddDrive(letter, options, folder);
}

void ReadWindow(const IniSection& s, Machine* m) {
  const Keys keys(s, {"title", "class", "on_close", "appears", "vanishes"});
  Window w;
  w.title = keys.Require("title").value;
  if (const IniEntry* e = keys.Find("class")) w.className = e->value;
  if (const IniEntry* e = keys.Find("on_close")) {
    if (EqualsIgnoreCase(e->value, "closes")) {
      w.onClose = CloseBehaviour::kCloses;
    } else if (EqualsIgnoreCase(e->value, "ignores")) {
      w.onClose = CloseBehaviour::kIgnores;
    } else {
      Fail(e->line, "on_close must be closes or ignores, not '" + e->value + "'");
    }
  }
  if (const IniEntry* e = keys.Find("appears")) w.appearsAt = Duration(*e);
  if (const IniEntry* e = keys.Find("vanishes")) {
    if (!EqualsIgnoreCase(e->value, "never")) {
      w.vanishesAt = Duration(*e);
      if (*w.vanishesAt <= w.appearsAt) Fail(e->line, "the window vanishes before it appears");
    }
  }
  m->windows.push_back(w);
}

void ReadDevice(const IniSection& s, Machine* m) {
  const Keys keys(s, {"instance", "hardware_id", "removal"}, true);
  Device d;
  int instances = 0, removals = 0;
  for (const IniEntry& e : s.entries) {
    if (EqualsIgnoreCase(e.key, "instance")) {
      if (++instances > 1) Fail(e.line, "'instance' is given twice");
      d.instanceId = e.value;
      if (d.instanceId.empty()) Fail(e.line, "the instance id is empty");
    } else if (EqualsIgnoreCase(e.key, "hardware_id")) {
      if (e.value.empty()) Fail(e.line, "a hardware id is empty");
      d.hardwareIds.push_back(e.value);
    } else {
      if (++removals > 1) Fail(e.line, "'removal' is given twice");
      if (EqualsIgnoreCase(e.value, "fails")) {
        d.removalFails = true;
      } else if (!EqualsIgnoreCase(e.value, "succeeds")) {
        Fail(e.line, "removal must be succeeds or fails, not '" + e.value + "'");
      }
    }
  }
  keys.Require("instance");
  for (const Device& other : m->devices) {
    if (EqualsIgnoreCase(other.instanceId, d.instanceId)) {
      Fail(s.line, "device " + d.instanceId + " is given twice");
    }
  }
  m->devices.push_back(d);
}

void ReadProgram(const IniSection& s, Machine* m) {
  const Keys keys(s, {"path", "runs", "exit_code", "idle_after", "on_start", "on_end"}, true);
  ProgramBehaviour p;
  std::map<std::string, int> counts;
  for (const IniEntry& e : s.entries) {
    const std::string key = AsciiUpper(e.key);
    if (key != "ON_START" && key != "ON_END" && ++counts[key] > 1) {
      Fail(e.line, "'" + e.key + "' is given twice");
    }
    if (key == "PATH") {
      IniEntry path = e;
      p.path = WindowsPath(path);
    } else if (key == "RUNS") {
      p.runsFor =
          EqualsIgnoreCase(e.value, "forever") ? std::nullopt : std::optional<SimTime>(Duration(e));
    } else if (key == "EXIT_CODE") {
      p.exitCode = Number(e, 0xFFFFFFFFull);
    } else if (key == "IDLE_AFTER") {
      p.idleAfter = Duration(e);
    } else if (key == "ON_START") {
      p.onStart.push_back(Action(e, e.value));
    } else {
      p.onEnd.push_back(Action(e, e.value));
    }
  }
  keys.Require("path");
  if (m->FindProgram(p.path) != nullptr) Fail(s.line, "program " + p.path + " is given twice");
  m->programs.push_back(p);
}

void ReadEvents(const IniSection& s, Machine* m) {
  for (const IniEntry& e : s.entries) {
    TimedEvent event;
    std::string_view when = e.key;
    const std::size_t plus = when.find('+');
    if (plus != std::string_view::npos) {
      std::string_view trigger = when.substr(0, plus);
      while (!trigger.empty() && trigger.back() == ' ') trigger.remove_suffix(1);
      if (!EqualsIgnoreCase(trigger, kReenumerateTrigger)) {
        Fail(e.line, "unknown trigger '" + std::string(trigger) + "' (known: reenumerate)");
      }
      event.trigger = kReenumerateTrigger;
      when.remove_prefix(plus + 1);
      while (!when.empty() && when.front() == ' ') when.remove_prefix(1);
    } else if (EqualsIgnoreCase(when, kReenumerateTrigger)) {
      event.trigger = kReenumerateTrigger;
      when = "0";
    }
    IniEntry time = e;
    time.value = std::string(when);
    event.at = Duration(time);
    event.action = Action(e, e.value);
    m->events.push_back(event);
  }
}

void ReadOemInf(const IniSection& s, std::string_view name, Machine* m) {
  const Keys keys(s, {"source", "media", "media_type"});
  OemInf inf;
  inf.name = std::string(name);
  if (inf.name.empty() || inf.name.find_first_of("\\/:") != std::string::npos) {
    Fail(s.line, "write [oem_inf NAME] with the file name in the INF folder, such as OEM0.INF");
  }
  inf.sourceInf = keys.Require("source").value;
  if (const IniEntry* e = keys.Find("media")) inf.mediaLocation = e->value;
  if (const IniEntry* e = keys.Find("media_type")) inf.mediaType = Number(*e, 0xFFFFFFFFull);
  m->oemInfs.push_back(inf);
}

void ReadFaults(const IniSection& s, Machine* m) {
  for (const IniEntry& e : s.entries) {
    Fault f;
    f.path = e.key;
    const std::string v = AsciiUpper(e.value);
    if (v == "CANNOT OPEN") {
      f.kind = FaultKind::kCannotOpen;
    } else if (v == "CANNOT WRITE") {
      f.kind = FaultKind::kCannotWrite;
    } else if (v == "CANNOT DELETE") {
      f.kind = FaultKind::kCannotDelete;
    } else {
      Fail(e.line,
           "a fault is 'cannot open', 'cannot write' or 'cannot delete', not '" + e.value + "'");
    }
    std::string key;
    if (!ExpandRootKeyName(f.path, &key)) {
      IniEntry path = e;
      path.value = e.key;
      path.key = "a faulty path";
      f.path = WindowsPath(path);
    }
    m->faults.push_back(f);
  }
}

// "drive C" -> ("drive", "C").
std::pair<std::string, std::string> SplitSectionName(const std::string& name) {
  const std::size_t blank = name.find(' ');
  if (blank == std::string::npos) return {AsciiUpper(name), ""};
  std::string label = name.substr(blank + 1);
  while (!label.empty() && label.front() == ' ') label.erase(0, 1);
  return {AsciiUpper(name.substr(0, blank)), label};
}

// A value written so that the profile rules read it back unchanged.
std::string IniValue(const std::string& value) {
  const bool needsQuotes =
      !value.empty() && (value.front() == ' ' || value.back() == ' ' || value.front() == '"' ||
                         value.back() == '"' || value.front() == '\t' || value.back() == '\t');
  return needsQuotes ? "\"" + value + "\"" : value;
}

std::string Hex(DWORD v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(v));
  return text;
}

}  // namespace

bool ParseMachineIni(std::string_view text, const std::string& fileName, Machine* out,
                     std::string* error, std::map<char, int>* driveLines) {
  profile::IniDocument doc;
  std::string parserError;
  if (!profile::ParseIniDocument(text, &doc, &parserError)) {
    // "line N: what" -> "file:N: what"
    if (StartsWith(parserError, "line ")) parserError.erase(0, 5);
    *error = fileName + ":" + parserError;
    return false;
  }
  try {
    const IniSection* machineSection = doc.Find("machine");
    if (machineSection == nullptr) Fail(1, "the [machine] section is missing");
    Machine m;
    bool foldersGiven = false;
    int machineSections = 0;
    for (const IniSection& s : doc.sections) {
      const auto [kind, label] = SplitSectionName(s.name);
      if (kind == "MACHINE" && label.empty()) {
        if (++machineSections > 1) Fail(s.line, "[machine] is given twice");
        ReadMachine(s, &m, &foldersGiven);
      }
    }
    int eventSections = 0, faultSections = 0;
    for (const IniSection& s : doc.sections) {
      const auto [kind, label] = SplitSectionName(s.name);
      if (kind == "MACHINE" && label.empty()) continue;
      if (kind == "DRIVE" && !label.empty()) {
        ReadDrive(s, label, &m);
        if (driveLines != nullptr) (*driveLines)[m.drives.back().letter] = s.line;
      } else if (kind == "WINDOW") {
        ReadWindow(s, &m);
      } else if (kind == "DEVICE") {
        ReadDevice(s, &m);
      } else if (kind == "PROGRAM") {
        ReadProgram(s, &m);
      } else if (kind == "EVENTS" && label.empty()) {
        if (++eventSections > 1) Fail(s.line, "[events] is given twice");
        ReadEvents(s, &m);
      } else if (kind == "OEM_INF") {
        ReadOemInf(s, label, &m);
      } else if (kind == "FAULTS" && label.empty()) {
        if (++faultSections > 1) Fail(s.line, "[faults] is given twice");
        ReadFaults(s, &m);
      } else {
        Fail(s.line, "unknown section [" + s.name +
                         "] (known: machine, drive X, window, device, program, events, oem_inf, "
                         "faults)");
      }
    }
    *out = std::move(m);
    return true;
  } catch (const IniError& e) {
    *error = fileName + ":" + std::to_string(e.line) + ": " + e.what;
    return false;
  }
}

std::string FormatMachineIni(const Machine& m) {
  std::string out = "; A simulated PC for kxsetup; see examples/machines/README.md.\r\n\r\n";
  auto line = [&](const std::string& key, const std::string& value) {
    out += key + " = " + IniValue(value) + "\r\n";
  };
  out += "[machine]\r\n";
  WindowsRelease known;
  const bool named = !m.release.name.empty() && FindWindowsRelease(m.release.name, &known);
  if (named) {
    line("release", m.release.name);
    if (known.csdVersion != m.release.csdVersion) line("service_pack", m.release.csdVersion);
  } else {
    line("platform_id", std::to_string(m.release.platformId));
    line("version",
         std::to_string(m.release.majorVersion) + "." + std::to_string(m.release.minorVersion));
    line("build", Hex(m.release.buildNumber));
    line("service_pack", m.release.csdVersion);
  }
  line("windows_folder", m.windowsFolder);
  line("system_folder", m.systemFolder);
  line("start_folder", m.startFolder);
  line("language", std::to_string(m.language));
  line("current_user", m.currentUser);
  line("cd_drive", std::string(1, m.cdDrive));
  line("mixer_devices", std::to_string(m.mixerDevices));

  for (const Drive& d : m.drives) {
    if (d.transient) continue;
    out += "\r\n[drive " + std::string(1, d.letter) + "]\r\n";
    line("folder", d.imageFolder.empty() ? std::string(1, d.letter) : d.imageFolder);
    if (d.options.readOnly) line("read_only", "yes");
    if (d.options.capacityBytes) line("capacity", std::to_string(*d.options.capacityBytes));
  }
  int n = 0;
  for (const Window& w : m.windows) {
    if (w.gone) continue;
    out += "\r\n[window " + std::to_string(++n) + "]\r\n";
    line("title", w.title);
    if (!w.className.empty()) line("class", w.className);
    if (w.onClose == CloseBehaviour::kIgnores) line("on_close", "ignores");
    if (w.appearsAt != 0) line("appears", FormatDuration(w.appearsAt));
    if (w.vanishesAt) line("vanishes", FormatDuration(*w.vanishesAt));
  }
  n = 0;
  for (const Device& d : m.devices) {
    out += "\r\n[device " + std::to_string(++n) + "]\r\n";
    line("instance", d.instanceId);
    for (const std::string& id : d.hardwareIds) line("hardware_id", id);
    if (d.removalFails) line("removal", "fails");
  }
  n = 0;
  for (const ProgramBehaviour& p : m.programs) {
    out += "\r\n[program " + std::to_string(++n) + "]\r\n";
    line("path", p.path);
    line("runs", p.runsFor ? FormatDuration(*p.runsFor) : "forever");
    if (p.exitCode != 0) line("exit_code", std::to_string(p.exitCode));
    if (p.idleAfter != 0) line("idle_after", FormatDuration(p.idleAfter));
    for (const MachineAction& a : p.onStart) line("on_start", FormatMachineAction(a));
    for (const MachineAction& a : p.onEnd) line("on_end", FormatMachineAction(a));
  }
  if (!m.events.empty()) {
    out += "\r\n[events]\r\n";
    for (const TimedEvent& e : m.events) {
      const std::string when =
          e.trigger.empty() ? FormatDuration(e.at) : e.trigger + " + " + FormatDuration(e.at);
      line(when, FormatMachineAction(e.action));
    }
  }
  for (const OemInf& inf : m.oemInfs) {
    out += "\r\n[oem_inf " + inf.name + "]\r\n";
    line("source", inf.sourceInf);
    if (!inf.mediaLocation.empty()) line("media", inf.mediaLocation);
    if (inf.mediaType != 0) line("media_type", std::to_string(inf.mediaType));
  }
  if (!m.faults.empty()) {
    out += "\r\n[faults]\r\n";
    for (const Fault& f : m.faults) {
      line(f.path, f.kind == FaultKind::kCannotOpen    ? "cannot open"
                   : f.kind == FaultKind::kCannotWrite ? "cannot write"
                                                       : "cannot delete");
    }
  }
  return out;
}

}  // namespace kx::sim
