#include "sim/kxsetup/kxsetup_options.h"

#include <array>

namespace kx::sim {
namespace {

struct ValueOption {
  const char* name;
  std::string KxsetupOptions::*field;
};

const std::array<ValueOption, 6> kValueOptions{{
    {"--machine", &KxsetupOptions::machineDir},
    {"--media", &KxsetupOptions::mediaDir},
    {"--program", &KxsetupOptions::programPath},
    {"--answers", &KxsetupOptions::answersFile},
    {"--out", &KxsetupOptions::outDir},
    {"--report", &KxsetupOptions::reportFile},
}};

struct FlagOption {
  const char* name;
  bool KxsetupOptions::*field;
};

const std::array<FlagOption, 4> kFlags{{
    {"--real-time", &KxsetupOptions::realTime},
    {"--quiet", &KxsetupOptions::quiet},
    {"--help", &KxsetupOptions::help},
    {"--version", &KxsetupOptions::version},
}};

bool Fail(std::string* error, std::string message) {
  *error = std::move(message);
  return false;
}

}  // namespace

bool ParseKxsetupOptions(const std::vector<std::string>& args, KxsetupOptions* out,
                         std::string* error) {
  KxsetupOptions options;
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      for (std::size_t j = i + 1; j < args.size(); ++j) {
        if (j > i + 1) options.setupArguments += ' ';
        options.setupArguments += args[j];
      }
      break;
    }
    if (arg == "-h") {
      options.help = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    bool known = false;
    for (const ValueOption& o : kValueOptions) {
      if (name != o.name) continue;
      known = true;
      std::string value;
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        return Fail(error, name + " needs a value");
      }
      if (value.empty()) return Fail(error, name + " needs a value");
      options.*o.field = value;
      if (name == "--program") options.programGiven = true;
    }
    for (const FlagOption& f : kFlags) {
      if (arg != f.name) continue;
      known = true;
      options.*f.field = true;
    }
    if (!known) {
      if (!arg.empty() && arg[0] == '-') {
        return Fail(error, "unknown option '" + arg + "' (see --help)");
      }
      return Fail(error, "unexpected argument '" + arg +
                             "' (Setup's own arguments go after --, as in: kxsetup -- /AP)");
    }
    for (const std::string& s : seen) {
      if (s == name) return Fail(error, name + " is given twice");
    }
    seen.push_back(name);
  }
  *out = std::move(options);
  return true;
}

std::string KxsetupUsage() {
  return R"(Usage: kxsetup [options] [-- SETUP-ARGUMENTS]

Runs the Kestrix card's Setup on a simulated Windows PC and shows every action
it takes and every change it makes.

Options:
  --machine DIR    the machine image to start from (default: the bundled
                   Windows ME machine, examples/machines/winme)
  --media DIR      the installation media, mounted read-only as the machine's
                   CD drive (default: examples/media/new-layout)
  --program PATH   the program Setup runs as (default: D:\SETUP.EXE)
  --answers FILE   answers to Setup's questions (see examples/machines/README.md)
  --out DIR        write the machine as it stands after the run to DIR
  --report FILE    write a JSON report of the run to FILE
  --real-time      let pauses take real time as well
  --quiet          print only the summary, not each action
  --help           show this text
  --version        show the version

Everything after -- is Setup's command line, for example: kxsetup -- /DRIVER

Exit status: 0 the run completed (whatever Setup did), 1 the simulation or
writing its results failed, 2 bad arguments or a bad machine image or answers
file, 3 the run was stopped as stuck, 4 Setup reached a path not available yet.
The environment variable KXSETUP_EXAMPLES names the examples folder holding
the default machine and media.
)";
}

}  // namespace kx::sim
