#include "dynamics/component_file.h"

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "core/hooks.h"
#include "core/interpreter_run.h"

namespace {

bool StartsWithWord(std::string_view line, std::string_view word) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  line.remove_prefix(i);
  return line.size() > word.size() && line.compare(0, word.size(), word) == 0 &&
         (line[word.size()] == ' ' || line[word.size()] == '\t');
}

enum class pass { kStructure, kValues };

void Run(const char* path, const std::string& text, kxnode* root, pass which) {
  kxscript::detail::run r;
  r.file = path;
  if (!kxscript::detail::Begin(r, root, path)) return;
  std::string_view all(text);
  int number = 0;
  for (size_t start = 0; start <= all.size();) {
    size_t end = all.find('\n', start);
    std::string_view line = all.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    bool append = StartsWithWord(line, "Append");
    bool structure = append || StartsWithWord(line, "cd");
    if (which == pass::kStructure ? structure : !append) {
      r.line = number;
      kxscript::detail::RunLine(r, line);
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  kxscript::detail::End(r);
}

}  // namespace

namespace kxdload {

int ReadComponentText(const char* path, std::string& text) {
  text.clear();
  if (!path) return 0;
  std::ifstream file(kxcore::ResolvePath(path), std::ios::binary);
  if (!file) return 0;
  std::ostringstream buffer;
  buffer << file.rdbuf();
  text = buffer.str();
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  return 1;
}

void RunComponentText(const char* path, const std::string& text, kxnode* root) {
  if (!path || !root) return;
  Run(path, text, root, pass::kStructure);
  Run(path, text, root, pass::kValues);
}

int RunComponentFile(const char* path, kxnode* root) {
  if (!path || !root) return 0;
  std::string text;
  if (!ReadComponentText(path, text)) return 0;
  RunComponentText(path, text, root);
  return 1;
}

}  // namespace kxdload
