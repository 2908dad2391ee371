// Prepared answers to Setup's questions, read from an answers file:
//
//   ; tried in file order; the first rule that fits the question answers it
//   [message insert-cd]          "message", then any label
//   caption = Setup              pattern for the caption (optional)
//   text = Can not find*         pattern for the text (optional)
//   answer = Cancel              OK, Cancel, Abort, Retry, Ignore, Yes, No,
//                                Try Again, Continue
//   times = 2                    how often the rule may answer (default: always)
//
// Patterns match the whole text, with case: * stands for any run of
// characters (line breaks included), ? for one character. A rule fits only a
// question that offers its answer's button.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/run/question.h"

namespace kx::sim {

struct AnswerRule {
  std::string caption;  // pattern; empty matches any caption
  std::string text;     // pattern; empty matches any text
  int answer = 0;       // a button id
  int times = 0;        // 0: any number of times
  int line = 0;         // where the rule starts in its file, 0 for rules made in code
};

class Answers {
 public:
  Answers() = default;

  void Add(AnswerRule rule) { rules_.push_back(std::move(rule)); }
  const std::vector<AnswerRule>& rules() const { return rules_; }
  bool empty() const { return rules_.empty(); }

  // The first rule that fits and is not used up, counted as used once more;
  // null when none fits.
  const AnswerRule* Answer(const Question& question);

  // Where the rules came from, for messages ("answers.ini").
  std::string fileName;

 private:
  std::vector<AnswerRule> rules_;
  std::vector<int> used_;
};

// Reads an answers file. On the first malformed line: false, *error is
// "fileName:line: what is wrong" and *answers is left as it was.
bool ParseAnswers(std::string_view text, const std::string& fileName, Answers* answers,
                  std::string* error);

// The whole of text matches pattern (* any run, ? one character, with case).
bool WildcardMatch(std::string_view pattern, std::string_view text);

}  // namespace kx::sim
