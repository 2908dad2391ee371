#include "sim/run/user.h"

#include <algorithm>

#include "sim/run/run_stop.h"

namespace kx::sim {

Reply User::Answer(const Question& question) {
  const std::string key =
      question.caption + '\0' + question.text + '\0' + std::to_string(question.type);
  repeats_ = key == lastQuestion_ ? repeats_ + 1 : 1;
  lastQuestion_ = key;
  if (repeats_ >= kStuckQuestionRepeats) {
    throw StuckStop{"the message box \"" + question.caption + "\" (\"" + question.text +
                    "\") came back " + std::to_string(kStuckQuestionRepeats) + " times in a row"};
  }

  if (const AnswerRule* rule = answers_.Answer(question)) {
    std::string by = answers_.fileName.empty() ? "answers" : answers_.fileName;
    if (rule->line > 0) by += ":" + std::to_string(rule->line);
    return {rule->answer, by};
  }
  if (ask_) {
    const int chosen = ask_(question);
    if (std::find(question.buttons.begin(), question.buttons.end(), chosen) !=
        question.buttons.end()) {
      return {chosen, "terminal"};
    }
  }
  return {question.defaultButton, "default button"};
}

}  // namespace kx::sim
