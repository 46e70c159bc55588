#include "dynamics/component_file.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/interpreter_run.h"
#include "core/lexer.h"
#include "core/node.h"

namespace {

bool StartsWithWord(std::string_view line, std::string_view word) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  line.remove_prefix(i);
  return line.size() > word.size() && line.compare(0, word.size(), word) == 0 &&
         (line[word.size()] == ' ' || line[word.size()] == '\t');
}

/* A component is found by its name ("cd Name/") and written with it as one
   word: one named with nothing, with a byte that ends a word or a path step,
   as a path of its own ("..", "~..."), or as a sibling before it, could
   never be reached, so it would keep its defaults while the values meant
   for it went elsewhere, and a saved file would not read back as it was
   written. It is renamed at once, in one log line; the lines meant for it
   then go where any later load of the file sends them. */
bool NameByte(char c) { return kxlex::IsBareByte(c) && c != '/' && c != '\\'; }

std::string WordName(const std::string& given) {
  std::string name = given.empty() ? "Component" : given;
  for (char& c : name)
    if (!NameByte(c)) c = '_';
  if (name[0] == '~' || name == "." || name == "..") name[0] = '_';
  return name;
}

void MakeReachable(kxnode* component, const char* path, int number) {
  const std::string given = component->name.Str();
  kxnode* parent = component->parent;
  auto taken = [&](const std::string& name) {
    for (kxnode* c = parent ? parent->firstChild : nullptr; c; c = c->nextSibling)
      if (c != component && c->name.Equal(name.c_str())) return true;
    return false;
  };
  const std::string base = WordName(given);
  if (base == given && !taken(given)) return;
  std::string name = base;
  for (int n = 2; taken(name); ++n) name = base + "_" + std::to_string(n);
  kxcore::Log("kxdynamics:  %s:%d: component \"%s\" cannot be found by its name; named %s\n", path, number,
              given.c_str(), name.c_str());
  component->name = name.c_str();
}

enum class pass { kStructure, kValues };

void Run(const char* path, const std::string& text, kxnode* root, pass which) {
  kxscript::detail::run* r = kxscript::detail::Begin(root, path);
  if (!r) return;
  r->file = path;
  // Components appended above the aircraft's root would outlive it.
  r->fence = root;
  kxscript::detail::ForEachLine(text, [&](std::string_view line, int number) {
    bool append = StartsWithWord(line, "Append");
    bool structure = append || StartsWithWord(line, "cd");
    if (which == pass::kStructure ? structure : !append) {
      r->line = number;
      kxnode* here = append ? kxscript::Current() : nullptr;
      kxnode* last = here ? here->lastChild : nullptr;
      kxscript::detail::RunLine(*r, line);
      if (here && here->lastChild != last && here->lastChild) MakeReachable(here->lastChild, path, number);
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
