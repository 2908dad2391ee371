// Durations as machine images write them: "500ms", "12s", "1.5s", "3min",
// "2h", "0"; and the simulated time as the transcript shows it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx::sim {

// Milliseconds of simulated time.
using SimTime = std::int64_t;

inline constexpr SimTime kSecond = 1000;
inline constexpr SimTime kMinute = 60 * kSecond;
inline constexpr SimTime kHour = 60 * kMinute;

// A number with a unit (ms, s, min, h); decimals allowed down to the
// millisecond. Zero may be written without a unit. False with a message for
// anything else, or for more than 1000 hours.
bool ParseDuration(std::string_view text, SimTime* ms, std::string* error);

// The shortest exact form ParseDuration reads back: "1500ms", "12s", "3min".
std::string FormatDuration(SimTime ms);

// Seconds with milliseconds, right-aligned: "   12.500"; hours and minutes
// in front once the run is that long ("1:02:03.500").
std::string FormatClock(SimTime ms);

}  // namespace kx::sim
