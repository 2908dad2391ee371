#include "cleanup/old_driver_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text.h"
#include "sim/run/wininit_renames.h"
#include "support/sim_machine.h"

namespace kx {
namespace {

constexpr char kInf[] = "C:\\WINDOWS\\INF\\";
constexpr char kOther[] = "C:\\WINDOWS\\INF\\OTHER\\";

std::string Strings(const std::string& lines) {
  return "[Version]\r\nSignature=\"$CHICAGO$\"\r\n\r\n[Strings]\r\n" + lines;
}
const std::string kOldInf = Strings("SSC-Legacy.DeviceDesc=\"KXI4720/K3DX PCI Audio Device\"\r\n");
const std::string kOtherMakersInf = Strings("SSC-Legacy.DeviceDesc=\"Acme Audio\"\r\n");

sim::Machine MachineWithInfFolders() {
  sim::Machine m = sim::MakeMachine("98");
  m.files.CreateDirectories(kOther);
  return m;
}

// The files deleted, in order, as the transcript records them.
std::vector<std::string> DeletedFiles(const sim::SimPlatform& p) {
  const std::string call = "DeleteFileA ";
  std::vector<std::string> deleted;
  for (const sim::TranscriptEntry& e : p.transcript().entries()) {
    if (e.what.rfind(call, 0) == 0 && e.what.find(": failed") == std::string::npos) {
      deleted.push_back(e.what.substr(call.size()));
    }
  }
  return deleted;
}

std::vector<std::string> Retire(sim::Machine& m, int scheduleRenames = 0) {
  sim::SimPlatform p(m);
  RetireOldDriverFiles(p, scheduleRenames);
  return DeletedFiles(p);
}

TEST(RetireOldDriverFilesTest, InfIsOldWhenAMarkerValueStartsWithAnOldDriverName) {
  struct MarkerCase {
    std::string strings;
    bool old;
  };
  const MarkerCase cases[] = {
      {"SSC-Legacy.DeviceDesc=\"KXI4720/K3DX PCI Audio Device\"\r\n", true},
      {"SSC-Legacy.DeviceDesc=KXI4320\r\n", true},
      {"SSC-Legacy.DeviceDesc=KXAUDIO Legacy Device\r\n", true},
      {"SSC-Legacy.DeviceDesc=Kestrix PCI Audio\r\n", true},
      {"SSC-Legacy.DeviceDesc=KESTRIX PCI Audio\r\n", false},
      {"SSC-Legacy.DeviceDesc=KXI472\r\n", false},
      {"SSC-Legacy.DeviceDesc= KXI4720\r\n", true},  // blanks around = are not part of the value
      {"SSC-Legacy.DeviceDesc=xKXI4720\r\n", false},
      {"SSC-Legacy.DeviceDesc=KXI4320" + std::string(200, '-') + "\r\n", true},
      {"WDM_KXPCI.Wave.szPname=\"KXAUDIO Wave\"\r\n", true},
      {"SSC-Legacy.DeviceDesc=Acme\r\nWDM_KXPCI.Wave.szPname=Kestrix Wave\r\n", true},
      {"DeviceDesc=KXAUDIO\r\nKXAUDIO=KXAUDIO\r\n", false},
      {"", false},
  };
  sim::Machine m = MachineWithInfFolders();
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string base = std::string(kInf) + "KX" + std::to_string(10 + i);
    m.files.WriteFile(base + ".INF", Strings(cases[i].strings));
    m.files.WriteFile(base + ".PNF", "precompiled");
    if (cases[i].old) expected.insert(expected.end(), {base + ".INF", base + ".PNF"});
  }
  // The marker in another section does not count.
  m.files.WriteFile(std::string(kInf) + "KX99.INF",
                    "[Version]\r\nSSC-Legacy.DeviceDesc=KXI4720\r\n[Strings]\r\nX=Y\r\n");

