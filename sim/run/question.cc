#include "sim/run/question.h"

#include <array>

#include "platform/text.h"

namespace kx::sim {
namespace {

constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
constexpr int kIdTryAgain = 10;
constexpr int kIdContinue = 11;

struct NamedButton {
  int id;
  const char* name;
};

constexpr std::array<NamedButton, 9> kButtons{{
    {kIdOk, "OK"},
    {kIdCancel, "Cancel"},
    {kIdAbort, "Abort"},
    {kIdRetry, "Retry"},
    {kIdIgnore, "Ignore"},
    {kIdYes, "Yes"},
    {kIdNo, "No"},
    {kIdTryAgain, "Try Again"},
    {kIdContinue, "Continue"},
}};

}  // namespace

Question MessageBoxQuestion(std::string_view caption, std::string_view text, UINT type) {
  Question q;
  q.caption = std::string(caption);
  q.text = std::string(text);
  q.type = type;
  switch (type & 0x0F) {
    case 1:
      q.buttons = {kIdOk, kIdCancel};
      break;
    case 2:
      q.buttons = {kIdAbort, kIdRetry, kIdIgnore};
      break;
    case 3:
      q.buttons = {kIdYes, kIdNo, kIdCancel};
      break;
    case 4:
      q.buttons = {kIdYes, kIdNo};
      break;
    case 5:
      q.buttons = {kIdRetry, kIdCancel};
      break;
    case 6:
      q.buttons = {kIdCancel, kIdTryAgain, kIdContinue};
      break;
    default:
      q.buttons = {kIdOk};
      break;
  }
  const std::size_t index = (type >> 8) & 0x0F;
  q.defaultButton = index < q.buttons.size() ? q.buttons[index] : q.buttons[0];
  return q;
}

const char* ButtonName(int id) {
  for (const NamedButton& b : kButtons) {
    if (b.id == id) return b.name;
  }
  return "?";
}

int ButtonFromName(std::string_view name) {
  std::string wanted;
  for (char c : name) {
    if (c != ' ') wanted += AsciiUpper(c);
  }
  for (const NamedButton& b : kButtons) {
    std::string known;
    for (const char* p = b.name; *p; ++p) {
      if (*p != ' ') known += AsciiUpper(*p);
    }
    if (known == wanted) return b.id;
  }
  return 0;
}

}  // namespace kx::sim
