// Answers files: the rules they hold, how rules match, and what is refused.
#include "sim/run/answers.h"

#include <gtest/gtest.h>

namespace kx::sim {
namespace {

TEST(Wildcard, MatchesTheWholeText) {
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  };
  const Case cases[] = {
      {"Setup", "Setup", true},
      {"setup", "Setup", false},
      {"Can not find*", "Can not find the Orvanta Applications setup program.\n Please insert",
       true},
      {"*CD*", "Please insert the installation CD now.", true},
      {"*CD", "Please insert the installation CD now.", false},
      {"S?tup", "Setup", true},
      {"S?tup", "Stup", false},
      {"*", "", true},
      {"", "", true},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"**a**", "xxaxx", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
  }
  // No blow-up on a pathological pattern.
  EXPECT_FALSE(WildcardMatch(std::string(50, '*') + "b", std::string(5000, 'a')));
}

TEST(Answers, RulesAnswerInOrderAndGetUsedUp) {
  Answers answers;
  std::string error;
  ASSERT_TRUE(
      ParseAnswers("; answers for the insert-CD loop\r\n"
                   "[message first]\r\n"
                   "text = Can not find*\r\n"
                   "answer = Cancel\r\n"
                   "times = 2\r\n"
                   "[message]\r\n"
                   "caption = Setup\r\n"
                   "answer = ok\r\n",
                   "answers.ini", &answers, &error))
      << error;
  ASSERT_EQ(answers.rules().size(), 2u);
  EXPECT_EQ(answers.rules()[0].line, 2);
  const Question missing =
      MessageBoxQuestion("Setup", "Can not find installation files.", kMbOkCancel);
  const Question plain = MessageBoxQuestion("Setup", "Done.", kMbOk);
  const Question other = MessageBoxQuestion("Information", "Done.", kMbOk);
  EXPECT_EQ(answers.Answer(missing)->answer, kIdCancel);
  EXPECT_EQ(answers.Answer(missing)->answer, kIdCancel);
  EXPECT_EQ(answers.Answer(missing)->answer, kIdOk);  // used up: the next rule
  EXPECT_EQ(answers.Answer(plain)->answer, kIdOk);
  EXPECT_EQ(answers.Answer(other), nullptr);
  // A rule whose button the box does not offer does not fit it.
  Answers cancelOnly;
  cancelOnly.Add({"", "", kIdCancel, 0, 0});
  EXPECT_EQ(cancelOnly.Answer(plain), nullptr);
}

TEST(Answers, RefusesBadFilesNamingTheLine) {
  struct Case {
    std::string text;
    const char* where;
  };
  const Case cases[] = {
      {"answer = OK\r\n", "a.ini:1:"},
      {"[messages]\r\nanswer = OK\r\n", "a.ini:1:"},
      {"[message]\r\ntext = x\r\n", "a.ini:1:"},
      {"[message]\r\nanswer = Maybe\r\n", "a.ini:2:"},
      {"[message]\r\nanswer = OK\r\nanswer = Cancel\r\n", "a.ini:3:"},
      {"[message]\r\nanswer = OK\r\ntimes = 0\r\n", "a.ini:3:"},
      {"[message]\r\nanswer = OK\r\ntimes = many\r\n", "a.ini:3:"},
      {"[message]\r\nanswer = OK\r\nwhen = always\r\n", "a.ini:3:"},
      {"[message]\r\nanswer = OK\r\n[message\r\n", "a.ini:3:"},
      {std::string("[message]\r\nanswer = OK\0\r\n", 24), "a.ini:2:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Answers answers;
    answers.Add({"", "", kIdOk, 0, 0});
    std::string error;
    EXPECT_FALSE(ParseAnswers(c.text, "a.ini", &answers, &error));
    EXPECT_EQ(error.rfind(c.where, 0), 0u) << error;
    EXPECT_EQ(answers.rules().size(), 1u) << "a failed read changed the answers";
  }
}

}  // namespace
}  // namespace kx::sim
