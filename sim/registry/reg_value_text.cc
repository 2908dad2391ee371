#include "sim/registry/reg_value_text.h"

namespace kx::sim {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
// A hex line is broken after the comma that takes it past this column.
constexpr std::size_t kWrapColumn = 76;

bool IsQuotableString(DWORD type, std::string_view data) {
  if (type != kRegSz || data.empty() || data.back() != '\0') return false;
  const std::string_view text = data.substr(0, data.size() - 1);
  return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

std::string HexNumber(DWORD value, int minDigits) {
  std::string digits;
  do {
    digits.insert(digits.begin(), kHexDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  return digits;
}

}  // namespace

std::string QuoteRegString(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

std::string EncodeRegValueData(DWORD type, std::string_view data, bool wrap,
                               std::size_t startColumn) {
  if (IsQuotableString(type, data)) return QuoteRegString(data.substr(0, data.size() - 1));
  if (type == kRegDword && data.size() == 4) {
    DWORD value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data[i]);
    return "dword:" + HexNumber(value, 8);
  }
  std::string out = type == kRegBinary ? "hex:" : "hex(" + HexNumber(type, 1) + "):";
  std::size_t column = startColumn + out.size();
  for (std::size_t i = 0; i < data.size(); ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
    column += 2;
    if (i + 1 == data.size()) break;
    out += ',';
    ++column;
    if (wrap && column > kWrapColumn) {
      out += "\\\r\n  ";
      column = 2;
    }
  }
  return out;
}

}  // namespace kx::sim
