#include "dialogs/inf_option_line.h"

#include <cstring>

#include "platform/text.h"

namespace kx {
namespace {

// The line buffer of the option edits.
constexpr int kLineBufferSize = 1024;

// The stream stands right after a line whose last character read was a
// newline. Steps back over the file's last two bytes and reads them again:
// in text mode they read as one newline only when they are CR LF (a bare LF
// is preceded by the line's last character, which then reads as itself). On
// success the stream is back right after the line.
bool LineEndsInCrLf(Platform& platform, FileStream stream) {
  if (platform.FSeek(stream, -2, kSeekCur) != 0) return false;
  char end[2] = {};
  return platform.FGets(end, sizeof end, stream) != nullptr && end[0] == '\n';
}

}  // namespace

std::optional<std::size_t> FindEditableLine(Platform& platform, FileStream stream,
                                            std::string_view text, LineMatch match) {
  char line[kLineBufferSize];
  bool atLineStart = true;
  while (platform.FGets(line, kLineBufferSize, stream) != nullptr) {
    // A zero byte in the file ends the text early: such a piece reads as not
    // ending in a newline, so neither it nor the piece after it counts as a
    // whole line.
    const std::size_t length = std::strlen(line);
    const bool beganLine = atLineStart;
    const bool endsLine = length > 0 && line[length - 1] == '\n';
    atLineStart = endsLine;
    if (!beganLine || length == 0) continue;

    // The line without its last character, the newline when there is one.
    const std::string_view content(line, length - 1);
    const bool matches =
        match == LineMatch::kWholeLine ? content == text : StartsWith(content, text);
    if (!matches) continue;
    if (!endsLine || !LineEndsInCrLf(platform, stream)) return std::nullopt;
    return content.size();
  }
  return std::nullopt;
}

bool WriteByteAt(Platform& platform, FileStream stream, long offset, char byte) {
  if (platform.FSeek(stream, offset, kSeekCur) != 0) return false;
  const bool written = platform.FWrite(&byte, 1, 1, stream) == 1;
  platform.FFlush(stream);
  return written;
}

void CloseEditedFile(Platform& platform, FileStream stream) {
  platform.FSeek(stream, 0, kSeekEnd);
  platform.FFlush(stream);
  platform.FClose(stream);
}

}  // namespace kx
