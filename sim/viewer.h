// The viewer of each player's main view and of overlay camera 2, moved once
// per frame after the flight step: the pilot standing at a fixed place turns
// his head toward the aircraft (with lag and an automatic zoom), a chase
// viewer follows on a damped spring, or the viewer sits in the aircraft.
// MoveViewer moves a fixed viewer about the point it looks at (keys).
#pragma once

struct kxmatrix;
struct simplayer;

namespace sim {

class cameraview;

constexpr float kZoomOffset = 0.4f;          // z = f^2 k + 0.4
constexpr float kZoomPhoto = 0.7f;           // k in a photo scenery
constexpr float kZoomScenery = 1.1f;         // k elsewhere
constexpr float kAutozoomNear = 1.0f;        // autozoom factors by distance
constexpr float kAutozoomFar = 1.7f;
constexpr float kAutozoomFarPhoto = 1.5f;
constexpr float kAutozoomVeryFar = 3.0f;     // beyond 3 x autozoom_distance, not in a photo scenery
constexpr float kChaseDamping = 3.299325f;   // 1/s
constexpr float kChaseHeight = 0.4f;         // m the chase viewer keeps above the target
constexpr float kChaseHeightBand = 0.2f;     // m without vertical pull
constexpr float kViewerClearance = 0.25f;    // m above the ground, chase and cockpit
constexpr float kLagSide = -0.15f;           // horizontal lag factor

// Moves one viewer by mode (a scene view kView...; an overlay only writes
// view_zoom). target is the frame looked at; position, velocity, pull (the
// chase acceleration of the last frame) and the unit rows forward, right
// (to the left of forward) and up are the viewer's, updated in place.
void UpdateViewer(cameraview mode, simplayer* player, const kxmatrix& target, float position[3], float velocity[3],
                  float pull[3], float forward[3], float right[3], float up[3]);

// Moves a fixed viewer about target: forward +1/-1 steps a fifteenth of the
// distance nearer or farther, turn (rad) turns it about the vertical through
// the target, up +1/-1 raises or lowers it; then the distance limits, the
// cloud ceiling and the ground clearance apply.
void MoveViewer(float position[3], const float target[3], int forward, float turn, int up);

// The horizontal lag's smoothed sideways rate back to 0 (entry and tests).
void ResetViewerLag();

}  // namespace sim
