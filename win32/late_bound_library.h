// A system DLL whose functions are looked up when first needed
// (LoadLibraryA/GetProcAddress), so that Setup.exe starts on Windows releases
// that lack the DLL or some of its functions.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace kx::win32 {

class LateBoundLibrary {
 public:
  // brokenOnWine: functions that Wine's own build of this DLL exports only as
  // stubs that abort the calling process. They count as missing when the
  // loaded DLL is Wine's builtin one, and only then: a real Windows DLL, or a
  // DLL of our own that a test loads in its place, is used as it is.
  LateBoundLibrary(const char* fileName, std::initializer_list<const char*> brokenOnWine = {});
  ~LateBoundLibrary();
  LateBoundLibrary(const LateBoundLibrary&) = delete;
  LateBoundLibrary& operator=(const LateBoundLibrary&) = delete;

  // The function's address, or null when the DLL or the function is missing.
  FARPROC Find(const char* functionName);

  template <typename Function>
  Function Get(const char* functionName) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(Find(functionName)));
  }

  // True once the DLL is loaded and it is one of Wine's builtin DLLs.
  bool is_wine_builtin() const { return wineBuiltin_; }

 private:
  void Load();

  const char* fileName_;
  const char* brokenOnWine_[8] = {};
  bool tried_ = false;
  bool wineBuiltin_ = false;
  HMODULE module_ = nullptr;
};

// True when the module's image carries Wine's mark for its builtin DLLs.
bool IsWineBuiltinModule(HMODULE module);

}  // namespace kx::win32
