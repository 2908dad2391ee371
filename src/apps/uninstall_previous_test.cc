#include "apps/uninstall_previous.h"

#include <gtest/gtest.h>

#include "support/sim_machine.h"

namespace kx {
namespace {

constexpr char kAppsKey[] =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "Orvanta Applications";
constexpr char kNtAppsKey[] =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "Orvanta WinNT Applications";
constexpr char kIsValue[] = "InstallShieldUninstallString";
constexpr char kValue[] = "UninstallString";

constexpr char kIsUninst[] = "C:\\WINDOWS\\IsUninst.exe";
constexpr char kIsCommand[] =
    "C:\\WINDOWS\\IsUninst.exe -f\"C:\\Program Files\\Orvanta\\Uninst.isu\"";
constexpr char kPlainCommand[] = "C:\\WINDOWS\\UNINST.EXE Orvanta";

sim::Machine MachineWithUninstallers() {
  sim::Machine m = sim::MakeMachine("98SE");
  m.files.WriteFile(kIsUninst, "MZ");
  m.files.WriteFile("C:\\WINDOWS\\UNINST.EXE", "MZ");
  return m;
}

void SetCommand(sim::Machine& m, const char* key, const char* value, const std::string& command) {
  ASSERT_TRUE(m.registry.SetValue(key, value, kRegSz, sim::SzData(command)));
}

// The uninstaller as the machine runs it: it takes a while, removes its
// registration when it ends and exits with the given code.
void AddUninstallerBehaviour(sim::Machine& m, sim::SimTime runsFor, DWORD exitCode) {
  sim::ProgramBehaviour uninstaller;
  uninstaller.path = kIsUninst;
  uninstaller.runsFor = runsFor;
  uninstaller.idleAfter = 1500;
  uninstaller.exitCode = exitCode;
  sim::MachineAction removeKey;
  std::string error;
  ASSERT_TRUE(sim::ParseMachineAction(std::string("delete key ") + kAppsKey, &removeKey, &error))
      << error;
  uninstaller.onEnd.push_back(removeKey);
  m.programs.push_back(uninstaller);
}

bool TranscriptHas(const sim::SimPlatform& platform, const std::string& what) {
  for (const sim::TranscriptEntry& e : platform.transcript().entries()) {
    if (e.what == what) return true;
  }
  return false;
}

struct RegistrationCase {
  const char* what;
  std::vector<std::tuple<const char*, const char*, std::string>> values;  // key, name, command
  std::vector<const char*> emptyKeys;
  const char* started;  // the command line started; null for none
};

TEST(UninstallPreviousAppsTest, TakesTheCommandFromTheFirstKeyAndValueThatHoldOne) {
  const std::string tooLong = std::string(kIsUninst) + " -f\"" + std::string(260, 'x') + "\"";
  const RegistrationCase cases[] = {
      {"InstallShield's value before the plain one",
       {{kAppsKey, kIsValue, kIsCommand}, {kAppsKey, kValue, kPlainCommand}},
       {},
       "C:\\WINDOWS\\IsUninst.exe -f\"C:\\Program Files\\Orvanta\\Uninst.isu\" -a"},
      {"the plain value alone",
       {{kAppsKey, kValue, kPlainCommand}},
       {},
       "C:\\WINDOWS\\UNINST.EXE Orvanta -a"},
      {"an InstallShield value longer than the field fails its read",
       {{kAppsKey, kIsValue, tooLong}, {kAppsKey, kValue, kPlainCommand}},
       {},
       "C:\\WINDOWS\\UNINST.EXE Orvanta -a"},
      {"the Windows NT variant's key when the other is missing",
       {{kNtAppsKey, kIsValue, kIsCommand}},
       {},
       "C:\\WINDOWS\\IsUninst.exe -f\"C:\\Program Files\\Orvanta\\Uninst.isu\" -a"},
      {"the first key decides even when it holds no command",
       {{kNtAppsKey, kValue, kPlainCommand}},
       {kAppsKey},
       nullptr},
      {"a key without either value", {}, {kAppsKey}, nullptr},
      {"nothing registered", {}, {}, nullptr},
  };
  for (const RegistrationCase& c : cases) {
    SCOPED_TRACE(c.what);
    sim::Machine m = MachineWithUninstallers();
    for (const auto& [key, name, command] : c.values) SetCommand(m, key, name, command);
    for (const char* key : c.emptyKeys) m.registry.CreateKey(key);
    sim::SimPlatform platform(m);
    UninstallPreviousApps(platform);
    if (c.started == nullptr) {
      EXPECT_TRUE(platform.started().empty());
      EXPECT_FALSE(platform.waitCursorShown());
    } else {
      ASSERT_EQ(platform.started().size(), 1u);
      const sim::StartedProgram& started = platform.started()[0];
      EXPECT_EQ(started.via, "CreateProcessA");
      EXPECT_EQ(started.command, c.started);
      EXPECT_EQ(started.show, kSwShow);
      EXPECT_TRUE(started.started);
      EXPECT_TRUE(platform.waitCursorShown());
    }
    EXPECT_EQ(platform.waitCursorDepth(), 0);
    EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
  }
}

// Returns only once the uninstaller's process has ended: not when it is ready
// for input, and not a moment later than its end. An uninstaller that exits
// with 259 (the code that also means "still running") ends the wait as well.
TEST(UninstallPreviousAppsTest, WaitsUntilTheUninstallerHasEnded) {
  struct WaitCase {
    sim::SimTime runsFor;
    DWORD exitCode;
  };
  for (const WaitCase& c : {WaitCase{7250, 0}, WaitCase{700, 0}, WaitCase{3000, kStillActive},
                            WaitCase{0, kStillActive}}) {
    SCOPED_TRACE(testing::Message() << "runs " << c.runsFor << " ms, exits with " << c.exitCode);
    sim::Machine m = MachineWithUninstallers();
    SetCommand(m, kAppsKey, kIsValue, kIsCommand);
    AddUninstallerBehaviour(m, c.runsFor, c.exitCode);
    sim::SimPlatform platform(m);
    const sim::CallOutcome outcome = platform.Run([&] { UninstallPreviousApps(platform); });
    ASSERT_EQ(outcome.end, sim::CallEnd::kReturned) << outcome.message;
    EXPECT_EQ(platform.Now(), c.runsFor);
    EXPECT_FALSE(m.registry.KeyExists(kAppsKey));
    EXPECT_EQ(platform.waitCursorDepth(), 0);
  }
}

// The wait cursor is on for the whole uninstallation.
TEST(UninstallPreviousAppsTest, ShowsTheWaitCursorAroundTheUninstallation) {
  sim::Machine m = MachineWithUninstallers();
  SetCommand(m, kAppsKey, kIsValue, kIsCommand);
  AddUninstallerBehaviour(m, 4000, 0);
  sim::SimPlatform platform(m);
  UninstallPreviousApps(platform);
  std::vector<std::string> order;
  for (const sim::TranscriptEntry& e : platform.transcript().entries()) {
    if (e.what.rfind("wait cursor", 0) == 0) order.push_back(e.what);
    if (e.what.rfind("CreateProcessA", 0) == 0) order.push_back("start");
    if (e.what.find("ends with exit code") != std::string::npos) order.push_back("end");
  }
  EXPECT_EQ(order, (std::vector<std::string>{"wait cursor on", "start", "end", "wait cursor off"}));
}

// An uninstaller that cannot be started leaves nothing to wait for.
TEST(UninstallPreviousAppsTest, AMissingUninstallerIsNotWaitedFor) {
  sim::Machine m = sim::MakeMachine("ME");
  SetCommand(m, kAppsKey, kValue, "C:\\WINDOWS\\GONE.EXE Orvanta");
  sim::SimPlatform platform(m);
  UninstallPreviousApps(platform);
  ASSERT_EQ(platform.started().size(), 1u);
  EXPECT_FALSE(platform.started()[0].started);
  EXPECT_EQ(platform.Now(), 0);
  EXPECT_EQ(platform.waitCursorDepth(), 0);
  EXPECT_TRUE(m.registry.KeyExists(kAppsKey));
}

// The command is held in 260 bytes with its terminator: a stored command of
// 256 characters still takes " -a"; a longer one is not run at all rather
// than cut or overrun.
TEST(UninstallPreviousAppsTest, ACommandThatWouldNotFitWithTheSwitchIsNotRun) {
  const std::string prefix = std::string(kIsUninst) + " -f\"C:\\";
  auto commandOfLength = [&](std::size_t length) {
    std::string command = prefix + std::string(length - prefix.size() - 1, 'x') + "\"";
    EXPECT_EQ(command.size(), length);
    return command;
  };
  for (std::size_t length : {256u, 257u, 259u}) {
    SCOPED_TRACE(length);
    sim::Machine m = MachineWithUninstallers();
    const std::string command = commandOfLength(length);
    SetCommand(m, kAppsKey, kIsValue, command);
    sim::SimPlatform platform(m);
    UninstallPreviousApps(platform);
    if (length == 256) {
      ASSERT_EQ(platform.started().size(), 1u);
      EXPECT_EQ(platform.started()[0].command, command + " -a");
      EXPECT_EQ(platform.started()[0].command.size(), 259u);
    } else {
      EXPECT_TRUE(platform.started().empty());
      EXPECT_FALSE(platform.waitCursorShown());
      EXPECT_FALSE(TranscriptHas(platform, "wait cursor on"));
    }
  }
}

}  // namespace
}  // namespace kx
