#include "sim/view_modes.h"

#include <cstdint>

#include "sim/player.h"
#include "sim/session.h"
#include "sim/world/world.h"

namespace sim {

namespace {

// A follow camera behind the frame: (p.x - 3 X.x, p.y - 3 X.y, p.z + 0.5).
void BehindFrame(const kxmatrix& frame, float out[3]) {
  out[0] = frame.R.x - kFollowBack * frame.X.x;
  out[1] = frame.R.y - kFollowBack * frame.X.y;
  out[2] = frame.R.z + kFollowUp;
}

void Zero(float v[3]) { v[0] = v[1] = v[2] = 0.0f; }

void FollowAircraft(simcamera& camera, const kxdflightstate& aircraft) {
  BehindFrame(aircraft.frame, camera.position);
  for (int k = 0; k < 3; ++k) camera.velocity[k] = aircraft.velocity[k];
  Zero(camera.accel);
}

bool SharedScreen() { return session.run.player_count > 1 && session.settings.game_type == kGameSingle; }

}  // namespace

bool IsRecordedView(cameraview view) {
  return view == kViewRecordFixed || view == kViewRecordFollow || view == kViewRecordCockpit;
}

viewmode LiveView(viewmode mode) {
  return mode == kViewRecordFollow ? kViewFollow : mode == kViewRecordCockpit ? kViewCockpit : kViewFixed;
}

/* The recording held may be another aircraft's, made in another flight:
   kept as it was, a recorded view would open the flight on that aircraft
   standing at the start of its recording. The recording itself stays, to
   be played and looked at again by choice. */
void StartWithLiveViews(simplayer* p) {
  if (!p) return;
  if (IsRecordedView(p->view_mode)) p->view_mode = LiveView(p->view_mode);
  if (IsRecordedView(p->camera[2].type)) p->camera[2].type = kCameraAircraft;
}

// Without an aircraft the mode and its field of view are still chosen (they
// are the player's settings); only the placements need the aircraft.
void SetViewMode(simplayer* p, viewmode mode) {
  if (!p) return;
  const kxdflightstate* aircraft = p->flight_state;
  const bool recorded = p->recording.present != 0;
  if (TheWorld()->photo) {
    if (!recorded && (mode == kViewFollow || mode == kViewCockpit || mode == kViewCockpitInstruments)) mode = kViewFixed;
    if (recorded && (mode == kViewRecordFollow || mode == kViewRecordCockpit)) mode = kViewRecordFixed;
  }
  simplayer& first = players[0];
  if (aircraft && p != &first && SharedScreen() && first.camera[2].type == kViewFollow)
    FollowAircraft(first.camera[2], *aircraft);
  simcamera& own = p->camera[2];
  if (own.type == kViewFollow && !SharedScreen()) {
    if (aircraft) FollowAircraft(own, *aircraft);
  } else if (own.type == kViewRecordFollow) {
    BehindFrame(p->recording.pose, own.position);
    Zero(own.velocity);
    Zero(own.accel);
  }

  if (recorded && (mode == kViewRecordFixed || mode == kViewRecordFollow || mode == kViewRecordCockpit)) {
    if (mode == kViewRecordFixed) p->fov_choice = simplayer::kFovFixed;
    if (mode == kViewRecordCockpit) p->fov_choice = simplayer::kFovCockpit;
    if (mode == kViewRecordFollow) {
      p->fov_choice = simplayer::kFovFollow;
      BehindFrame(p->recording.pose, p->viewer_position());
      Zero(p->viewer_velocity);
      Zero(p->viewer_accel);
    }
    p->view_mode = mode;
    return;
  }
  switch (mode) {
    case kViewFollow:
      p->fov_choice = simplayer::kFovFollow;
      if (!aircraft) break;
      BehindFrame(aircraft->frame, p->viewer_position());
      for (int k = 0; k < 3; ++k) p->viewer_velocity[k] = aircraft->velocity[k];
      Zero(p->viewer_accel);
      break;
    case kViewCockpit:
    case kViewCockpitInstruments:
      p->fov_choice = simplayer::kFovCockpit;
      break;
    case kViewFixedAutozoom:
      p->fov_choice = simplayer::kFovFixed;
      break;
    default:
      p->fov_choice = simplayer::kFovFixed;
      mode = kViewFixed;
      break;
  }
  p->view_mode = mode;
  if (aircraft && (mode == kViewFixed || mode == kViewFixedAutozoom)) {
    float* v = p->viewer_position();
    const float* a = aircraft->position();
    float d[3] = {v[0] - a[0], v[1] - a[1], v[2] - a[2]};
    if (d[0] * d[0] + d[1] * d[1] + d[2] * d[2] < kFixedMinDistance * kFixedMinDistance) {
      for (int k = 0; k < 3; ++k) v[k] = a[k] - kFixedBack * aircraft->row_x()[k] + kFixedUp * aircraft->row_z()[k];
    }
  }
}

void CheckViewports(int check) {
  const simsession& s = session;
  const int W = s.run.viewport_width, H = s.run.viewport_height;
  for (int i = 0; i < kPlayers; ++i) {
    simplayer& p = players[i];
    for (int k = 0; k < simplayer::kCameras; ++k) {
      simcamera& c = p.camera[k];
      // In 64 bits: the places and sizes come from the settings files.
      bool inside = c.x >= 0 && c.y >= 0 && int64_t{c.x} + c.width <= W && int64_t{c.y} + c.height <= H;
      if (check && inside) continue;
      if (k == 0) {
        c.x = W - c.width;
        c.y = 0;
      } else if (k == 1) {
        c.x = 0;
        c.y = 0;
      } else {
        int bar = (i == 0 && s.settings.game_type == kGameSplitAbove) ? 0 : s.run.menu_bar_height;
        c.x = W - c.width;
        c.y = H - bar - c.height;
      }
    }
  }
}

}  // namespace sim
