#include "win32/win32_platform.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <setupapi.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "win32/late_bound_library.h"

namespace kx::win32 {

namespace {

// ---- Handle and structure translation. The handle values are the system's;
// only their C++ types differ. ----

::HKEY Sys(HKey key) { return reinterpret_cast<::HKEY>(key); }
::HWND Sys(HWnd window) { return reinterpret_cast<::HWND>(window); }
::HANDLE Sys(Handle handle) { return reinterpret_cast<::HANDLE>(handle); }
::HANDLE Sys(FindHandle find) { return reinterpret_cast<::HANDLE>(find); }
::HDEVINFO Sys(HDevInfo set) { return reinterpret_cast<::HDEVINFO>(set); }
std::FILE* Sys(FileStream stream) { return reinterpret_cast<std::FILE*>(stream); }

HWnd Ours(::HWND window) { return reinterpret_cast<HWnd>(window); }
Handle Ours(::HANDLE handle) { return reinterpret_cast<Handle>(handle); }

void CopyFindData(const WIN32_FIND_DATAA& from, FindData* to) {
  to->dwFileAttributes = from.dwFileAttributes;
  to->nFileSizeHigh = from.nFileSizeHigh;
  to->nFileSizeLow = from.nFileSizeLow;
  static_assert(sizeof to->cFileName == sizeof from.cFileName);
  static_assert(sizeof to->cAlternateFileName == sizeof from.cAlternateFileName);
  std::memcpy(to->cFileName, from.cFileName, sizeof to->cFileName);
  std::memcpy(to->cAlternateFileName, from.cAlternateFileName, sizeof to->cAlternateFileName);
}

::GUID SysGuid(const Guid& guid) {
  ::GUID out{};
  out.Data1 = guid.data1;
  out.Data2 = guid.data2;
  out.Data3 = guid.data3;
  std::memcpy(out.Data4, guid.data4, sizeof out.Data4);
  return out;
}

Guid OurGuid(const ::GUID& guid) {
  Guid out;
  out.data1 = guid.Data1;
  out.data2 = guid.Data2;
  out.data3 = guid.Data3;
  std::memcpy(out.data4, guid.Data4, sizeof out.data4);
  return out;
}

// SP_DEVINFO_DATA in and out: the device set keeps its own pointer in
// Reserved, so every field goes back and forth unchanged.
struct DevInfoDataCopy {
  explicit DevInfoDataCopy(DevInfoData* ours) : ours_(ours) {
    if (ours_ == nullptr) return;
    sys.cbSize = ours_->cbSize;
    sys.ClassGuid = SysGuid(ours_->classGuid);
    sys.DevInst = ours_->devInst;
    sys.Reserved = ours_->reserved;
  }
  ~DevInfoDataCopy() {
    if (ours_ == nullptr) return;
    ours_->cbSize = sys.cbSize;
    ours_->classGuid = OurGuid(sys.ClassGuid);
    ours_->devInst = sys.DevInst;
    ours_->reserved = sys.Reserved;
  }
  ::SP_DEVINFO_DATA* get() { return ours_ == nullptr ? nullptr : &sys; }

  ::SP_DEVINFO_DATA sys{};

 private:
  DevInfoData* ours_;
};

// A DWORD in/out parameter: ours is a 32-bit unsigned int, the system's an
// unsigned long of the same size.
struct DwordCopy {
  explicit DwordCopy(DWORD* ours) : ours_(ours), value(ours == nullptr ? 0 : *ours) {}
  ~DwordCopy() {
    if (ours_ != nullptr) *ours_ = value;
  }
  ::DWORD* get() { return ours_ == nullptr ? nullptr : &value; }

 private:
  DWORD* ours_;

