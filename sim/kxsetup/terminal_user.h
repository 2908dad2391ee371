// Asking the person at the terminal: the message box with its caption, text
// and numbered buttons; the answer by number or name, Enter for the default.
#pragma once

#include <istream>
#include <ostream>

#include "sim/run/question.h"

namespace kx::sim {

// Returns the chosen button's id. The end of the input, or five answers that
// name no button, give the default button.
int AskAtTerminal(const Question& question, std::istream& in, std::ostream& out);

}  // namespace kx::sim
