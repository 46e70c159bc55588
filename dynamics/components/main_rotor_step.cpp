// The main rotor's force pass and integration. Sections: placing the rotor
// frame; links; strike test; disc axis and drive; flybar; induced flow;
// integration (the blades and their flapping are in rotor_blades.cpp).
#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/hooks.h"
#include "core/lanes.h"
#include "core/maths.h"
#include "dynamics/air_model.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/engine.h"
#include "dynamics/components/ground_contact.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/rotor_lanes.h"
#include "dynamics/instance.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"

namespace {

using kxdynamics::kAirDensity;
using kxdynamics::kHalfAirDensity;
using kxmaths::kPi;
constexpr float kAxisPullSpeed = 16.0f;     // m/s; above it the disc axis follows only the rate term
constexpr float kAxisPullScale = 0.0625f;   // 1/(m/s)^2 s
constexpr float kFlybarDamping = 0.2f;      // N m s
constexpr float kFriction = 0.4f;           // rad/s^2 while turning
constexpr float kMinThrust = 0.001f;        // N
constexpr float kMinInflow = 0.001f;        // m/s
constexpr float kWrapAngle = 628.31854f;    // rad, one hundred turns
constexpr float kRpmFactor = 9.58f;         // rotor speed to the main body's rpm value

using namespace kxdrotorlanes;
using kxvector4ops::Dot;
using kxvector4ops::Dot3;
using kxvector4ops::Finite3;

// Whether the air changes along the rotor at all: any gradient term not
// zero (a NaN counts as one).
bool Sheared(const float* G) {
  const lanes zero = kl::Zero();
  const lanes low = kl::NotEqual(kl::LoadU(G), zero), high = kl::NotEqual(kl::LoadU(G + 4), zero);
  return kl::Mask(kl::Or(low, high)) != 0 || G[8] != 0.0f;
}

}  // namespace

// ---- placing the rotor frame

void kxdmainrotor::Place() {
  if (!Body) return;
  // The driver's follow pass places the rotor rigidly with its carrier; the
  // turning frame is taken again from the fuselage before it is used.
  const kxmatrix& F = Body->B;
  V r0 = R0;
  r0.w = 1.0f;
  V xw = Axis(Placement.X, F), yw = Axis(Placement.Y, F);
  if (!(Angle == placedAngle)) {
    placedAngle = Angle;
    placedCos = std::cos(Angle);
    placedSin = std::sin(Angle);
  }
  float c = placedCos, s = placedSin * static_cast<float>(Sense);
  B.X = Sub(Mul(xw, c), Mul(yw, s));
  B.Y = Add(Mul(yw, c), Mul(xw, s));
  B.Z = Axis(Placement.Z, F);
  B.R = InFrame(r0, F);
  B.X.w = B.Y.w = B.Z.w = 0.0f;
  B.R.w = 1.0f;
  D = Body->D;
}

// ---- links

int kxdmainrotor::Ready() {
  if (Body && Geometry && Blades > 0) return 1;
  if (!Skipped) {
    Skipped = 1;
    kxcore::Log("%s:  %s has no %s; the rotor stands still\n", Tag, name.Text(),
                !Body ? "fuselage \"Fuselage\"" : (!Geometry ? "geometry" : "blade"));
  }
  return 0;
}

// ---- strike test

void kxdmainrotor::MeasureStrikeReach() { strikeReach = kxdground::StrikeReach(Geometry); }

float kxdmainrotor::AskExtent() const {
  return kxdground::WiderAsk(kxdbody::AskExtent(), kxdground::StrikeAskExtent(strikeReach, B));
}

void kxdmainrotor::StrikeTest() {
  // High above everything the whole rotor is clear at once: every point a
  // part's query places lies within the longest axis times strikeReach of
  // the hub, and a query about the hub that wide finds nothing there.
  if (kxdground::ClearWithin(strikeReach, B, B.R, Instance)) return;
  kxdcontact hit;
  if (!kxdground::StruckChild(Geometry, B, &hit, Instance)) return;
  Broken = 1;
  if (Instance) Instance->Crash = 1;
  if (kxdengine* e = Shaft()) e->Strike = 1;
}

// ---- disc axis and drive

