#include <cstdio>
#include <cstdlib>

#include "sim/machine/machine.h"
#include "sim/machine/registry_data.h"

namespace kx::sim {

std::string SzData(std::string_view text) { return std::string(text) + '\0'; }

std::string DwordData(DWORD value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

Machine MakeMachine(std::string_view releaseName) {
  WindowsRelease release;
  if (!FindWindowsRelease(releaseName, &release)) {
    std::fprintf(stderr, "MakeMachine: unknown Windows release '%.*s' (known: %s)\n",
                 static_cast<int>(releaseName.size()), releaseName.data(),
                 KnownReleaseNames().c_str());
    std::abort();
  }
  Machine m;
  m.SetRelease(release);
  m.SetCurrentUser(release.IsNt() ? "S-1-5-21-1844237615-1960408961-1801674531-1003" : ".DEFAULT");
  m.startFolder = m.windowsFolder;
  m.mixerDevices = 1;
  m.AddDrive('C', {}, "C");

  const std::string win = m.windowsFolder;
  const std::string sourcePath = release.IsNt() ? "C:\\I386" : win + "\\OPTIONS\\CABS";
  for (const std::string& folder :
       {win, m.systemFolder, m.InfFolder(), sourcePath, std::string("C:\\Program Files")}) {
    m.files.CreateDirectories(folder);
  }
  if (release.IsNt()) m.files.CreateDirectories(m.systemFolder + "\\drivers");
  m.files.WriteFile(m.systemFolder + "\\SYSTRAY.EXE", "MZ system tray\r\n");
  m.files.WriteFile(win + "\\WIN.INI", "[windows]\r\nload=\r\nrun=\r\n\r\n[Desktop]\r\n");
  m.files.WriteFile(win + "\\SYSTEM.INI", "[boot]\r\nshell=Explorer.exe\r\n");

  Registry& r = m.registry;
  const std::string cv = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
  r.SetValue(cv + "\\Run", "SystemTray", kRegSz, SzData("SysTray.Exe"));
  r.SetValue(cv + "\\Setup", "SourcePath", kRegSz, SzData(sourcePath));
  r.CreateKey(cv + "\\Uninstall");
  r.CreateKey("HKEY_LOCAL_MACHINE\\Software\\Classes");
  if (!release.IsNt()) {
    r.CreateKey("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA");
    r.CreateKey("HKEY_LOCAL_MACHINE\\Enum\\PCI");
  }
  std::vector<std::string> users = {"HKEY_USERS\\.DEFAULT"};
  if (release.IsNt()) users.push_back("HKEY_USERS\\" + m.currentUser);
  for (const std::string& user : users) {
    r.SetValue(user + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Systray",
               "Services", kRegDword, DwordData(0x7));
    const std::string audio = user + "\\Software\\Microsoft\\Multimedia\\Audio";
    r.SetValue(audio, "SystemFormats", kRegSz,
               SzData("CD Quality,Radio Quality,Telephone Quality"));
    r.SetValue(audio, "DefaultFormat", kRegSz, SzData("Radio Quality"));
  }
  return m;
}

}  // namespace kx::sim
