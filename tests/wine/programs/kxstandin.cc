// kxstandin: stands in for a program that Setup starts (the Windows 2000/XP
// setup, the applications setup, SysTray.exe, the uninstaller, ...) and for
// Wine's wineboot.exe, which ExitWindowsEx starts. It only writes down how it
// was started, one line per start, into the file KX_STANDIN_LOG names:
//
//   <program path>|<command line>|<current folder>
//
// and ends with exit code 0, after KX_STANDIN_RUN_MS milliseconds if set.
// It has no window and no console.
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char log[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("KX_STANDIN_LOG", log, sizeof log);
  if (length > 0 && length < sizeof log) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, sizeof module);
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    std::string line = std::string(module) + "|" + GetCommandLineA() + "|" + cwd + "\r\n";
    // Appends with the file locked for the write, so that two stand-ins
    // started at once do not mix their lines.
    for (int attempt = 0; attempt < 50; ++attempt) {
      HANDLE file = CreateFileA(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
        break;
      }
      Sleep(20);
    }
  }
  char runMs[32];
  length = GetEnvironmentVariableA("KX_STANDIN_RUN_MS", runMs, sizeof runMs);
  if (length > 0 && length < sizeof runMs) Sleep(static_cast<DWORD>(std::atoi(runMs)));
  return 0;
}
