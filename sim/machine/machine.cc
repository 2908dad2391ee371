#include "sim/machine/machine.h"

#include "platform/text.h"

namespace kx::sim {
namespace {

constexpr char kSetupKey[] =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr char kSourcesValue[] = "Installation Sources";

}  // namespace

void Machine::SetRelease(const WindowsRelease& newRelease) {
  release = newRelease;
  windowsFolder = DefaultWindowsFolder(release);
  systemFolder = DefaultSystemFolder(release);
  registry.SetNtBehaviour(release.IsNt());
}

void Machine::SetCurrentUser(const std::string& userKey) {
  currentUser = userKey;
  registry.SetCurrentUserKey(userKey);
}

void Machine::AddDrive(char letter, DriveOptions options, std::string imageFolder) {
  letter = AsciiUpper(letter);
  files.AddDrive(letter, options);
  for (Drive& d : drives) {
    if (d.letter == letter) {
      d = {letter, std::move(imageFolder), options, false};
      return;
    }
  }
  drives.push_back({letter, std::move(imageFolder), options, false});
}

const Drive* Machine::FindDrive(char letter) const {
  for (const Drive& d : drives) {
    if (d.letter == AsciiUpper(letter)) return &d;
  }
  return nullptr;
}

std::string Machine::InfFolder() const { return windowsFolder + "\\INF"; }

std::vector<std::string> Machine::SourceList() const {
  std::vector<std::string> list;
  const std::optional<RegistryValue> value = registry.GetValue(kSetupKey, kSourcesValue);
  if (!value || value->type != kRegMultiSz) return list;
  std::size_t start = 0;
  const std::string& data = value->data;
  while (start < data.size()) {
    const std::size_t end = data.find('\0', start);
    const std::string entry = data.substr(start, end == std::string::npos ? end : end - start);
    if (entry.empty()) break;
    list.push_back(entry);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return list;
}

void Machine::SetSourceList(const std::vector<std::string>& list) {
  std::string data;
  for (const std::string& entry : list) data += entry + '\0';
  data += '\0';
  registry.SetValue(kSetupKey, kSourcesValue, kRegMultiSz, data);
}

const ProgramBehaviour* Machine::FindProgram(std::string_view path) const {
  for (const ProgramBehaviour& p : programs) {
    if (EqualsIgnoreCase(p.path, path)) return &p;
  }
  return nullptr;
}

void Machine::InjectFault(const std::string& path, FaultKind kind) {
  faults.push_back({path, kind});
  std::string key;
  if (ExpandRootKeyName(path, &key)) {
    const RegistryFault fault = kind == FaultKind::kCannotOpen    ? RegistryFault::CannotOpen
                                : kind == FaultKind::kCannotWrite ? RegistryFault::CannotWrite
                                                                  : RegistryFault::CannotDelete;
    registry.InjectFault(key, fault);
  } else {
    const FileFault fault = kind == FaultKind::kCannotOpen    ? FileFault::CannotOpen
                            : kind == FaultKind::kCannotWrite ? FileFault::CannotWrite
                                                              : FileFault::CannotDelete;
    files.InjectFault(path, fault);
  }
}

}  // namespace kx::sim
