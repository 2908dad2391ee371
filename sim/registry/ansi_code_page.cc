#include "sim/registry/ansi_code_page.h"

namespace kx::sim {
namespace {

// Bytes 0x80 to 0x9F; the others equal their Unicode code point.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t UnicodeUpper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
  switch (c) {
    case 0x00B5:
      return 0x039C;  // micro sign -> Greek capital mu
    case 0x00FF:
      return 0x0178;
    case 0x0153:
      return 0x0152;
    case 0x0161:
      return 0x0160;
    case 0x017E:
      return 0x017D;
    case 0x0192:
      return 0x0191;
    default:
      return c;
  }
}

}  // namespace

char16_t AnsiToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

int UnicodeToAnsi(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<int>(codePoint);
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == codePoint) return 0x80 + i;
  }
  return -1;
}

std::u16string FoldRegistryName(std::string_view name) {
  std::u16string folded(name.size(), u'\0');
  for (std::size_t i = 0; i < name.size(); ++i) {
    folded[i] = UnicodeUpper(AnsiToUnicode(static_cast<unsigned char>(name[i])));
  }
  return folded;
}

}  // namespace kx::sim
