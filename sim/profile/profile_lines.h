// The line rules of profile (INI) files, shared by the Windows profile engine
// (profile.h) and the parser of our own configuration files (ini_document.h).
//
// A line ends at CR LF, at a CR alone or at an LF alone, so files written on
// any system read alike. Lines are trimmed of blanks: space, tab, vertical
// tab, form feed, CR and Ctrl-Z (the end-of-file mark old DOS editors leave).
#pragma once

#include <cstddef>
#include <string_view>

namespace kx::sim::profile {

// One line of a text: its bytes are text[begin, end), the line end (if any)
// follows, and the next line starts at next.
struct LineSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
};

// Walks the lines of text from a byte offset, one pass, no copies.
class LineScanner {
 public:
  explicit LineScanner(std::string_view text, std::size_t from = 0) : text_(text), pos_(from) {}
  // Fills line with the next line; false at the end of the text. A text that
  // ends in a line end has no empty line after it.
  bool Next(LineSpan* line);

 private:
  std::string_view text_;
  std::size_t pos_;
};

bool IsLineBlank(char c);
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimTrailingBlanks(std::string_view text);
// Removes one pair of double quotes around the whole text ("a b" -> a b).
std::string_view StripQuotes(std::string_view text);

// How the Windows profile functions see one line.
enum class LineKind {
  kOther,    // blank, comment or any line without '='
  kSection,  // [name]
  kKey,      // name=value
};

struct ProfileLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed and unquoted
};

// Classifies the bytes of one line (without its line end). The line is read
// as a C string, so it ends at its first NUL byte. A trimmed line starting
// with '[' names a section: the text up to the first ']' (or the end of the
// line), trimmed. Otherwise a line with '=' is a key: the text before the
// first '=' is the name.
ProfileLine ParseProfileLine(std::string_view line);

}  // namespace kx::sim::profile