void kxdmainrotor::DriveStep(kxdmainrotor* d) {
  kxdengine* e = Shaft();
  d->Spin = 0.0f;
  d->Angle = Spin;
  if (!e) return;
  if (Sense < 0 && Angle > kWrapAngle) {
    // Rotor and engine angles drop by whole turns together, so they stay
    // in step while the floats keep their resolution.
    Angle -= kWrapAngle;
    if (float* shaft = e->ShaftAngle()) *shaft -= GearRatio * kWrapAngle;
  }
  float g = kxdrotoraero::ClutchFactor(e->W, RotationSpeedGear);
  float tau = kxdrotoraero::DriveTorque(g, e->W, GearRatio, Spin);
  if (!(tau > 0.0f)) return;
  e->Load -= tau / GearRatio;
  // The reaction acts on the free body at the end of the carrier chain, so
  // it is not lost with a carried fuselage's cleared accumulators.
  kxdbody* carrier = Body->RootCarrier();
  V reaction = Mul(Body->B.Z, TorqueFactor * tau * static_cast<float>(Sense));
  carrier->Torque.x += reaction.x;
  carrier->Torque.y += reaction.y;
  carrier->Torque.z += reaction.z;
  float izz = Inertia[10];
  if (izz > 0.0f) d->Spin = tau / izz;
}

// ---- flybar

void kxdmainrotor::FlybarStep(kxdmainrotor* d, const common& pass) {
  const V& an = pass.an;
  const kxmatrix& F = Body->B;
  V xb = Axis(Flybar.X, B), yb = Axis(Flybar.Y, B), zb = Axis(Flybar.Z, B);
  V rb = Flybar.R;
  rb.w = 1.0f;
  rb = InFrame(rb, B);
  const V& vf = Body->D.R;
  const float rf = BellHillerRadius;
  // The two paddles side by side, lane 0 on the +x side and lane 1 on the
  // other (lanes 2 and 3 repeat them): each lane takes the products and
  // sums of one paddle worked alone, component by component.
  using kl::f4;
  const f4 zero = kl::Zero(), one = kl::Splat(1.0f);
  const f4 side = kl::Set(1.0f, -1.0f, 1.0f, -1.0f);
  const f4 sideRadius = kl::Mul(side, kl::Splat(rf));
  const f4 flapped = kl::Mul(kl::Mul(kl::Splat(FlybarAngle), side), kl::Splat(rf));
  const float* x = &xb.x;
  const float* z = &zb.x;
  f4 p[3];
  for (int c = 0; c < 3; ++c) {
    p[c] = kl::Add(kl::Add(kl::Splat((&rb.x)[c]), kl::Mul(kl::Splat(x[c]), sideRadius)),
                   kl::Mul(kl::Splat(z[c]), flapped));
  }
  // The air at each paddle, as AirVelocityAt gives it.
  f4 air[3] = {zero, zero, zero};
  if (Instance) {
    const V& a = Instance->AirVelocity;
    for (int c = 0; c < 3; ++c) air[c] = kl::Splat((&a.x)[c]);
    if (const kxdbody* main = pass.sheared ? Instance->SimMainBody : nullptr) {
      const float* G = Instance->AirGradient;
      const f4 dx = kl::Sub(p[0], kl::Splat(main->B.R.x)), dy = kl::Sub(p[1], kl::Splat(main->B.R.y)),
               dz = kl::Sub(p[2], kl::Splat(main->B.R.z));
      for (int c = 0; c < 3; ++c) {
        air[c] = kl::Add(kl::Add(kl::Add(air[c], kl::Mul(kl::Splat(G[3 * c]), dx)), kl::Mul(kl::Splat(G[3 * c + 1]), dy)),
                         kl::Mul(kl::Splat(G[3 * c + 2]), dz));
      }
    }
  }
  const f4 rate = kl::Mul(kl::Splat(FlybarRate), side);
  const f4 turning = kl::Mul(sideRadius, kl::Splat(Spin));
  f4 v[3];
  for (int c = 0; c < 3; ++c) {
    const float axis = (&B.Z.x)[c];
    v[c] = kl::Sub(kl::Add(kl::Add(kl::Splat((&vf.x)[c]), kl::Mul(kl::Splat(axis), rate)),
                           kl::Mul(kl::Splat(axis), kl::Splat(Induced))),
                   kl::Add(kl::Mul(kl::Splat((&yb.x)[c]), turning), air[c]));
  }
  // Unit flow direction; none for a zero (or non-finite) speed.
  f4 speed = kl::Sqrt(kl::Add(kl::Add(kl::Mul(v[0], v[0]), kl::Mul(v[1], v[1])), kl::Mul(v[2], v[2])));
  const f4 moving = kl::And(kl::Greater(speed, zero), kl::LessEq(speed, kl::Splat(FLT_MAX)));
  const f4 length = kl::Select(moving, speed, one);
  const f4 ux = kl::And(moving, kl::Div(v[0], length)), uy = kl::And(moving, kl::Div(v[1], length)),
           uz = kl::And(moving, kl::Div(v[2], length));
  speed = kl::And(moving, speed);
  const float k = Dot(yb, an);
  const V n = Add(zb, Mul(yb, k));
  const f4 nx = kl::Splat(n.x), ny = kl::Splat(n.y), nz = kl::Splat(n.z);
  const f4 tilt = kl::Mul(kl::Splat(FlybarAngle), side);
  const f4 sx = kl::Add(kl::Mul(kl::Splat(x[0]), side), kl::Mul(kl::Splat(z[0]), tilt));
  const f4 sy = kl::Add(kl::Mul(kl::Splat(x[1]), side), kl::Mul(kl::Splat(z[1]), tilt));
  const f4 sz = kl::Add(kl::Mul(kl::Splat(x[2]), side), kl::Mul(kl::Splat(z[2]), tilt));
  // The last paddle's.
  PaddlePitch = -1.0f * k;
  auto dot = [](f4 ax, f4 ay, f4 az, f4 bx, f4 by, f4 bz) {
    return kl::Add(kl::Add(kl::Mul(ax, bx), kl::Mul(ay, by)), kl::Mul(az, bz));
  };
  // chord = span x n
  const f4 cu = dot(kl::Sub(kl::Mul(sy, nz), kl::Mul(sz, ny)), kl::Sub(kl::Mul(sz, nx), kl::Mul(sx, nz)),
                    kl::Sub(kl::Mul(sx, ny), kl::Mul(sy, nx)), ux, uy, uz);
  const f4 on = kl::Greater(cu, zero);
  const f4 nu = dot(nx, ny, nz, ux, uy, uz);
  const f4 alpha = kl::Div(nu, kl::Select(on, cu, one));
  // PaddleLift and PaddleDrag: a bound's comparison fails for a NaN, which
  // the order of Max's and Min's operands keeps.
  const f4 cl = kl::Min(kl::Splat(kxdrotoraero::kMaxLift),
                        kl::Max(kl::Splat(-kxdrotoraero::kMaxLift), kl::Mul(kl::Splat(kxdrotoraero::kPaddleSlope), alpha)));
  const f4 cd = kl::Min(kl::Splat(kxdrotoraero::kMaxPaddleDrag),
                        kl::Add(kl::Mul(kl::Mul(kl::Splat(kxdrotoraero::kPaddleDrag2), alpha), alpha),
                                kl::Splat(kxdrotoraero::kPaddleDrag0)));
  const f4 su = dot(sx, sy, sz, ux, uy, uz);
  const f4 lift = kl::Mul(kl::Mul(kl::Mul(kl::Mul(kl::Splat(kHalfAirDensity * BellHillerArea), speed), speed), cl),
                          kl::Sub(one, kl::Mul(su, su)));
  const f4 resist = kl::Mul(kl::Mul(kl::Splat(-kHalfAirDensity * BellHillerArea), cd), speed);
  const f4 fx = kl::Add(kl::Mul(v[0], resist), kl::Mul(kl::Sub(nx, kl::Mul(ux, nu)), lift));
  const f4 fy = kl::Add(kl::Mul(v[1], resist), kl::Mul(kl::Sub(ny, kl::Mul(uy, nu)), lift));
  const f4 fz = kl::Add(kl::Mul(v[2], resist), kl::Mul(kl::Sub(nz, kl::Mul(uz, nu)), lift));
  // A paddle with the air from behind its chord adds nothing: a zero,
  // which changes no sum begun at +0.
  alignas(16) float moments[4];
  kl::Store(moments, kl::And(on, kl::Mul(sideRadius, dot(fx, fy, fz, kl::Splat(zb.x), kl::Splat(zb.y), kl::Splat(zb.z)))));
  float moment = 0.0f;
  moment += moments[0];
  moment += moments[1];
  float j = BellHillerMass * rf * rf * Spin;
  float gyro = 2.0f * j * (pass.turnX * Dot3(F.X, xb) + pass.turnY * Dot3(F.Y, xb)) * static_cast<float>(Sense);
  float acc = (moment - FlybarAngle * Spin * j + gyro - kFlybarDamping * FlybarRate) / FlybarInertia;
  d->FlybarRate = std::isfinite(acc) ? acc : 0.0f;
  d->FlybarAngle = FlybarRate;
}

