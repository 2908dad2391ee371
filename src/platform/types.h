// Types, handles and constants of the Windows interface that Setup is written
// against. They are our own: the values are those Windows documents, the names
// are spelled so that they never collide with a platform header's macros
// (kKeyAllAccess, not KEY_ALL_ACCESS), because the real backend includes both.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kx {

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using ULONG = std::uint32_t;

inline constexpr BOOL kFalse = 0;
inline constexpr BOOL kTrue = 1;

// All path buffers of Setup hold this many characters.
inline constexpr std::size_t kMaxPath = 260;

// ---- Handles. Opaque, distinct types so that they cannot be mixed up. ----
struct HKeyTag;
using HKey = HKeyTag*;
struct HWndTag;
using HWnd = HWndTag*;
struct HandleTag;
using Handle = HandleTag*;  // process handles
struct FindTag;
using FindHandle = FindTag*;
struct DevInfoTag;
using HDevInfo = DevInfoTag*;
struct FileStreamTag;
using FileStream = FileStreamTag*;  // a C run-time stream
using DevInst = DWORD;

// Predefined registry keys, with the values Windows gives them.
inline HKey const kHkeyClassesRoot = reinterpret_cast<HKey>(std::uintptr_t{0x80000000u});
inline HKey const kHkeyCurrentUser = reinterpret_cast<HKey>(std::uintptr_t{0x80000001u});
inline HKey const kHkeyLocalMachine = reinterpret_cast<HKey>(std::uintptr_t{0x80000002u});
inline HKey const kHkeyUsers = reinterpret_cast<HKey>(std::uintptr_t{0x80000003u});

inline FindHandle const kInvalidFindHandle = reinterpret_cast<FindHandle>(~std::uintptr_t{0});
inline HDevInfo const kInvalidDevInfo = reinterpret_cast<HDevInfo>(~std::uintptr_t{0});

// ---- Error codes (GetLastError, registry results). ----
inline constexpr LONG kErrorSuccess = 0;
inline constexpr LONG kErrorFileNotFound = 2;
inline constexpr LONG kErrorPathNotFound = 3;
inline constexpr LONG kErrorAccessDenied = 5;
inline constexpr LONG kErrorInvalidHandle = 6;
inline constexpr LONG kErrorNotEnoughMemory = 8;
inline constexpr LONG kErrorWriteProtect = 19;
inline constexpr LONG kErrorSharingViolation = 32;
inline constexpr LONG kErrorHandleDiskFull = 39;
inline constexpr LONG kErrorFileExists = 80;
inline constexpr LONG kErrorInvalidParameter = 87;
inline constexpr LONG kErrorInsufficientBuffer = 122;
inline constexpr LONG kErrorInvalidName = 123;
inline constexpr LONG kErrorAlreadyExists = 183;
inline constexpr LONG kErrorFilenameExcedRange = 206;
inline constexpr LONG kErrorMoreData = 234;
inline constexpr LONG kErrorNoMoreItems = 259;
inline constexpr LONG kErrorBadPathname = 161;
inline constexpr LONG kErrorKeyDeleted = 1018;
inline constexpr LONG kErrorNoMoreFiles = 18;
inline constexpr LONG kErrorBadConfiguration = 1610;

// ---- Registry. ----
inline constexpr DWORD kKeyQueryValue = 0x0001;
inline constexpr DWORD kKeySetValue = 0x0002;
inline constexpr DWORD kKeyCreateSubKey = 0x0004;
inline constexpr DWORD kKeyEnumerateSubKeys = 0x0008;
inline constexpr DWORD kKeyNotify = 0x0010;
inline constexpr DWORD kKeyCreateLink = 0x0020;
inline constexpr DWORD kKeyRead = 0x20019;
inline constexpr DWORD kKeyWrite = 0x20006;
inline constexpr DWORD kKeyAllAccess = 0xF003F;

inline constexpr DWORD kRegNone = 0;
inline constexpr DWORD kRegSz = 1;
inline constexpr DWORD kRegExpandSz = 2;
inline constexpr DWORD kRegBinary = 3;
inline constexpr DWORD kRegDword = 4;
inline constexpr DWORD kRegMultiSz = 7;

