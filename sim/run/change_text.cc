#include "sim/run/change_text.h"

#include <cstdio>

namespace kx::sim {
namespace {

std::string ValueName(const std::string& name) { return name.empty() ? "@" : "\"" + name + "\""; }

}  // namespace

std::string FormatValueForPeople(DWORD type, const std::string& data) {
  if ((type == kRegSz || type == kRegExpandSz) && !data.empty() &&
      data.find('\0') == std::string::npos) {
    return FormatRegValue(type, data + '\0') + " (no terminator)";
  }
  return FormatRegValue(type, data);
}

const char* FileChangeKindName(FileChange::Kind kind) {
  switch (kind) {
    case FileChange::Kind::FolderAdded:
      return "folder added";
    case FileChange::Kind::FolderDeleted:
      return "folder deleted";
    case FileChange::Kind::FileAdded:
      return "file added";
    case FileChange::Kind::FileChanged:
      return "file changed";
    case FileChange::Kind::FileDeleted:
      return "file deleted";
    case FileChange::Kind::AttributesChanged:
      return "attributes changed";
  }
  return "?";
}

const char* RegistryChangeKindName(RegistryChange::Kind kind) {
  switch (kind) {
    case RegistryChange::Kind::KeyAdded:
      return "key added";
    case RegistryChange::Kind::KeyDeleted:
      return "key deleted";
    case RegistryChange::Kind::ValueAdded:
      return "value added";
    case RegistryChange::Kind::ValueChanged:
      return "value changed";
    case RegistryChange::Kind::ValueDeleted:
      return "value deleted";
  }
  return "?";
}

std::string FormatFileChange(const FileChange& c) {
  std::string out = std::string(FileChangeKindName(c.kind)) + " " + c.path;
  switch (c.kind) {
    case FileChange::Kind::FileAdded:
      out += " (" + std::to_string(c.newSize) + " bytes)";
      break;
    case FileChange::Kind::FileChanged:
      out += " (" + std::to_string(c.oldSize) + " -> " + std::to_string(c.newSize) + " bytes)";
      break;
    case FileChange::Kind::AttributesChanged: {
      char text[48];
      std::snprintf(text, sizeof text, " (0x%02X -> 0x%02X)",
                    static_cast<unsigned>(c.oldAttributes), static_cast<unsigned>(c.newAttributes));
      out += text;
      break;
    }
    default:
      break;
  }
  return out;
}

std::string FormatRegistryChange(const RegistryChange& c) {
  std::string out = std::string(RegistryChangeKindName(c.kind)) + " " + c.key;
  switch (c.kind) {
    case RegistryChange::Kind::ValueAdded:
      out += " " + ValueName(c.valueName) + "=" + FormatValueForPeople(c.newType, c.newData);
      break;
    case RegistryChange::Kind::ValueChanged:
      out += " " + ValueName(c.valueName) + ": " + FormatValueForPeople(c.oldType, c.oldData) +
             " -> " + FormatValueForPeople(c.newType, c.newData);
      break;
    case RegistryChange::Kind::ValueDeleted:
      out += " " + ValueName(c.valueName) + " (was " + FormatValueForPeople(c.oldType, c.oldData) +
             ")";
      break;
    default:
      break;
  }
  return out;
}

}  // namespace kx::sim