 public:
  ::DWORD value;
};

// ---- Signatures of the functions bound at run time. ----
using SetupCopyOEMInfAFn = BOOL(WINAPI*)(PCSTR, PCSTR, ::DWORD, ::DWORD, PSTR, ::DWORD, PDWORD,
                                         PSTR*);
using SetupQuerySourceListAFn = BOOL(WINAPI*)(::DWORD, PCSTR**, PUINT);
using SetupFreeSourceListAFn = BOOL(WINAPI*)(PCSTR**, ::UINT);
using SetupSetSourceListAFn = BOOL(WINAPI*)(::DWORD, PCSTR*, ::UINT);
using SetupDiGetClassDevsAFn = ::HDEVINFO(WINAPI*)(const ::GUID*, PCSTR, ::HWND, ::DWORD);
using SetupDiEnumDeviceInfoFn = BOOL(WINAPI*)(::HDEVINFO, ::DWORD, ::SP_DEVINFO_DATA*);
using SetupDiGetDeviceRegistryPropertyAFn = BOOL(WINAPI*)(::HDEVINFO, ::SP_DEVINFO_DATA*, ::DWORD,
                                                          PDWORD, PBYTE, ::DWORD, PDWORD);
using SetupDiRemoveDeviceFn = BOOL(WINAPI*)(::HDEVINFO, ::SP_DEVINFO_DATA*);
using SetupDiDestroyDeviceInfoListFn = BOOL(WINAPI*)(::HDEVINFO);
using CmLocateDevNodeAFn = ::DWORD(WINAPI*)(::DWORD*, char*, ::ULONG);
using CmReenumerateDevNodeFn = ::DWORD(WINAPI*)(::DWORD, ::ULONG);
using MixerGetNumDevsFn = ::UINT(WINAPI*)();

BOOL MissingFunction() {
  ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

double ReadPauseScale() {
  char text[64];
  ::DWORD length = ::GetEnvironmentVariableA("KXSETUP_PAUSE_SCALE", text, sizeof text);
  if (length == 0 || length >= sizeof text) return 1.0;
  char* end = nullptr;
  double scale = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(scale > 0.0) || scale > 1.0) return 1.0;
  return scale;
}

}  // namespace

Win32Platform::Win32Platform()
    : pauseScale_(ReadPauseScale()),
      clockStart_(::GetTickCount()),
      // Wine 8 exports these two only as stubs that end the caller.
      setupApi_(std::make_unique<LateBoundLibrary>(
          "SETUPAPI.DLL",
          std::initializer_list<const char*>{"SetupQuerySourceListA", "SetupFreeSourceListA"})),
      configManager_(std::make_unique<LateBoundLibrary>("CFGMGR32.DLL")),
      multimedia_(std::make_unique<LateBoundLibrary>("WINMM.DLL")) {}

Win32Platform::~Win32Platform() = default;

// ---- Command line, version and folders. ----

const char* Win32Platform::GetCommandLineA() { return ::GetCommandLineA(); }

DWORD Win32Platform::GetModuleFileNameA(char* buffer, DWORD size) {
  return ::GetModuleFileNameA(nullptr, buffer, size);
}

BOOL Win32Platform::GetVersionExA(OsVersionInfo* info) {
  if (info == nullptr) return ::GetVersionExA(nullptr);
  OSVERSIONINFOA sys{};
  sys.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
  BOOL ok = ::GetVersionExA(&sys);
  if (ok) {
    info->dwMajorVersion = sys.dwMajorVersion;
    info->dwMinorVersion = sys.dwMinorVersion;
    info->dwBuildNumber = sys.dwBuildNumber;
    info->dwPlatformId = sys.dwPlatformId;
    static_assert(sizeof info->szCSDVersion == sizeof sys.szCSDVersion);
    std::memcpy(info->szCSDVersion, sys.szCSDVersion, sizeof info->szCSDVersion);
  }
  return ok;
}

UINT Win32Platform::GetWindowsDirectoryA(char* buffer, UINT size) {
  return ::GetWindowsDirectoryA(buffer, size);
}

UINT Win32Platform::GetSystemDirectoryA(char* buffer, UINT size) {
  return ::GetSystemDirectoryA(buffer, size);
}

DWORD Win32Platform::GetCurrentDirectoryA(DWORD size, char* buffer) {
  return ::GetCurrentDirectoryA(size, buffer);
}

BOOL Win32Platform::SetCurrentDirectoryA(const char* path) { return ::SetCurrentDirectoryA(path); }

BOOL Win32Platform::CreateDirectoryA(const char* path) { return ::CreateDirectoryA(path, nullptr); }

DWORD Win32Platform::GetShortPathNameA(const char* longPath, char* shortPath, DWORD size) {
  return ::GetShortPathNameA(longPath, shortPath, size);
}

DWORD Win32Platform::GetLastError() { return ::GetLastError(); }

void Win32Platform::SetLastError(DWORD error) { ::SetLastError(error); }

DWORD Win32Platform::GetTickCount() {
  DWORD now = ::GetTickCount();
  if (pauseScale_ >= 1.0) return now;
  DWORD elapsed = now - clockStart_;
  return clockStart_ + static_cast<DWORD>(static_cast<double>(elapsed) / pauseScale_);
}

// ---- Files. ----

FindHandle Win32Platform::FindFirstFileA(const char* pattern, FindData* data) {
  WIN32_FIND_DATAA sys{};
  ::HANDLE find = ::FindFirstFileA(pattern, &sys);
  if (find != INVALID_HANDLE_VALUE && data != nullptr) CopyFindData(sys, data);
  return reinterpret_cast<FindHandle>(find);
}

BOOL Win32Platform::FindNextFileA(FindHandle find, FindData* data) {
  WIN32_FIND_DATAA sys{};
  BOOL ok = ::FindNextFileA(Sys(find), &sys);
  if (ok && data != nullptr) CopyFindData(sys, data);
  return ok;
}

BOOL Win32Platform::FindClose(FindHandle find) { return ::FindClose(Sys(find)); }

BOOL Win32Platform::CopyFileA(const char* source, const char* target, BOOL failIfExists) {
  return ::CopyFileA(source, target, failIfExists);
}

BOOL Win32Platform::SetFileAttributesA(const char* path, DWORD attributes) {
  return ::SetFileAttributesA(path, attributes);
}

DWORD Win32Platform::GetFileAttributesA(const char* path) { return ::GetFileAttributesA(path); }

BOOL Win32Platform::DeleteFileA(const char* path) { return ::DeleteFileA(path); }

FileStream Win32Platform::FOpen(const char* path, const char* mode) {
  return reinterpret_cast<FileStream>(std::fopen(path, mode));
}

char* Win32Platform::FGets(char* buffer, int size, FileStream stream) {
  return std::fgets(buffer, size, Sys(stream));
}

int Win32Platform::FSeek(FileStream stream, long offset, int origin) {
  return std::fseek(Sys(stream), offset, origin);
}

std::size_t Win32Platform::FWrite(const void* data, std::size_t size, std::size_t count,
                                  FileStream stream) {
  return std::fwrite(data, size, count, Sys(stream));
}

int Win32Platform::FFlush(FileStream stream) { return std::fflush(Sys(stream)); }

int Win32Platform::FClose(FileStream stream) { return std::fclose(Sys(stream)); }

// ---- Profile files. ----

UINT Win32Platform::GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                                          const char* file) {
  return ::GetPrivateProfileIntA(section, key, defaultValue, file);
}

