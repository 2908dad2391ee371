#include "sim/kxsetup/kxsetup_options.h"

#include <gtest/gtest.h>

namespace kx::sim {
namespace {

TEST(KxsetupOptions, ReadsEveryOptionInBothForms) {
  KxsetupOptions o;
  std::string error;
  ASSERT_TRUE(ParseKxsetupOptions(
      {"--machine", "m", "--media=d", "--program", "D:\\CD\\SETUP.EXE", "--answers=a.ini", "--out",
       "o", "--report", "r.json", "--real-time", "--quiet", "--", "/DRIVER", "extra"},
      &o, &error))
      << error;
  EXPECT_EQ(o.machineDir, "m");
  EXPECT_EQ(o.mediaDir, "d");
  EXPECT_EQ(o.programPath, "D:\\CD\\SETUP.EXE");
  EXPECT_TRUE(o.programGiven);
  EXPECT_EQ(o.answersFile, "a.ini");
  EXPECT_EQ(o.outDir, "o");
  EXPECT_EQ(o.reportFile, "r.json");
  EXPECT_TRUE(o.realTime);
  EXPECT_TRUE(o.quiet);
  EXPECT_EQ(o.setupArguments, "/DRIVER extra");

  KxsetupOptions defaults;
  ASSERT_TRUE(ParseKxsetupOptions({}, &defaults, &error));
  EXPECT_EQ(defaults.programPath, "D:\\SETUP.EXE");
  EXPECT_TRUE(defaults.setupArguments.empty());
  // After -- everything is Setup's, options included.
  ASSERT_TRUE(ParseKxsetupOptions({"--", "--help"}, &defaults, &error));
  EXPECT_FALSE(defaults.help);
  EXPECT_EQ(defaults.setupArguments, "--help");
}

TEST(KxsetupOptions, RefusesWhatIsNotAnOption) {
  const std::vector<std::vector<std::string>> bad = {
      {"--machin", "m"}, {"--machine"}, {"--machine="},  {"--machine", "a", "--machine", "b"},
      {"/AP"},           {"-q"},        {"--quiet=yes"},
  };
  for (const auto& args : bad) {
    KxsetupOptions o;
    std::string error;
    EXPECT_FALSE(ParseKxsetupOptions(args, &o, &error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace kx::sim
