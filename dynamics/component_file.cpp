#include "dynamics/component_file.h"

#include <string>
#include <string_view>

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
  kxscript::detail::run* r = kxscript::detail::Begin(root, path);
  if (!r) return;
  r->file = path;
  kxscript::detail::ForEachLine(text, [&](std::string_view line, int number) {
    bool append = StartsWithWord(line, "Append");
    bool structure = append || StartsWithWord(line, "cd");
    if (which == pass::kStructure ? structure : !append) {
      r->line = number;
      kxscript::detail::RunLine(*r, line);
    }
  });
  kxscript::detail::End(*r);
}

}  // namespace

namespace kxdload {

int ReadComponentText(const char* path, std::string& text) {
  text.clear();
  return path && kxscript::detail::ReadText(path, text) ? 1 : 0;
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
