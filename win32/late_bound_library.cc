#include "win32/late_bound_library.h"

#include <cstring>

namespace kx::win32 {

namespace {

// Wine writes this text right after the DOS header of every DLL it builds
// itself (its "builtin" DLLs), where a Microsoft linker puts the DOS stub.
constexpr char kWineBuiltinMark[] = "Wine builtin DLL";
constexpr std::size_t kWineMarkOffset = 0x40;

}  // namespace

bool IsWineBuiltinModule(HMODULE module) {
  if (module == nullptr) return false;
  const char* image = reinterpret_cast<const char*>(module);
  return std::memcmp(image + kWineMarkOffset, kWineBuiltinMark, sizeof kWineBuiltinMark - 1) == 0;
}

LateBoundLibrary::LateBoundLibrary(const char* fileName,
                                   std::initializer_list<const char*> brokenOnWine)
    : fileName_(fileName) {
  std::size_t i = 0;
  for (const char* name : brokenOnWine) {
    if (i + 1 < sizeof brokenOnWine_ / sizeof brokenOnWine_[0]) brokenOnWine_[i++] = name;
  }
}

LateBoundLibrary::~LateBoundLibrary() {
  if (module_ != nullptr) FreeLibrary(module_);
}

void LateBoundLibrary::Load() {
  tried_ = true;
  // No "cannot find the DLL" box from the system: a missing DLL is an
  // ordinary failure here.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  module_ = LoadLibraryA(fileName_);
  SetErrorMode(oldMode);
  wineBuiltin_ = IsWineBuiltinModule(module_);
}

FARPROC LateBoundLibrary::Find(const char* functionName) {
  if (!tried_) Load();
  if (module_ == nullptr) return nullptr;
  if (wineBuiltin_) {
    for (const char* broken : brokenOnWine_) {
      if (broken != nullptr && std::strcmp(broken, functionName) == 0) return nullptr;
    }
  }
  return GetProcAddress(module_, functionName);
}

}  // namespace kx::win32
