// The viewer modes: what a drag in the designer's viewer does. One static
// instance per mode; the designer's state points at the active one. The
// object select and object property modes are handled by the mouse commands
// themselves; the others act through these slots, which read the pointer
// state the mouse commands keep.
#pragma once

class svdesignmode {
 public:
  virtual ~svdesignmode() = default;
  virtual void MouseDown() {}
  virtual void MouseMove() {}
};

// Trackball: a press inside the disc orbits, outside it rolls.
class svdesignmoderotate : public svdesignmode {
 public:
  int insideTrackball = 0;  // decided at each press
};

namespace svdesign {

struct viewermodes {
  svdesignmode standard;  // until the designer is first entered
  svdesignmode move;
  svdesignmoderotate rotate;
  svdesignmode turn;
  svdesignmode shift;
  svdesignmode objectSelect;
  svdesignmode objectProperty;
};

viewermodes& Modes();

}  // namespace svdesign