// ---- induced flow

void kxdmainrotor::InflowStep(const V& hubAir) {
  float vax = Dot3(Sub(D.R, hubAir), B.Z);
  float disc = kPi * Radius * Radius;
  float vh = 0.0f, vi = 0.0f;
  if (disc > 0.0f && Thrust > kMinThrust) {
    vh = std::sqrt(Thrust * 0.5f / kAirDensity / disc);
    vi = kxdrotoraero::InducedFactor(vax / vh) * vh;
  } else if (disc > 0.0f && Thrust < -kMinThrust) {
    vh = std::sqrt(-Thrust * 0.5f / kAirDensity / disc);
    vi = -kxdrotoraero::InducedFactor(-vax / vh) * vh;
  }
  vi *= kxdrotoraero::GroundEffect(HubHeight, Radius);
  if (!(std::fabs(vh) > kMinInflow)) {
    vi = 0.0f;
  } else {
    float r = std::fabs(vax) / vh;
    vi = vi / (1.0f + r * r);
  }
  Induced = std::isfinite(vi) ? vi : 0.0f;
  if (Instance) Instance->Slipstream = Mul(B.Z, -2.0f * Induced);
}

// ---- force pass

void kxdmainrotor::ComputeChange(kxdintegrable* change, int flag) {
  kxdmainrotor* d = kxdcomponent::TwinOf(this, change);
  if (!d || !Ready()) {
    kxdbody::ComputeChange(change, flag);
    return;
  }
  Place();
  StrikeTest();
  // Disc axis: the cyclic commands a tilt rate at all speeds and, slower
  // than 16 m/s, also a tilt toward the commanded axis.
  const kxmatrix& F = Body->B;
  float nick = kxdcomponent::Read(NickPushrod), roll = kxdcomponent::Read(RollPushrod);
  V cyclic = Sub(Mul(F.X, nick), Mul(F.Y, roll));
  float speed = std::sqrt(Dot3(Body->D.R, Body->D.R));
  float kc = UH0 * UH1 * Spin * BladeMass * PitchCyclic;
  V da = Mul(cyclic, kc);
  if (speed < kAxisPullSpeed) {
    float f = (kAxisPullSpeed - speed) * (kAxisPullSpeed - speed) * kAxisPullScale;
    V target = Add(F.Z, Mul(cyclic, UH1 * PitchCyclic));
    da = Add(da, Mul(Sub(target, DiscAxis), f));
  }
  da.w = 0.0f;
  d->DiscAxis = Finite3(da) ? da : V{0.0f, 0.0f, 0.0f, 0.0f};
  if (Broken) {
    // A broken rotor neither drives nor flaps: its state stays where the
    // strike left it, and it publishes no wash.
    d->Spin = d->Angle = d->FlybarAngle = d->FlybarRate = 0.0f;
    for (int i = 0; i < kMaxBlades; ++i) d->Flap[i] = d->FlapRate[i] = 0.0f;
    if (Instance) Instance->Slipstream = {0.0f, 0.0f, 0.0f, 0.0f};
    kxdbody::ComputeChange(change, flag);
    return;
  }
  DriveStep(d);
  float alen = std::sqrt(Dot(DiscAxis, DiscAxis));
  common p;
  p.an = alen > 0.0f ? Mul(DiscAxis, 1.0f / alen) : B.Z;
  p.turnX = Dot3(Body->Omega, F.X);
  p.turnY = Dot3(Body->Omega, F.Y);
  // In still or uniform air the terms that carry the air's change along
  // the paddles and blades add nothing, and the air at the hub is the air
  // at the main body.
  p.sheared = Sheared(kxdaircraftinstance::AirGradientOf(Instance));
  // The air at the hub serves the blades and the inflow alike.
  if (p.sheared) {
    p.hubAir = kxdaircraftinstance::AirVelocityAt(Instance, B.R);
  } else {
    p.hubAir = Instance ? Instance->AirVelocity : V{0.0f, 0.0f, 0.0f, 0.0f};
    p.hubAir.w = 0.0f;
  }
  FlybarStep(d, p);
  BladeStep(d, p);
  InflowStep(p.hubAir);
  if (Spin > 0.0f) d->Spin -= kFriction;
  // The rotor's weight is part of the aircraft's mass, so it pulls too.
  kxdbody::ComputeChange(change, flag);
}