DWORD Win32Platform::GetPrivateProfileStringA(const char* section, const char* key,
                                              const char* defaultValue, char* buffer, DWORD size,
                                              const char* file) {
  return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}

BOOL Win32Platform::WritePrivateProfileStringA(const char* section, const char* key,
                                               const char* value, const char* file) {
  return ::WritePrivateProfileStringA(section, key, value, file);
}

// ---- Registry. ----

LONG Win32Platform::RegOpenKeyExA(HKey key, const char* subKey, DWORD options, DWORD access,
                                  HKey* result) {
  ::HKEY opened = nullptr;
  LONG status = ::RegOpenKeyExA(Sys(key), subKey, options, access, &opened);
  if (result != nullptr) *result = reinterpret_cast<HKey>(opened);
  return status;
}

LONG Win32Platform::RegQueryValueExA(HKey key, const char* valueName, DWORD* type, BYTE* data,
                                     DWORD* dataSize) {
  DwordCopy sysType(type), sysSize(dataSize);
  return ::RegQueryValueExA(Sys(key), valueName, nullptr, sysType.get(), data, sysSize.get());
}

LONG Win32Platform::RegSetValueExA(HKey key, const char* valueName, DWORD type, const BYTE* data,
                                   DWORD dataSize) {
  return ::RegSetValueExA(Sys(key), valueName, 0, type, data, dataSize);
}

LONG Win32Platform::RegEnumKeyExA(HKey key, DWORD index, char* name, DWORD* nameSize) {
  DwordCopy sysSize(nameSize);
  return ::RegEnumKeyExA(Sys(key), index, name, sysSize.get(), nullptr, nullptr, nullptr, nullptr);
}

LONG Win32Platform::RegEnumValueA(HKey key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                                  BYTE* data, DWORD* dataSize) {
  DwordCopy sysNameSize(nameSize), sysType(type), sysDataSize(dataSize);
  return ::RegEnumValueA(Sys(key), index, name, sysNameSize.get(), nullptr, sysType.get(), data,
                         sysDataSize.get());
}

LONG Win32Platform::RegDeleteKeyA(HKey key, const char* subKey) {
  return ::RegDeleteKeyA(Sys(key), subKey);
}

LONG Win32Platform::RegDeleteValueA(HKey key, const char* valueName) {
  return ::RegDeleteValueA(Sys(key), valueName);
}

LONG Win32Platform::RegCloseKey(HKey key) { return ::RegCloseKey(Sys(key)); }

// ---- Windows and messages. ----

