// Small text helpers shared by the setup logic and both backends: ASCII case
// rules as Windows applies them to names, and bounded copies into the fixed
// character buffers of the Win32 calls.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kx {

// A to Z and a to z only, as _strupr and the file system's name rules do.
char AsciiUpper(char c);
char AsciiLower(char c);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// Copies text into buffer[size] with its terminator. When it does not fit, the
// buffer receives the first size-1 characters and the result is false.
bool CopyToBuffer(std::string_view text, char* buffer, std::size_t size);

// text + "\" unless it already ends in a backslash.
std::string WithTrailingBackslash(std::string_view text);

}  // namespace kx
