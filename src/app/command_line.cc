#include "app/command_line.h"

#include "platform/text.h"

namespace kx {
namespace {

// Characters of code 1 to 32 (blanks, tabs, control characters); bytes above
// 127 are not among them.
bool IsSeparator(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

}  // namespace

std::string ProgramPathFromCommandLine(std::string_view commandLine) {
  if (!commandLine.empty() && commandLine.front() == '"') {
    const std::string_view rest = commandLine.substr(1);
    return std::string(rest.substr(0, rest.find('"')));
  }
  return std::string(commandLine.substr(0, commandLine.find_first_of(" \t")));
}

std::string ArgumentStringFromCommandLine(std::string_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine.front() == '"') {
    i = 1;
    while (i < commandLine.size() && commandLine[i] != '"') ++i;
    if (i < commandLine.size()) ++i;  // the closing quote
  } else {
    while (i < commandLine.size() && !IsSeparator(commandLine[i])) ++i;
  }
  while (i < commandLine.size() && IsSeparator(commandLine[i])) ++i;
  return std::string(commandLine.substr(i));
}

CommandSwitch ClassifyArgumentString(std::string_view arguments) {
  const std::string upper = AsciiUpper(arguments);
  if (upper == "/AP" || upper == "AP" || upper == "-AP") return CommandSwitch::kApplicationsOnly;
  if (upper == "/DRIVER" || upper == "DRIVER" || upper == "-DRIVER") return CommandSwitch::kDriver;
  return CommandSwitch::kNone;
}

}  // namespace kx
