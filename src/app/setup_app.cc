#include "app/setup_app.h"

namespace kx {

BOOL CSetupApp::InitInstance() {
  platform_.NotAvailableYet("start-up");
}

int SetupMain(Platform& platform) {
  CSetupApp app(platform);
  app.InitInstance();
  return 0;
}

}  // namespace kx
