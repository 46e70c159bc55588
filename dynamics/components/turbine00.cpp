#include <cmath>

#include "core/maths.h"
#include "dynamics/compiled.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/turbines.h"
#include "dynamics/instance.h"

kxtype kxdturbine00::Type("kxdturbine00", sizeof(kxdturbine00), kxcreate<kxdturbine00>);

using kxdcomponent::Clamp;
using kxdcomponent::Read;

namespace {

constexpr float kPlainIdle = 0.02f;     // throttle floor of the plain jet
constexpr float kIdleRpm = 30000.0f;    // turbine speed at closed throttle
constexpr float kRpmSpan = 90000.0f;    // added at full throttle
using kxmaths::kRadiansPerSecondPerRpm;
constexpr float kRpmFactor = 9.58f;     // turbine speed to the published rpm value
constexpr float kDragSpeed = 200.0f;    // m/s: a = V / 200
constexpr float kFadeSpeed = 400.0f;    // m/s: full-throttle thrust is gone at 400 m/s

}  // namespace

kxdturbine00* kxdturbine00::As(kxnode* node) { return kxnode::As<kxdturbine00>(node); }

kxdturbine00::kxdturbine00() {
  type = &Type;
  Speed = 0.0f;
  RotationMax = 0.0f;
  ThrustMax = 100.0f;
  PowerMax = 1000.0f;
  PowerMaxRevs = 1000.0f;
  TorqueFactor = 0.0f;
  ExhaustR = {0.0f, 0.0f, 0.0f, 1.0f};
  SoundRPMIdle = 30000.0f;
  SoundRPMMax = 130000.0f;
  Sound1 = 10000.0f;
  Sound2 = 10000.0f;
  ThrottleControl = nullptr;
  idleFloor = kPlainIdle;
}

kxdturbine00::~kxdturbine00() { Sound.Release(); }

float kxdturbine00::ThrottleAbove(float floor) const {
  float t = ThrottleControl ? (Read(ThrottleControl) + 1.0f) * 0.5f : 0.0f;
  return Clamp(t, floor, 1.0f);
}

float kxdturbine00::Thrust(float t, float speed) const {
  float a = speed / kDragSpeed;
  float thrust = ThrustMax * (t * (1.0f + a - speed / kFadeSpeed) - a);
  return std::isfinite(thrust) ? thrust : 0.0f;
}

void kxdturbine00::ComputeChange(kxdintegrable* change, int flag) {
  if (const kxdfold* fold = kxdcompiled::FoldOf(this)) {
    // The jet's speed over the ground and its X axis in the carrier's axes.
    kxdcarrierframe& carrier = *fold->carrier;
    const kxvector4r& p = fold->relative.R;
    const kxvector4r turn = kxvector4ops::Cross(carrier.omega, p);
    const kxvector4r v = {carrier.velocity.x + turn.x, carrier.velocity.y + turn.y, carrier.velocity.z + turn.z,
                          0.0f};
    float thrust = Thrust(ThrottleAbove(idleFloor), kxvector4r::Length(v));
    const kxvector4r& x = fold->relative.X;
    carrier.AddLoad({thrust * x.x, thrust * x.y, thrust * x.z, 0.0f}, p);
    ActFoldedIfNeeded(*fold);
    return;
  }
  float thrust = Thrust(ThrottleAbove(idleFloor), kxvector4r::Length(D.R));
  // Added to what the accumulator holds rather than replacing it, so a force
  // another part handed to this body in the same pass is not lost.
  Force.x += thrust * B.X.x;
  Force.y += thrust * B.X.y;
  Force.z += thrust * B.X.z;
  kxdbody::ComputeChange(change, flag);
}

void kxdturbine00::Analyse() {
  Sound.Load();
  kxdbody::Analyse();
}

void kxdturbine00::PrepareSound() {
  if (!Sound.sample) Sound.Load();
}

void kxdturbine00::Prepare() {
  PrepareSound();
  kxdbody::Prepare();
}

void kxdturbine00::ResetState() { kxdintegrable::ResetState(); }

void kxdturbine00::SoundAt(float speed, float* frequency, float* volume) const {
  float span = SoundRPMMax - SoundRPMIdle;
  // Equal idle and maximum keys leave no span to place the speed in.
  float x = span != 0.0f ? (speed / kRadiansPerSecondPerRpm - SoundRPMIdle) / span : 0.0f;
  x = std::isfinite(x) ? Clamp(x, 0.0f, 1.0f) : 0.0f;
  *frequency = Sound1 + Sound2 * x;
  *volume = 0.9f + 0.1f * x;
}

void kxdturbine00::UpdateSpeedAndSound() {
  float t = ThrottleAbove(0.0f);
  Speed = (kIdleRpm + kRpmSpan * t) * kRadiansPerSecondPerRpm;
  if (Instance) Instance->RPMValue = Speed * kRpmFactor;
  float frequency, volume;
  SoundAt(Speed, &frequency, &volume);
  Sound.Update(frequency, volume, &B.R.x, &D.R.x);
}

void kxdturbine00::UpdateVisual() {
  UpdateSpeedAndSound();
  kxdbody::UpdateVisual();
}

