#include "sim/registry/reg_file.h"
#include "sim/registry/reg_value_text.h"

namespace kx::sim {

std::string SaveRegFile(const Registry& registry) {
  std::string out = "REGEDIT4\r\n\r\n";
  registry.ForEachKey([&out](const std::string& path, const RegistryKey& key) {
    out += '[';
    out += path;
    out += "]\r\n";
    for (std::size_t i = 0; i < key.ValueCount(); ++i) {
      const RegistryValue& value = key.ValueAt(i);
      const std::size_t lineStart = out.size();
      out += value.name.empty() ? std::string("@") : QuoteRegString(value.name);
      out += '=';
      out += EncodeRegValueData(value.type, value.data, /*wrap=*/true, out.size() - lineStart);
      out += "\r\n";
    }
    out += "\r\n";
  });
  return out;
}

}  // namespace kx::sim
