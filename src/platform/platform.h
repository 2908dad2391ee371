// The Windows interface Setup is written against.
//
// Every registry, file, profile, window, process, device, multimedia, clock
// and user-interface operation of the setup logic goes through this class, so
// that the same logic runs on real Windows (win32/) and on a simulated PC
// (sim/). Each operation mirrors the ANSI Win32 call of the same name: the same
// arguments, return values, error codes and buffer rules, so that the real
// backend is a thin pass-through and the setup code reads like Win32 code.
//
// Conventions every implementation keeps:
// - String results follow the Win32 buffer contracts of each call (a value
//   longer than the buffer fails the read with kErrorMoreData for the
//   registry; directory calls return the required size; profile reads cut).
// - Enumerations (RegEnumKeyExA, RegEnumValueA, FindNextFileA,
//   SetupDiEnumDeviceInfo) return items by index or in a stable order until
//   the first error.
// - "Cannot open" and "cannot read" are distinct failures.
#pragma once

#include <cstdlib>

#include "platform/types.h"

namespace kx {

class Platform {
 public:
  virtual ~Platform() = default;

  // ---- Command line, version and folders (KERNEL32). ----
  // The whole process command line, program name included, as Windows gives it.
  virtual const char* GetCommandLineA() = 0;
  virtual DWORD GetModuleFileNameA(char* buffer, DWORD size) = 0;
  virtual BOOL GetVersionExA(OsVersionInfo* info) = 0;
  virtual UINT GetWindowsDirectoryA(char* buffer, UINT size) = 0;
  virtual UINT GetSystemDirectoryA(char* buffer, UINT size) = 0;
  virtual DWORD GetCurrentDirectoryA(DWORD size, char* buffer) = 0;
  virtual BOOL SetCurrentDirectoryA(const char* path) = 0;
  // Security attributes are always null in Setup.
  virtual BOOL CreateDirectoryA(const char* path) = 0;
  virtual DWORD GetShortPathNameA(const char* longPath, char* shortPath, DWORD size) = 0;
  virtual DWORD GetLastError() = 0;
  virtual void SetLastError(DWORD error) = 0;
  virtual DWORD GetTickCount() = 0;

  // ---- Files. ----
  virtual FindHandle FindFirstFileA(const char* pattern, FindData* data) = 0;
  virtual BOOL FindNextFileA(FindHandle find, FindData* data) = 0;
  virtual BOOL FindClose(FindHandle find) = 0;
  virtual BOOL CopyFileA(const char* source, const char* target, BOOL failIfExists) = 0;
  virtual BOOL SetFileAttributesA(const char* path, DWORD attributes) = 0;
  virtual DWORD GetFileAttributesA(const char* path) = 0;
  virtual BOOL DeleteFileA(const char* path) = 0;

  // The C run-time library's streams (fopen, fgets, fseek, fwrite, fflush,
  // fclose) with the Windows run-time's text mode: in a mode without "b", CR LF
  // reads as one newline and offsets are byte offsets in the file.
  // FOpen returns null when the file cannot be opened in that mode.
  virtual FileStream FOpen(const char* path, const char* mode) = 0;
  virtual char* FGets(char* buffer, int size, FileStream stream) = 0;
  virtual int FSeek(FileStream stream, long offset, int origin) = 0;
  virtual std::size_t FWrite(const void* data, std::size_t size, std::size_t count,
                             FileStream stream) = 0;
  virtual int FFlush(FileStream stream) = 0;
  virtual int FClose(FileStream stream) = 0;

  // ---- Profile (INI) files. A bare file name means the Windows folder. ----
  virtual UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                                     const char* file) = 0;
  virtual DWORD GetPrivateProfileStringA(const char* section, const char* key,
                                         const char* defaultValue, char* buffer, DWORD size,
                                         const char* file) = 0;
  // A null key deletes the section, a null value deletes the key.
  virtual BOOL WritePrivateProfileStringA(const char* section, const char* key,
                                          const char* value, const char* file) = 0;

  // ---- Registry (ADVAPI32). Results are error codes. ----
  virtual LONG RegOpenKeyExA(HKey key, const char* subKey, DWORD options, DWORD access,
                             HKey* result) = 0;
  virtual LONG RegQueryValueExA(HKey key, const char* valueName, DWORD* type, BYTE* data,
                                DWORD* dataSize) = 0;
  virtual LONG RegSetValueExA(HKey key, const char* valueName, DWORD type, const BYTE* data,
                              DWORD dataSize) = 0;
  // nameSize: in, the buffer size in characters including the terminator;
  // out, the name's length without it.
  virtual LONG RegEnumKeyExA(HKey key, DWORD index, char* name, DWORD* nameSize) = 0;
  virtual LONG RegEnumValueA(HKey key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                             BYTE* data, DWORD* dataSize) = 0;
  // Removes the key with all its subkeys on Windows 95/98/ME; refuses a key
  // with subkeys on Windows NT.
  virtual LONG RegDeleteKeyA(HKey key, const char* subKey) = 0;
  virtual LONG RegDeleteValueA(HKey key, const char* valueName) = 0;
  virtual LONG RegCloseKey(HKey key) = 0;

