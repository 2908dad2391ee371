#include "app/housekeeping.h"

#include <gtest/gtest.h>

#include "support/sim_machine.h"

namespace kx {
namespace {

constexpr char kUserAudio[] =
    "HKEY_USERS\\S-1-5-21-1844237615-1960408961-1801674531-1003\\Software\\Microsoft\\"
    "Multimedia\\Audio";
constexpr char kDefaultUserAudio[] = "HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Multimedia\\Audio";
constexpr char kRunKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A string value's text, without its terminator (if it was stored with one).
std::string TextOf(const sim::Machine& m, const char* key, const char* name) {
  const auto value = m.registry.GetValue(key, name);
  if (!value) return "(missing)";
  return value->data.substr(0, value->data.find('\0'));
}

std::string CdAudioSetting(sim::SimPlatform& platform) {
  char buffer[16] = {};
  platform.GetPrivateProfileStringA("DISC PLAYER", "UsingCDDA", "(missing)", buffer, sizeof buffer,
                                    "C:\\WINDOWS\\KXCDPLAY.INI");
  return buffer;
}

TEST(ApplyCdAudioSettingTest, WritesOneForAnyNonZeroValue) {
  const std::pair<int, const char*> cases[] = {{0, "0"}, {1, "1"}, {5, "1"}, {-1, "1"}};
  for (const auto& [usingCdda, expected] : cases) {
    SCOPED_TRACE(usingCdda);
    sim::Machine m = sim::MakeMachine("ME");
    sim::SimPlatform platform(m);
    ApplyCdAudioSetting(platform, usingCdda);
    EXPECT_EQ(CdAudioSetting(platform), expected);
  }
}

TEST(ApplyCdAudioSettingTest, ReplacesTheSettingAndKeepsTheRestOfTheFile) {
  sim::Machine m = sim::MakeMachine("98SE");
  ASSERT_TRUE(m.files.WriteFile("C:\\WINDOWS\\KXCDPLAY.INI",
                                "[DISC PLAYER]\r\nVolume=80\r\nUsingCDDA=1\r\n"));
  sim::SimPlatform platform(m);
  ApplyCdAudioSetting(platform, 0);
  std::string bytes;
  ASSERT_TRUE(m.files.ReadFile("C:\\WINDOWS\\KXCDPLAY.INI", &bytes));
  EXPECT_EQ(bytes, "[DISC PLAYER]\r\nVolume=80\r\nUsingCDDA=0\r\n");
}

struct FormatCase {
  std::string systemFormats;
  std::string expected;  // the DefaultFormat of both users afterwards
};

// Windows 2000 keeps the current user and the default user apart, so both
// writes show.
TEST(SelectCdDefaultFormatTest, ChoosesTheFirstCommaEndedEntryWithCd) {
  const std::string name31 = "CD" + std::string(29, 'x');
  const std::string name32 = "CD" + std::string(30, 'x');
  const FormatCase cases[] = {
      {"CD Quality,Radio Quality,Telephone Quality", "CD Quality"},
      {"Radio Quality, CD Quality,Telephone Quality", " CD Quality"},
      {"Radio Quality,MyCDs,CD Quality,", "MyCDs"},
      {",CD Quality,", "CD Quality"},  // an empty first entry is skipped
      // The entry after the last comma is never examined.
      {"Radio Quality,Telephone Quality,CD Quality", "Radio Quality"},
      {"CD Quality", "Radio Quality"},
      {"cd quality,Radio Quality", "Radio Quality"},  // case-sensitive
      {"C D Quality,Radio Quality", "Radio Quality"},
      {"", "Radio Quality"},
      // The name field holds 31 characters; a longer name is not written.
      {name31 + ",Radio Quality", name31},
      {name32 + ",Radio Quality", "Radio Quality"},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.systemFormats);
    sim::Machine m = sim::MakeMachine("2000");
    m.registry.SetValue(kUserAudio, "SystemFormats", kRegSz, sim::SzData(c.systemFormats));
    sim::SimPlatform platform(m);
    SelectCdDefaultFormat(platform);
    EXPECT_EQ(TextOf(m, kUserAudio, "DefaultFormat"), c.expected);
    EXPECT_EQ(TextOf(m, kDefaultUserAudio, "DefaultFormat"), c.expected);
  }
}

TEST(SelectCdDefaultFormatTest, TheCurrentUsersFormatsDecideForBothUsers) {
  sim::Machine m = sim::MakeMachine("2000");
  m.registry.SetValue(kDefaultUserAudio, "SystemFormats", kRegSz,
                      sim::SzData("Radio Quality,Telephone Quality,"));
  sim::SimPlatform platform(m);
  SelectCdDefaultFormat(platform);
  EXPECT_EQ(TextOf(m, kUserAudio, "DefaultFormat"), "CD Quality");
  EXPECT_EQ(TextOf(m, kDefaultUserAudio, "DefaultFormat"), "CD Quality");
}

TEST(SelectCdDefaultFormatTest, AFailureSkipsOnlyWhatDependsOnIt) {
  {
    SCOPED_TRACE("the default user's key is missing: the current user still gets it");
    sim::Machine m = sim::MakeMachine("2000");
    ASSERT_TRUE(m.registry.DeleteKey(kDefaultUserAudio));
    sim::SimPlatform platform(m);
    SelectCdDefaultFormat(platform);
    EXPECT_EQ(TextOf(m, kUserAudio, "DefaultFormat"), "CD Quality");
    EXPECT_FALSE(m.registry.KeyExists(kDefaultUserAudio));
  }
  {
    SCOPED_TRACE("no SystemFormats: nothing is written");
    sim::Machine m = sim::MakeMachine("2000");
    ASSERT_TRUE(m.registry.DeleteValue(kUserAudio, "SystemFormats"));
    sim::SimPlatform platform(m);
    SelectCdDefaultFormat(platform);
    EXPECT_EQ(TextOf(m, kUserAudio, "DefaultFormat"), "Radio Quality");
    EXPECT_EQ(TextOf(m, kDefaultUserAudio, "DefaultFormat"), "Radio Quality");
  }
  {
    SCOPED_TRACE("SystemFormats longer than the 1024-byte buffer: nothing is written");
    sim::Machine m = sim::MakeMachine("2000");
    m.registry.SetValue(kUserAudio, "SystemFormats", kRegSz,
                        sim::SzData("CD Quality," + std::string(1100, 'x')));
    sim::SimPlatform platform(m);
    SelectCdDefaultFormat(platform);
    EXPECT_EQ(TextOf(m, kUserAudio, "DefaultFormat"), "Radio Quality");
  }
  {
    SCOPED_TRACE("SystemFormats stored without a terminator");
    sim::Machine m = sim::MakeMachine("2000");
    m.registry.SetValue(kUserAudio, "SystemFormats", kRegSz, "Radio,CD Quality,");
    sim::SimPlatform platform(m);
    SelectCdDefaultFormat(platform);
    EXPECT_EQ(TextOf(m, kUserAudio, "DefaultFormat"), "CD Quality");
  }
}

// On Windows 9x without user profiles HKEY_CURRENT_USER is the default user,
// so both writes reach one key.
TEST(SelectCdDefaultFormatTest, OnWindows9xBothWritesReachTheDefaultUser) {
  sim::Machine m = sim::MakeMachine("ME");
  m.registry.SetValue(kDefaultUserAudio, "SystemFormats", kRegSz,
                      sim::SzData("Radio Quality,CD Quality,Telephone Quality"));
  sim::SimPlatform platform(m);
  SelectCdDefaultFormat(platform);
  EXPECT_EQ(TextOf(m, kDefaultUserAudio, "DefaultFormat"), "CD Quality");
}

TEST(RemoveAppsRunEntryTest, DeletesOnlyTheApplicationsValue) {
  sim::Machine m = sim::MakeMachine("98SE");
  m.registry.SetValue(kRunKey, "Orvanta Applications", kRegSz,
                      sim::SzData("C:\\Program Files\\Orvanta\\TuneStack.exe /tray"));
  sim::SimPlatform platform(m);
  RemoveAppsRunEntry(platform);
  EXPECT_FALSE(m.registry.GetValue(kRunKey, "Orvanta Applications"));
  EXPECT_EQ(TextOf(m, kRunKey, "SystemTray"), "SysTray.Exe");

  // A second start finds nothing to delete and changes nothing.
  const sim::Machine before = m;
  RemoveAppsRunEntry(platform);
  EXPECT_TRUE(m.registry.SameContent(before.registry));
}

}  // namespace
}  // namespace kx
