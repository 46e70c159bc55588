// Description files: every line runs as statements against the current node;
// "[name]" lines divide a file into sections that can be run alone.
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/interpreter_run.h"
#include "core/lexer.h"

namespace kxscript {
namespace {

bool ReadText(const char* path, std::string& text) {
  std::string resolved = kxcore::ResolvePath(path);
  std::ifstream file(resolved, std::ios::binary);
  if (!file) return false;
  std::ostringstream buffer;
  buffer << file.rdbuf();
  text = buffer.str();
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  return true;
}

// The section a "[name]" line opens, or false for any other line.
bool SectionHeader(std::string_view line, std::string_view& name) {
  size_t first = 0;
  while (first < line.size() && kxlex::IsBlank(line[first])) ++first;
  if (first >= line.size() || line[first] != '[') return false;
  size_t close = line.find(']', first);
  name = line.substr(first + 1, close == std::string_view::npos ? std::string_view::npos : close - first - 1);
  return true;
}

}  // namespace

int ReadFile(const char* path, kxnode* node, const char* section) {
  if (!path || !*path) return 0;
  std::string text;
  if (!ReadText(path, text)) return 0;

  std::string_view all(text);
  if (section) {
    // A missing section runs nothing.
    bool found = false;
    for (size_t start = 0; start < all.size() && !found;) {
      size_t end = all.find('\n', start);
      std::string_view line = all.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
      std::string_view name;
      found = SectionHeader(line, name) && name == section;
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    if (!found) return 0;
  }

  detail::run r;
  r.file = path;
  if (!detail::Begin(r, node, path)) return 0;
  bool inSection = section == nullptr;
  int number = 0;
  for (size_t start = 0; start <= all.size();) {
    size_t end = all.find('\n', start);
    std::string_view line = all.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    std::string_view name;
    if (SectionHeader(line, name)) {
      if (section) inSection = name == section;
    } else if (inSection) {
      r.line = number;
      detail::RunLine(r, line);
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  detail::End(r);
  return 1;
}

}  // namespace kxscript
