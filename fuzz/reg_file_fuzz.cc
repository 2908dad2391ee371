// Fuzz target for the registry file loader: any input either loads or fails
// with a message and leaves the registry as it was; whatever loads must save
// and load again to the same registry, and save to the same text again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "sim/registry/reg_file.h"
#include "sim/registry/registry.h"

namespace {

kx::sim::Registry StartingRegistry() {
  kx::sim::Registry registry;
  registry.SetValue("HKEY_LOCAL_MACHINE\\Software\\Present", "kept", kx::kRegSz,
                    std::string("yes\0", 4));
  registry.CreateKey("HKEY_USERS\\.DEFAULT\\Software");
  return registry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const kx::sim::Registry kStart = StartingRegistry();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  kx::sim::Registry loaded = kStart;
  std::string error;
  if (!kx::sim::LoadRegFile(bytes, "input.reg", loaded, &error)) {
    FUZZ_CHECK(error.rfind("input.reg:", 0) == 0);
    FUZZ_CHECK(loaded.SameContent(kStart));
    return 0;
  }

  const std::string saved = kx::sim::SaveRegFile(loaded);
  kx::sim::Registry reloaded;
  FUZZ_CHECK(kx::sim::LoadRegFile(saved, "saved.reg", reloaded, &error));
  FUZZ_CHECK(reloaded.SameContent(loaded));
  FUZZ_CHECK(kx::sim::SaveRegFile(reloaded) == saved);
  return 0;
}
