// Text files as every reader of the program takes them: a UTF-8 byte-order
// mark at the start is skipped, a line ends at LF, CRLF or a lone CR (files
// were authored on every kind of system), and a file in UTF-16 or an empty
// one is told apart so its reader can say so in one log line.
#pragma once

#include <cstddef>
#include <string_view>

namespace kxtext {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

enum class start { kText, kEmpty, kUtf16 };

// What a file's first bytes (at least two, when the file has them) say;
// markBytes: the bytes of a UTF-8 mark to skip (0 or 3).
start Classify(std::string_view head, size_t* markBytes);

// The end of a log line about a file that is no text to read ("empty file",
// "UTF-16 text, not read"); null for plain text.
const char* Complaint(start kind);

// The length of the line that starts text and the bytes its line end takes
// (0 at the end of the text).
size_t LineLength(std::string_view text, size_t* endBytes);

// visit(line, number) for every line, numbered from 1; a text ending in a
// line end has one more, empty line, as a stream read would give.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  int number = 0;
  while (true) {
    size_t endBytes = 0;
    size_t length = LineLength(text, &endBytes);
    visit(text.substr(0, length), ++number);
    if (endBytes == 0) break;
    text.remove_prefix(length + endBytes);
  }
}

}  // namespace kxtext
