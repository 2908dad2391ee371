// File-name patterns as FindFirstFile matches them.
#pragma once

#include <string_view>

namespace kx::sim {

// True when pattern ('*' and '?' wildcards) matches name, ignoring case, with
// the DOS rules Windows keeps: "*" and "*.*" match every name, also names
// without a period; '?' matches one character, or none at a period or at the
// end of the name ("a?.txt" matches "a.txt"); a period followed by a wildcard
// or ending the pattern also matches the end of the name ("readme.*" and "*."
// match "readme"); a '*' just before a period does not run past the name's
// last period ("*." does not match "a.b").
bool MatchesFilePattern(std::string_view pattern, std::string_view name);

// True when text holds '*' or '?'.
bool HasWildcards(std::string_view text);

}  // namespace kx::sim
