// The kxsetup command, apart from main(): it reads the options, loads the
// machine, mounts the media, runs Setup, prints the transcript and summary,
// and writes the report and the machine as it stands afterwards.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace kx::sim {

// kxsetup's exit statuses.
inline constexpr int kExitCompleted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitStuck = 3;
inline constexpr int kExitNotAvailable = 4;

struct KxsetupEnvironment {
  std::string examplesDir;           // holds machines/winme and media/new-layout
  std::istream* terminal = nullptr;  // standard input when it is a terminal
  std::ostream* prompts = nullptr;   // where terminal questions are shown
};

int RunKxsetup(const std::vector<std::string>& args, const KxsetupEnvironment& environment,
               std::ostream& out, std::ostream& err);

}  // namespace kx::sim
