#include "sim/machine/machine_image.h"

#include <fstream>
#include <random>
#include <sstream>

#include "sim/machine/machine_ini.h"
#include "sim/registry/reg_file.h"

namespace kx::sim {
namespace {

namespace fs = std::filesystem;

// machine.ini and registry.reg of a plausible image are far smaller.
constexpr std::uintmax_t kLargestImageFile = 64u << 20;

bool ReadHostFile(const fs::path& path, std::string* bytes, std::string* error) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) {
    *error = path.string() + ": cannot read (" + ec.message() + ")";
    return false;
  }
  if (size > kLargestImageFile) {
    *error = path.string() + ": too large (" + std::to_string(size) + " bytes)";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in && !in.eof()) {
    *error = path.string() + ": cannot read";
    return false;
  }
  *bytes = text.str();
  return true;
}

bool WriteHostFile(const fs::path& path, const std::string& bytes, std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    *error = path.string() + ": cannot write";
    return false;
  }
  return true;
}

std::string Unique() {
  std::random_device random;
  return std::to_string(random()) + std::to_string(random());
}

}  // namespace

bool LoadMachineImage(const fs::path& folder, Machine* out, std::string* error) {
  const fs::path iniPath = folder / "machine.ini";
  std::string bytes;
  if (!ReadHostFile(iniPath, &bytes, error)) return false;
  Machine m;
  std::map<char, int> driveLines;
  if (!ParseMachineIni(bytes, iniPath.string(), &m, error, &driveLines)) return false;

  const fs::path regPath = folder / "registry.reg";
  std::error_code ec;
  if (fs::exists(regPath, ec)) {
    if (!ReadHostFile(regPath, &bytes, error)) return false;
    if (!LoadRegFile(bytes, regPath.string(), m.registry, error)) return false;
  }

  for (const Drive& d : m.drives) {
    const fs::path host = folder / d.imageFolder;
    const std::string where = iniPath.string() + ":" + std::to_string(driveLines[d.letter]) + ": ";
    if (!fs::is_directory(host, ec)) {
      *error = where + "drive " + std::string(1, d.letter) + ": the image has no folder '" +
               d.imageFolder + "'";
      return false;
    }
    std::string driveError;
    if (!m.files.LoadDriveFromHost(d.letter, host, &driveError)) {
      *error = where + "drive " + std::string(1, d.letter) + ": " + driveError;
      return false;
    }
  }
  const std::vector<Fault> faults = m.faults;
  m.faults.clear();
  for (const Fault& f : faults) m.InjectFault(f.path, f.kind);
  *out = std::move(m);
  return true;
}

bool SaveMachineImage(const Machine& machine, const fs::path& target, std::string* error) {
  std::error_code ec;
  const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  if (!fs::is_directory(parent, ec)) {
    *error = parent.string() + ": no such folder";
    return false;
  }
  if (fs::exists(target, ec) && !fs::is_directory(target, ec)) {
    *error = target.string() + ": exists and is not a folder";
    return false;
  }
  const std::string name = target.filename().string();
  const fs::path temp = parent / ("." + name + ".new-" + Unique());
  auto abandon = [&](const std::string& message) {
    *error = message;
    std::error_code ignored;
    fs::remove_all(temp, ignored);
    return false;
  };
  if (!fs::create_directory(temp, ec)) return abandon(temp.string() + ": " + ec.message());
  std::string message;
  if (!WriteHostFile(temp / "machine.ini", FormatMachineIni(machine), &message) ||
      !WriteHostFile(temp / "registry.reg", SaveRegFile(machine.registry), &message)) {
    return abandon(message);
  }
  for (const Drive& d : machine.drives) {
    if (d.transient) continue;
    const std::string folder = d.imageFolder.empty() ? std::string(1, d.letter) : d.imageFolder;
    if (!machine.files.SaveDriveToHost(d.letter, temp / folder, &message)) {
      return abandon(target.string() + ": drive " + std::string(1, d.letter) + ": " + message);
    }
  }

  // Swap the new image in: the old one (if any) steps aside first and is
  // removed only once the new one is in place.
  const fs::path old = parent / ("." + name + ".old-" + Unique());
  const bool hadOld = fs::exists(target, ec);
  if (hadOld) {
    fs::rename(target, old, ec);
    if (ec) return abandon(target.string() + ": cannot replace (" + ec.message() + ")");
  }
  fs::rename(temp, target, ec);
  if (ec) {
    const std::string why = ec.message();
    if (hadOld) fs::rename(old, target, ec);
    return abandon(target.string() + ": cannot write (" + why + ")");
  }
  if (hadOld) fs::remove_all(old, ec);
  return true;
}

}  // namespace kx::sim
