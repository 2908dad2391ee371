// Actions and durations as machine images write them.
#include "sim/machine/machine_action.h"

#include <gtest/gtest.h>

#include "sim/machine/duration_text.h"

namespace kx::sim {
namespace {

TEST(Duration, ReadsTheUnitsAndRefusesTheRest) {
  struct Case {
    const char* text;
    SimTime ms;  // -1: refused
  };
  const Case cases[] = {
      {"0", 0},        {"500ms", 500},     {"12s", 12000},
      {"1.5s", 1500},  {"0.25min", 15000}, {"2h", 7200000},
      {"3 s", 3000},   {"12", -1},         {"1.5ms", -1},
      {"1.0005s", -1}, {"s", -1},          {"-1s", -1},
      {"5 days", -1},  {"1001h", -1},      {"99999999999999999999h", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SimTime ms = -7;
    std::string error;
    const bool ok = ParseDuration(c.text, &ms, &error);
    if (c.ms < 0) {
      EXPECT_FALSE(ok);
      EXPECT_FALSE(error.empty());
    } else {
      ASSERT_TRUE(ok) << error;
      EXPECT_EQ(ms, c.ms);
      SimTime back = -1;
      ASSERT_TRUE(ParseDuration(FormatDuration(ms), &back, &error));
      EXPECT_EQ(back, ms);
    }
  }
  EXPECT_EQ(FormatClock(12500), "   12.500");
  EXPECT_EQ(FormatClock(3 * kMinute + 4500), " 3:04.500");
  EXPECT_EQ(FormatClock(kHour + 2 * kMinute + 3 * kSecond), "1:02:03.000");
}

TEST(MachineAction, ReadsEachFormAndWritesItBack) {
  const char* lines[] = {
      "open window \"Disc Player\" class KxDiscPlayer",
      "open window Mixer ignores WM_CLOSE",
      "close window class KXDNINST",
      "close window \"Mixer\"",
      "mixer devices 2",
      "set value HKLM\\Software\\Orvanta Applications\\Mixer \"Path\"=\"C:\\\\Program Files\"",
      "set value HKCU\\Software\\X @=dword:0000001f",
      "delete value HKEY_LOCAL_MACHINE\\Software\\Run \"Kestrix Mixer\"",
      "create key HKU\\.DEFAULT\\Software\\New Key",
      "delete key HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanta "
      "Applications",
      "add device \"PCI\\VEN_1A9C&DEV_0111\\1\" ids PCI\\VEN_1A9C&DEV_0111 \"PCI\\X Y\" removal "
      "fails",
      "remove device PCI\\VEN_1A9C&DEV_0111\\1",
      "write file C:\\Program Files\\x.txt \"say \"\"hi\"\"\"",
      "delete file C:\\Program Files\\Orvanta\\TuneStack.exe",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    MachineAction a;
    std::string error;
    ASSERT_TRUE(ParseMachineAction(line, &a, &error)) << error;
    MachineAction again;
    ASSERT_TRUE(ParseMachineAction(FormatMachineAction(a), &again, &error))
        << FormatMachineAction(a) << ": " << error;
    EXPECT_EQ(FormatMachineAction(again), FormatMachineAction(a));
  }
}

TEST(MachineAction, KeepsTheDetailsThatMatter) {
  MachineAction a;
  std::string error;
  ASSERT_TRUE(ParseMachineAction(
      "set value HKLM\\Software\\Orvanta Applications\\Mixer \"Pa\\\"th\"=\"x\"", &a, &error));
  EXPECT_EQ(a.key, "HKEY_LOCAL_MACHINE\\Software\\Orvanta Applications\\Mixer");
  EXPECT_EQ(a.valueName, "Pa\"th");
  EXPECT_EQ(RegistryActionAsRegFile(a),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Orvanta Applications\\Mixer]\r\n"
            "\"Pa\\\"th\"=\"x\"\r\n");
  ASSERT_TRUE(ParseMachineAction("write file C:\\A B\\c.txt \"say \"\"hi\"\"\"", &a, &error));
  EXPECT_EQ(a.path, "C:\\A B\\c.txt");
  EXPECT_EQ(a.text, "say \"hi\"");
  ASSERT_TRUE(ParseMachineAction("add device X ids A B removal fails", &a, &error));
  EXPECT_TRUE(a.removalFails);
  EXPECT_EQ(a.hardwareIds, (std::vector<std::string>{"A", "B"}));
}

TEST(MachineAction, RefusesWhatItCannotRead) {
  const char* lines[] = {
      "",
      "open",
      "open window",              // no title
      "open window \"Mixer",      // quote not closed
      "open window Mixer class",  // class without a name
      "close window",             // which one?
      "mixer devices many",
      "mixer devices 123456",
      "set value Software\\X \"A\"=\"b\"",  // no root key
      "set value HKLM\\X \"A\"",            // no data
      "set value HKLM\\X \"A\"=banana",
      "set value HKLM\\X \"A\"=dword:123456789",
      "delete value HKLM\\X",
      "delete key",
      "add device X",
      "add device X ids",
      "add device X ids A removal",
      "write file C:\\x.txt",
      "write file \"text\"",
      "explode machine",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    MachineAction a;
    std::string error;
    EXPECT_FALSE(ParseMachineAction(line, &a, &error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace kx::sim
