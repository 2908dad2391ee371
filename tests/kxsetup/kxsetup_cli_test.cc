// The kxsetup command as a user runs it: options, exit statuses, the
// transcript and summary, the JSON report and the machine written afterwards.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "sim/machine/machine_image.h"
#include "support/sim_machine.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string ReadHost(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteHost(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

class KxsetupCli : public ::testing::Test {
 protected:
  KxsetupCli() {
    dir_ = fs::temp_directory_path() /
           ("kxsetup-cli-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~KxsetupCli() override { fs::remove_all(dir_); }

  Result Run(const std::vector<std::string>& args) {
    std::string command = Quote(KXSETUP_PATH);
    for (const std::string& a : args) command += " " + Quote(a);
    const fs::path err = dir_ / "stderr.txt";
    command += " 2>" + Quote(err.string()) + " </dev/null";
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadHost(err);
    return r;
  }

  // A copy of a bundled machine image to change.
  fs::path CopyMachine(const std::string& name) {
    const fs::path copy = dir_ / name;
    fs::copy(kx::test::ExamplePath("machines/" + name), copy, fs::copy_options::recursive);
    return copy;
  }

  fs::path dir_;
};

TEST_F(KxsetupCli, HelpVersionAndBadArguments) {
  Result r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Usage: kxsetup"), std::string::npos);
  r = Run({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("kxsetup ", 0), 0u);
  r = Run({"--frobnicate"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--frobnicate"), std::string::npos);
  r = Run({"/AP"});
  EXPECT_EQ(r.status, 2);
  r = Run({"--media", (dir_ / "none").string()});
  EXPECT_EQ(r.status, 2);
}

TEST_F(KxsetupCli, ABadImageOrAnswersFileNamesTheLine) {
  const fs::path machine = CopyMachine("win2000");
  WriteHost(machine / "machine.ini", "[machine]\nrelease = 2000\nlanguage = English\n");
  Result r = Run({"--machine", machine.string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("machine.ini:3: "), std::string::npos) << r.err;

  WriteHost(dir_ / "answers.ini", "[message]\nanswer = Perhaps\n");
  r = Run({"--machine", kx::test::ExamplePath("machines/win2000"), "--answers",
           (dir_ / "answers.ini").string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("answers.ini:2: "), std::string::npos) << r.err;
}

TEST_F(KxsetupCli, ACompletedRunPrintsItsActionsAndReports) {
  const fs::path report = dir_ / "report.json";
  const fs::path out = dir_ / "after";
  const Result r = Run({"--machine", kx::test::ExamplePath("machines/win2000"), "--report",
                        report.string(), "--out", out.string(), "--", "/DRIVER"});
  ASSERT_EQ(r.status, 0) << r.err << r.out;
  EXPECT_NE(r.out.find("WinExec \"D:\\W2KSetup.dat /DRIVER\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Setup's exit code: 0"), std::string::npos);
  EXPECT_NE(r.out.find("file added C:\\WINNT\\KXCDPLAY.INI"), std::string::npos);

  const std::string json = ReadHost(report);
  for (const char* field :
       {"\"exit_code\": 0", "\"restart_requested\": false", "\"outcome\": \"completed\"",
        "\"command\": \"D:\\\\W2KSetup.dat /DRIVER\"", "\"current_dir\": \"D:\\\\\"",
        "\"message_boxes\": []", "\"registry\": [", "\"files\": ["}) {
    EXPECT_NE(json.find(field), std::string::npos) << field << "\n" << json;
  }

  kx::sim::Machine after;
  std::string error;
  ASSERT_TRUE(kx::sim::LoadMachineImage(out, &after, &error)) << error;
  EXPECT_TRUE(after.files.FileExists("C:\\WINNT\\KXCDPLAY.INI"));
  EXPECT_FALSE(after.files.HasDrive('D'));
  // The input image is untouched.
  EXPECT_FALSE(fs::exists(kx::test::ExamplePath("machines/win2000/C/WINNT/KXCDPLAY.INI")));
}

TEST_F(KxsetupCli, QuietPrintsOnlyTheSummary) {
  const Result r = Run({"--machine", kx::test::ExamplePath("machines/win2000"), "--quiet"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.find("WritePrivateProfileStringA"), std::string::npos);
  EXPECT_NE(r.out.find("Summary"), std::string::npos);
}

TEST_F(KxsetupCli, OutMayNotOverwriteTheInput) {
  const fs::path machine = CopyMachine("win2000");
  const std::string before = ReadHost(machine / "machine.ini");
  for (const fs::path& out : {machine, machine / "inside", dir_}) {
    const Result r = Run({"--machine", machine.string(), "--out", out.string()});
    EXPECT_EQ(r.status, 2) << out;
  }
  EXPECT_EQ(ReadHost(machine / "machine.ini"), before);
}

TEST_F(KxsetupCli, AWaitThatNeverEndsIsStuck) {
  // The uninstaller of the applications package never ends.
  const fs::path machine = CopyMachine("nt4");
  std::string ini = ReadHost(machine / "machine.ini");
  const std::size_t runs = ini.find("runs = 4s");
  ASSERT_NE(runs, std::string::npos);
  ini.replace(runs, 9, "runs = forever\r\nidle_after = 1000h");
  WriteHost(machine / "machine.ini", ini);
  const Result r = Run({"--machine", machine.string(), "--quiet", "--", "/AP"});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.err.find("stuck"), std::string::npos) << r.err;
}

TEST_F(KxsetupCli, APathNotAvailableYetExitsWithFour) {
  // Without any dispatch switch on Windows ME, Setup opens its main dialog.
  const Result r = Run({"--quiet"});
  if (r.status == 4) {
    EXPECT_NE(r.err.find("not available"), std::string::npos) << r.err;
  } else {
    EXPECT_EQ(r.status, 0) << r.err;  // the main dialog exists now
  }
}

}  // namespace
