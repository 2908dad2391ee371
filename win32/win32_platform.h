// The real Windows backend: kx::Platform over the ANSI Win32 calls.
//
// Each operation is a thin pass-through: our types and constants are
// translated to the system's, return values and the thread's last-error code
// come back unchanged. The device-installation and multimedia functions are
// bound at run time, because Windows 95 has no SETUPAPI.DLL or CFGMGR32.DLL
// and a static import would keep Setup.exe from starting at all; a function
// that cannot be bound behaves as that call failing (ERROR_CALL_NOT_IMPLEMENTED,
// CR_CALL_NOT_IMPLEMENTED, an invalid device set, no mixer devices).
//
// Pauses: the environment setting KXSETUP_PAUSE_SCALE (a decimal factor
// between 0 and 1, for example 0.01) shortens every Sleep/SleepEx by that
// factor and lets GetTickCount run faster by the same factor, so that loops
// which poll against the clock keep their number of rounds. It exists for the
// test tier under Wine; unset, the pauses are the real ones.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace kx::win32 {

class LateBoundLibrary;

class Win32Platform : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  const char* GetCommandLineA() override;
  DWORD GetModuleFileNameA(char* buffer, DWORD size) override;
  BOOL GetVersionExA(OsVersionInfo* info) override;
  UINT GetWindowsDirectoryA(char* buffer, UINT size) override;
  UINT GetSystemDirectoryA(char* buffer, UINT size) override;
  DWORD GetCurrentDirectoryA(DWORD size, char* buffer) override;
  BOOL SetCurrentDirectoryA(const char* path) override;
  BOOL CreateDirectoryA(const char* path) override;
  DWORD GetShortPathNameA(const char* longPath, char* shortPath, DWORD size) override;
  DWORD GetLastError() override;
  void SetLastError(DWORD error) override;
  DWORD GetTickCount() override;

  FindHandle FindFirstFileA(const char* pattern, FindData* data) override;
  BOOL FindNextFileA(FindHandle find, FindData* data) override;
  BOOL FindClose(FindHandle find) override;
  BOOL CopyFileA(const char* source, const char* target, BOOL failIfExists) override;
  BOOL SetFileAttributesA(const char* path, DWORD attributes) override;
  DWORD GetFileAttributesA(const char* path) override;
  BOOL DeleteFileA(const char* path) override;

  FileStream FOpen(const char* path, const char* mode) override;
  char* FGets(char* buffer, int size, FileStream stream) override;
  int FSeek(FileStream stream, long offset, int origin) override;
  std::size_t FWrite(const void* data, std::size_t size, std::size_t count,
                     FileStream stream) override;
  int FFlush(FileStream stream) override;
  int FClose(FileStream stream) override;

  UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                             const char* file) override;
  DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, DWORD size, const char* file) override;
  BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                  const char* file) override;

  LONG RegOpenKeyExA(HKey key, const char* subKey, DWORD options, DWORD access,
                     HKey* result) override;
  LONG RegQueryValueExA(HKey key, const char* valueName, DWORD* type, BYTE* data,
                        DWORD* dataSize) override;
  LONG RegSetValueExA(HKey key, const char* valueName, DWORD type, const BYTE* data,
                      DWORD dataSize) override;
  LONG RegEnumKeyExA(HKey key, DWORD index, char* name, DWORD* nameSize) override;
  LONG RegEnumValueA(HKey key, DWORD index, char* name, DWORD* nameSize, DWORD* type, BYTE* data,
                     DWORD* dataSize) override;
  LONG RegDeleteKeyA(HKey key, const char* subKey) override;
  LONG RegDeleteValueA(HKey key, const char* valueName) override;
  LONG RegCloseKey(HKey key) override;

  HWnd FindWindowExA(HWnd parent, HWnd childAfter, const char* className,
                     const char* windowName) override;
  std::intptr_t SendMessageA(HWnd window, UINT message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  int MessageBoxA(HWnd owner, const char* text, const char* caption, UINT type) override;
  BOOL ShowWindow(HWnd window, int command) override;
  BOOL EnableWindow(HWnd window, BOOL enable) override;
  BOOL RedrawWindow(HWnd window, UINT flags) override;
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override;

  UINT WinExec(const char* commandLine, UINT show) override;
  BOOL CreateProcessA(const char* applicationName, char* commandLine, BOOL inheritHandles,
                      DWORD creationFlags, const char* currentDirectory, const StartupInfo* startup,
                      ProcessInformation* info) override;
  DWORD WaitForInputIdle(Handle process, DWORD milliseconds) override;
  DWORD WaitForSingleObject(Handle object, DWORD milliseconds) override;
  BOOL GetExitCodeProcess(Handle process, DWORD* exitCode) override;
  BOOL CloseHandle(Handle object) override;
  void Sleep(DWORD milliseconds) override;
  DWORD SleepEx(DWORD milliseconds, BOOL alertable) override;

  void BeginWaitCursor() override;
  void EndWaitCursor() override;

  BOOL SetupCopyOEMInfA(const char* sourceInf, const char* mediaLocation, DWORD mediaType,
                        DWORD copyStyle, char* destination, DWORD destinationSize,
                        DWORD* requiredSize, char** destinationComponent) override;
  BOOL SetupQuerySourceListA(DWORD flags, const char*** list, UINT* count) override;
  BOOL SetupFreeSourceListA(const char*** list, UINT count) override;
  BOOL SetupSetSourceListA(DWORD flags, const char** list, UINT count) override;
  HDevInfo SetupDiGetClassDevsA(const Guid* classGuid, const char* enumerator, HWnd parent,
                                DWORD flags) override;
  BOOL SetupDiEnumDeviceInfo(HDevInfo set, DWORD index, DevInfoData* data) override;
  BOOL SetupDiGetDeviceRegistryPropertyA(HDevInfo set, DevInfoData* data, DWORD property,
                                         DWORD* type, BYTE* buffer, DWORD size,
                                         DWORD* requiredSize) override;
  BOOL SetupDiRemoveDevice(HDevInfo set, DevInfoData* data) override;
  BOOL SetupDiDestroyDeviceInfoList(HDevInfo set) override;
  ConfigRet CM_Locate_DevNodeA(DevInst* devInst, const char* deviceId, ULONG flags) override;
  ConfigRet CM_Reenumerate_DevNode(DevInst devInst, ULONG flags) override;

  UINT mixerGetNumDevs() override;

  // The factor KXSETUP_PAUSE_SCALE set (1 when unset or invalid).
  double pause_scale() const { return pauseScale_; }

 protected:
  void EndProcess(int code) override;
  void StopNotAvailable(const char* feature) override;

 private:
  DWORD ScaledPause(DWORD milliseconds) const;

  double pauseScale_ = 1.0;
  DWORD clockStart_ = 0;
  std::unique_ptr<LateBoundLibrary> setupApi_;
  std::unique_ptr<LateBoundLibrary> configManager_;
  std::unique_ptr<LateBoundLibrary> multimedia_;
};

}  // namespace kx::win32
