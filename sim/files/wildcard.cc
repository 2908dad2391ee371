#include "sim/files/wildcard.h"

#include <vector>

#include "platform/text.h"

namespace kx::sim {
namespace {

enum class Token { Literal, Star, StarBeforeDot, OneChar, DotOrEnd };

struct PatternItem {
  Token token;
  char literal;  // upper case, for Token::Literal
};

std::vector<PatternItem> Compile(std::string_view pattern) {
  std::vector<PatternItem> items;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '*') {
      items.push_back({next == '.' ? Token::StarBeforeDot : Token::Star, 0});
    } else if (c == '?') {
      items.push_back({Token::OneChar, 0});
    } else if (c == '.' && (next == '\0' || next == '*' || next == '?')) {
      items.push_back({Token::DotOrEnd, 0});
    } else {
      items.push_back({Token::Literal, AsciiUpper(c)});
    }
  }
  return items;
}

}  // namespace

bool HasWildcards(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

bool MatchesFilePattern(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  const std::vector<PatternItem> items = Compile(pattern);
  const std::size_t n = name.size();
  const std::size_t lastDot = name.rfind('.');

  // reach[j]: the items matched so far can end at name position j. One pass
  // per item keeps the work at pattern length times name length.
  std::vector<char> reach(n + 1, 0);
  reach[0] = 1;
  for (const PatternItem& item : items) {
    std::vector<char> next(n + 1, 0);
    if (item.token == Token::Star || item.token == Token::StarBeforeDot) {
      // A star extends every reachable position to the right; one sweep.
      bool open = false;
      for (std::size_t k = 0; k <= n; ++k) {
        if (reach[k]) open = true;
        if (open) next[k] = 1;
        // Before a period, the star stops at the name's last period.
        if (item.token == Token::StarBeforeDot && lastDot != std::string_view::npos &&
            k == lastDot) {
          open = false;
        }
      }
      reach.swap(next);
      continue;
    }
    for (std::size_t j = 0; j <= n; ++j) {
      if (!reach[j]) continue;
      switch (item.token) {
        case Token::Literal:
          if (j < n && AsciiUpper(name[j]) == item.literal) next[j + 1] = 1;
          break;
        case Token::OneChar:
          if (j < n && name[j] != '.') next[j + 1] = 1;
          if (j == n || name[j] == '.') next[j] = 1;
          break;
        case Token::DotOrEnd:
          if (j < n && name[j] == '.') next[j + 1] = 1;
          if (j == n) next[j] = 1;
          break;
        case Token::Star:
        case Token::StarBeforeDot:
          break;
      }
    }
    reach.swap(next);
  }
  return reach[n] != 0;
}

}  // namespace kx::sim
