#include "platform/file_lists.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/files.h"

namespace fs = std::filesystem;

namespace kxsystem {
namespace {

enum class Entries { kAll, kDirectories };

std::vector<std::string> Collect(const char* pattern, Entries which, int keepExtension, int sorted) {
  std::vector<std::string> names;
  if (!pattern || !*pattern) return names;
  std::string raw(pattern);
  for (char& c : raw)
    if (c == '\\') c = '/';
  size_t slash = raw.rfind('/');
  std::string filePattern = slash == std::string::npos ? raw : raw.substr(slash + 1);
  std::string dir = slash == std::string::npos ? std::string(".")
                                               : ResolveReadPath(raw.substr(0, slash + 1).c_str());
  if (filePattern.empty()) return names;
  std::error_code error;
  fs::directory_iterator it(fs::path(dir), error);
  if (error) return names;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    std::string name = it->path().filename().string();
    if (name == "." || name == "..") continue;
    if (fnmatch(filePattern.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
    if (which == Entries::kDirectories) {
      if (name[0] == '.' || !it->is_directory(error)) continue;
    }
    if (!keepExtension) {
      size_t dot = name.find('.');
      if (dot != std::string::npos) name.resize(dot);
      if (name.empty()) continue;
    }
    names.push_back(name);
  }
  // Listing order is defined as ascending byte order; "unsorted" is its reverse.
  std::sort(names.begin(), names.end());
  if (!sorted) std::reverse(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> ListFiles(const char* pattern, int keepExtension, int sorted) {
  return Collect(pattern, Entries::kAll, keepExtension, sorted);
}

int FindFiles(const char* pattern, std::vector<std::string>& out, int keepExtension, int sorted) {
  std::vector<std::string> names = Collect(pattern, Entries::kAll, keepExtension, sorted);
  if (names.empty()) return 0;
  out = std::move(names);
  return 1;
}

std::vector<std::string> ListDirectories(const char* pattern, int sorted) {
  return Collect(pattern, Entries::kDirectories, 1, sorted);
}

}  // namespace kxsystem
