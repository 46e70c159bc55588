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

// A switch of one of the player's sub-records (the head-up display, the trace).
template <class Part>
void TogglePlayer(int index, const char* command, Part simplayer::*part, int Part::*flag) {
  if (simplayer* p = LinkedPlayer(index, command)) Toggle((p->*part).*flag);
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
  session.settings.cloud_type = type;
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
  session.settings.units = kUnitsMetric;
  units::SetMetric();
}

void UnitEnglish() {
  session.settings.units = kUnitsImperial;
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
void InfoVelocity(int p) { TogglePlayer(p, "InfoVelocity", &simplayer::hud, &playerhud::show_velocity); }
void InfoHeight(int p) { TogglePlayer(p, "InfoHeight", &simplayer::hud, &playerhud::show_height); }
void InfoHeightMSL(int p) { TogglePlayer(p, "InfoHeightMSL", &simplayer::hud, &playerhud::show_heightmsl); }
void InfoHeading(int p) { TogglePlayer(p, "InfoHeading", &simplayer::hud, &playerhud::show_heading); }
void InfoRPM(int p) { TogglePlayer(p, "InfoRPM", &simplayer::hud, &playerhud::show_rpm); }
void InfoFPS(int p) { TogglePlayer(p, "InfoFPS", &simplayer::hud, &playerhud::show_fps); }

// --- trace

void TraceView(int p) { TogglePlayer(p, "TraceView", &simplayer::trace, &playertrace::view); }

void TraceStart(int index) {
  simplayer* p = LinkedPlayer(index, "TraceStart");
  if (!p) return;
  p->trace.on = 1;
  p->trace.view = 1;
}

void TraceStop(int index) {
  if (simplayer* p = LinkedPlayer(index, "TraceStop")) p->trace.on = 0;
}

void TraceClear(int index) {
  simplayer* p = LinkedPlayer(index, "TraceClear");
  if (!p) return;
  // The samples go; sampling and drawing go on as they were.
  const int on = p->trace.on, view = p->trace.view;
  p->trace = {};
  p->trace.on = on;
  p->trace.view = view;
}

// --- clouds and toggles

void SetCloudsNone() { SetClouds(kCloudsNone); }
void SetCloudsNice() { SetClouds(kCloudsFair); }
void SetCloudsRain() { SetClouds(kCloudsRain); }

void ToogleTrees() { Toggle(session.settings.show_trees); }
void ToogleTreeCollision() { Toggle(session.settings.tree_collision); }
void ToogleSmoke() { Toggle(session.settings.show_smoke); }
void ToogleExhaust() { Toggle(session.settings.show_exhaust); }
void ToogleAircraftRefl() { Toggle(session.settings.gl_aircraft_reflections); }
void ToogleSunBlend() { Toggle(session.settings.gl_sun_blend); }
void ToogleFog() { Toggle(session.settings.gl_fog); }
void ShowTips() { Toggle(session.settings.show_tips); }

void ToogleVSYNC() {
  Toggle(session.settings.use_vsync);
  kxsystem::CallHook(session.settings.use_vsync);
}

}  // namespace sim
