// The main rotor's blades in its force pass: each blade's axes and flow,
// its elements' loads (blade_elements.cpp), their sums, the blades' flap
// accelerations and the hinge forces on the fuselage.
#include <array>
#include <cfloat>

#include "core/lanes.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/rotor_lanes.h"
#include "dynamics/instance.h"

namespace {

constexpr float kHingeSpring = 10.0f;  // N m/rad
constexpr float kHingeDamper = 0.5f;   // N m s/rad

using namespace kxdrotorlanes;
using kxvector4ops::Dot;

// The low pass of the blade angle of attack (0.9 old + 0.1 new, element
// after element, over the elements with flow) taken for a blade's four
// elements at once: for each pattern of elements with flow, the weight of
// each element's angle in the new value and the share of the old value
// left.
struct smoothing {
  alignas(16) float weight[kxdbladeelements::kPerBlade];
  float decay;
};
constexpr auto kSmoothing = [] {
  std::array<smoothing, 1 << kxdbladeelements::kPerBlade> table{};
  for (unsigned mask = 0; mask < table.size(); ++mask) {
    smoothing& t = table[mask];
    t.decay = 1.0f;
    for (int k = kxdbladeelements::kPerBlade - 1; k >= 0; --k) {
      if (!(mask & (1u << k))) continue;
      t.weight[k] = 0.1f * t.decay;
      t.decay *= 0.9f;
    }
  }
  return table;
}();

// One blade's element loads summed in element order, as one element after
// another would add them (an element without flow adds a zero, which
// changes no sum begun at +0), and its angles' part of the low pass.
struct sums {
  float drag, moment, alpha, decay;
};
sums BladeSums(const float* drag, const float* moment, const float* alpha) {
  const lanes angles = kl::Load(alpha), flowing = kl::GreaterEq(angles, kl::Zero());
  const smoothing& t = kSmoothing[kl::Mask(flowing)];
  lanes d = kl::Load(drag), m = kl::Load(moment), a = kl::Mul(kl::Load(t.weight), kl::And(flowing, angles));
  lanes z = kl::Zero();
  kl::Transpose(d, m, a, z);
  alignas(16) float out[4];
  kl::Store(out, kl::Add(kl::Add(kl::Add(kl::Add(kl::Zero(), d), m), a), z));
  return {out[0], out[1], out[2], t.decay};
}

}  // namespace

void kxdmainrotor::PlaceElements() {
  if (elementsFor[0] == Radius && elementsFor[1] == HingeRadius) return;
  elementsFor[0] = Radius;
  elementsFor[1] = HingeRadius;
  const float span = Radius - HingeRadius;
  for (int k = 0; k < kElements; ++k) {
    ElementE[k] = span * static_cast<float>(2 * k + 1) / static_cast<float>(2 * kElements);
    ElementRho[k] = HingeRadius + ElementE[k];
  }
}