HWnd Win32Platform::FindWindowExA(HWnd parent, HWnd childAfter, const char* className,
                                  const char* windowName) {
  return Ours(::FindWindowExA(Sys(parent), Sys(childAfter), className, windowName));
}

std::intptr_t Win32Platform::SendMessageA(HWnd window, UINT message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
  return ::SendMessageA(Sys(window), message, wParam, lParam);
}

int Win32Platform::MessageBoxA(HWnd owner, const char* text, const char* caption, UINT type) {
  return ::MessageBoxA(Sys(owner), text, caption, type);
}

BOOL Win32Platform::ShowWindow(HWnd window, int command) {
  return ::ShowWindow(Sys(window), command);
}

BOOL Win32Platform::EnableWindow(HWnd window, BOOL enable) {
  return ::EnableWindow(Sys(window), enable);
}

BOOL Win32Platform::RedrawWindow(HWnd window, UINT flags) {
  return ::RedrawWindow(Sys(window), nullptr, nullptr, flags);
}

BOOL Win32Platform::ExitWindowsEx(UINT flags, DWORD reason) {
  return ::ExitWindowsEx(flags, reason);
}

// ---- Processes. ----

UINT Win32Platform::WinExec(const char* commandLine, UINT show) {
  return ::WinExec(commandLine, show);
}

BOOL Win32Platform::CreateProcessA(const char* applicationName, char* commandLine,
                                   BOOL inheritHandles, DWORD creationFlags,
                                   const char* currentDirectory, const StartupInfo* startup,
                                   ProcessInformation* info) {
  STARTUPINFOA sysStartup{};
  sysStartup.cb = sizeof sysStartup;
  if (startup != nullptr) {
    sysStartup.cb = startup->cb;
    sysStartup.dwFlags = startup->dwFlags;
    sysStartup.wShowWindow = startup->wShowWindow;
  }
  PROCESS_INFORMATION sysInfo{};
  BOOL ok = ::CreateProcessA(applicationName, commandLine, nullptr, nullptr, inheritHandles,
                             creationFlags, nullptr, currentDirectory, &sysStartup, &sysInfo);
  if (info != nullptr) {
    info->hProcess = Ours(sysInfo.hProcess);
    info->hThread = Ours(sysInfo.hThread);
    info->dwProcessId = sysInfo.dwProcessId;
    info->dwThreadId = sysInfo.dwThreadId;
  }
  return ok;
}

DWORD Win32Platform::WaitForInputIdle(Handle process, DWORD milliseconds) {
  return ::WaitForInputIdle(Sys(process), milliseconds);
}

DWORD Win32Platform::WaitForSingleObject(Handle object, DWORD milliseconds) {
  return ::WaitForSingleObject(Sys(object), milliseconds);
}

BOOL Win32Platform::GetExitCodeProcess(Handle process, DWORD* exitCode) {
  DwordCopy sysCode(exitCode);
  return ::GetExitCodeProcess(Sys(process), sysCode.get());
}

BOOL Win32Platform::CloseHandle(Handle object) { return ::CloseHandle(Sys(object)); }

DWORD Win32Platform::ScaledPause(DWORD milliseconds) const {
  if (pauseScale_ >= 1.0 || milliseconds == kInfinite) return milliseconds;
  return static_cast<DWORD>(static_cast<double>(milliseconds) * pauseScale_);
}

void Win32Platform::Sleep(DWORD milliseconds) { ::Sleep(ScaledPause(milliseconds)); }

DWORD Win32Platform::SleepEx(DWORD milliseconds, BOOL alertable) {
  return ::SleepEx(ScaledPause(milliseconds), alertable);
}

void Win32Platform::EndProcess(int code) { std::exit(code); }

void Win32Platform::StopNotAvailable(const char* feature) {
  std::string text = std::string(feature) + " is not available in this build.";
  ::MessageBoxA(nullptr, text.c_str(), "Setup", MB_OK);
  std::exit(0);
}

void Win32Platform::BeginWaitCursor() { ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT)); }

void Win32Platform::EndWaitCursor() { ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW)); }

// ---- Device installation. ----

BOOL Win32Platform::SetupCopyOEMInfA(const char* sourceInf, const char* mediaLocation,
                                     DWORD mediaType, DWORD copyStyle, char* destination,
                                     DWORD destinationSize, DWORD* requiredSize,
                                     char** destinationComponent) {
  auto fn = setupApi_->Get<SetupCopyOEMInfAFn>("SetupCopyOEMInfA");
  if (fn == nullptr) return MissingFunction();
  DwordCopy sysRequired(requiredSize);
  return fn(sourceInf, mediaLocation, mediaType, copyStyle, destination, destinationSize,
            sysRequired.get(), destinationComponent);
}

