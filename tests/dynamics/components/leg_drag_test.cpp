// The folded legs' drag in lanes against the one-leg formula it stands
// for, bit for bit: each leg's drag is (factor |v|) share v at its place,
// with v the carrier's velocity plus omega x p, added leg after leg, and a
// leg whose drag is not finite adds nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/vector.h"
#include "dynamics/components/leg_drag.h"

namespace {

struct leg {
  kxvector4r p;
  float factor;
  float share;
};

uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// What one leg adds, as the scalar formula gives it.
void AddOne(const leg& l, const kxvector4r& velocity, const kxvector4r& omega, kxvector4r* force, kxvector4r* torque) {
  kxvector4r turn = kxvector4ops::Cross(omega, l.p);
  kxvector4r v = {velocity.x + turn.x, velocity.y + turn.y, velocity.z + turn.z, 0.0f};
  float c = l.factor * std::sqrt((v.x * v.x + v.y * v.y) + v.z * v.z) * l.share;
  if (!std::isfinite(c)) return;
  kxvector4r f = {c * v.x, c * v.y, c * v.z, 0.0f};
  kxvector4r t = kxvector4ops::Cross(l.p, f);
  force->x += f.x, force->y += f.y, force->z += f.z;
  torque->x += t.x, torque->y += t.y, torque->z += t.z;
}

void ExpectSame(const kxvector4r& got, const kxvector4r& want, const char* what) {
  EXPECT_EQ(Bits(got.x), Bits(want.x)) << what << " x";
  EXPECT_EQ(Bits(got.y), Bits(want.y)) << what << " y";
  EXPECT_EQ(Bits(got.z), Bits(want.z)) << what << " z";
}

TEST(legdrags, SumTheOneLegFormulaOverTheLanes) {
  const float inf = std::numeric_limits<float>::infinity();
  struct row {
    const char* name;
    leg legs[kxdlegdrags::kLanes];
    int count;
    kxvector4r velocity, omega;
  };
  const row rows[] = {
      {"a tricycle gear in a turn",
       {{{0.18f, 0.04f, -0.065f, 1.0f}, -0.003f, 1.0f}, {{0.18f, -0.04f, -0.065f, 1.0f}, -0.003f, 1.0f},
        {{-0.6f, 0.0f, -0.01f, 1.0f}, -0.001f, 1.0f}},
       3,
       {13.0f, -0.4f, 1.5f, 0.0f},
       {0.3f, -1.7f, 2.5f, 0.0f}},
      {"four legs, two retracting, fast and rolling",
       {{{1.0f, 2.0f, -0.5f, 1.0f}, -0.02f, 0.3f}, {{-1.0f, 2.0f, -0.5f, 1.0f}, -0.7f, 0.0f},
        {{1.0f, -2.0f, -0.5f, 1.0f}, -0.02f, 1.0f}, {{-1.0f, -2.0f, 0.5f, 1.0f}, -1e-4f, 1.0f / 3.0f}},
       4,
       {-40.0f, 3.0f, -7.0f, 0.0f},
       {6.0f, 0.1f, -0.2f, 0.0f}},
      {"a leg whose drag is not finite adds nothing",
       {{{0.2f, 0.1f, -0.1f, 1.0f}, -inf, 1.0f}, {{0.2f, -0.1f, -0.1f, 1.0f}, -0.004f, 1.0f}},
       2,
       {5.0f, 0.0f, 0.0f, 0.0f},
       {0.0f, 0.0f, 0.5f, 0.0f}},
      {"at rest nothing", {{{0.3f, 0.3f, -0.2f, 1.0f}, -0.01f, 1.0f}}, 1, {0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}},
  };
  for (const row& r : rows) {
    kxdlegdrags legs = {};
    kxvector4r wantForce = {1.0f, -2.0f, 3.0f, 0.0f}, wantTorque = {-0.5f, 0.25f, 0.0f, 0.0f};
    kxvector4r force = wantForce, torque = wantTorque;
    for (int i = 0; i < r.count; ++i) {
      legs.px[i] = r.legs[i].p.x, legs.py[i] = r.legs[i].p.y, legs.pz[i] = r.legs[i].p.z;
      legs.factor[i] = r.legs[i].factor;
      legs.share[i] = r.legs[i].share;
      AddOne(r.legs[i], r.velocity, r.omega, &wantForce, &wantTorque);
    }
    AddLegDrags(legs, r.velocity, r.omega, &force, &torque);
    ExpectSame(force, wantForce, r.name);
    ExpectSame(torque, wantTorque, r.name);
    EXPECT_TRUE(std::isfinite(force.x) && std::isfinite(torque.z)) << r.name;
  }
}

}  // namespace
