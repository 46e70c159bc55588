// The designer's viewer as the user handles it: the left-button commands of
// the designer screen (window pixels, y up), which pick the design object
// under the pointer, drive the current viewer mode or hand the pick ray to
// the current object's page; and the fixed views, each of which alternates
// between two opposite sides of the aircraft.
#pragma once

#include <vector>

#include "designer/camera.h"

class svdesignobject;

namespace svdesign {

// The nearest object of the table whose component's geometry the ray hits;
// on equal distances the earlier one. Null when none is hit.
svdesignobject* PickObject(const std::vector<svdesignobject*>& table, const designray& ray);

// "DesignMouseLeftDown( x, y )": object select makes the object under the
// pointer current (none: the whole aircraft); object property does the same
// for another object and otherwise starts the current object's drag; any
// other mode gets its press.
void MouseLeftDown(int x, int y);
// "DesignMouseMove( x, y )": the pointer's change, then the current object's
// drag (object property) or the mode's move; nothing in object select.
void MouseMove(int x, int y);
// "DesignMouseLeftUp( x, y )": ends the current object's drag.
void MouseLeftUp(int x, int y);

// The eye stays within this many reference lengths of the origin.
constexpr float kViewDistance = 5.0f;

// "DesignModeViewerTop", "...Side", "...Front": the camera looking at the
// origin from one side, the opposite side next time: 3 (top) or 2 reference
// lengths away, or farther where the whole aircraft needs it to show
// (within kViewDistance).
void ModeViewerTop();
void ModeViewerSide();
void ModeViewerFront();
// The top view from above, as every entry shows it.
void PlaceTopView();

// The 3-D view: the camera's eye pulled within 5 reference lengths, the
// sky-coloured viewport, then the design objects - opaque, then twice
// transparent with depth writes off. Needs a current context.
void DrawScene();

}  // namespace svdesign