BOOL Win32Platform::SetupQuerySourceListA(DWORD flags, const char*** list, UINT* count) {
  auto fn = setupApi_->Get<SetupQuerySourceListAFn>("SetupQuerySourceListA");
  if (fn == nullptr) return MissingFunction();
  ::UINT sysCount = count == nullptr ? 0 : *count;
  BOOL ok = fn(flags, list, count == nullptr ? nullptr : &sysCount);
  if (count != nullptr) *count = sysCount;
  return ok;
}

BOOL Win32Platform::SetupFreeSourceListA(const char*** list, UINT count) {
  auto fn = setupApi_->Get<SetupFreeSourceListAFn>("SetupFreeSourceListA");
  if (fn == nullptr) return MissingFunction();
  return fn(list, count);
}

BOOL Win32Platform::SetupSetSourceListA(DWORD flags, const char** list, UINT count) {
  auto fn = setupApi_->Get<SetupSetSourceListAFn>("SetupSetSourceListA");
  if (fn == nullptr) return MissingFunction();
  return fn(flags, list, count);
}

HDevInfo Win32Platform::SetupDiGetClassDevsA(const Guid* classGuid, const char* enumerator,
                                             HWnd parent, DWORD flags) {
  auto fn = setupApi_->Get<SetupDiGetClassDevsAFn>("SetupDiGetClassDevsA");
  if (fn == nullptr) {
    MissingFunction();
    return kInvalidDevInfo;
  }
  ::GUID sysGuid{};
  if (classGuid != nullptr) sysGuid = SysGuid(*classGuid);
  return reinterpret_cast<HDevInfo>(
      fn(classGuid == nullptr ? nullptr : &sysGuid, enumerator, Sys(parent), flags));
}

BOOL Win32Platform::SetupDiEnumDeviceInfo(HDevInfo set, DWORD index, DevInfoData* data) {
  auto fn = setupApi_->Get<SetupDiEnumDeviceInfoFn>("SetupDiEnumDeviceInfo");
  if (fn == nullptr) return MissingFunction();
  DevInfoDataCopy sysData(data);
  return fn(Sys(set), index, sysData.get());
}

BOOL Win32Platform::SetupDiGetDeviceRegistryPropertyA(HDevInfo set, DevInfoData* data,
                                                      DWORD property, DWORD* type, BYTE* buffer,
                                                      DWORD size, DWORD* requiredSize) {
  auto fn =
      setupApi_->Get<SetupDiGetDeviceRegistryPropertyAFn>("SetupDiGetDeviceRegistryPropertyA");
  if (fn == nullptr) return MissingFunction();
  DevInfoDataCopy sysData(data);
  DwordCopy sysType(type), sysRequired(requiredSize);
  return fn(Sys(set), sysData.get(), property, sysType.get(), buffer, size, sysRequired.get());
}

BOOL Win32Platform::SetupDiRemoveDevice(HDevInfo set, DevInfoData* data) {
  auto fn = setupApi_->Get<SetupDiRemoveDeviceFn>("SetupDiRemoveDevice");
  if (fn == nullptr) return MissingFunction();
  DevInfoDataCopy sysData(data);
  return fn(Sys(set), sysData.get());
}

BOOL Win32Platform::SetupDiDestroyDeviceInfoList(HDevInfo set) {
  auto fn = setupApi_->Get<SetupDiDestroyDeviceInfoListFn>("SetupDiDestroyDeviceInfoList");
  if (fn == nullptr) return MissingFunction();
  return fn(Sys(set));
}

ConfigRet Win32Platform::CM_Locate_DevNodeA(DevInst* devInst, const char* deviceId, ULONG flags) {
  auto fn = configManager_->Get<CmLocateDevNodeAFn>("CM_Locate_DevNodeA");
  if (fn == nullptr) return kCrCallNotImplemented;
  DwordCopy sysInst(devInst);
  return fn(sysInst.get(), const_cast<char*>(deviceId), flags);
}

ConfigRet Win32Platform::CM_Reenumerate_DevNode(DevInst devInst, ULONG flags) {
  auto fn = configManager_->Get<CmReenumerateDevNodeFn>("CM_Reenumerate_DevNode");
  if (fn == nullptr) return kCrCallNotImplemented;
  return fn(devInst, flags);
}

// ---- Multimedia. ----

UINT Win32Platform::mixerGetNumDevs() {
  auto fn = multimedia_->Get<MixerGetNumDevsFn>("mixerGetNumDevs");
  if (fn == nullptr) return 0;
  return fn();
}

}  // namespace kx::win32
