// ReadSetupOptions: the integer options of the media's setup.ini.
#include "app/existence.h"
#include "app/media_index.h"
#include "app/setup_context.h"

namespace kx {
namespace {

constexpr char kInstallOptionSection[] = "InstallOption";
constexpr char kDefaultSection[] = "Default";

}  // namespace

SetupOptions ReadSetupOptions(Platform& platform, const std::string& sourceDir) {
  SetupOptions options;
  const std::string file = sourceDir + media::kSetupIni;
  // A setup.ini path too long for a MAX_PATH buffer reads like a missing file.
  if (!FitsMaxPath(file)) return options;

  auto read = [&](const char* section, const char* key, int defaultValue) {
    return static_cast<int>(
        platform.GetPrivateProfileIntA(section, key, defaultValue, file.c_str()));
  };
  options.DriverOnly = read(kInstallOptionSection, "DriverOnly", options.DriverOnly);
  options.WindowsMEDriverAskUser =
      read(kInstallOptionSection, "WindowsMEDriverAskUser", options.WindowsMEDriverAskUser);
  options.WindowsMEDriver = read(kInstallOptionSection, "WindowsMEDriver", options.WindowsMEDriver);
  options.Windows98SEDriverAskUser =
      read(kInstallOptionSection, "Windows98SEDriverAskUser", options.Windows98SEDriverAskUser);
  options.Windows98SEDriver =
      read(kInstallOptionSection, "Windows98SEDriver", options.Windows98SEDriver);
  options.WebSetup = read(kInstallOptionSection, "WebSetup", options.WebSetup);
  options.InstallWDMDriver =
      read(kInstallOptionSection, "InstallWDMDriver", options.InstallWDMDriver);
  options.UsingCDDA = read(kDefaultSection, "UsingCDDA", options.UsingCDDA);
  return options;
}

}  // namespace kx
