// A question Setup puts to the user: a message box and its buttons.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace kx::sim {

struct Question {
  std::string caption;
  std::string text;
  UINT type = 0;             // the MessageBoxA style
  std::vector<int> buttons;  // IDOK, IDCANCEL, ... in the order shown
  int defaultButton = 0;     // one of buttons
};

// The buttons and default button a MessageBoxA style shows.
Question MessageBoxQuestion(std::string_view caption, std::string_view text, UINT type);

// "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No", "Try Again",
// "Continue"; "?" for an unknown id.
const char* ButtonName(int id);
// The id of a button name (any case, blanks ignored: "tryagain"); 0 if unknown.
int ButtonFromName(std::string_view name);

}  // namespace kx::sim
