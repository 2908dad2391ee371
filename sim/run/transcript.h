// What Setup did to the simulated PC and said to the user, in order, with the
// simulated time of each action. Consecutive equal pauses are kept as one
// entry with a repeat count, so a polling loop reads as one line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sim/machine/duration_text.h"

namespace kx::sim {

struct TranscriptEntry {
  SimTime at = 0;
  std::string what;
  int repeat = 1;  // for pauses: how many in a row
  bool isPause = false;
};

// "   12.500  pause 1000 ms (5 times)"
std::string FormatTranscriptEntry(const TranscriptEntry& entry);

class Transcript {
 public:
  using Sink = std::function<void(const TranscriptEntry&)>;

  explicit Transcript(Sink sink = {}) : sink_(std::move(sink)) {}

  void Add(SimTime at, std::string what);
  void AddPause(SimTime at, std::uint32_t milliseconds, const char* call);
  // Hands a pending pause to the sink; the next entry would do so too.
  void Flush();

  const std::vector<TranscriptEntry>& entries() const { return entries_; }

 private:
  void Emit();

  Sink sink_;
  std::vector<TranscriptEntry> entries_;
  bool pausePending_ = false;
};

}  // namespace kx::sim
