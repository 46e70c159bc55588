// The shadow pictures of the frame: an aircraft, a recorded aircraft or the
// balloons seen along the sun's rays, white on black, rendered into the
// shadow record's texture together with the four world corners the ground
// shadow lays it on. Rotating parts darken less the faster they turn and
// vanish above a limit.
#pragma once

class kxgeometricobject;
struct kxgeometry;
struct shadowquad;
struct simplayer;
struct world;

namespace sim {

// Above this (rpm) a rotating part leaves no shadow of its own.
constexpr float kShadowRpmLimit = 1200.0f;

// The light view (column-major, no translation) and the record's four
// corners (texture coordinates and world offsets from the caster) for its
// box min..max as seen in that view. The sun shines along minus the
// scenery's sun vector when the scenery has one (its has-shadow flag);
// without one, or with the sun straight overhead, the view looks straight
// down: the identity. Returns 1 on the sun's path, 0 on the straight-down one.
int ShadowLightView(const world& w, shadowquad* record, float view[16]);

// Renders the caster into record's texture: the player's legacy model, a
// balloon list (balloons not null), a played-back aircraft (playback not
// null), else the player's aircraft from its shadow display lists; position
// is the caster's place (m, world). Nothing without a context or a texture.
void RenderAircraftShadow(const simplayer* player, shadowquad* record, const float position[3],
                          const kxgeometricobject* playback, const kxgeometry* balloons);

// The recorded aircraft's shadow record of a player: texture, radius and
// box taken from the player's recording fields, the corners as its last
// rendering left them. The frame renders it, the scene lays it.
shadowquad* RecordedShadow(const simplayer* player);

// One pass over a subtree, the plain list ids from *counter on in the
// builder's post-order: pass 4 draws the rotating parts, pass 0 the fixed
// ones and every propeller.
void DrawShadowParts(const kxgeometricobject* part, int* counter, int pass);

// A subtree, children first, each node's first element when its
// transparent flag equals flag, under the nodes' frames.
void DrawTransparentGeometry(const kxgeometricobject* node, int flag);

}  // namespace sim
