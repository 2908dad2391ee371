// The person in front of the simulated PC. A question is answered by the
// first fitting rule of the answers file, else at the terminal (when there is
// one), else by the question's default button.
#pragma once

#include <functional>
#include <string>

#include "sim/run/answers.h"
#include "sim/run/question.h"

namespace kx::sim {

// The same question this many times in a row means nobody can end the run.
inline constexpr int kStuckQuestionRepeats = 100;

struct Reply {
  int button = 0;
  std::string by;  // "answers.ini:12", "terminal", "default button"
};

class User {
 public:
  // Shows the question at a terminal and returns the chosen button's id.
  using Ask = std::function<int(const Question&)>;

  User(Answers answers, Ask ask) : answers_(std::move(answers)), ask_(std::move(ask)) {}

  // Throws StuckStop when the question is the same as the ones before it for
  // the kStuckQuestionRepeats-th time in a row.
  Reply Answer(const Question& question);

 private:
  Answers answers_;
  Ask ask_;
  std::string lastQuestion_;
  int repeats_ = 0;
};

}  // namespace kx::sim
