// Runs an aircraft component file in two passes over its lines: the first
// builds the component tree ("Append" and "cd" lines only), the second runs
// every other line with the tree complete. A link may then name a component
// that the file appends further down - joints come first in the child list
// and name the bodies they turn.
#pragma once

class kxnode;

namespace kxdload {

// 1 when the file was read and run, 0 when it cannot be opened.
int RunComponentFile(const char* path, kxnode* root);

}  // namespace kxdload
