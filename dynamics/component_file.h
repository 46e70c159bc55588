// Runs an aircraft component file in two passes over its lines: the first
// builds the component tree ("Append" and "cd" lines only), the second runs
// every other line with the tree complete. A link may then name a component
// that the file appends further down - joints come first in the child list
// and name the bodies they turn.
#pragma once

#include <string>

class kxnode;

namespace kxdload {

// 1 when the file was read and run, 0 when it cannot be opened.
int RunComponentFile(const char* path, kxnode* root);
// The file's text without a leading byte-order mark; 0 when it cannot be
// opened.
int ReadComponentText(const char* path, std::string& text);
// Runs a component file's text, read before (path names it in log lines).
void RunComponentText(const char* path, const std::string& text, kxnode* root);

}  // namespace kxdload
