// 8.3 aliases as Windows 9x generates them when a file or folder is created.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx::sim {

// True when name is already a valid 8.3 name, in any case: a base of 1 to 8
// characters, at most one period, and an extension of 1 to 3 characters, made
// only of characters allowed in short names.
bool IsShortName(std::string_view name);

// The upper-case parts a numbered alias is built from: blanks and the
// characters . " / \ [ ] : ; = , removed (except the last period when
// something follows it, which separates the extension), '+' made '_', the
// extension cut to 3 characters. The base is kept whole here.
struct ShortNameBasis {
  std::string base;
  std::string extension;
};
ShortNameBasis MakeShortNameBasis(std::string_view longName);

// base + "~n" + "." + extension, with the base cut so that the first part
// holds 8 characters at most: "PROGRA~1", "PROGR~10".
std::string NumberedShortName(const ShortNameBasis& basis, std::uint32_t number);

}  // namespace kx::sim
