#include "sim/kxsetup/kxsetup_command.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "sim/kxsetup/kxsetup_options.h"
#include "sim/kxsetup/run_report.h"
#include "sim/kxsetup/terminal_user.h"
#include "sim/machine/machine_image.h"
#include "sim/run/run_setup.h"

namespace kx::sim {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kLargestAnswersFile = 1u << 20;

bool ReadAnswers(const std::string& path, Answers* answers, std::string* error) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec || !fs::is_regular_file(path, ec)) {
    *error = path + ": cannot read";
    return false;
  }
  if (size > kLargestAnswersFile) {
    *error = path + ": too large for an answers file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return ParseAnswers(text.str(), path, answers, error);
}

// Writes the file through a temporary beside it, so that it is whole or not
// there at all.
bool WriteAtomically(const fs::path& path, const std::string& text, std::string* error) {
  std::random_device random;
  const fs::path temp =
      path.parent_path() / ("." + path.filename().string() + ".new-" + std::to_string(random()));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      *error = path.string() + ": cannot write";
      std::error_code ignored;
      fs::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    *error = path.string() + ": cannot write (" + ec.message() + ")";
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

// a is b or lies inside it.
bool Inside(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
  const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  auto ai = ca.begin();
  for (auto bi = cb.begin(); bi != cb.end(); ++bi, ++ai) {
    if (bi->empty()) continue;
    if (ai == ca.end() || *ai != *bi) return false;
  }
  return true;
}

std::string ReleaseText(const Machine& m) {
  const WindowsRelease& r = m.release;
  std::string version = std::to_string(r.majorVersion) + "." + std::to_string(r.minorVersion) +
                        "." + std::to_string(r.buildNumber & (r.IsNt() ? 0xFFFFFFFFu : 0xFFFFu));
  return "Windows " + (r.name.empty() ? std::string("(custom)") : r.name) + " " + version;
}

}  // namespace

int RunKxsetup(const std::vector<std::string>& args, const KxsetupEnvironment& env,
               std::ostream& out, std::ostream& err) {
  KxsetupOptions options;
  std::string error;
  if (!ParseKxsetupOptions(args, &options, &error)) {
    err << "kxsetup: " << error << "\n";
    return kExitBadInput;
  }
  if (options.help) {
    out << KxsetupUsage();
    return kExitCompleted;
  }
  if (options.version) {
    out << "kxsetup " << KX_VERSION << "\n";
    return kExitCompleted;
  }

  const std::string machineDir =
      options.machineDir.empty() ? env.examplesDir + "/machines/winme" : options.machineDir;
  Machine machine;
  if (!LoadMachineImage(machineDir, &machine, &error)) {
    err << "kxsetup: " << error << "\n";
    return kExitBadInput;
  }

  std::string mediaDir = options.mediaDir;
  if (mediaDir.empty() && machine.FindDrive(machine.cdDrive) == nullptr) {
    mediaDir = env.examplesDir + "/media/new-layout";
  }
  if (!mediaDir.empty()) {
    std::error_code ec;
    if (!fs::is_directory(mediaDir, ec)) {
      err << "kxsetup: " << mediaDir << ": no such folder\n";
      return kExitBadInput;
    }
    DriveOptions readOnly;
    readOnly.readOnly = true;
    machine.AddDrive(machine.cdDrive, readOnly);
    for (Drive& d : machine.drives) {
      if (d.letter == machine.cdDrive) d.transient = true;
    }
    if (!machine.files.LoadDriveFromHost(machine.cdDrive, mediaDir, &error)) {
      err << "kxsetup: " << mediaDir << ": " << error << "\n";
      return kExitBadInput;
    }
  }

  RunOptions run;
  run.programPath = options.programPath;
  run.arguments = options.setupArguments;
  run.realTime = options.realTime;
  if (!options.answersFile.empty() && !ReadAnswers(options.answersFile, &run.answers, &error)) {
    err << "kxsetup: " << error << "\n";
    return kExitBadInput;
  }
  if (!options.outDir.empty()) {
    if (Inside(options.outDir, machineDir) || Inside(machineDir, options.outDir) ||
        (!mediaDir.empty() &&
         (Inside(options.outDir, mediaDir) || Inside(mediaDir, options.outDir)))) {
      err << "kxsetup: --out " << options.outDir
          << " would overwrite the machine image or the media; choose another folder\n";
      return kExitBadInput;
    }
  }
  if (env.terminal != nullptr) {
    std::istream* in = env.terminal;
    std::ostream* prompts = env.prompts != nullptr ? env.prompts : &err;
    run.ask = [in, prompts](const Question& q) { return AskAtTerminal(q, *in, *prompts); };
  }
  if (!options.quiet) {
    out << "kxsetup: " << ReleaseText(machine) << " from " << machineDir;
    if (!mediaDir.empty()) out << ", media " << mediaDir << " on " << machine.cdDrive << ":";
    out << "\nkxsetup: running " << run.programPath
        << (run.arguments.empty() ? "" : " " + run.arguments) << "\n\n";
    run.transcript = [&out](const TranscriptEntry& e) {
      out << FormatTranscriptEntry(e) << "\n" << std::flush;
    };
  }

  const RunResult result = RunSetup(machine, run);
  out << FormatRunSummary(result);

  int status = kExitCompleted;
  switch (result.outcome) {
    case RunOutcome::kCompleted:
      break;
    case RunOutcome::kStuck:
      err << "kxsetup: the run was stopped as stuck: " << result.message << "\n";
      status = kExitStuck;
      break;
    case RunOutcome::kNotAvailable:
      err << "kxsetup: Setup reached a path that is not available yet: " << result.message << "\n";
      status = kExitNotAvailable;
      break;
    case RunOutcome::kFailed:
      err << "kxsetup: the simulation failed: " << result.message << "\n";
      status = kExitFailed;
      break;
  }
  if (!options.reportFile.empty() &&
      !WriteAtomically(options.reportFile, FormatJsonReport(result), &error)) {
    err << "kxsetup: " << error << "\n";
    return kExitFailed;
  }
  if (!options.outDir.empty() && !SaveMachineImage(machine, options.outDir, &error)) {
    err << "kxsetup: " << error << "\n";
    return kExitFailed;
  }
  return status;
}

}  // namespace kx::sim