  EXPECT_EQ(Retire(m), expected);
  EXPECT_TRUE(m.files.FileExists(std::string(kInf) + "KX99.INF"));
}

TEST(RetireOldDriverFilesTest, OldInfGoesWithItsTwinWhateverItsAttributes) {
  sim::Machine m = MachineWithInfFolders();
  const std::string inf = std::string(kInf) + "oem3.inf";
  m.files.WriteFile(inf, kOldInf);
  m.files.WriteFile(std::string(kInf) + "oem3.PNF", "precompiled");
  m.files.SetFileAttributesA(inf.c_str(), kFileAttributeReadonly | kFileAttributeHidden);
  m.files.SetFileAttributesA((std::string(kInf) + "oem3.PNF").c_str(), kFileAttributeReadonly);
  m.files.WriteFile(std::string(kInf) + "OEM4.INF", kOldInf);  // no twin

  Retire(m);
  EXPECT_FALSE(m.files.FileExists(inf));
  EXPECT_FALSE(m.files.FileExists(std::string(kInf) + "oem3.PNF"));
  EXPECT_FALSE(m.files.FileExists(std::string(kInf) + "OEM4.INF"));
}

// Scan 1 reads INF\OTHER, or the OEM files of INF when OTHER holds no INF;
// scan 2 the KX files and scan 3 the OEM files of INF. Each file is judged on
// its own, so other makers' INFs around an old one stay.
TEST(RetireOldDriverFilesTest, ScansTheInfFoldersInOrder) {
  struct ScanCase {
    const char* name;
    std::vector<std::pair<std::string, const std::string*>> files;  // path below C:\WINDOWS\INF
    std::vector<std::string> deleted;                               // in order
  };
  const ScanCase cases[] = {
      {"INF\\OTHER holds INFs: the OEM files come last",
       {{"OTHER\\ACME.INF", &kOtherMakersInf},
        {"OTHER\\KXOLD.INF", &kOldInf},
        {"OTHER\\OEM9.INF", &kOldInf},
        {"KXOLD.INF", &kOldInf},
        {"OEM1.INF", &kOldInf},
        {"OEM2.INF", &kOtherMakersInf},
        {"oem3.inf", &kOldInf},
        {"VENDOR.INF", &kOldInf}},
       {"OTHER\\KXOLD.INF", "OTHER\\KXOLD.PNF", "OTHER\\OEM9.INF", "OTHER\\OEM9.PNF", "KXOLD.INF",
        "KXOLD.PNF", "OEM1.INF", "OEM1.PNF", "oem3.inf", "oem3.PNF"}},
      {"INF\\OTHER holds no INF: the OEM files come first",
       {{"OTHER\\README.TXT", &kOldInf},
        {"KXOLD.INF", &kOldInf},
        {"OEM1.INF", &kOldInf},
        {"OEM2.INF", &kOtherMakersInf},
        {"oem3.inf", &kOldInf}},
       {"OEM1.INF", "OEM1.PNF", "oem3.inf", "oem3.PNF", "KXOLD.INF", "KXOLD.PNF"}},
      {"no INF\\OTHER folder",
       {{"KXOLD.INF", &kOldInf}, {"OEM1.INF", &kOldInf}},
       {"OEM1.INF", "OEM1.PNF", "KXOLD.INF", "KXOLD.PNF"}},
      {"only other makers' INFs",
       {{"OEM1.INF", &kOtherMakersInf}, {"KX1.INF", &kOtherMakersInf}},
       {}},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Machine m = sim::MakeMachine("98");
    for (const auto& [path, text] : c.files) {
      const std::string full = kInf + path;
      m.files.CreateDirectories(full.substr(0, full.rfind('\\')));
      m.files.WriteFile(full, *text);
      if (EndsWith(path, ".INF") || EndsWith(path, ".inf")) {
        m.files.WriteFile(full.substr(0, full.size() - 3) + "PNF", "precompiled");
      }
    }
    std::vector<std::string> expected;
    for (const std::string& path : c.deleted) expected.push_back(kInf + path);

    EXPECT_EQ(Retire(m), expected);
    // A second pass finds nothing left to delete.
    EXPECT_TRUE(Retire(m).empty());
  }
}

std::string Wininit(const sim::Machine& m) {
  std::string text;
  m.files.ReadFile("C:\\WINDOWS\\WININIT.INI", &text);
  return text;
}

// Every old system file, in the order they are scheduled, as [rename] entries
// (backup name = existing file).
const std::vector<sim::RenameEntry> kAllRenames = {
    {"C:\\WINDOWS\\SYSTEM\\SPACE3D.OLD", "C:\\WINDOWS\\SYSTEM\\SPACE3D.DLL"},
    {"C:\\WINDOWS\\SYSTEM\\Q3D.OLD", "C:\\WINDOWS\\SYSTEM\\Q3D.DLL"},
    {"C:\\WINDOWS\\SYSTEM\\K3D.OLD", "C:\\WINDOWS\\SYSTEM\\K3D.DLL"},
    {"C:\\WINDOWS\\SYSTEM\\4320VXD.OLD", "C:\\WINDOWS\\SYSTEM\\KX4320.VXD"},
    {"C:\\WINDOWS\\SYSTEM\\KXAUDIO.OLD", "C:\\WINDOWS\\SYSTEM\\KXAUDIO.VXD"},
    {"C:\\WINDOWS\\SYSTEM\\4320FDRV.OLD", "C:\\WINDOWS\\SYSTEM\\KX4320FM.DRV"},
    {"C:\\WINDOWS\\SYSTEM\\KXPCIFM.OLD", "C:\\WINDOWS\\SYSTEM\\KXPCIFM.DRV"},
    {"C:\\WINDOWS\\SYSTEM\\KXMPU.OLD", "C:\\WINDOWS\\SYSTEM\\KXMPU.EXE"},
    {"C:\\WINDOWS\\SYSTEM\\KXMPUPCI.OLD", "C:\\WINDOWS\\SYSTEM\\KXMPUPCI.DRV"},
    {"C:\\WINDOWS\\SYSTEM\\KXPCI95.OLD", "C:\\WINDOWS\\SYSTEM\\KXPCI95.DRV"},
    {"C:\\WINDOWS\\SYSTEM\\KXSMIDI.OLD", "C:\\WINDOWS\\SYSTEM\\KXSMIDI.DRV"},
    {"C:\\WINDOWS\\SYSTEM\\KXSWMPU.OLD", "C:\\WINDOWS\\SYSTEM\\KXSWMPU.VXD"},
    {"C:\\WINDOWS\\SYSTEM\\BNKTABLE.OLD", "C:\\WINDOWS\\SYSTEM\\BNKTABLE.DAT"},
    {"C:\\WINDOWS\\SYSTEM\\BNKWAVE.OLD", "C:\\WINDOWS\\SYSTEM\\BNKWAVE.DAT"},
    {"C:\\WINDOWS\\SYSTEM\\SNDINIT.OLD", "C:\\WINDOWS\\SYSTEM\\SNDINIT.COM"},
    {"C:\\WINDOWS\\SYSTEM\\SYNTH32.OLD", "C:\\WINDOWS\\SYSTEM\\SYNTH32P.DLL"},
    {"C:\\WINDOWS\\SYSTEM\\SYNTHPCI.OLD", "C:\\WINDOWS\\SYSTEM\\SYNTHPCI.DLL"},
    {"C:\\WINDOWS\\SYSTEM\\PARSEBNK.OLD", "C:\\WINDOWS\\SYSTEM\\PARSEBNK.EXE"},
    {"C:\\WINDOWS\\SYSTEM\\ASIO4720.OLD", "C:\\WINDOWS\\SYSTEM\\ASIO4720.DLL"},
    {"C:\\WINDOWS\\SYSTEM\\KXSYNTH.OLD", "C:\\WINDOWS\\SYSTEM\\KXSYNTH.DRV"},
    {"C:\\WINDOWS\\SYSTEM32\\DRIVERS\\KXPCI.OLD", "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\KXPCI.SYS"},
    {"C:\\WINDOWS\\INF\\CATALOG\\KXPCI.OLD", "C:\\WINDOWS\\INF\\CATALOG\\KXPCI.CAT"},
    {"C:\\WINDOWS\\SYSTEM32\\DRIVERS\\KXAUDIO.OLD", "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\KXAUDIO.SYS"},
    {"C:\\WINDOWS\\INF\\CATALOG\\kxaudio.OLD", "C:\\WINDOWS\\INF\\CATALOG\\kxaudio.CAT"},
    {"C:\\WINDOWS\\SYSTEM32\\KXprop.OLD", "C:\\WINDOWS\\SYSTEM32\\KXprop.DLL"},
    {"C:\\WINDOWS\\SYSTEM\\DSXL3D.OLD", "C:\\WINDOWS\\SYSTEM\\DSXL3D.DLL"},
};

// The old system files present, stored in lower case: the search finds them
// whatever their case, and the entries keep the case of the table.
void AddOldSystemFiles(sim::Machine& m, const std::vector<std::size_t>& rows) {
  for (const char* folder : {"SYSTEM32\\DRIVERS", "INF\\CATALOG"}) {
    m.files.CreateDirectories(std::string("C:\\WINDOWS\\") + folder);
  }
  for (std::size_t row : rows) {
    const std::string& path = kAllRenames[row].source;
    const std::size_t cut = path.rfind('\\') + 1;
    m.files.WriteFile(path.substr(0, cut) + AsciiLower(path[cut]) + path.substr(cut + 1), "old");
  }
}

TEST(RetireOldDriverFilesTest, SchedulesTheOldSystemFilesPresentInTableOrder) {
  struct RenameCase {
    const char* name;
    std::vector<std::size_t> rows;  // of kAllRenames present
  };
  std::vector<std::size_t> all;
  for (std::size_t row = 0; row < kAllRenames.size(); ++row) all.push_back(row);
  const RenameCase cases[] = {
      {"all of them", all},
      {"two of them", {24, 1}},
      {"none", {}},
  };
  for (const RenameCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Machine m = MachineWithInfFolders();
    AddOldSystemFiles(m, c.rows);
    std::vector<sim::RenameEntry> expected;
    for (std::size_t row = 0; row < kAllRenames.size(); ++row) {
      if (std::find(c.rows.begin(), c.rows.end(), row) != c.rows.end()) {
        expected.push_back(kAllRenames[row]);
      }
    }

    Retire(m, 1);
    EXPECT_EQ(sim::ReadRenameEntries(Wininit(m)), expected);
    std::string winIni;
    m.files.ReadFile("C:\\WINDOWS\\WIN.INI", &winIni);
    EXPECT_EQ(winIni, "[windows]\r\nload=\r\nrun= \r\n\r\n[Desktop]\r\n");
    // The files themselves stay until Windows starts again.
    for (std::size_t row : c.rows) EXPECT_TRUE(m.files.FileExists(kAllRenames[row].source));
  }
}

TEST(RetireOldDriverFilesTest, WithoutSchedulingTouchesNeitherProfileFile) {
  sim::Machine m = MachineWithInfFolders();
  std::vector<std::size_t> all;
  for (std::size_t row = 0; row < kAllRenames.size(); ++row) all.push_back(row);
  AddOldSystemFiles(m, all);
  m.files.WriteFile(std::string(kInf) + "OEM1.INF", kOldInf);
  m.files.WriteFile("C:\\WINDOWS\\WIN.INI", "[windows]\r\nrun=KXMPU.EXE\r\n");

  EXPECT_EQ(Retire(m, 0), std::vector<std::string>{std::string(kInf) + "OEM1.INF"});
  EXPECT_FALSE(m.files.FileExists("C:\\WINDOWS\\WININIT.INI"));
  std::string winIni;
  m.files.ReadFile("C:\\WINDOWS\\WIN.INI", &winIni);
  EXPECT_EQ(winIni, "[windows]\r\nrun=KXMPU.EXE\r\n");
}

// A Windows folder so deep that some of the paths built from it pass the
// 260-character limit, or that is itself longer: nothing overflows, the
// paths that fit are still handled and the others are skipped.
TEST(RetireOldDriverFilesTest, DeepWindowsFolderIsHandledSafely) {
  for (std::size_t length : {240u, 300u}) {
    SCOPED_TRACE(length);
    sim::Machine m = sim::MakeMachine("98");
    m.windowsFolder = "C:\\" + std::string(length - 3, 'W');
    const std::string inf = m.windowsFolder + "\\INF\\OEM1.INF";
    const bool fits = length < kMaxPath;
    if (fits) {
      m.files.CreateDirectories(m.windowsFolder + "\\INF");
      m.files.CreateDirectories(m.windowsFolder + "\\SYSTEM");
      ASSERT_TRUE(m.files.WriteFile(inf, kOldInf));
      ASSERT_TRUE(m.files.WriteFile(m.windowsFolder + "\\SYSTEM\\Q3D.DLL", "old"));
      ASSERT_TRUE(m.files.WriteFile(m.windowsFolder + "\\WIN.INI", "[windows]\r\nrun=\r\n"));
    }

    const std::vector<std::string> deleted = Retire(m, 1);
    if (!fits) {
      EXPECT_TRUE(deleted.empty());
      continue;
    }
    EXPECT_EQ(deleted, std::vector<std::string>{inf});
    std::string wininit;
    m.files.ReadFile(m.windowsFolder + "\\WININIT.INI", &wininit);
    const std::vector<sim::RenameEntry> renames = {
        {m.windowsFolder + "\\SYSTEM\\Q3D.OLD", m.windowsFolder + "\\SYSTEM\\Q3D.DLL"}};
    EXPECT_EQ(sim::ReadRenameEntries(wininit), renames);
    std::string winIni;
    m.files.ReadFile(m.windowsFolder + "\\WIN.INI", &winIni);
    EXPECT_EQ(winIni, "[windows]\r\nrun= \r\n");
  }
}

}  // namespace
}  // namespace kx
