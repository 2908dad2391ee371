#include "sim/kxsetup/json_text.h"

#include <cstdio>

#include "sim/registry/ansi_code_page.h"

namespace kx::sim {

std::string JsonString(std::string_view ansi) {
  std::string out = "\"";
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else if (byte < 0x80) {
      out += c;
    } else {
      const char16_t u = AnsiToUnicode(byte);
      if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
      }
    }
  }
  return out + "\"";
}

}  // namespace kx::sim
