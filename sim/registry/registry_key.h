// One key of the simulated registry: its name as stored, its subkeys in
// enumeration order and its values in the order they were first set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/types.h"
#include "sim/registry/indexed_tree.h"

namespace kx::sim {

struct RegistryValue {
  std::string name;  // empty: the key's default value ("@")
  DWORD type = kRegNone;
  std::string data;  // the bytes as stored; strings include their terminator
  bool operator==(const RegistryValue&) const = default;
};

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(std::string name, std::uint64_t id) : name_(std::move(name)), id_(id) {}

  // The name as first created, in its original case.
  const std::string& name() const { return name_; }

  // Subkeys in case-insensitive alphabetical order.
  std::size_t SubkeyCount() const { return subkeys_.size(); }
  const RegistryKey& Subkey(std::size_t index) const { return subkeys_.At(index); }
  const RegistryKey* FindSubkey(std::string_view name) const;

  // Values in the order they were first set; setting a value again keeps its
  // place.
  std::size_t ValueCount() const { return values_.size(); }
  const RegistryValue& ValueAt(std::size_t index) const { return values_.At(index); }
  const RegistryValue* FindValue(std::string_view name) const;

  // Same names (in the same case), values and subkeys in the same order.
  bool SameContent(const RegistryKey& other) const;

 private:
  friend class Registry;

  std::uint64_t id() const { return id_; }
  RegistryKey* FindSubkey(const std::u16string& folded) { return subkeys_.Find(folded); }
  const RegistryKey* FindSubkey(const std::u16string& folded) const {
    return subkeys_.Find(folded);
  }
  // Returns the subkey, creating it with id when absent.
  RegistryKey& AddSubkey(std::string_view name, std::uint64_t id);
  bool RemoveSubkey(std::string_view name);
  void SetValue(std::string_view name, DWORD type, std::string_view data);
  bool RemoveValue(std::string_view name);
  RegistryValue* FindValue(std::string_view name);

  std::string name_;
  // Every key ever created gets a new id, so a handle can tell its key from a
  // key of the same name created after its own was deleted.
  std::uint64_t id_ = 0;
  IndexedTree<std::u16string, RegistryKey> subkeys_;
  // Values keyed by the sequence number of their first setting; the map finds
  // that number by folded name.
  IndexedTree<std::uint64_t, RegistryValue> values_;
  std::unordered_map<std::u16string, std::uint64_t> valueOrder_;
  std::uint64_t nextValueOrder_ = 0;
};

}  // namespace kx::sim
