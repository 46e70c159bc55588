// A player's view mode - fixed, fixed with autozoom, follow, cockpit, or one
// of these looking at the recorded flight - with its field of view and the
// viewer's first place, and the overlay camera panels kept inside the view.
#pragma once

struct simplayer;

namespace sim {

enum class viewmode : int;
class cameraview;

constexpr float kFollowBack = 3.0f;       // m behind along the aircraft's X axis
constexpr float kFollowUp = 0.5f;         // m above it
constexpr float kFixedMinDistance = 1.0f; // m; a fixed viewer nearer than this steps back
constexpr float kFixedBack = 4.5f;        // m
constexpr float kFixedUp = 1.5f;          // m

// Whether a view looks at the recorded flight (kViewRecord...).
bool IsRecordedView(cameraview view);
// The live view a recorded one falls back to: follow for follow, cockpit for
// cockpit, fixed for the rest.
viewmode LiveView(viewmode mode);
// A flight starts looking at the aircraft flown: a recorded-flight view left
// from the flight before becomes its live view, and overlay camera 2 shows
// the aircraft instead. Call before the view mode is set.
void StartWithLiveViews(simplayer* player);
// Selects mode (kView...) for the player: photo-scenery restrictions, the
// field of view, the follow viewers' places and overlay camera 2.
void SetViewMode(simplayer* player, viewmode mode);
// Moves every player's overlay cameras that do not lie inside the view (all
// of them when check is 0) to their default corners.
void CheckViewports(int check);

}  // namespace sim
