// The commands that add a default component of a kind to the edited
// aircraft under the first free name of its stem ("Wing00", "Wing01", ...).
// The component has no design object until the designer is entered again.
#pragma once

class kxdbody;
class kxnode;

namespace svdesign {

// The first stem + "%02d" no child of parent is named (exact case); n
// grows past 99 as long as it must.
void FreeName(const kxnode* parent, const char* stem, char* out, int capacity);
// Adds a new component of the type (first child for a joint, else last);
// the component, or null when the type is unknown or no aircraft is edited.
kxdbody* NewComponent(const char* typeName, const char* stem, int first);

}  // namespace svdesign
