// One player's view inside the viewport the frame set for it: the scene
// from the player's viewer, the sun's glare, the cockpit instruments in the
// instrument view, and the player's three overlay windows (flight
// information, contest, a second scene camera, the aircraft alone, wind and
// variometer), each under a title bar. The texts and the geometry of the
// overlays are worked out without OpenGL.
#pragma once

#include "sim/views/text.h"

struct contestrec;
struct kxdflightstate;
struct simcamera;
struct simplayer;
struct simsession;
struct world;

namespace sim {

class cameraview;

// Draws the view: w x h pixels at (vx, vy) of the window, aspect its width
// over its height.
void DrawView(simplayer* player, int w, int h, float aspect, int vx, int vy);

// ---- flight information

// The window's height: 23 pixels, a line per display flag that is on, and
// three more while recording, playing back or holding a recording.
int FlightInfoHeight(const simplayer& player, int lineHeight);
// Its lines from the top, in the units of the `units` setting. Returns the
// count (at most kFlightInfoLines).
constexpr int kFlightInfoLines = 9;
int FlightInfoLines(const simplayer& player, const simsession& session, hudline out[kFlightInfoLines]);

// ---- overlay windows

// The title of a window of this camera type ("dummy" for a type without one).
const char* OverlayTitle(cameraview type, const contestrec* contest);
// The near-plane distance of a second-camera scene: k2 fov^2 + k0 with the
// scenery's two projection coefficients (k2 the view scale of 1.0, k0 the
// near half-height), so a smaller field of view widens the picture.
float OverlayNear(float fov, const world& w);
// The wind arrow of the wind window: a triangle on the upwind side of the
// rose of radius R, growing to full size at 2 m/s. 0 (out untouched) for a
// wind of 0.1 m/s or less.
int WindArrow(float wx, float wy, float R, float out[3][2]);
// The modelview that looks down the aircraft's vertical axis onto it, world
// x up the screen for a level aircraft. A nose pointing straight up or down
// takes the aircraft's Y axis as the screen's up.
void FromAboveView(const kxdflightstate& state, float out[16]);

// ---- sun glare

// Where the sun lies on the screen (normalised device x, y) and the glare's
// alpha, from the last scene pass's matrices: 1 when the glare is drawn
// (the sun ahead and the aircraft within 1.5 of it on the screen).
struct sunglare {
  float x, y, alpha;
};
int SunGlare(const float view[16], const float projection[16], const float eye[3], const float forward[3],
             const float sun[3], const float aircraft[3], sunglare* out);

}  // namespace sim
