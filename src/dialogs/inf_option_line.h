// Finding an option line of an INF file for an in-place edit of one digit.
//
// The option edits read the INF through a text-mode update stream (fopen
// "r+"), line by line with fgets into a 1024-byte buffer, and then write one
// byte at a position counted back from the end of the line just read. That
// count assumes the line ends in CR LF: text mode reads a bare LF as the same
// newline, and a line cut by the buffer has no newline at all, so for such
// lines the position would fall somewhere else. Only lines whose position is
// defined are offered for editing.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace kx {

enum class LineMatch {
  kWholeLine,  // the line without its newline equals the text
  kPrefix,     // the line without its newline begins with the text
};

// Reads the stream from its current position, line by line, up to the first
// line that matches text. When that line was read whole (it begins a line and
// its newline fits the buffer) and ends in CR LF, returns its length without
// the line end and leaves the stream right after the CR LF. Nothing when no
// line matches or when the first matching line cannot be edited in place;
// later matching lines are never looked at.
std::optional<std::size_t> FindEditableLine(Platform& platform, FileStream stream,
                                            std::string_view text, LineMatch match);

// Writes one byte at offset from the current position and flushes it. False,
// with nothing written, when the position cannot be reached.
bool WriteByteAt(Platform& platform, FileStream stream, long offset, char byte);

// Positions the stream at the end of the file, flushes and closes it.
void CloseEditedFile(Platform& platform, FileStream stream);

}  // namespace kx
