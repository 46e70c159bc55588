// The frame update's services of contests, wind, particles and recordings,
// under the name its callers include, and stand-ins for the simulation
// mode's placement, view modes, keys and mouse until they exist.
#pragma once

#include "sim/contest.h"
#include "sim/particles.h"
#include "sim/recording.h"
#include "sim/wind.h"

struct kxmatrix;
struct simplayer;

namespace sim {

// Aircraft placement and view modes (simulation mode). The stand-in of
// SetViewMode only records the mode; the real one also places the viewer
// and points the field of view.
void SetViewMode(simplayer* player, int mode);
// Puts the player's aircraft on the ground at the frame with the velocity.
void ResetAircraft(simplayer* player, kxmatrix* frame, const float velocity[4]);

// The simulation's key handler and its handler for clicks on no widget
// (simulation keys and mouse).
void OnKey(int key, int modifiers);
void OnMouse(int code, int modifiers);

}  // namespace sim
