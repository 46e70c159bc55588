// Sections: gyro laws; keys, copies and file lines; lifecycle; force pass
// and integration.
#include "dynamics/components/tail_rotor.h"

#include <cmath>

#include "core/hooks.h"
#include "core/maths.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/engine.h"
#include "dynamics/components/ground_contact.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/rotor_lanes.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"

kxtype kxdtailrotor00::Type("kxdtailrotor00", sizeof(kxdtailrotor00), kxcreate<kxdtailrotor00>);

namespace {

constexpr float kDeadBand = 0.05f;         // of the stick
constexpr float kHoldGain = 10.0f;         // command per rad of heading error
constexpr float kHoldRateShare = 0.02f;    // s, the rate's share in the hold command
constexpr float kLiftSlope = 0.4f;         // per rad, Ct0 each step
constexpr float kThrustPi = 3.1415f;       // the thrust law's own value of pi
constexpr float kMinTipSpeed = 0.001f;     // m/s
constexpr int kStrikeEvery = 10;           // steps between strike tests
using kxmaths::kPi;

using namespace kxdkeys;
using T = kxdtailrotor00;

// The body's lines first; PitchMax before PitchMin. The range keys, the
// rpm value and the strike countdown stay with the template.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(T, Body, kCarrier, kRemap),
    KXD_KEY(T, R0, kPoint, kCopy),
    KXD_KEY(T, Radius, kReal, kCopy),
    KXD_KEY(T, RangeRadiusMax, kReal, kNone),
    KXD_KEY(T, RangeRadiusMin, kReal, kNone),
    KXD_KEY(T, PitchMax, kReal, kCopy),
    KXD_KEY(T, PitchMin, kReal, kCopy),
    KXD_KEY(T, GearRatio, kReal, kCopy),
    KXD_KEY(T, GyroGain, kReal, kCopy),
    KXD_KEY(T, GyroFade, kReal, kCopy),
    KXD_KEY(T, GyroRange, kReal, kCopy),
    KXD_KEY(T, GyroSpeed, kReal, kCopy),
    KXD_KEY(T, GyroZero, kReal, kCopy),
    KXD_KEY(T, GyroLock, kInt, kCopy),
    Link("Rotor ", kNodeLink, &kxdrotor00::Type, kRemap, KXD_AT(T, Rotor)),
    Link("Rotor1 ", kNodeLink, &kxdrotor01::Type, kRemap, KXD_AT(T, Rotor1)),
    KXD_KEY(T, Engine, kEngine, kRemap),
    KXD_KEY(T, PitchPushrod, kControl, kRemap),
    KXD_KEY(T, Ct0, kReal, kCopy),
    KXD_KEY(T, Ct1, kReal, kCopy),
    KXD_KEY(T, Cq0, kReal, kCopy),
    KXD_KEY(T, Cq2, kReal, kCopy),
    Field(kCopy, KXD_AT(T, Speed), sizeof(float)),
    Field(kCopy, KXD_AT(T, Phase), sizeof(float)),
    Field(kCopy, KXD_AT(T, Zw), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(T, Placement), sizeof(kxmatrix)),
    Field(kCopy, KXD_AT(T, Broken), sizeof(int)),
    Field(kCopy, KXD_AT(T, Error), sizeof(float)),
    Field(kCopy, KXD_AT(T, Thrust), sizeof(float)),
    Field(kCopy, KXD_AT(T, Lift), sizeof(float)),
};

using V = kxvector4r;
using kxdrotorlanes::InFrame;

}  // namespace

const kxdkeytable kxdtailrotor00::Keys(kRows);

// ---- gyro laws

namespace kxdtailgyro {

float RateCommand(float input, float yawRate, float gain, float range) {
  return kxdcomponent::Clamp(gain * yawRate, -range, range) + input;
}

float DeadBand(float input) {
  if (input > kDeadBand) return input - kDeadBand;
  if (input < -kDeadBand) return input + kDeadBand;
  return 0.0f;
}

float HoldCommand(float error, float yawRate, float gain) {
  return kxdcomponent::Clamp(gain * kHoldGain * (error + kHoldRateShare * yawRate), -1.0f, 1.0f);
}

}  // namespace kxdtailgyro

