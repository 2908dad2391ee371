#include "sim/machine/duration_text.h"

#include <cstdio>

namespace kx::sim {
namespace {

constexpr SimTime kLongest = 1000 * kHour;

bool Fail(std::string* error, std::string message) {
  if (error) *error = std::move(message);
  return false;
}

}  // namespace

bool ParseDuration(std::string_view text, SimTime* ms, std::string* error) {
  const std::string shown = "'" + std::string(text) + "'";
  std::size_t i = 0;
  SimTime whole = 0;
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    whole = whole * 10 + (text[i] - '0');
    if (whole > kLongest) return Fail(error, "duration " + shown + " is too long");
    ++i;
    ++digits;
  }
  SimTime fraction = 0;  // in thousandths
  std::size_t fractionDigits = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      if (fractionDigits == 3) return Fail(error, "duration " + shown + " is finer than 1ms");
      fraction = fraction * 10 + (text[i] - '0');
      ++fractionDigits;
      ++i;
    }
    if (fractionDigits == 0) return Fail(error, "duration " + shown + " is not a number");
    while (fractionDigits < 3) {
      fraction *= 10;
      ++fractionDigits;
    }
  }
  if (digits == 0) return Fail(error, "duration " + shown + " is not a number with a unit");
  std::string_view unit = text.substr(i);
  while (!unit.empty() && unit.front() == ' ') unit.remove_prefix(1);
  SimTime scale = 0;
  if (unit == "ms") {
    scale = 1;
  } else if (unit == "s") {
    scale = kSecond;
  } else if (unit == "min") {
    scale = kMinute;
  } else if (unit == "h") {
    scale = kHour;
  } else if (unit.empty() && whole == 0 && fraction == 0) {
    scale = 1;
  } else if (unit.empty()) {
    return Fail(error, "duration " + shown + " needs a unit (ms, s, min or h)");
  } else {
    return Fail(error, "duration " + shown + " has an unknown unit (use ms, s, min or h)");
  }
  const SimTime fractionMs = fraction * scale / 1000;
  if (fraction * scale % 1000 != 0) return Fail(error, "duration " + shown + " is finer than 1ms");
  const SimTime total = whole * scale + fractionMs;
  if (total > kLongest) return Fail(error, "duration " + shown + " is too long");
  *ms = total;
  return true;
}

std::string FormatDuration(SimTime ms) {
  if (ms == 0) return "0";
  if (ms % kHour == 0) return std::to_string(ms / kHour) + "h";
  if (ms % kMinute == 0) return std::to_string(ms / kMinute) + "min";
  if (ms % kSecond == 0) return std::to_string(ms / kSecond) + "s";
  return std::to_string(ms) + "ms";
}

std::string FormatClock(SimTime ms) {
  char text[48];
  const long long hours = ms / kHour;
  const long long minutes = ms % kHour / kMinute;
  const long long seconds = ms % kMinute / kSecond;
  const long long millis = ms % kSecond;
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%03lld", hours, minutes, seconds, millis);
  } else if (minutes > 0) {
    std::snprintf(text, sizeof text, "%2lld:%02lld.%03lld", minutes, seconds, millis);
  } else {
    std::snprintf(text, sizeof text, "%5lld.%03lld", seconds, millis);
  }
  return text;
}

}  // namespace kx::sim
