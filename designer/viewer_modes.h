// The viewer modes: what a drag in the designer's viewer does. One static
// instance per mode; the designer's state points at the active one. The
// object select and object property modes are handled by the mouse commands
// themselves; the others act through these slots, which read the pointer
// state the mouse commands keep and move the designer's camera.
#pragma once

class svdesignmode {
 public:
  virtual ~svdesignmode() = default;
  virtual void MouseDown() {}
  virtual void MouseMove() {}
};

// Move: a vertical drag dollies along the line of sight.
class svdesignmodemove : public svdesignmode {
 public:
  void MouseMove() override;
};

// Turn: the camera turns in place.
class svdesignmodeturn : public svdesignmode {
 public:
  void MouseMove() override;
};

// Shift: the camera slides across the screen.
class svdesignmodeshift : public svdesignmode {
 public:
  void MouseMove() override;
};

// Rotate, a trackball: a press inside the disc of radius sqrt(0.4) about the
// screen centre orbits about the origin, one outside it rolls about the line
// of sight, until the release.
class svdesignmoderotate : public svdesignmode {
 public:
  static constexpr float kTrackballSquared = 0.4f;  // squared radius, normalised screen units
  void MouseDown() override;
  void MouseMove() override;
  int insideTrackball = 0;  // decided at each press
};

namespace svdesign {

struct viewermodes {
  svdesignmode standard;  // until the designer is first entered
  svdesignmodemove move;
  svdesignmoderotate rotate;
  svdesignmodeturn turn;
  svdesignmodeshift shift;
  svdesignmode objectSelect;
  svdesignmode objectProperty;
};

viewermodes& Modes();

}  // namespace svdesign
