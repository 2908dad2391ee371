#include "sim/run/transcript.h"

namespace kx::sim {

std::string FormatTranscriptEntry(const TranscriptEntry& entry) {
  std::string line = FormatClock(entry.at) + "  " + entry.what;
  if (entry.repeat > 1) line += " (" + std::to_string(entry.repeat) + " times)";
  return line;
}

void Transcript::Add(SimTime at, std::string what) {
  Flush();
  entries_.push_back({at, std::move(what), 1, false});
  Emit();
}

void Transcript::AddPause(SimTime at, std::uint32_t milliseconds, const char* call) {
  std::string what = std::string(call) + " " + std::to_string(milliseconds) + " ms";
  if (pausePending_ && entries_.back().what == what) {
    ++entries_.back().repeat;
    return;
  }
  Flush();
  entries_.push_back({at, std::move(what), 1, true});
  pausePending_ = true;
}

void Transcript::Flush() {
  if (!pausePending_) return;
  pausePending_ = false;
  Emit();
}

void Transcript::Emit() {
  if (sink_) sink_(entries_.back());
}

}  // namespace kx::sim
