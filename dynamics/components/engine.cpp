#include "dynamics/components/engine.h"

#include <cmath>

#include "core/maths.h"
#include "dynamics/compiled.h"
#include "dynamics/instance.h"

kxtype kxdengine::Type("kxdengine", sizeof(kxdengine), nullptr);

namespace {
constexpr int kTypeStartRamp = 2;  // aircraft type bit: engines start throttled back

kxdengine* Twin(const kxdengine* self, kxdintegrable* change) {
  return change && change->type == self->type ? static_cast<kxdengine*>(change) : nullptr;
}
}  // namespace

float kxdengine::GetRPM() { return W * kxmaths::kRpmPerRadianPerSecond; }

kxdengine* kxdengine::As(kxnode* node) { return kxnode::As<kxdengine>(node); }

void kxdengine::ComputeChange(kxdintegrable* change, int flag) {
  float reaction = 0.0f;
  float net = Load + DriveTorque(&reaction);
  if (kxdengine* twin = Twin(this, change)) twin->W = RotatingInertia > 0.0f ? net / RotatingInertia : 0.0f;
  if (const kxdfold* fold = kxdcompiled::FoldOf(this)) {
    // The block's X axis in its carrier's axes; the weight goes with the
    // carrier's.
    kxvector4r& t = fold->carrier->torque;
    const kxvector4r& x = fold->relative.X;
    t.x -= reaction * x.x;
    t.y -= reaction * x.y;
    t.z -= reaction * x.z;
    Load = 0.0f;
    ActFoldedIfNeeded(*fold);
    return;
  }
  Torque.x -= reaction * B.X.x;
  Torque.y -= reaction * B.X.y;
  Torque.z -= reaction * B.X.z;
  Load = 0.0f;
  kxdbody::ComputeChange(change, flag);
}

/* A stiff drive (a low speed constant, a small resistance, a strong
   reduction, a light propeller) would overshoot its balance speed in one
   substep and swing further every step after. With b the drive's damping
   and J the inertia, the plain step dt W' goes past the speed where the
   torque balances once dt b / J exceeds 1: the step is then cut to reach
   that speed, W' J / b. Below it the step is the plain one, so drives the
   substep follows fly as they always did. */
void kxdengine::StepShaft(kxdintegrable* change, float dt) {
  if (kxdengine* twin = Twin(this, change)) {
    float damping = DriveDamping();
    // Without damping the step is never cut (and the library's fmax not
    // called in every substep).
    float slowing = RotatingInertia > 0.0f && damping != 0.0f ? std::fmax(1.0f, dt * damping / RotatingInertia) : 1.0f;
    float w = W + dt * twin->W / slowing;
    if (std::isfinite(w)) W = w;
  }
  if (Start > 0.0f) Start -= startDecay * dt;
}

void kxdengine::Integrate(kxdintegrable* change, int flag, float dt) {
  StepShaft(change, dt);
  kxdbody::Integrate(change, flag, dt);
}

void kxdengine::ResetShaft() {
  Strike = 0;
  Start = Instance && (Instance->TypeWord & kTypeStartRamp) ? 1.0f : 0.0f;
}
