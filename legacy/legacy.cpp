#include "legacy/legacy.h"

#include "core/hooks.h"
#include "dynamics/flight_state.h"
#include "legacy/drawing.h"
#include "legacy/entry_points.h"
#include "legacy/loader.h"
#include "legacy/model_state.h"
#include "sim/app_hooks.h"
#include "sim/session.h"

namespace dnsmodel {
namespace {

// The menu's turntable has applied the model's frame: the parts in the
// caller's frame.
void DrawTransparentParts() {
  DrawFlaggedParts();
  DrawRotorParts();
}

// The scene's transparent pass.
void DrawViewTransparent() {
  DrawRotorPartsView();
  DrawFlaggedPartsView();
  DrawRotorDiscs();
}

// The aircraft-only window, after the solid parts.
void DrawViewRest() {
  DrawFlaggedPartsView();
  DrawRotorPartsView();
}

}  // namespace

int LoadForSimulator(const char* stem, int* kind) {
  if (!LoadWithPropBlur(stem, sim::session.sound, kind)) return 0;
  if (Runtime().state.parts) return 1;
  kxcore::Log("dnsmodel:  model %s has no parts; nothing to fly\n", stem);
  Unload();
  return 0;
}

void StepFlightState(int sound, float dt, kxdflightstate* s, float* speed) {
  Step(sound, s->frame.Data(), dt, &s->crash, &s->crash_kind, &s->ground_contact, &s->flags, &s->engine_rpm,
       s->velocity, speed, &s->control_value);
}

void PlaceAt(const kxmatrix& frame, const float velocity[4]) { SetPose(frame.Data(), velocity); }

void TransformInto(kxmatrix* out) { GetTransform(out->Data()); }

void InstallHooks(sim::applicationhooks* hooks) {
  if (!hooks) return;
  hooks->legacy_load = LoadForSimulator;
  hooks->legacy_unload = Unload;
  hooks->legacy_draw_solid = DrawSolidParts;
  hooks->legacy_draw_transparent = DrawTransparentParts;
  hooks->legacy_draw_plain = DrawPartsGeometry;
  hooks->legacy_view_solid = DrawSolidPartsView;
  hooks->legacy_view_transparent = DrawViewTransparent;
  hooks->legacy_view_rest = DrawViewRest;
  hooks->legacy_view_plain = DrawPartsPlain;
  hooks->legacy_step = StepFlightState;
  hooks->legacy_set_pose = PlaceAt;
  hooks->legacy_get_transform = TransformInto;
  hooks->legacy_get_bounds = GetBounds;
  hooks->legacy_state_flag = IsPiccolo;
}

}  // namespace dnsmodel
