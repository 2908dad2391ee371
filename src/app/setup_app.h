// The application object: the whole control flow of Setup runs in its
// InitInstance.
#pragma once

#include <string>

#include "app/setup_context.h"
#include "platform/platform.h"

namespace kx {

class CSetupApp {
 public:
  explicit CSetupApp(Platform& platform) : platform_(platform) {}

  // Establishes the setup context, does the start-up housekeeping and takes
  // one dispatch row. Whenever it returns, it returns FALSE.
  BOOL InitInstance();

  Platform& platform() { return platform_; }

  WindowsVersionFlags m_os;
  // 1 while the unattended paths install the VxD driver, 0 for WDM.
  int m_useVxd = 0;

 private:
  Platform& platform_;
};

// Setup's entry point on every backend: runs the application object on the
// platform and returns the process exit code (always 0).
int SetupMain(Platform& platform);

}  // namespace kx
