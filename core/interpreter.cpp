#include "core/interpreter.h"

#include <map>
#include <string>
#include <utility>

#include "core/arguments.h"
#include "core/function.h"
#include "core/hooks.h"
#include "core/interpreter_run.h"
#include "core/lexer.h"
#include "core/memory.h"
#include "core/numbers.h"

namespace kxscript {
namespace detail {

// ---- run state and failure reports -----------------------------------------

namespace {

kxnode* root = nullptr;
kxnode* current = nullptr;
run runs[kMaxNesting];  // runs[0 .. depth) are active, innermost last
run* innermost = nullptr;
int depth = 0;
std::map<std::string, kxnode*> aliases;

enum class fail { none, unknown, cannot_assign, syntax, no_node, unknown_type, outside, not_finite };

const char* ReasonText(fail f) {
  switch (f) {
    case fail::unknown: return "unknown";
    case fail::cannot_assign: return "cannot assign";
    case fail::syntax: return "syntax error";
    case fail::no_node: return "no node";
    case fail::unknown_type: return "unknown type";
    case fail::outside: return "outside the node the file is kept to";
    case fail::not_finite: return "number not finite or out of range";
    case fail::none: break;
  }
  return "";
}

void Report(run& r, const char* reason, std::string_view subject) {
  std::string text = kxexcerpt(subject);
  if (r.file) {
    kxcore::Log("kxscript:  %s(%d): %s \"%s\"\n", r.file, r.line, reason, text.c_str());
  } else {
    kxcore::Log("kxscript:  %s \"%s\"\n", reason, text.c_str());
  }
  r.reported = true;
}

void Fail(run& r, fail f) {
  if (r.reported || f == fail::none) return;
  // Files run whole against nodes that know only some of their lines: count
  // those, one line per file; command texts report every failure.
  if (f == fail::unknown && r.file) {
    if (!r.partial) ++r.unknown;
    return;
  }
  if (f == fail::not_finite) ++r.not_finite;
  else ++r.refused;
  Report(r, ReasonText(f), r.statement);
}

// ---- paths and member lookup -----------------------------------------------

bool IsBareName(std::string_view path) {
  return !path.empty() && path.find_first_of("/~.") == std::string_view::npos;
}

// The node a path starts at and the rest of the path after its start marker.
kxnode* PathStart(std::string_view& path) {
  if (!path.empty() && path[0] == '/') {
    path.remove_prefix(1);
    return root;
  }
  if (!path.empty() && path[0] == '~') {
    size_t slash = path.find('/');
    std::string name(path.substr(1, slash == std::string_view::npos ? std::string_view::npos : slash - 1));
    path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
    return Alias(name.c_str());
  }
  return current;
}

kxnode* Step(kxnode* node, std::string_view segment) {
  if (segment.empty() || segment == ".") return node;
  if (segment == "..") return node->parent;
  return node->FindChild(std::string(segment).c_str());
}

// A member path: every segment followed by "/" is a step to a child; the last
// is asked as a member first and, without arguments, as a child. With a
// fence, a member of a node outside it is not asked (a file kept to its
// node neither appends nor sets anything elsewhere).
fail ResolvePath(std::string_view path, const kxargs* args, kxvalueptr& out, const kxnode* fence = nullptr) {
  kxnode* node = PathStart(path);
  if (!node) return fail::no_node;
  size_t slash;
  while ((slash = path.find('/')) != std::string_view::npos) {
    node = Step(node, path.substr(0, slash));
    if (!node) return fail::no_node;
    path.remove_prefix(slash + 1);
  }
  if (path.empty() || path == "." || path == "..") {
    node = Step(node, path);
    if (!node) return fail::no_node;
    if (args) return fail::syntax;
    out.reset(new kxnodevalue(node));
    return fail::none;
  }
  if (fence && node != fence && !node->IsDescendantOf(fence)) return fail::outside;
  std::string member(path);
  out = node->GetMember(member.c_str(), args ? *args : kxargs::None());
  if (out) return fail::none;
  if (!args) {
    if (kxnode* child = node->FindChild(member.c_str())) {
      out.reset(new kxnodevalue(child));
      return fail::none;
    }
  }
  return fail::unknown;
}

// A call or evaluation: a bare name is a command, then a value type built from
// its arguments, then a member path.
fail EvaluateTarget(std::string_view path, const kxargs* args, kxvalueptr& out, const kxnode* fence = nullptr) {
  if (IsBareName(path)) {
    std::string name(path);
    if (kxfunction* f = kxfunction::Find(name.c_str())) {
      out = f->Invoke(args ? *args : kxargs::None());
      if (!out) out = kxvoid();
      return fail::none;
    }
    if (args) {
      if (kxtype* t = kxtype::Find(name.c_str()); t && t->construct) {
        out = t->construct(*args);
        return out ? fail::none : fail::syntax;
      }
    }
  }
  return ResolvePath(path, args, out, fence);
}

// ---- expressions -----------------------------------------------------------

fail ParseExpression(kxlex::cursor& c, kxvalueptr& out);

fail ParseArguments(kxlex::cursor& c, kxargs& args) {
  // The opening "(" is taken already.
  if (c.Accept(')')) return fail::none;
  for (;;) {
    kxvalueptr value;
    fail f = ParseExpression(c, value);
    if (f != fail::none) return f;
    args.Add(std::move(value));
    if (c.Accept(')')) return fail::none;
    if (!c.Accept(',')) return fail::syntax;
  }
}

fail ParseList(kxlex::cursor& c, kxvalueptr& out) {
  // The opening "{" is taken already.
  auto list = std::make_unique<kxlistvalue>();
  if (!c.Accept('}')) {
    for (;;) {
      kxvalueptr value;
      fail f = ParseExpression(c, value);
      if (f != fail::none) return f;
      if (list->values.size() >= kxlistvalue::kMaxValues) return fail::syntax;
      list->values.push_back(std::move(value));
      if (c.Accept('}')) break;
      if (!c.Accept(',')) return fail::syntax;
    }
  }
  out = std::move(list);
  return fail::none;
}

// Lists and argument lists nest at most this deep within one statement.
constexpr int kMaxExpressionDepth = 64;
int expressionDepth = 0;

struct depthguard {
  depthguard() { ++expressionDepth; }
  ~depthguard() { --expressionDepth; }
};

fail ParseExpression(kxlex::cursor& c, kxvalueptr& out) {
  depthguard guard;
  if (expressionDepth > kMaxExpressionDepth) return fail::syntax;
  c.SkipBlanks();
  if (c.Peek() == '"') {
    std::string text;
    if (!c.ReadString(text)) return fail::syntax;
    out.reset(new kxstringvalue(kxstring(text)));
    return fail::none;
  }
  if (c.Accept('{')) return ParseList(c, out);
  std::string_view token = c.ReadBare();
  if (token.empty()) return fail::syntax;
  int integer;
  double real;
  switch (kxlex::ReadNumber(token, integer, real)) {
    case kxlex::number_kind::integer: out.reset(new kxintvalue(integer)); return fail::none;
    case kxlex::number_kind::real: out.reset(new kxrealvalue(real)); return fail::none;
    case kxlex::number_kind::none: break;
  }
  if (c.Accept('(')) {
    kxargs args;
    fail f = ParseArguments(c, args);
    if (f != fail::none) return f;
    return EvaluateTarget(token, &args, out);
  }
  // "nan", "inf" or "1e400" name nothing; said as what they are, so the
  // value is refused for its own reason and never becomes a real.
  fail f = EvaluateTarget(token, nullptr, out);
  return f != fail::none && kxnumber::IsNonFiniteText(token) ? fail::not_finite : f;
}

// ---- statements and cd -----------------------------------------------------

bool IsAbsolute(std::string_view path) { return !path.empty() && (path[0] == '/' || path[0] == '~'); }

// Levels a relative cd path goes down (negative: up).
int DepthChange(std::string_view path) {
  int change = 0;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    std::string_view segment = path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
    if (segment == "..") {
      --change;
    } else if (!segment.empty() && segment != ".") {
      ++change;
    }
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return change;
}

void ChangeDirectory(run& r, const std::string& path) {
  if (r.lost) {
    if (!IsAbsolute(path)) {
      r.lostDepth += DepthChange(path);
      if (r.lostDepth >= 0 || !r.lostReturn) return;
      // Back above the failed cd: continue from where it started.
      kxnode* node = r.lostReturn;
      for (int up = -r.lostDepth - 1; up > 0 && node; --up) node = node->parent;
      r.lost = false;
      current = node ? node : root;
      return;
    }
    r.lost = false;
  }
  kxnode* target = path.empty() ? root : kxnode::Find(path.c_str(), current ? current : root);
  // A file kept to its node goes no higher than that node, as a shell goes
  // no higher than the root: what it appends then stays its own.
  if (target && r.fence && target != r.fence && !target->IsDescendantOf(r.fence)) {
    if (!r.fenceReported) {
      kxcore::Log("kxscript:  %s:%d: cd %s would leave %s; stays there\n", r.file ? r.file : "command", r.line,
                  kxexcerpt(path).c_str(), r.fence->name.Text());
      r.fenceReported = true;
    }
    target = r.fence;
  }
  if (target) {
    current = target;
    return;
  }
  Fail(r, fail::no_node);
  r.lost = true;
  r.lostReturn = current;
  r.lostDepth = 0;
}

// One word of a command: a quoted string or a bare run; false when it is
// malformed or empty.
bool ReadWord(kxlex::cursor& c, std::string& word) {
  if (c.Peek() == '"') return c.ReadString(word);
  std::string_view bare = c.ReadBare();
  word.assign(bare);
  return !bare.empty();
}

fail RunStatement(run& r, kxlex::cursor& c) {
  c.SkipBlanks();
  if (c.AtEnd() || c.StartsWith("//")) return fail::none;

  // Expression statements have no effect but must be well formed.
  if (c.Peek() == '(' || c.Peek() == '"' || c.Peek() == '{') {
    kxvalueptr ignored;
    fail f = fail::none;
    if (c.Accept('(')) {
      kxargs args;
      f = ParseArguments(c, args);
    } else {
      f = ParseExpression(c, ignored);
    }
    if (f == fail::none) {
      c.SkipBlanks();
      if (!c.AtEnd()) f = fail::syntax;
    }
    return f;
  }

  std::string_view path = c.ReadBare();
  if (path.empty()) return fail::syntax;
  int integer;
  double real;
  if (kxlex::ReadNumber(path, integer, real) != kxlex::number_kind::none) {
    c.SkipBlanks();
    return c.AtEnd() ? fail::none : fail::syntax;
  }

  bool hasArgs = false;
  kxargs args;
  if (c.Peek() == '(') {
    c.Accept('(');
    hasArgs = true;
    if (fail f = ParseArguments(c, args); f != fail::none) return f;
  }

  if (c.Accept('=')) {
    kxvalueptr value;
    if (fail f = ParseExpression(c, value); f != fail::none) return f;
    c.SkipBlanks();
    if (!c.AtEnd()) return fail::syntax;
    kxvalueptr target;
    if (fail f = ResolvePath(path, hasArgs ? &args : nullptr, target, r.fence); f != fail::none) return f;
    return target->Assign(*value) ? fail::none : fail::cannot_assign;
  }

  // Blank-separated words, each passed as a text.
  c.SkipBlanks();
  while (!c.AtEnd()) {
    if (hasArgs) return fail::syntax;
    std::string word;
    if (!ReadWord(c, word)) return fail::syntax;
    args.Add(kxvalueptr(new kxstringvalue(kxstring(word))));
    c.SkipBlanks();
  }
  bool any = hasArgs || args.Count() > 0;

  if (path == "cd") {
    ChangeDirectory(r, args.String(0).Str());
    return fail::none;
  }
  if (!current && !IsAbsolute(path) && !(IsBareName(path) && kxfunction::Find(std::string(path).c_str()))) {
    return fail::no_node;
  }
  kxvalueptr result;
  return EvaluateTarget(path, any ? &args : nullptr, result, r.fence);
}

// A statement while lost: only cd is looked at.
void RunLostStatement(run& r, std::string_view statement) {
  kxlex::cursor c(statement);
  c.SkipBlanks();
  if (c.AtEnd() || c.StartsWith("//")) return;
  if (c.ReadBare() == "cd") {
    std::string word;
    if (c.Accept('(')) {
      kxargs args;
      if (ParseArguments(c, args) == fail::none) word = args.String(0).Str();
    } else {
      c.SkipBlanks();
      ReadWord(c, word);
    }
    ChangeDirectory(r, word);
    return;
  }
  ++r.skipped;
}

}  // namespace

void RunLine(run& r, std::string_view line) {
  for (std::string_view statement : kxlex::SplitStatements(line)) {
    r.statement = statement;
    r.reported = false;
    if (r.lost) {
      RunLostStatement(r, statement);
      continue;
    }
    kxlex::cursor c(statement);
    Fail(r, RunStatement(r, c));
  }
}

run* Begin(kxnode* node, const char* what) {
  if (depth >= kMaxNesting) {
    kxcore::Log("kxscript:  nesting too deep \"%s\"\n", kxexcerpt(what ? what : "").c_str());
    return nullptr;
  }
  run& r = runs[depth++];
  r = run{};
  r.saved = current;
  r.outer = innermost;
  innermost = &r;
  if (node) current = node;
  if (!current) current = root;
  return &r;
}

kxnode* End(run& r) {
  const char* where = r.file ? r.file : "command";
  if (r.skipped > 0) {
    kxcore::Log("kxscript:  %s: %d statements skipped after a failed cd\n", where, r.skipped);
  }
  if (r.unknown > 0) {
    kxcore::Log("kxscript:  %s: %d statements name nothing known here\n", where, r.unknown);
  }
  kxnode* result = current;
  innermost = r.outer;
  --depth;
  current = r.saved ? r.saved : root;
  if (r.savedDestroyed && innermost) {
    // The outer run's node went away during this run.
    innermost->lost = true;
    innermost->lostReturn = nullptr;
  }
  return result;
}

}  // namespace detail

// ---- Execute and the public API --------------------------------------------

using namespace detail;

void Init() {
  if (root) return;
  void RegisterBuiltins();
  RegisterBuiltins();
  root = new kxnode;
  current = root;
}

void Shutdown() {
  kxnode* r = root;
  aliases.clear();
  if (r) delete r;
  root = nullptr;
  current = nullptr;
}

kxnode* Root() { return root; }
kxnode* Current() { return current; }
void SetCurrent(kxnode* node) { current = node; }
void Reset() { current = root; }

kxnode* Execute(const char* text, kxnode* node) {
  if (!text || !*text) return node ? node : current;
  run* r = Begin(node, text);
  if (!r) return current;
  std::string_view rest(text);
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    RunLine(*r, rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return End(*r);
}

kxvalueptr Evaluate(const char* expression, kxnode* node) {
  if (!expression) return nullptr;
  kxnode* saved = current;
  if (node) current = node;
  kxlex::cursor c(expression);
  kxvalueptr value;
  fail f = ParseExpression(c, value);
  c.SkipBlanks();
  current = saved;
  if (f != fail::none || !c.AtEnd()) return nullptr;
  return value;
}

void SetAlias(const char* name, kxnode* node) {
  if (!name) return;
  if (node) {
    aliases[name] = node;
  } else {
    aliases.erase(name);
  }
}

kxnode* Alias(const char* name) {
  if (!name) return nullptr;
  auto it = aliases.find(name);
  return it == aliases.end() ? nullptr : it->second;
}

void ClearAlias(const char* name) {
  if (name) aliases.erase(name);
}

kxstring Quote(const char* text) {
  std::string quoted = "\"";
  for (const char* p = text ? text : ""; *p; ++p) {
    if (*p == '"' || *p == '\\') quoted.push_back('\\');
    quoted.push_back(*p);
  }
  quoted.push_back('"');
  return kxstring(quoted);
}

void ReportFailure(const char* reason, const char* subject) {
  if (innermost) {
    Report(*innermost, reason, subject ? subject : "");
  } else {
    kxcore::Log("kxscript:  %s \"%s\"\n", reason, kxexcerpt(subject ? subject : "").c_str());
  }
}

void NodeDestroyed(kxnode* node) {
  if (node == root) root = nullptr;
  if (current == node) {
    current = nullptr;
    if (innermost) {
      innermost->lost = true;
      innermost->lostReturn = nullptr;
    }
  }
  for (run* r = innermost; r; r = r->outer) {
    if (r->saved == node) {
      r->saved = nullptr;
      r->savedDestroyed = true;
    }
    if (r->lostReturn == node) r->lostReturn = nullptr;
    if (r->fence == node) r->fence = nullptr;
  }
  for (auto it = aliases.begin(); it != aliases.end();) {
    it = it->second == node ? aliases.erase(it) : std::next(it);
  }
}

}  // namespace kxscript