// ---- keys, copies and file lines

kxdtailrotor00* kxdtailrotor00::As(kxnode* node) { return kxnode::As<kxdtailrotor00>(node); }

kxdtailrotor00::kxdtailrotor00() {
  type = &Type;
  Contact = 0;
  Mass = 1.0f;
  B.X = {0.0f, 0.0f, 1.0f, 0.0f};
  B.Y = {1.0f, 0.0f, 0.0f, 0.0f};
  B.Z = {0.0f, 1.0f, 0.0f, 0.0f};
  Body = nullptr;
  R0 = {0.0f, 0.0f, 0.0f, 0.0f};
  Radius = 1.0f;
  RangeRadiusMax = RangeRadiusMin = 0.0f;
  PitchMin = -0.1f;
  PitchMax = 0.1f;
  Rotor = Rotor1 = Engine = nullptr;
  GearRatio = 1.0f;
  GyroGain = 1.0f;
  GyroFade = 1.0f;
  GyroRange = 0.25f;
  GyroZero = 0.0f;
  GyroSpeed = 10.0f;
  GyroLock = 0;
  Ct0 = Ct1 = Cq0 = Cq2 = 0.0f;
  PitchPushrod = nullptr;
  Speed = Phase = RPMValue = Error = Thrust = Lift = 0.0f;
  Broken = 0;
  Countdown = 0;
  kxmatrix::SetIdentity(&Placement);
  Xw = B.X;
  Yw = B.Y;
  Zw = B.Z;
  Skipped = 0;
}

float kxdtailrotor00::GetRPM() { return RPMValue; }

// ---- lifecycle

void kxdtailrotor00::Prepare() {
  Broken = 0;
  Countdown = 0;
  Skipped = 0;
  Body = kxdcomponent::MountOnFuselage(parent, B, &Placement, &R0);
  Zw = B.Z;
  Thrust = Speed = Phase = Error = 0.0f;
  kxdbody::Prepare();
}

void kxdtailrotor00::UpdateVisual() {
  // A carried rotor's substeps keep the unturned frame its carrier gives it;
  // the drawn blades (and what is recorded of them) show the phase.
  if (ParentBody && Body && !Broken) TurnFrame(Body->B);
  SyncGeometry();
  kxdgeometry::PlaceChildren(this);
  kxdintegrable::UpdateVisual();
}

// ---- force pass and integration

void kxdtailrotor00::TurnFrame(const kxmatrix& F) {
  Zw = InFrame(Placement.Z, F);
  Xw = InFrame(Placement.X, F);
  Yw = InFrame(Placement.Y, F);
  float c = std::cos(Phase), s = std::sin(Phase);
  B.X = {Xw.x * c - Yw.x * s, Xw.y * c - Yw.y * s, Xw.z * c - Yw.z * s, 0.0f};
  B.Y = {Yw.x * c + Xw.x * s, Yw.y * c + Xw.y * s, Yw.z * c + Xw.z * s, 0.0f};
  B.Z = Zw;
}

float kxdtailrotor00::DriveSpeed(float speed) const {
  // A gear ratio of 0 would divide by zero: no drive from any source then.
  float ratio = GearRatio > 0.0f ? GearRatio : 0.0f;
  auto from = [ratio](float w) { return ratio > 0.0f ? w / ratio : 0.0f; };
  if (kxdengine* e = kxdengine::As(Engine)) speed = from(e->W);
  if (Rotor && Rotor->type == &kxdrotor00::Type) {
    const kxdmainrotor* r = static_cast<const kxdmainrotor*>(Rotor);
    speed = from(r->Spin * r->GearRatio);
  }
  if (Rotor1 && Rotor1->type == &kxdrotor01::Type) {
    const kxdmainrotor* r = static_cast<const kxdmainrotor*>(Rotor1);
    speed = from(r->Spin * r->GearRatio);
  }
  return std::isfinite(speed) ? speed : 0.0f;
}