void kxdmainrotor::BladeStep(kxdmainrotor* d, const common& pass) {
  const V& an = pass.an;
  const V& vf = Body->D.R;
  const V& w = Body->Omega;
  const float s = static_cast<float>(Sense);
  const float span = Radius - HingeRadius;
  const float izz = Inertia[10];
  const float collective =
      ((PitchMax - PitchMin) * kxdcomponent::Read(PitchPushrod) + PitchMin + PitchMax) * 0.5f;
  PlaceElements();
  // The air is a linear field about the main body: taken once at the hub,
  // it reaches an element through the gradient along the blade. An
  // element's flow is then base + rho a + e c, with a and c per blade.
  // In uniform air the gradient is neither gathered nor used.
  lanes gx = kl::Zero(), gy = gx, gz = gx;
  if (pass.sheared) {
    const float* G = kxdaircraftinstance::AirGradientOf(Instance);
    gx = kl::Set(G[0], G[3], G[6], 0.0f);
    gy = kl::Set(G[1], G[4], G[7], 0.0f);
    gz = kl::Set(G[2], G[5], G[8], 0.0f);
  }
  auto gradientAlong = [&](lanes x) {
    return kl::Add(kl::Add(kl::Mul(gx, kl::Broadcast<0>(x)), kl::Mul(gy, kl::Broadcast<1>(x))),
                   kl::Mul(gz, kl::Broadcast<2>(x)));
  };
  const lanes omega = Lanes(w);
  kxdbladeelements::rows rows;
  rows.e = ElementE;
  rows.rho = ElementRho;
  rows.base = Add(Sub(vf, pass.hubAir), Mul(B.Z, Induced));
  rows.base.w = 0.0f;
  rows.area = span * Chord / static_cast<float>(kElements);
  rows.cd0 = UH2;
  rows.cd2 = UH3;
  kxdbladeelements::blade blades[kMaxBlades];
  V axes[kMaxBlades];
  for (int i = 0; i < Blades; ++i) {
    kxdbladeelements::blade& b = blades[i];
    lanes xi = Directed(B, BladeRows[i].X), yi = Directed(B, BladeRows[i].Y), zi = Directed(B, BladeRows[i].Z);
    axes[i] = Vector(xi);
    // The flybar reaches the blades of the first model only, blade 0
    // opposite to the others.
    float flybar = Sense > 0 ? (i == 0 ? -0.5f : 0.5f) * FlybarAngle : 0.0f;
    float theta = flybar + s * 0.5f * Dot(Vector(yi), an) + collective;
    BladePitch[i] = theta;
    lanes normal = kl::Add(zi, kl::Mul(yi, kl::Splat(s * theta))), span = kl::Mul(xi, kl::Splat(s));
    // Along rho: the fuselage's turn omega x X, the blade's own turn and
    // the air's change; along e: the flapping and the air's change.
    lanes a = kl::Sub(Crossed(omega, xi), kl::Mul(yi, kl::Splat(s * Spin)));
    lanes c = kl::Mul(zi, kl::Splat(FlapRate[i]));
    if (pass.sheared) {
      a = kl::Sub(a, gradientAlong(xi));
      c = kl::Sub(c, kl::Mul(gradientAlong(zi), kl::Splat(Flap[i])));
    }
    b.y = Vector(yi);
    b.z = Vector(zi);
    b.normal = Vector(normal);
    b.span = Vector(span);
    b.chord = Vector(Crossed(span, normal));
    b.a = Vector(a);
    b.c = Vector(c);
  }
  constexpr int kRows = kMaxBlades * kElements;
  alignas(16) float elementDrag[kRows], elementMoment[kRows], elementAlpha[kRows];
  kxdbladeelements::Loads(rows, blades, Blades, elementDrag, elementMoment, elementAlpha);
  alignas(16) float bladeMoment[kMaxBlades] = {};
  for (int i = 0; i < Blades; ++i) {
    const sums sum = BladeSums(elementDrag + kElements * i, elementMoment + kElements * i,
                               elementAlpha + kElements * i);
    SmoothedAlpha = SmoothedAlpha * sum.decay + sum.alpha;
    if (izz > 0.0f) d->Spin -= s * sum.drag / izz;
    bladeMoment[i] = sum.moment;
  }
  FlapStep(d, pass, axes, bladeMoment);
  HingeForces(blades, axes);
}

