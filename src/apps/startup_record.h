// The start-up record Setup gives the programs it starts with CreateProcessA:
// 68 bytes, all zero but the size, STARTF_USESHOWWINDOW and SW_SHOW.
#pragma once

#include "platform/types.h"

namespace kx {

inline StartupInfo ShownStartupRecord() {
  StartupInfo startup;
  startup.cb = kStartupInfoSize;
  startup.dwFlags = kStartfUseShowWindow;
  startup.wShowWindow = kSwShow;
  return startup;
}

}  // namespace kx
