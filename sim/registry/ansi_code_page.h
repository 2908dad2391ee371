// The simulated PC's ANSI code page, Windows-1252 (Western European), and the
// case folding the registry applies to key and value names.
#pragma once

#include <string>
#include <string_view>

namespace kx::sim {

// The Unicode character of an ANSI byte. The five bytes Windows-1252 leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of
// the same number, as Windows converts them, so every byte survives a round
// trip through Unicode.
char16_t AnsiToUnicode(unsigned char byte);

// The ANSI byte of a Unicode character, or -1 when the code page has none.
int UnicodeToAnsi(char32_t codePoint);

// The name as the registry compares it: each character converted to Unicode
// and to upper case. Two names that fold alike name the same key or value;
// subkeys enumerate in the order of their folded names, as Windows NT keeps
// them.
std::u16string FoldRegistryName(std::string_view name);

}  // namespace kx::sim