  // ---- Windows and messages (USER32). ----
  virtual HWnd FindWindowExA(HWnd parent, HWnd childAfter, const char* className,
                             const char* windowName) = 0;
  virtual std::intptr_t SendMessageA(HWnd window, UINT message, std::uintptr_t wParam,
                                     std::intptr_t lParam) = 0;
  virtual int MessageBoxA(HWnd owner, const char* text, const char* caption, UINT type) = 0;
  virtual BOOL ShowWindow(HWnd window, int command) = 0;
  virtual BOOL EnableWindow(HWnd window, BOOL enable) = 0;
  virtual BOOL RedrawWindow(HWnd window, UINT flags) = 0;
  virtual BOOL ExitWindowsEx(UINT flags, DWORD reason) = 0;

  // ---- Processes. ----
  // Returns a value above 31 on success.
  virtual UINT WinExec(const char* commandLine, UINT show) = 0;
  // Setup never passes security attributes or an environment block.
  virtual BOOL CreateProcessA(const char* applicationName, char* commandLine,
                              BOOL inheritHandles, DWORD creationFlags,
                              const char* currentDirectory, const StartupInfo* startup,
                              ProcessInformation* info) = 0;
  virtual DWORD WaitForInputIdle(Handle process, DWORD milliseconds) = 0;
  virtual DWORD WaitForSingleObject(Handle object, DWORD milliseconds) = 0;
  virtual BOOL GetExitCodeProcess(Handle process, DWORD* exitCode) = 0;
  virtual BOOL CloseHandle(Handle object) = 0;
  virtual void Sleep(DWORD milliseconds) = 0;
  virtual DWORD SleepEx(DWORD milliseconds, BOOL alertable) = 0;
  // The run-time library's exit(): ends the process; never returns. Backends
  // implement EndProcess; should one ever return, the process aborts.
  [[noreturn]] void Exit(int code) {
    EndProcess(code);
    std::abort();
  }

  // The application's wait cursor, shown over all its windows.
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;

  // ---- Device installation (SETUPAPI, CFGMGR32). ----
  // Setup passes no destination buffer: null, 0, null, null.
  virtual BOOL SetupCopyOEMInfA(const char* sourceInf, const char* mediaLocation,
                                DWORD mediaType, DWORD copyStyle, char* destination,
                                DWORD destinationSize, DWORD* requiredSize,
                                char** destinationComponent) = 0;
  virtual BOOL SetupQuerySourceListA(DWORD flags, const char*** list, UINT* count) = 0;
  virtual BOOL SetupFreeSourceListA(const char*** list, UINT count) = 0;
  virtual BOOL SetupSetSourceListA(DWORD flags, const char** list, UINT count) = 0;
  virtual HDevInfo SetupDiGetClassDevsA(const Guid* classGuid, const char* enumerator,
                                        HWnd parent, DWORD flags) = 0;
  virtual BOOL SetupDiEnumDeviceInfo(HDevInfo set, DWORD index, DevInfoData* data) = 0;
  virtual BOOL SetupDiGetDeviceRegistryPropertyA(HDevInfo set, DevInfoData* data,
                                                 DWORD property, DWORD* type, BYTE* buffer,
                                                 DWORD size, DWORD* requiredSize) = 0;
  virtual BOOL SetupDiRemoveDevice(HDevInfo set, DevInfoData* data) = 0;
  virtual BOOL SetupDiDestroyDeviceInfoList(HDevInfo set) = 0;
  virtual ConfigRet CM_Locate_DevNodeA(DevInst* devInst, const char* deviceId, ULONG flags) = 0;
  virtual ConfigRet CM_Reenumerate_DevNode(DevInst devInst, ULONG flags) = 0;

  // ---- Multimedia (WINMM). ----
  virtual UINT mixerGetNumDevs() = 0;

  // ---- Paths not built yet. ----
  // Ends the run at a dispatch path whose installation is not available in
  // this build. Setup.exe tells the user and exits with 0; the simulated PC
  // stops the run and kxsetup exits with status 4. Goes when every path exists.
  [[noreturn]] void NotAvailableYet(const char* feature) {
    StopNotAvailable(feature);
    std::abort();
  }

 protected:
  virtual void EndProcess(int code) = 0;
  virtual void StopNotAvailable(const char* feature) = 0;
};

}  // namespace kx
