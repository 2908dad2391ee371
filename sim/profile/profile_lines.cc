#include "sim/profile/profile_lines.h"

namespace kx::sim::profile {

bool LineScanner::Next(LineSpan* line) {
  if (pos_ >= text_.size()) return false;
  line->begin = pos_;
  std::size_t i = pos_;
  while (i < text_.size() && text_[i] != '\r' && text_[i] != '\n') ++i;
  line->end = i;
  if (i < text_.size()) {
    if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') ++i;
    ++i;
  }
  line->next = i;
  pos_ = i;
  return true;
}

bool IsLineBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsLineBlank(text[n - 1])) --n;
  return text.substr(0, n);
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t b = 0;
  while (b < text.size() && IsLineBlank(text[b])) ++b;
  return TrimTrailingBlanks(text.substr(b));
}

std::string_view StripQuotes(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

ProfileLine ParseProfileLine(std::string_view line) {
  const std::size_t nul = line.find('\0');
  if (nul != std::string_view::npos) line = line.substr(0, nul);
  line = TrimBlanks(line);

  ProfileLine out;
  if (!line.empty() && line.front() == '[') {
    std::string_view inner = line.substr(1);
    const std::size_t close = inner.find(']');
    if (close != std::string_view::npos) inner = inner.substr(0, close);
    out.kind = LineKind::kSection;
    out.name = TrimBlanks(inner);
    return out;
  }
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return out;
  out.kind = LineKind::kKey;
  out.name = TrimBlanks(line.substr(0, eq));
  out.value = StripQuotes(TrimBlanks(line.substr(eq + 1)));
  return out;
}

}  // namespace kx::sim::profile
