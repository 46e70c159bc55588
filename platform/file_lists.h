// Directory listings by pattern: a directory part matched exactly (with the
// case-blind fallback of the file functions) and a file pattern with "*" and
// "?" matched without case. Names come in ascending byte order when sorted,
// in the reverse order otherwise; "." and ".." never appear.
#pragma once

#include <string>
#include <vector>

namespace kxsystem {

// Files and directories matching the pattern. keepExtension 0 cuts each name
// at its first "."; a name that becomes empty is left out.
std::vector<std::string> ListFiles(const char* pattern, int keepExtension, int sorted);
// As ListFiles into out: 1, or 0 with out unchanged when nothing matches.
int FindFiles(const char* pattern, std::vector<std::string>& out, int keepExtension, int sorted);
// Sub-directories only; names beginning with "." are left out.
std::vector<std::string> ListDirectories(const char* pattern, int sorted);

}  // namespace kxsystem
