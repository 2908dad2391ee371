#include "sim/files/dos_path.h"

#include "platform/text.h"

namespace kx::sim {
namespace {

constexpr std::size_t kMaxComponent = 255;

bool IsForbiddenInName(char c, bool wildcardsAllowed) {
  if (wildcardsAllowed && (c == '*' || c == '?')) return false;
  return !IsNameChar(c);
}

DWORD CheckComponent(std::string_view part, bool wildcardsAllowed) {
  if (part.size() > kMaxComponent) return kErrorFilenameExcedRange;
  for (char c : part) {
    if (IsForbiddenInName(c, wildcardsAllowed)) return kErrorInvalidName;
  }
  return kErrorSuccess;
}

std::vector<std::string_view> SplitComponents(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\\', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// "C:\A\B" -> drive 'C', parts {A, B}. The current directory is always kept
// in this form, so no validation is needed.
void SplitCurrentDirectory(std::string_view current, char* drive, std::vector<std::string>* parts) {
  *drive = 0;
  parts->clear();
  if (current.size() < 2 || current[1] != ':') return;
  *drive = AsciiUpper(current[0]);
  for (std::string_view part : SplitComponents(current.substr(2))) parts->emplace_back(part);
}

}  // namespace

bool IsNameChar(char c) {
  if (static_cast<unsigned char>(c) < 0x20) return false;
  return std::string_view("\"*/:<>?\\|").find(c) == std::string_view::npos;
}

std::string JoinDosPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!EndsWith(path, "\\")) path += '\\';
  path += name;
  return path;
}

std::string DosPath::Text() const {
  std::string text{drive, ':', '\\'};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += '\\';
    text += parts[i];
  }
  return text;
}

DWORD ResolveDosPath(std::string_view path, std::string_view currentDirectory, PathKind kind,
                     DosPath* out) {
  *out = DosPath();
  if (path.size() >= kMaxPath) return kErrorFilenameExcedRange;
  if (path.empty()) return kErrorPathNotFound;
  std::string text(path);
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  if (StartsWith(text, "\\\\")) return kErrorBadPathname;

  char currentDrive = 0;
  std::vector<std::string> currentParts;
  SplitCurrentDirectory(currentDirectory, &currentDrive, &currentParts);

  std::string_view rest = text;
  if (text.size() >= 2 && text[1] == ':') {
    const char drive = AsciiUpper(text[0]);
    if (drive < 'A' || drive > 'Z') return kErrorInvalidName;
    out->drive = drive;
    rest.remove_prefix(2);
    if (!StartsWith(rest, "\\") && drive == currentDrive) out->parts = currentParts;
  } else {
    out->drive = currentDrive;
    if (!StartsWith(rest, "\\")) out->parts = currentParts;
  }
  if (out->drive == 0) return kErrorPathNotFound;

  out->trailingSeparator = EndsWith(rest, "\\");
  std::vector<std::string_view> components = SplitComponents(rest);
  if (kind == PathKind::Pattern) {
    // The pattern is the last component; a path ending in a backslash has
    // an empty one, which matches nothing.
    if (!components.empty() && !out->trailingSeparator) {
      out->pattern = std::string(components.back());
      components.pop_back();
    }
    if (DWORD error = CheckComponent(out->pattern, true)) return error;
  }
  for (std::string_view component : components) {
    if (component == ".") continue;
    if (component == "..") {
      if (!out->parts.empty()) out->parts.pop_back();  // ".." of a root is the root
      continue;
    }
    while (!component.empty() && (component.back() == '.' || component.back() == ' ')) {
      component.remove_suffix(1);
    }
    if (component.empty()) return kErrorInvalidName;
    if (DWORD error = CheckComponent(component, false)) return error;
    out->parts.emplace_back(component);
  }

  std::size_t length = out->Text().size();
  if (kind == PathKind::Pattern) length += 1 + out->pattern.size();
  if (length >= kMaxPath) return kErrorPathNotFound;
  return kErrorSuccess;
}

}  // namespace kx::sim