// ---- integration

void kxdmainrotor::Integrate(kxdintegrable* change, int, float dt) {
  kxdmainrotor* d = kxdcomponent::TwinOf(this, change);
  if (!d || !Body) return;
  if (!Broken) {
    Spin += d->Spin * dt;
    Angle += d->Angle * dt;
  }
  DiscAxis = Add(DiscAxis, Mul(d->DiscAxis, dt));
  float alen = std::sqrt(Dot(DiscAxis, DiscAxis));
  if (alen > 0.0f && std::isfinite(alen)) DiscAxis = Mul(DiscAxis, 1.0f / alen);
  if (!Broken) {
    FlybarRate += d->FlybarRate * dt;
    FlybarAngle += d->FlybarAngle * dt;
    for (int i = 0; i < Blades; ++i) {
      FlapRate[i] += d->FlapRate[i] * dt;
      Flap[i] += d->Flap[i] * dt;
    }
  }
  // A carried rotor is not placed here: the follow pass after the
  // integration carries it rigidly, and the next force pass and the visual
  // update place it at the angle left here. The drawn geometry follows once
  // a frame, in UpdateVisual.
  if (!ParentBody) Place();
  // The rpm shown for the aircraft is its driving engine's: a rotor no
  // engine drives (one just added in the designer) leaves the propeller's.
  if (Instance && Shaft()) Instance->RPMValue = Broken ? 0.0f : Spin * kRpmFactor;
}
