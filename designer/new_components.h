// The commands that add a default component of a kind to the edited
// aircraft under the first free name of its stem ("Wing00", "Wing01", ...),
// with ranges its pages can set it within. The component has no design
// object until the designer is entered again.
#pragma once

class kxdbody;
class kxnode;

namespace svdesign {

// A new-component command: its name, the component type it adds and the
// stem of the new component's name.
struct newcomponent {
  const char* command;
  const char* typeName;
  const char* stem;
  int first;  // 1: the component goes first in the aircraft's list (a joint)
};
inline constexpr newcomponent kNewComponents[] = {
    {"DesignNewBody", "kxdbody", "Body", 0},
    {"DesignNewGyro00", "kxdgyro00", "Gyro", 0},
    {"DesignNewJoint00", "kxdjoint00", "Joint", 1},
    {"DesignNewRotor00", "kxdrotor00", "Rotor", 0},
    {"DesignNewSkid00", "kxdskid00", "Skid", 0},
    {"DesignNewTailrotor00", "kxdtailrotor00", "TailRotor", 0},
    {"DesignNewWing00", "kxdwing00", "Wing", 0},
};

// The first stem + "%02d" no child of parent is named (exact case); n
// grows past 99 as long as it must.
void FreeName(const kxnode* parent, const char* stem, char* out, int capacity);
// Adds a new component of the type (first child for a joint, else last)
// with the constructor's values and ranges that admit them; the component,
// or null when the type is unknown or no aircraft is edited. A new wing
// also gets a mesh of its own (svdesign::GiveNewWingMesh).
kxdbody* NewComponent(const char* typeName, const char* stem, int first);

}  // namespace svdesign
