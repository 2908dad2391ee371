#include "sim/registry/registry_diff.h"

#include <algorithm>
#include <utility>

#include "sim/registry/ansi_code_page.h"
#include "sim/registry/reg_value_text.h"

namespace kx::sim {
namespace {

using Kind = RegistryChange::Kind;

std::vector<std::pair<std::u16string, const RegistryValue*>> SortedValues(const RegistryKey& key) {
  std::vector<std::pair<std::u16string, const RegistryValue*>> values;
  values.reserve(key.ValueCount());
  for (std::size_t i = 0; i < key.ValueCount(); ++i) {
    values.emplace_back(FoldRegistryName(key.ValueAt(i).name), &key.ValueAt(i));
  }
  std::sort(values.begin(), values.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return values;
}

class Differ {
 public:
  explicit Differ(std::vector<RegistryChange>* changes) : changes_(changes) {}

  void Compare(const std::string& path, const RegistryKey& before, const RegistryKey& after) {
    CompareValues(path, before, after);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < before.SubkeyCount() || j < after.SubkeyCount()) {
      int order = 0;
      if (i == before.SubkeyCount()) {
        order = 1;
      } else if (j == after.SubkeyCount()) {
        order = -1;
      } else {
        const std::u16string a = FoldRegistryName(before.Subkey(i).name());
        const std::u16string b = FoldRegistryName(after.Subkey(j).name());
        order = a < b ? -1 : (b < a ? 1 : 0);
      }
      if (order < 0) {
        Add(Kind::KeyDeleted, path + '\\' + before.Subkey(i++).name());
      } else if (order > 0) {
        Added(path + '\\' + after.Subkey(j).name(), after.Subkey(j));
        ++j;
      } else {
        Compare(path + '\\' + after.Subkey(j).name(), before.Subkey(i), after.Subkey(j));
        ++i;
        ++j;
      }
    }
  }

 private:
  RegistryChange& Add(Kind kind, std::string key) {
    RegistryChange change;
    change.kind = kind;
    change.key = std::move(key);
    changes_->push_back(std::move(change));
    return changes_->back();
  }

  void Added(const std::string& path, const RegistryKey& key) {
    Add(Kind::KeyAdded, path);
    for (const auto& [folded, value] : SortedValues(key))
      AddValue(Kind::ValueAdded, path, nullptr, value);
    for (std::size_t i = 0; i < key.SubkeyCount(); ++i) {
      Added(path + '\\' + key.Subkey(i).name(), key.Subkey(i));
    }
  }

  void AddValue(Kind kind, const std::string& path, const RegistryValue* before,
                const RegistryValue* after) {
    RegistryChange& change = Add(kind, path);
    change.valueName = after ? after->name : before->name;
    if (before) {
      change.oldType = before->type;
      change.oldData = before->data;
    }
    if (after) {
      change.newType = after->type;
      change.newData = after->data;
    }
  }

  void CompareValues(const std::string& path, const RegistryKey& before, const RegistryKey& after) {
    if (before.ValueCount() == 0 && after.ValueCount() == 0) return;
    const auto old = SortedValues(before);
    const auto now = SortedValues(after);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < old.size() || j < now.size()) {
      if (j == now.size() || (i < old.size() && old[i].first < now[j].first)) {
        AddValue(Kind::ValueDeleted, path, old[i++].second, nullptr);
      } else if (i == old.size() || now[j].first < old[i].first) {
        AddValue(Kind::ValueAdded, path, nullptr, now[j++].second);
      } else {
        const RegistryValue* a = old[i++].second;
        const RegistryValue* b = now[j++].second;
        if (a->type != b->type || a->data != b->data) AddValue(Kind::ValueChanged, path, a, b);
      }
    }
  }

  std::vector<RegistryChange>* changes_;
};

}  // namespace

std::vector<RegistryChange> DiffRegistry(const Registry& before, const Registry& after) {
  std::vector<RegistryChange> changes;
  Differ differ(&changes);
  differ.Compare(after.LocalMachine().name(), before.LocalMachine(), after.LocalMachine());
  differ.Compare(after.Users().name(), before.Users(), after.Users());
  return changes;
}

std::string FormatRegValue(DWORD type, std::string_view data) {
  return EncodeRegValueData(type, data);
}

}  // namespace kx::sim