// Each blade's flap acceleration from its moment about the hinge: the
// centrifugal pull back to the disc, the fuselage's turn felt as a
// gyroscopic moment, the hinge's spring and damper. Four blades a lane,
// each lane summing as one blade worked alone would.
void kxdmainrotor::FlapStep(kxdmainrotor* d, const common& pass, const V* axes, const float* moments) {
  const kxmatrix& F = Body->B;
  const lanes spin = kl::Splat(Spin), mass = kl::Splat(BladeMass), r2 = kl::Splat(Radius * Radius);
  const lanes aroundX = kl::Splat(pass.turnX), aroundY = kl::Splat(pass.turnY);
  const lanes sense = kl::Splat(static_cast<float>(Sense)), zero = kl::Zero();
  const lanes index = kl::Set(0.0f, 1.0f, 2.0f, 3.0f);
  auto along = [](const V& a, lanes x, lanes y, lanes z) {
    return kl::Add(kl::Add(kl::Mul(kl::Splat(a.x), x), kl::Mul(kl::Splat(a.y), y)), kl::Mul(kl::Splat(a.z), z));
  };
  for (int g = 0; g < Blades; g += 4) {
    lanes x[4];
    for (int k = 0; k < 4; ++k) x[k] = g + k < Blades ? Lanes(axes[g + k]) : zero;
    kl::Transpose(x[0], x[1], x[2], x[3]);
    const lanes flap = kl::LoadU(Flap + g), rate = kl::LoadU(FlapRate + g);
    const lanes inertia = kl::LoadU(FlapInertia + g);
    lanes moment = kl::LoadU(moments + g);
    moment = kl::Sub(moment, kl::Mul(kl::Mul(kl::Mul(kl::Mul(kl::Mul(flap, kl::Splat(0.3333f)), spin), spin), mass), r2));
    auto gyroscopic = [&](lanes arm, lanes around) {
      return kl::Mul(kl::Mul(kl::Mul(kl::Mul(kl::Mul(arm, mass), kl::Splat(0.6666f)), r2), spin), around);
    };
    const lanes gyro = kl::Add(gyroscopic(along(F.X, x[0], x[1], x[2]), aroundX),
                               gyroscopic(along(F.Y, x[0], x[1], x[2]), aroundY));
    moment = kl::Add(moment, kl::Mul(sense, gyro));
    moment = kl::Add(moment, kl::Sub(kl::Mul(kl::Splat(-kHingeSpring), flap), kl::Mul(kl::Splat(kHingeDamper), rate)));
    // No acceleration without an inertia or with a moment past the floats.
    const lanes ok = kl::And(kl::Greater(inertia, zero), kl::LessEq(kl::Abs(moment), kl::Splat(FLT_MAX)));
    const lanes acceleration = kl::And(ok, kl::Div(moment, inertia));
    // Lanes past the last blade keep what the twin holds there.
    const lanes live = kl::Less(index, kl::Splat(static_cast<float>(Blades - g)));
    kl::StoreU(d->FlapRate + g, kl::Select(live, acceleration, kl::LoadU(d->FlapRate + g)));
    kl::StoreU(d->Flap + g, kl::Select(live, rate, kl::LoadU(d->Flap + g)));
  }
}

// The rotor's thrust reaches the fuselage through the coning of the blades
// at their hinges. The forces go on at the carrier chain's end, as
// PushForce's AddForceAt puts them, blade after blade.
void kxdmainrotor::HingeForces(const kxdbladeelements::blade* blades, const V* axes) {
  kxdbody* root = Body->RootCarrier();
  const lanes pull = kl::Splat(0.5f * BladeMass * Spin * Spin * Radius);
  const lanes hinge = kl::Splat(HingeRadius), hub = Lanes(B.R), at = Lanes(root->B.R), axis = Lanes(B.Z);
  lanes force = Lanes(root->Force), torque = Lanes(root->Torque);
  float thrust = 0.0f;
  for (int i = 0; i < Blades; ++i) {
    const lanes xi = Lanes(axes[i]);
    const lanes f = kl::XYZ(kl::Mul(kl::Add(xi, kl::Mul(Lanes(blades[i].z), kl::Splat(Flap[i]))), pull));
    // Dot3 of the force and the rotor axis: (x x' + y y') + z z'.
    const lanes along = kl::Mul(f, axis);
    thrust += kl::First(kl::Add(kl::Add(along, kl::Broadcast<1>(along)), kl::Broadcast<2>(along)));
    if (kl::Mask(kl::LessEq(kl::Abs(f), kl::Splat(FLT_MAX))) != 0xF) continue;
    const lanes arm = kl::Sub(kl::Add(kl::Mul(xi, hinge), hub), at);
    force = kl::Add(force, f);
    torque = kl::Add(torque, Crossed(arm, f));
  }
  Thrust = thrust;
  kl::StoreXYZ(&root->Force.x, force);
  kl::StoreXYZ(&root->Torque.x, torque);
}