float kxdtailrotor00::PitchFor(float cmd, float vt, float vax) const {
  float inflow = std::fabs(vt) >= kMinTipSpeed ? vax * 0.5f / vt : 0.0f;
  return (cmd + GyroZero + 1.0f) * (PitchMax - PitchMin) * 0.5f + PitchMin - inflow;
}

float kxdtailrotor00::AskExtent() const {
  if (!Geometry) return kxdbody::AskExtent();
  return kxdground::WiderAsk(kxdbody::AskExtent(), kxdground::BoxAskExtent(Geometry->box, B));
}

void kxdtailrotor00::StrikeTest() {
  if (--Countdown >= 1) return;
  Countdown = kStrikeEvery;
  kxdcontact hit;
  if (Geometry && kxdground::FacesStrike(Geometry->box, B, &hit, Instance)) Broken = 1;
}

void kxdtailrotor00::ComputeChange(kxdintegrable* change, int flag) {
  if (PlacesItself()) FollowForForcePass();
  kxdtailrotor00* d = kxdcomponent::TwinOf(this, change);
  if (!d || !Body) {
    if (!Body && !Skipped) {
      Skipped = 1;
      kxcore::Log("kxdtailrotor00:  %s has no fuselage \"Fuselage\"; no thrust\n", name.Text());
    }
    kxdbody::ComputeChange(change, flag);
    return;
  }
  StrikeTest();
  d->Error = 0.0f;
  if (!Broken) {
    const kxmatrix& F = Body->B;
    float input = kxdcomponent::Read(PitchPushrod);
    float q = kxvector4r::Dot(Body->D.X, F.Y);
    float cmd;
    if (GyroLock == 0) {
      cmd = kxdtailgyro::RateCommand(input, q, GyroGain, GyroRange);
    } else {
      d->Error = kxdtailgyro::DeadBand(input) * GyroSpeed + q;
      Error = kxdcomponent::Clamp(Error, -kMaxError, kMaxError);
      cmd = kxdtailgyro::HoldCommand(Error, q, GyroGain);
    }
    cmd = kxdcomponent::Clamp(cmd, -1.0f, 1.0f);
    float vt = Speed * Radius;
    V r0 = R0;
    r0.w = 1.0f;
    V velocity = InFrame(r0, Body->D);
    float vax = kxvector4r::Dot(velocity, Zw);
    float theta = PitchFor(cmd, vt, vax);
    Ct0 = kLiftSlope;
    Ct1 = 0.0f;
    Lift = Ct0 * theta / (1.0f + Ct1 * std::fabs(theta));
    Thrust = Lift * kThrustPi * Radius * Radius * vt * vt;
    if (!std::isfinite(Thrust)) Thrust = 0.0f;
    // PushForce at the hub: on the free body at the carrier chain's end.
    const kxdrotorlanes::lanes force = kxlanes::Mul(kxdrotorlanes::Lanes(Zw), kxlanes::Splat(Thrust));
    kxdrotorlanes::AddForceAt(Body->RootCarrier(), force, kxdrotorlanes::Turned(F, r0));
  }
  d->Phase = Speed;
  kxdbody::ComputeChange(change, flag);
}

void kxdtailrotor00::Integrate(kxdintegrable* change, int, float dt) {
  kxdtailrotor00* d = kxdcomponent::TwinOf(this, change);
  if (!d) return;
  Phase += d->Phase * dt;
  // Kept within one turn so the float keeps its resolution.
  if (Phase > 2.0f * kPi || Phase < -2.0f * kPi) Phase = std::fmod(Phase, 2.0f * kPi);
  Speed = DriveSpeed(Speed);
  RPMValue = 60.0f * Speed / (2.0f * kPi);
  Error += d->Error * dt;
  if (Broken || !Body) return;
  const kxmatrix& F = Body->B;
  Zw = InFrame(Placement.Z, F);
  // A carried tail rotor is placed rigidly by the follow pass right after
  // the integration: turning its frame here would be undone unseen.
  if (ParentBody) return;
  TurnFrame(F);
  V r0 = R0;
  r0.w = 1.0f;
  B.R = InFrame(r0, F);
  B.R.w = 1.0f;
  D.R = InFrame(r0, Body->D);
  // The drawn geometry follows once a frame, in UpdateVisual.
}
