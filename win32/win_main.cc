// Setup.exe's entry point. The setup logic reads the program path and the
// arguments itself, from the process command line (GetCommandLineA), exactly
// as the run-time library and the application framework split it; WinMain
// passes nothing but the platform.
#include <windows.h>

#include "app/setup_app.h"
#include "win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kx::win32::Win32Platform platform;
  return kx::SetupMain(platform);
}
