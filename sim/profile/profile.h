// The profile (INI) file engine of the simulated PC: GetPrivateProfileIntA,
// GetPrivateProfileStringA and WritePrivateProfileStringA as Windows 95/98/ME
// carry them out, over the bytes of one file. The caller resolves the path,
// reads the file and writes it back; these functions only read and edit bytes.
//
// How Windows reads a profile file:
// - Section and key names compare without regard to ASCII case.
// - Lines end at CR LF, CR or LF and are trimmed of blanks (CR and Ctrl-Z
//   included). A line is read as a C string: it ends at its first NUL byte.
// - "[ name ]" opens the section "name". Lines before the first section
//   belong to no section.
// - In a section, a line with '=' is a key: the trimmed text before the first
//   '=' is its name, the trimmed text after it its value, with one pair of
//   double quotes around the whole value removed. ';' is not special: a
//   comment is a line that names no key anyone looks up.
// - Of duplicate sections only the first counts, and of duplicate keys in it
//   only the first.
//
// Each function takes one linear pass over the file.
#pragma once

#include <string>

#include "platform/types.h"

namespace kx::sim::profile {

// GetPrivateProfileStringA. file is the file's bytes, or null when the file
// does not exist.
// - The value of section/key, cut to size-1 characters and terminated. The
//   result is the number of characters copied, terminator excluded.
// - A missing file, section or key gives defaultValue (null reads as "")
//   without its trailing blanks, cut the same way.
// - section null: the names of all sections; key null: the names of the keys
//   of the section. Each name is terminated and the list ends with an extra
//   zero; the result counts every name's terminator but not the extra zero.
//   A list that does not fit is cut at size-2 characters, followed by two
//   zeros, and the result is size-2. An empty list is a single zero.
// - size 0 leaves the buffer untouched and returns 0.
DWORD GetString(const std::string* file, const char* section, const char* key,
                const char* defaultValue, char* buffer, DWORD size);

// GetPrivateProfileIntA: the decimal number at the start of the value (an
// optional '-', then digits, reduced modulo 2^32; "+1" and "0x10" read as 0,
// "42abc" as 42, text without digits as 0). A missing file, section or key, or
// an empty value, gives defaultValue. A null section or key gives 0.
UINT GetInt(const std::string* file, const char* section, const char* key, int defaultValue);

// WritePrivateProfileStringA, editing file (empty when the file did not
// exist) in place; every byte outside the edited line stays as it was.
// - The key's line becomes "key=value" (key spelled as given; "key=" for an
//   empty value). A value equal to the one the key reads already changes
//   nothing.
// - A new key goes after the last key line of its section (right after the
//   header when the section has none).
// - A new section is appended at the end of the file, after a line end when
//   the file does not end in one and after an empty line that separates it
//   from the section before, as Windows 9x writes it.
// - key null deletes the section: its header and all its lines up to the next
//   section. value null deletes the key's line; the header stays even when
//   no key is left. Deleting what does not exist changes nothing.
// - New lines end in CR LF.
// Returns false (and changes nothing) when section is null, as Windows does.
// A call that changes nothing leaves file as it was: a file that did not exist
// is to be created only when the bytes changed (Windows 9x creates no file
// for a deletion).
bool WriteString(std::string& file, const char* section, const char* key, const char* value);

}  // namespace kx::sim::profile
