// Description files: every line runs as statements against the current node;
// "[name]" lines divide a file into sections that can be run alone.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/interpreter_run.h"
#include "core/lexer.h"

namespace kxscript {
namespace {

// The section a "[name]" line opens, or false for any other line.
bool SectionHeader(std::string_view line, std::string_view& name) {
  size_t first = 0;
  while (first < line.size() && kxlex::IsBlank(line[first])) ++first;
  if (first >= line.size() || line[first] != '[') return false;
  size_t close = line.find(']', first);
  name = line.substr(first + 1, close == std::string_view::npos ? std::string_view::npos : close - first - 1);
  return true;
}

/* The largest description file read. The biggest aircraft's is well under
   a megabyte; a file of gigabytes would be read whole into memory and end
   the program when that runs out. */
constexpr std::uintmax_t kMostScriptBytes = std::uintmax_t{64} << 20;

}  // namespace

namespace detail {

bool ReadText(const char* path, std::string& text) {
  const std::string resolved = kxcore::ResolvePath(path);
  std::error_code error;
  // A folder opens as a stream that reads nothing: it is not an empty file.
  if (std::filesystem::is_directory(resolved, error)) {
    kxcore::Log("kxscript:  %s: a folder, not read\n", path);
    return false;
  }
  if (!kxcore::MayRead(resolved.c_str())) return false;
  const std::uintmax_t size = std::filesystem::file_size(resolved, error);
  if (!error && size > kMostScriptBytes) {
    kxcore::Log("kxscript:  %s: %ju bytes, more than a description file holds; not read\n", path, size);
    return false;
  }
  std::ifstream file(resolved, std::ios::binary);
  if (!file) {
    // There but not to be opened: said here, where the reason is known.
    if (std::filesystem::exists(std::filesystem::symlink_status(resolved, error)))
      kxcore::Log("kxscript:  %s: not readable\n", path);
    return false;
  }
  std::ostringstream buffer;
  buffer << file.rdbuf();
  text = buffer.str();
  size_t mark = 0;
  kxtext::start kind = kxtext::Classify(text, &mark);
  if (const char* complaint = kxtext::Complaint(kind)) {
    kxcore::Log("kxscript:  %s: %s\n", path, complaint);
    text.clear();
    return true;
  }
  text.erase(0, mark);
  return true;
}

}  // namespace detail

namespace {

int Read(const char* path, kxnode* node, const char* section, bool partial, bool fenced = false) {
  if (!path || !*path) return 0;
  std::string text;
  if (!detail::ReadText(path, text)) return 0;

  if (section) {
    // A missing section runs nothing.
    bool found = false;
    detail::ForEachLine(text, [&](std::string_view line, int) {
      std::string_view name;
      if (SectionHeader(line, name) && name == section) found = true;
    });
    if (!found) return 0;
  }

  detail::run* r = detail::Begin(node, path);
  if (!r) return 0;
  r->file = path;
  r->partial = partial;
  if (fenced) r->fence = node;
  bool inSection = section == nullptr;
  detail::ForEachLine(text, [&](std::string_view line, int number) {
    std::string_view name;
    if (SectionHeader(line, name)) {
      if (section) inSection = name == section;
    } else if (inSection) {
      r->line = number;
      detail::RunLine(*r, line);
    }
  });
  detail::End(*r);
  return 1;
}

}  // namespace

int ReadFile(const char* path, kxnode* node, const char* section) { return Read(path, node, section, false); }

int ReadFilePart(const char* path, kxnode* node) { return Read(path, node, nullptr, true); }

int ReadFileWithin(const char* path, kxnode* node) { return node ? Read(path, node, nullptr, false, true) : 0; }

}  // namespace kxscript
