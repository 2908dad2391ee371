#include "app/command_line.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

struct SplitCase {
  const char* commandLine;
  const char* programPath;
  const char* arguments;
};

// How the run-time library (argv[0]) and the framework (the argument string)
// take the process command line apart.
TEST(CommandLineTest, SplitsProgramPathAndArguments) {
  const SplitCase cases[] = {
      {"D:\\SETUP.EXE", "D:\\SETUP.EXE", ""},
      {"D:\\SETUP.EXE /AP", "D:\\SETUP.EXE", "/AP"},
      {"D:\\SETUP.EXE\t/AP", "D:\\SETUP.EXE", "/AP"},
      {"SETUP   /AP  ", "SETUP", "/AP  "},  // trailing blanks stay
      {"\"D:\\My CD\\SETUP.EXE\" /DRIVER", "D:\\My CD\\SETUP.EXE", "/DRIVER"},
      // After the closing quote the arguments start at once.
      {"\"D:\\SETUP.EXE\"/AP", "D:\\SETUP.EXE", "/AP"},
      {"\"D:\\SETUP.EXE\"", "D:\\SETUP.EXE", ""},
      {"\"D:\\Unclosed SETUP.EXE", "D:\\Unclosed SETUP.EXE", ""},
      // Every character of code 1 to 32 after the name is skipped, not only
      // blanks and tabs.
      {"SETUP.EXE \x01\x1f /AP", "SETUP.EXE", "/AP"},
      {"", "", ""},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.commandLine);
    EXPECT_EQ(ProgramPathFromCommandLine(c.commandLine), c.programPath);
    EXPECT_EQ(ArgumentStringFromCommandLine(c.commandLine), c.arguments);
  }
}

TEST(CommandLineTest, ClassifiesTheWholeUpperCasedArgumentString) {
  const struct {
    const char* arguments;
    CommandSwitch expected;
  } cases[] = {
      {"/AP", CommandSwitch::kApplicationsOnly},
      {"AP", CommandSwitch::kApplicationsOnly},
      {"-AP", CommandSwitch::kApplicationsOnly},
      {"/ap", CommandSwitch::kApplicationsOnly},
      {"/DRIVER", CommandSwitch::kDriver},
      {"DRIVER", CommandSwitch::kDriver},
      {"-Driver", CommandSwitch::kDriver},
      {"", CommandSwitch::kNone},
      {"/AP ", CommandSwitch::kNone},
      {"/AP /DRIVER", CommandSwitch::kNone},
      {"/A", CommandSwitch::kNone},
      {"/APP", CommandSwitch::kNone},
      {"\\AP", CommandSwitch::kNone},
      {"/DRIVERS", CommandSwitch::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(ClassifyArgumentString(c.arguments), c.expected);
  }
}

}  // namespace
}  // namespace kx
