// Sections: player lookup; units; view modes; second view; flight info;
// trace; clouds and toggles.
#include "sim/menu_bar_actions.h"

#include "platform/log.h"
#include "platform/window.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/units.h"
#include "sim/view_modes.h"
#include "sim/views/sky.h"
#include "sim/world/world.h"

namespace sim {

namespace {

// Behind the aircraft along its own X axis, as the follow view sits. The y
// offset takes X.y once and the x offset 3 X.x: kept as the stored
// camera2_position values have always been computed.
constexpr float kFollowBack = 3.0f;      // m along -X, x component
constexpr float kFollowRise = 0.5f;      // m above the aircraft
constexpr float kRecordFollowRise = 1.5f;  // m above the recorded aircraft

void Toggle(int& flag) { flag = flag == 0 ? 1 : 0; }

void SetView(int index, viewmode mode, const char* command) {
  if (simplayer* p = LinkedPlayer(index, command)) SetViewMode(p, mode);
}

void TogglePlayer(int index, const char* command, int simplayer::*flag) {
  if (simplayer* p = LinkedPlayer(index, command)) Toggle(p->*flag);
}

void SetCamera2Type(int index, const char* command, cameraview type, bool needsRecording) {
  simplayer* p = LinkedPlayer(index, command);
  if (!p || (needsRecording && !p->recording.present)) return;
  p->camera[2].type = type;
}

void PlaceCamera2Behind(simcamera& c, const float* X, const float* R, float rise) {
  c.position[0] = R[0] - kFollowBack * X[0];
  c.position[1] = R[1] - X[1];
  c.position[2] = R[2] + rise;
}

void SetClouds(cloudtype type) {
  session.cloud_type = type;
  BuildSky(TheWorld());
}

}  // namespace

// --- player lookup

simplayer* LinkedPlayer(int index, const char* command) {
  simplayer* p = index >= 0 ? &players[0] : nullptr;
  for (int i = 0; p && i < index; ++i) p = p->next;
  if (!p) kxsystem::Log("sim:  %s(%d): no such player\n", command, index);
  return p;
}

// --- units

void UnitMetric() {
  session.units = kUnitsMetric;
  units::SetMetric();
}

void UnitEnglish() {
  session.units = kUnitsImperial;
  units::SetImperial();
}

// --- view modes

void ViewFixed(int p) { SetView(p, kViewFixed, "ViewFixed"); }
void ViewFixedAZ(int p) { SetView(p, kViewFixedAutozoom, "ViewFixedAZ"); }
void ViewFollow(int p) { SetView(p, kViewFollow, "ViewFollow"); }
void ViewCockpit(int p) { SetView(p, kViewCockpit, "ViewCockpit"); }
void ViewCockpitInstruments(int p) { SetView(p, kViewCockpitInstruments, "ViewCockpitInstruments"); }
void ViewRecordR(int p) { SetView(p, kViewRecordFixed, "ViewRecordR"); }
void ViewRecordF(int p) { SetView(p, kViewRecordFollow, "ViewRecordF"); }
void ViewRecordC(int p) { SetView(p, kViewRecordCockpit, "ViewRecordC"); }

// --- second view

void CameraOnOff(int index) {
  if (simplayer* p = LinkedPlayer(index, "CameraOnOff")) Toggle(p->camera[2].on);
}

void View2Acft(int p) { SetCamera2Type(p, "View2Acft", kCameraAircraft, false); }
void View2Wind(int p) { SetCamera2Type(p, "View2Wind", kCameraWind, false); }
void View2Fixed(int p) { SetCamera2Type(p, "View2Fixed", kViewFixed, false); }
void View2RecordR(int p) { SetCamera2Type(p, "View2RecordR", kViewRecordFixed, true); }
void View2RecordC(int p) { SetCamera2Type(p, "View2RecordC", kViewRecordCockpit, true); }

void View2Follow(int index) {
  simplayer* p = LinkedPlayer(index, "View2Follow");
  if (!p) return;
  simcamera& c = p->camera[2];
  c.type = kViewFollow;
  const kxdflightstate* s = p->flight_state;
  if (!s) return;  // no aircraft to follow yet: the viewer places the camera when one flies
  PlaceCamera2Behind(c, &s->frame.X.x, &s->frame.R.x, kFollowRise);
  for (int i = 0; i < 3; ++i) {
    c.velocity[i] = s->velocity[i];
    c.accel[i] = 0;
  }
}

void View2RecordF(int index) {
  simplayer* p = LinkedPlayer(index, "View2RecordF");
  if (!p || !p->recording.present) return;
  simcamera& c = p->camera[2];
  c.type = kViewRecordFollow;
  PlaceCamera2Behind(c, &p->recording.pose.X.x, &p->recording.pose.R.x, kRecordFollowRise);
  for (int i = 0; i < 3; ++i) c.velocity[i] = c.accel[i] = 0;
}

// --- flight info

void InfoOnOff(int index) {
  if (simplayer* p = LinkedPlayer(index, "InfoOnOff")) Toggle(p->camera[0].on);
}
void InfoVelocity(int p) { TogglePlayer(p, "InfoVelocity", &simplayer::show_velocity); }
void InfoHeight(int p) { TogglePlayer(p, "InfoHeight", &simplayer::show_height); }
void InfoHeightMSL(int p) { TogglePlayer(p, "InfoHeightMSL", &simplayer::show_heightmsl); }
void InfoHeading(int p) { TogglePlayer(p, "InfoHeading", &simplayer::show_heading); }
void InfoRPM(int p) { TogglePlayer(p, "InfoRPM", &simplayer::show_rpm); }
void InfoFPS(int p) { TogglePlayer(p, "InfoFPS", &simplayer::show_fps); }

// --- trace

void TraceView(int p) { TogglePlayer(p, "TraceView", &simplayer::trace_view); }

void TraceStart(int index) {
  simplayer* p = LinkedPlayer(index, "TraceStart");
  if (!p) return;
  p->trace_on = 1;
  p->trace_view = 1;
}

void TraceStop(int index) {
  if (simplayer* p = LinkedPlayer(index, "TraceStop")) p->trace_on = 0;
}

void TraceClear(int index) {
  simplayer* p = LinkedPlayer(index, "TraceClear");
  if (!p) return;
  p->trace_index = 0;
  p->trace_max_speed = 0;
  for (int i = 0; i < simplayer::kTraceLength; ++i) {
    p->trace_time[i] = -1.0f;
    for (int c = 0; c < 3; ++c) p->trace_position[i][c] = p->trace_axis[i][c] = 0;
    p->trace_speed[i] = p->trace_height[i] = 0;
  }
}

// --- clouds and toggles

void SetCloudsNone() { SetClouds(kCloudsNone); }
void SetCloudsNice() { SetClouds(kCloudsFair); }
void SetCloudsRain() { SetClouds(kCloudsRain); }

void ToogleTrees() { Toggle(session.show_trees); }
void ToogleTreeCollision() { Toggle(session.tree_collision); }
void ToogleSmoke() { Toggle(session.show_smoke); }
void ToogleExhaust() { Toggle(session.show_exhaust); }
void ToogleAircraftRefl() { Toggle(session.gl_aircraft_reflections); }
void ToogleSunBlend() { Toggle(session.gl_sun_blend); }
void ToogleFog() { Toggle(session.gl_fog); }
void ShowTips() { Toggle(session.show_tips); }

void ToogleVSYNC() {
  Toggle(session.use_vsync);
  kxsystem::CallHook(session.use_vsync);
}

}  // namespace sim
