#include "sim/files/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace kx::sim {
namespace {

TEST(WildcardTest, MatchesAsFindFirstFileDoes) {
  const struct {
    const char* pattern;
    std::string name;
    bool matches;
  } cases[] = {
      {"*.*", "README", true},
      {"*", ".", true},
      {"*.inf", "OEM1.INF", true},
      {"*.INF", "a.inf", true},
      {"KX*.INF", "KXAUDIO.Inf", true},
      {"*.htm", "x.html", false},
      {"*.htm", "X~1.HTM", true},
      {"oem*.inf", "OEM12.INF", true},
      {"oem*.inf", "xoem1.inf", false},
      {"*.inf", "inf", false},
      {"*.txt", "a.b.txt", true},
      {"*1.inf", "oem1.inf", true},
      {"?", "a", true},
      {"?", "ab", false},
      {"a?.txt", "a.txt", true},
      {"a?.txt", "ab.txt", true},
      {"a?.txt", "abc.txt", false},
      {"????????.???", "A.B", true},
      {"a?b", "a.b", false},
      {"readme.*", "README", true},
      {"readme.*", "README.TXT", true},
      {"*.", "README", true},
      {"*.", "a.b", false},
      {"a.b", "A.B", true},
      {"a.b", "a.bc", false},
      {"*s*", "SETUP.EXE", true},
      {"*a*a*a*a*a*a*b", std::string(200, 'a'), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesFilePattern(c.pattern, c.name), c.matches)
        << "pattern " << c.pattern << " name " << c.name;
  }
}

}  // namespace
}  // namespace kx::sim
