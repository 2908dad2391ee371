// How a simulated run ends early. SimPlatform throws these to unwind Setup's
// stack to the runner; nothing in the setup logic catches them.
#pragma once

#include <string>

namespace kx::sim {

// The run-time library's exit(): the process ends with this code.
struct ProcessExitStop {
  int code = 0;
};

// The run cannot go on by itself: a question asked again and again, or a wait
// beyond any sensible length.
struct StuckStop {
  std::string reason;
};

// Setup reached a path that is not built yet.
struct NotAvailableStop {
  std::string feature;
};

}  // namespace kx::sim
