#include "sim/registry/registry_key.h"

#include "sim/registry/ansi_code_page.h"

namespace kx::sim {

const RegistryKey* RegistryKey::FindSubkey(std::string_view name) const {
  return subkeys_.Find(FoldRegistryName(name));
}

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
  return const_cast<RegistryKey*>(this)->FindValue(name);
}

RegistryValue* RegistryKey::FindValue(std::string_view name) {
  const auto found = valueOrder_.find(FoldRegistryName(name));
  return found == valueOrder_.end() ? nullptr : values_.Find(found->second);
}

RegistryKey& RegistryKey::AddSubkey(std::string_view name, std::uint64_t id) {
  return *subkeys_.Insert(FoldRegistryName(name), RegistryKey(std::string(name), id)).first;
}

bool RegistryKey::RemoveSubkey(std::string_view name) {
  return subkeys_.Erase(FoldRegistryName(name));
}

void RegistryKey::SetValue(std::string_view name, DWORD type, std::string_view data) {
  if (RegistryValue* existing = FindValue(name)) {
    existing->type = type;
    existing->data.assign(data);
    return;
  }
  const std::uint64_t order = nextValueOrder_++;
  valueOrder_.emplace(FoldRegistryName(name), order);
  values_.Insert(order, RegistryValue{std::string(name), type, std::string(data)});
}

bool RegistryKey::RemoveValue(std::string_view name) {
  const auto found = valueOrder_.find(FoldRegistryName(name));
  if (found == valueOrder_.end()) return false;
  values_.Erase(found->second);
  valueOrder_.erase(found);
  return true;
}

bool RegistryKey::SameContent(const RegistryKey& other) const {
  if (name_ != other.name_ || ValueCount() != other.ValueCount() ||
      SubkeyCount() != other.SubkeyCount()) {
    return false;
  }
  for (std::size_t i = 0; i < ValueCount(); ++i) {
    if (!(ValueAt(i) == other.ValueAt(i))) return false;
  }
  for (std::size_t i = 0; i < SubkeyCount(); ++i) {
    if (!Subkey(i).SameContent(other.Subkey(i))) return false;
  }
  return true;
}

}  // namespace kx::sim
