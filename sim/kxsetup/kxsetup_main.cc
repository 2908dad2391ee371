// kxsetup: runs the Kestrix card's Setup on a simulated Windows PC.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "sim/kxsetup/kxsetup_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  kx::sim::KxsetupEnvironment environment;
  const char* examples = std::getenv("KXSETUP_EXAMPLES");
  environment.examplesDir = examples != nullptr && *examples != '\0' ? examples : KX_EXAMPLES_DIR;
  if (isatty(STDIN_FILENO)) {
    environment.terminal = &std::cin;
    environment.prompts = &std::cerr;
  }
  return kx::sim::RunKxsetup(args, environment, std::cout, std::cerr);
}
