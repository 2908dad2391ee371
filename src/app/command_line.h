// The command line as Setup sees it: the program path the run-time library
// gives as argv[0], and the argument string the framework keeps for the
// application object, which holds at most one switch.
#pragma once

#include <string>
#include <string_view>

namespace kx {

// argv[0]: the first token of the command line, ending at the first blank or
// tab; when it starts with a double quote, the text up to the next double
// quote, without the quotes.
std::string ProgramPathFromCommandLine(std::string_view commandLine);

// The text after the program name (a name starting with a double quote ends
// at the next one, an unquoted name at the first character of code 1 to 32),
// with every following character of code 1 to 32 skipped. Trailing blanks
// stay.
std::string ArgumentStringFromCommandLine(std::string_view commandLine);

enum class CommandSwitch {
  kNone,
  kApplicationsOnly,  // "/AP", "AP", "-AP"
  kDriver,            // "/DRIVER", "DRIVER", "-DRIVER"
};

// Upper-cases the argument string (a to z only) and compares the whole of it
// with the accepted forms. Anything else, including two switches or a switch
// followed by a blank, is no switch.
CommandSwitch ClassifyArgumentString(std::string_view arguments);

}  // namespace kx
