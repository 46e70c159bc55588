// The pointer as the designer's mouse commands leave it for the viewer
// modes and the drag handles: positions in normalised screen units (the
// designer screen spans -1..1 both ways, y up), the change since the last
// press or move, the button and the last pick ray.
#pragma once

#include "designer/camera.h"

struct designpointer {
  float x = 0, y = 0;                  // now
  float previousX = 0, previousY = 0;  // at the last press or move
  float dx = 0, dy = 0;                // now minus previous, set by each move
  int buttonDown = 0;                  // 1 from the left press to its release
  designray ray = {};                  // through the pointer at the last press, move or release
};
