#include "app/unattended_install.h"

namespace kx {

void UnattendedDriver(CSetupApp& app, const std::string&, const SetupOptions&) {
  app.platform().NotAvailableYet("the unattended driver installation");
}

void WebPackageInstall(CSetupApp& app, const std::string&, const SetupOptions&) {
  app.platform().NotAvailableYet("the flat-package driver installation");
}

}  // namespace kx
