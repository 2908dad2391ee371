#include "sim/run/wininit_renames.h"

#include <algorithm>

#include "platform/text.h"
#include "sim/profile/profile_lines.h"

namespace kx::sim {

std::vector<RenameEntry> ReadRenameEntries(std::string_view wininit) {
  std::vector<RenameEntry> entries;
  profile::LineScanner scanner(wininit);
  profile::LineSpan span;
  bool inRename = false;
  while (scanner.Next(&span)) {
    const profile::ProfileLine line =
        profile::ParseProfileLine(wininit.substr(span.begin, span.end - span.begin));
    if (line.kind == profile::LineKind::kSection) {
      inRename = EqualsIgnoreCase(line.name, "rename");
    } else if (inRename && line.kind == profile::LineKind::kKey) {
      entries.push_back({std::string(line.name), std::string(line.value)});
    }
  }
  return entries;
}

std::vector<RenameEntry> AddedRenameEntries(const std::vector<RenameEntry>& before,
                                            const std::vector<RenameEntry>& after) {
  std::vector<RenameEntry> remaining = before;
  std::vector<RenameEntry> added;
  for (const RenameEntry& e : after) {
    const auto it = std::find(remaining.begin(), remaining.end(), e);
    if (it != remaining.end()) {
      remaining.erase(it);
    } else {
      added.push_back(e);
    }
  }
  return added;
}

}  // namespace kx::sim
