// One view's world: sky, ground, ocean, clouds, scenery objects, the
// players' and recorded aircraft, their ground shadows, the tow rope, flight
// traces, trees, contest objects and the smoke and exhaust particles, in a
// fixed order of passes. The player views call it once per view, the
// reflection-map builder once per cube face without aircraft. The matrices
// it leaves are read through SceneView().
#pragma once

struct simplayer;

namespace sim {

// viewer: the player whose view this is (may be null); eye and the camera
// axes X forward, Y left, Z up; aspect scales the frustum's width; nearZ is
// the near plane's distance, at which the frustum is the scenery's near
// half-height high. drawOwn 0 leaves the viewer's live aircraft (and its
// shadow, transparent parts and exhaust) out in the cockpit views, and its
// recorded aircraft (and that one's shadow) in the recorded cockpit view;
// setProjection 0 keeps the caller's projection; drawAircraft 0 leaves out
// every aircraft, shadow, trace, aircraft part and particle.
void DrawScene(simplayer* viewer, const float eye[3], const float X[3], const float Y[3], const float Z[3],
               float aspect, float nearZ, int drawOwn, int setProjection, int drawAircraft);

}  // namespace sim
