#include "sim/kxsetup/terminal_user.h"

#include <string>

#include "platform/text.h"

namespace kx::sim {

int AskAtTerminal(const Question& q, std::istream& in, std::ostream& out) {
  out << "\n+-- message box \"" << q.caption << "\"\n";
  std::size_t start = 0;
  while (start <= q.text.size()) {
    const std::size_t end = q.text.find('\n', start);
    out << "| " << q.text.substr(start, end == std::string::npos ? end : end - start) << "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  out << "+--";
  for (std::size_t i = 0; i < q.buttons.size(); ++i) {
    out << " [" << i + 1 << "] " << ButtonName(q.buttons[i]);
  }
  out << "   (Enter: " << ButtonName(q.defaultButton) << ")\n";
  for (int attempt = 0; attempt < 5; ++attempt) {
    out << "> " << std::flush;
    std::string line;
    if (!std::getline(in, line)) break;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    while (!line.empty() && line.front() == ' ') line.erase(0, 1);
    if (line.empty()) return q.defaultButton;
    if (line.size() <= 2 && line.find_first_not_of("0123456789") == std::string::npos) {
      const std::size_t index = std::stoul(line);
      if (index >= 1 && index <= q.buttons.size()) return q.buttons[index - 1];
    }
    for (int b : q.buttons) {
      if (ButtonFromName(line) == b) return b;
    }
    out << "Answer with a number from 1 to " << q.buttons.size() << " or a button's name.\n";
  }
  return q.defaultButton;
}

}  // namespace kx::sim
