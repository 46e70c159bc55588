// The simulation's keys, for the events no widget of the menu bar or an open
// window takes: start positions, launching, sound, music and pause,
// recording, views and the viewer, split screen, contests, saved positions,
// screenshots and key help.
#pragma once

namespace sim {

constexpr float kLaunchSpeed = 12.0f;        // m/s along the aircraft's X axis
constexpr float kLaunchCeiling = 200.0f;     // m above the cloud height: no launch
constexpr float kLaunchNoseUp = 15.0f;       // degrees, J
constexpr float kFovStep = 0.01f;
constexpr float kFollowTimeStep = 0.05f;
constexpr float kHeightStep = 0.2f;          // m, follow and cockpit height
constexpr float kFollowHeightLimit = 3.0f;   // m either way
constexpr int kPanelStep = 10;               // px, + and -
constexpr float kStatusShort = 2.0f;         // s
constexpr float kStatusPause = 3.0f;         // s

// Key code and modifier bits; Ctrl acts on player 2, Shift reaches the
// second table.
void OnKey(int key, int modifiers);

}  // namespace sim
