// The command line of kxsetup:
//   kxsetup [options] [-- SETUP-ARGUMENTS]
#pragma once

#include <string>
#include <vector>

namespace kx::sim {

struct KxsetupOptions {
  std::string machineDir;  // empty: the bundled Windows ME machine
  std::string mediaDir;    // empty: the bundled new-layout media (or the machine's own CD)
  std::string programPath = "D:\\SETUP.EXE";
  bool programGiven = false;
  std::string answersFile;
  std::string outDir;
  std::string reportFile;
  bool realTime = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
  std::string setupArguments;  // the words after --, joined by single blanks
};

// Reads the arguments after the program name. Options take their value as
// the next argument or after '=' (--machine=DIR). False with a message for an
// unknown option, a missing value, an option given twice or a stray argument.
bool ParseKxsetupOptions(const std::vector<std::string>& args, KxsetupOptions* options,
                         std::string* error);

// The --help text.
std::string KxsetupUsage();

}  // namespace kx::sim
