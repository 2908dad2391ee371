// The Windows interface on a simulated PC: every operation of kx::Platform
// carried out on a Machine. Registry and file operations go to the machine's
// registry and file system, profile operations through the profile engine;
// windows, processes, devices, the mixer count, the clock and the user are
// modelled here. Each action that changes the machine or talks to the user is
// written to the transcript with its simulated time, and the platform keeps a
// record of what Setup started, asked and requested, for tests and reports.
//
// Pauses cost no real time: Sleep and the waits move the simulated clock, and
// what falls due on the way (timed events, programs ending) happens then.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/machine/machine.h"
#include "sim/run/answers.h"
#include "sim/run/machine_world.h"
#include "sim/run/transcript.h"
#include "sim/run/user.h"

namespace kx::sim {

struct SimOptions {
  // The process command line, program name first, and the program's full path.
  std::string commandLine = "D:\\SETUP.EXE";
  std::string modulePath = "D:\\SETUP.EXE";
  Answers answers;
  User::Ask ask;          // the terminal; without one unanswered questions take the default button
  bool realTime = false;  // pauses also take real time
  Transcript::Sink transcript;
};

struct StartedProgram {
  SimTime at = 0;
  std::string via;      // "WinExec" or "CreateProcessA"
  std::string command;  // the command line as Setup gave it
  std::string program;  // the file it resolved to; empty when it did not start
  std::string currentFolder;
  int show = 0;  // SW_SHOW, ... (CreateProcessA: from STARTUPINFO, else SW_SHOWNORMAL)
  bool started = false;
  DWORD processId = 0;
};

struct MessageBoxRecord {
  SimTime at = 0;
  std::string caption;
  std::string text;
  UINT type = 0;
  bool owned = false;  // an owner window was given
  std::vector<std::string> buttons;
  int answer = 0;
  std::string answerName;
  std::string answeredBy;
};

struct ConfigManagerCall {
  SimTime at = 0;
  std::string call;      // "CM_Locate_DevNodeA" or "CM_Reenumerate_DevNode"
  std::string deviceId;  // CM_Locate_DevNodeA's device id, empty for the root
  DevInst devInst = 0;
  ULONG flags = 0;
  ConfigRet result = kCrSuccess;
};

struct SourceListCall {
  SimTime at = 0;
  DWORD flags = 0;
  std::vector<std::string> list;
};

// How a piece of Setup ended when run through SimPlatform::Run.
enum class CallEnd {
  kReturned,      // the function returned
  kExited,        // exit() was called
  kStuck,         // stopped: it would wait forever
  kNotAvailable,  // it reached a path that is not built yet
};

struct CallOutcome {
  CallEnd end = CallEnd::kReturned;
  int exitCode = 0;     // for kExited
  std::string message;  // why it was stopped, or the feature not available
};

class SimPlatform : public Platform {
 public:
  explicit SimPlatform(Machine& machine, SimOptions options = {});
  ~SimPlatform() override;
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  // Runs fn the way Setup runs, catching the ends that unwind the run
  // (exit(), stuck, not available). Open streams are flushed and closed
  // after exit(), as the run-time library does.
  CallOutcome Run(const std::function<void()>& fn);

  // ---- The record. ----
  Machine& machine() { return machine_; }
  SimTime Now() const { return world_.now(); }
  const Transcript& transcript() const { return transcript_; }
  const std::vector<StartedProgram>& started() const { return started_; }
  const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }
  bool restartRequested() const { return restartRequested_; }
  UINT restartFlags() const { return restartFlags_; }
  int waitCursorDepth() const { return waitCursorDepth_; }
  bool waitCursorShown() const { return waitCursorShown_; }
  const std::vector<ConfigManagerCall>& configManagerCalls() const { return cmCalls_; }
  const std::vector<SourceListCall>& sourceListsSet() const { return sourceListsSet_; }
  // The process behind a handle CreateProcessA returned has ended (false for
  // an unknown handle).
  bool ProcessHasEnded(Handle process) const;
  // Moves the clock on as a pause would, for tests.
  void AdvanceClock(SimTime ms);

  // ---- Command line, version and folders. ----
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

  // ---- Files. ----
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

  // ---- Profile files. ----
  UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                             const char* file) override;
  DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, DWORD size, const char* file) override;
  BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                  const char* file) override;

  // ---- Registry. ----
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

  // ---- Windows and messages. ----
  HWnd FindWindowExA(HWnd parent, HWnd childAfter, const char* className,
                     const char* windowName) override;
  std::intptr_t SendMessageA(HWnd window, UINT message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  int MessageBoxA(HWnd owner, const char* text, const char* caption, UINT type) override;
  BOOL ShowWindow(HWnd window, int command) override;
  BOOL EnableWindow(HWnd window, BOOL enable) override;
  BOOL RedrawWindow(HWnd window, UINT flags) override;
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override;

  // ---- Processes. ----
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

  // ---- Device installation. ----
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

  // ---- Multimedia. ----
  UINT mixerGetNumDevs() override;

 protected:
  void EndProcess(int code) override;
  void StopNotAvailable(const char* feature) override;

 private:
  // A snapshot of the present devices, taken by SetupDiGetClassDevsA.
  struct DeviceSet {
    std::vector<Device> devices;
  };
  // A list SetupQuerySourceListA handed out, until SetupFreeSourceListA.
  struct QueriedList {
    std::vector<std::string> entries;
    std::vector<const char*> pointers;
  };

  // Every call counts; a run that calls Windows this often without time
  // passing is spinning and is stopped.
  void Call();
  void Note(std::string what);
  void Pause(DWORD milliseconds, const char* call);
  BOOL FileResult(BOOL ok);
  // The full path of a profile file: a bare name lies in the Windows folder.
  std::string ProfilePath(const char* file);
  std::string ResolveProgram(const std::string& commandLine, std::string* programPath);
  DWORD Start(const char* via, const std::string& commandLine, int show, std::string* program);
  SimProcess* ProcessFromHandle(Handle handle);
  std::size_t WindowIndex(HWnd window) const;  // npos for an unknown handle
  DeviceSet* FindSet(HDevInfo set);
  std::string KeyName(HKey key, const char* subKey);

  Machine& machine_;
  SimOptions options_;
  Transcript transcript_;
  MachineWorld world_;
  User user_;
  DWORD lastError_ = 0;
  long long callsWithoutTime_ = 0;
  SimTime lastCallTime_ = 0;

  std::vector<StartedProgram> started_;
  std::vector<MessageBoxRecord> messageBoxes_;
  bool restartRequested_ = false;
  UINT restartFlags_ = 0;
  int waitCursorDepth_ = 0;
  bool waitCursorShown_ = false;
  std::vector<ConfigManagerCall> cmCalls_;
  std::vector<SourceListCall> sourceListsSet_;
  std::vector<FileStream> openStreams_;
  struct WrittenStream {
    std::string path;
    std::size_t bytesWritten = 0;
  };
  std::map<FileStream, WrittenStream> streamPaths_;
  std::map<HKey, std::string> keyPaths_;

  std::map<std::uintptr_t, std::unique_ptr<DeviceSet>> deviceSets_;
  std::uintptr_t nextDeviceSet_ = 1;
  std::map<const char**, std::unique_ptr<QueriedList>> queriedLists_;
  std::vector<Handle> closedHandles_;
};

}  // namespace kx::sim