// ---- Files. ----
inline constexpr DWORD kFileAttributeReadonly = 0x01;
inline constexpr DWORD kFileAttributeHidden = 0x02;
inline constexpr DWORD kFileAttributeSystem = 0x04;
inline constexpr DWORD kFileAttributeDirectory = 0x10;
inline constexpr DWORD kFileAttributeArchive = 0x20;
inline constexpr DWORD kFileAttributeNormal = 0x80;
inline constexpr DWORD kInvalidFileAttributes = 0xFFFFFFFFu;

inline constexpr int kSeekSet = 0;
inline constexpr int kSeekCur = 1;
inline constexpr int kSeekEnd = 2;

struct FindData {
  DWORD dwFileAttributes = 0;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
  char cFileName[kMaxPath] = {};
  char cAlternateFileName[14] = {};
};

// ---- Version. ----
inline constexpr DWORD kVerPlatformWin32s = 0;
inline constexpr DWORD kVerPlatformWin32Windows = 1;
inline constexpr DWORD kVerPlatformWin32Nt = 2;

// OSVERSIONINFOA: 148 bytes, the size Setup puts in its size field.
struct OsVersionInfo {
  DWORD dwOSVersionInfoSize = 0;
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char szCSDVersion[128] = {};
};
static_assert(sizeof(OsVersionInfo) == 148);

// ---- Windows and messages. ----
inline constexpr UINT kWmClose = 0x0010;
inline constexpr UINT kWmSetIcon = 0x0080;
inline constexpr UINT kWmCommand = 0x0111;
inline constexpr UINT kWmSysCommand = 0x0112;
inline constexpr UINT kBmGetCheck = 0x00F0;
inline constexpr UINT kBmSetCheck = 0x00F1;

inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShow = 5;

inline constexpr UINT kRdwInvalidate = 0x0001;
inline constexpr UINT kRdwErase = 0x0004;
inline constexpr UINT kRdwUpdateNow = 0x0100;

inline constexpr UINT kMbOk = 0x0000;
inline constexpr UINT kMbOkCancel = 0x0001;
inline constexpr UINT kMbIconInformation = 0x0040;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

inline constexpr UINT kEwxLogoff = 0x0000;
inline constexpr UINT kEwxShutdown = 0x0001;
inline constexpr UINT kEwxReboot = 0x0002;
inline constexpr UINT kEwxForce = 0x0004;

// ---- Processes. ----
inline constexpr DWORD kStartfUseShowWindow = 0x0001;
inline constexpr DWORD kStillActive = 259;
inline constexpr DWORD kInfinite = 0xFFFFFFFFu;
inline constexpr DWORD kWaitObject0 = 0;
inline constexpr DWORD kWaitTimeout = 258;
inline constexpr DWORD kWaitFailed = 0xFFFFFFFFu;

// The start-up record of CreateProcessA, reduced to the fields Setup sets.
// Setup puts 68 in cb, the size of STARTUPINFOA on 32-bit Windows.
inline constexpr DWORD kStartupInfoSize = 68;
struct StartupInfo {
  DWORD cb = 0;
  DWORD dwFlags = 0;
  WORD wShowWindow = 0;
};

struct ProcessInformation {
  Handle hProcess = nullptr;
  Handle hThread = nullptr;
  DWORD dwProcessId = 0;
  DWORD dwThreadId = 0;
};

// ---- Device installation (SetupAPI, configuration manager). ----
inline constexpr DWORD kDigcfPresent = 0x02;
inline constexpr DWORD kDigcfAllClasses = 0x04;
inline constexpr DWORD kSpdrpHardwareId = 0x01;
inline constexpr DWORD kSpostPath = 1;
inline constexpr DWORD kSrclistSystem = 0x10;
inline constexpr DWORD kSrclistUser = 0x20;

using ConfigRet = DWORD;
inline constexpr ConfigRet kCrSuccess = 0;
inline constexpr ConfigRet kCrFailure = 0x13;
inline constexpr ConfigRet kCrCallNotImplemented = 0x34;

struct Guid {
  DWORD data1 = 0;
  WORD data2 = 0;
  WORD data3 = 0;
  BYTE data4[8] = {};
};

// SP_DEVINFO_DATA: Setup puts 28 in cbSize (its size on 32-bit Windows).
inline constexpr DWORD kDevInfoDataSize = 28;
struct DevInfoData {
  DWORD cbSize = 0;
  Guid classGuid;
  DevInst devInst = 0;
  std::uintptr_t reserved = 0;
};

}  // namespace kx
