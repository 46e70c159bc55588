#include "legacy/legacy.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "core/hooks.h"
#include "dynamics/flight_state.h"
#include "legacy/drawing.h"
#include "legacy/entry_points.h"
#include "legacy/loader.h"
#include "legacy/model_names.h"
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
  if (!LoadWithPropBlur(stem, sim::session.settings.sound, kind)) return 0;
  if (Runtime().state.parts) return 1;
  kxcore::Log("dnsmodel:  model %s has no parts; nothing to fly\n", stem);
  Unload();
  return 0;
}

void StepFlightState(int sound, float dt, kxdflightstate* s, float* speed) {
  const std::optional<dnsstep> out = Step(sound, dt);
  if (!out) return;
  std::copy(std::begin(out->transform), std::end(out->transform), s->frame.Data());
  s->crash = out->crashed;
  s->crash_kind = out->inWater ? kxdflightstate::kCrashWater : kxdflightstate::kCrashGround;
  s->ground_contact = out->onGround;
  s->flags = out->kind;   // the kind code is the type word's flag bits
  s->engine_rpm = out->spin;
  std::copy(std::begin(out->velocity), std::end(out->velocity), s->velocity);
  *speed = out->forwardSpeed;
  s->control_value = out->throttle;
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
  hooks->legacy_folder_model = IsPiccoloModel;
}

}  // namespace dnsmodel
