#include "sim/files/short_name.h"

#include "platform/text.h"

namespace kx::sim {
namespace {

bool IsShortNameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x80) return true;  // characters of the ANSI code page above ASCII
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'()-@^_`{}~").find(c) != std::string_view::npos;
}

bool IsDroppedFromAlias(char c) {
  return std::string_view(" .\"/\\[]:;=,").find(c) != std::string_view::npos;
}

std::string CleanAliasPart(std::string_view part) {
  std::string out;
  for (char c : part) {
    if (IsDroppedFromAlias(c)) continue;
    out += c == '+' ? '_' : AsciiUpper(c);
  }
  return out;
}

}  // namespace

bool IsShortName(std::string_view name) {
  if (name.empty() || name.size() > 12) return false;
  const std::size_t dot = name.find('.');
  const std::string_view base = name.substr(0, dot);
  const std::string_view extension =
      dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (base.empty() || base.size() > 8) return false;
  if (dot != std::string_view::npos && (extension.empty() || extension.size() > 3)) return false;
  for (char c : base) {
    if (!IsShortNameChar(c)) return false;
  }
  for (char c : extension) {
    if (!IsShortNameChar(c)) return false;  // also rejects a second period
  }
  return true;
}

ShortNameBasis MakeShortNameBasis(std::string_view longName) {
  const std::size_t lastDot = longName.rfind('.');
  const bool hasExtension = lastDot != std::string_view::npos && lastDot + 1 < longName.size();
  ShortNameBasis basis;
  basis.base = CleanAliasPart(hasExtension ? longName.substr(0, lastDot) : longName);
  std::string extension = hasExtension ? CleanAliasPart(longName.substr(lastDot + 1)) : "";
  if (basis.base.empty()) {
    // ".profile": the text after the period is all there is to name it by.
    basis.base = extension;
    extension.clear();
  }
  if (basis.base.empty()) basis.base = "_";
  basis.extension = extension.substr(0, 3);
  return basis;
}

std::string NumberedShortName(const ShortNameBasis& basis, std::uint32_t number) {
  const std::string tail = "~" + std::to_string(number);
  const std::size_t keep = tail.size() < 8 ? 8 - tail.size() : 0;
  std::string alias = basis.base.substr(0, keep) + tail;
  if (!basis.extension.empty()) alias += "." + basis.extension;
  return alias;
}

}  // namespace kx::sim
