#include "core/text_lines.h"

namespace kxtext {

start Classify(std::string_view head, size_t* markBytes) {
  if (markBytes) *markBytes = 0;
  if (head.empty()) return start::kEmpty;
  if (head.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    if (markBytes) *markBytes = kUtf8Mark.size();
    return start::kText;
  }
  // Either byte order's mark.
  if (head.size() >= 2 && ((head[0] == '\xFF' && head[1] == '\xFE') || (head[0] == '\xFE' && head[1] == '\xFF')))
    return start::kUtf16;
  return start::kText;
}

const char* Complaint(start kind) {
  switch (kind) {
    case start::kEmpty: return "empty file";
    case start::kUtf16: return "UTF-16 text, not read";
    case start::kText: break;
  }
  return nullptr;
}

size_t LineLength(std::string_view text, size_t* endBytes) {
  size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) {
    *endBytes = 0;
    return text.size();
  }
  *endBytes = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
  return end;
}

}  // namespace kxtext
