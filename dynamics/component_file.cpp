#include "dynamics/component_file.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/interpreter_run.h"
#include "core/lexer.h"
#include "core/node.h"
#include "dynamics/load.h"

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
   never be reached, so the values meant for it went elsewhere, and a saved
   file would not read back as it was written. Once the file has run (an
   "Add", a "Name =" or a path may have made it so), each such component is
   renamed, in one log line. */
bool NameByte(char c) { return kxlex::IsBareByte(c) && c != '/' && c != '\\'; }

std::string WordName(const std::string& given) {
  std::string name = given.empty() ? "Component" : given;
  for (char& c : name)
    if (!NameByte(c)) c = '_';
  if (name[0] == '~' || name == "." || name == "..") name[0] = '_';
  return name;
}

void MakeReachable(kxnode* parent, const char* path) {
  for (kxnode* component = parent->firstChild; component; component = component->nextSibling) {
    auto taken = [&](const std::string& name) {
      for (kxnode* c = parent->firstChild; c != component; c = c->nextSibling)
        if (c->name.Equal(name.c_str())) return true;
      return false;
    };
    const std::string given = component->name.Str();
    std::string name = WordName(given);
    if (name != given || taken(name)) {
      const std::string base = name;
      auto anywhere = [&](const std::string& n) {
        for (kxnode* c = parent->firstChild; c; c = c->nextSibling)
          if (c != component && c->name.Equal(n.c_str())) return true;
        return false;
      };
      for (int n = 2; anywhere(name); ++n) name = base + "_" + std::to_string(n);
      kxcore::Log("kxdynamics:  %s: component \"%s\" under %s cannot be found by its name; named %s\n", path,
                  given.c_str(), parent->name.Text(), name.c_str());
      component->name = name.c_str();
    }
    MakeReachable(component, path);
  }
}

enum class pass { kStructure, kValues };

// Statements of a file that did not run, by why.
struct refusals {
  int notFinite = 0;  // a number no real holds ("Mass = nan")
  int broken = 0;     // bad syntax, a node or type not there, skipped after a failed cd
};

// Runs the lines of one pass and counts what it refused.
refusals Run(const char* path, const std::string& text, kxnode* root, pass which) {
  kxscript::detail::run* r = kxscript::detail::Begin(root, path);
  if (!r) return {};
  r->file = path;
  // Components appended above the aircraft's root would outlive it.
  r->fence = root;
  kxscript::detail::ForEachLine(text, [&](std::string_view line, int number) {
    bool append = StartsWithWord(line, "Append");
    bool structure = append || StartsWithWord(line, "cd");
    if (which == pass::kStructure ? structure : !append) {
      r->line = number;
      kxscript::detail::RunLine(*r, line);
    }
  });
  const refusals counted{r->not_finite, r->refused + r->skipped};
  kxscript::detail::End(*r);
  return counted;
}

}  // namespace

namespace kxdload {

int ReadComponentText(const char* path, std::string& text) {
  text.clear();
  return path && kxscript::detail::ReadText(path, text) ? 1 : 0;
}

void RunComponentText(const char* path, const std::string& text, kxnode* root) {
  if (!path || !root) return;
  // Each refused statement is logged with its line; the load's notice says
  // the components kept defaults or are missing (a damaged or cut file),
  // which the user would not see otherwise.
  const refusals structure = Run(path, text, root, pass::kStructure);
  const refusals values = Run(path, text, root, pass::kValues);
  const int notFinite = structure.notFinite + values.notFinite;
  const int broken = structure.broken + values.broken;
  if (notFinite > 0)
    AddLoadProblem(std::to_string(notFinite) + (notFinite == 1 ? " value" : " values") + " in " + path +
                   " not finite or out of range, defaults kept");
  if (broken > 0)
    AddLoadProblem(std::to_string(broken) + (broken == 1 ? " statement" : " statements") + " in " + path +
                   " could not be run (a damaged file?)");
  MakeReachable(root, path);
}

int RunComponentFile(const char* path, kxnode* root) {
  if (!path || !root) return 0;
  std::string text;
  if (!ReadComponentText(path, text)) return 0;
  RunComponentText(path, text, root);
  return 1;
}

}  // namespace kxdload
