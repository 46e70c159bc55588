// The simulation's lane kernels against their scalar formulas, bit for bit:
// the air at a point off the main body, a carrier's substep frame (the air's
// gradient and the point flow turned into its axes), the hand-over of its
// folded loads, a load applied at a point, a body's motion derived from its
// momenta and its step of integration. Each lane must sum its terms in the order of the formula, so
// a frame of awkward numbers (not a rotation, mixed magnitudes) would show
// any reordering.
#include <cmath>
#include <cstring>

#include "dynamics/compiled.h"
#include "tests/dynamics/dynamics_support.h"

namespace {

uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

void ExpectSame(const kxvector4r& got, const kxvector4r& want, const char* what) {
  EXPECT_EQ(Bits(got.x), Bits(want.x)) << what << " x";
  EXPECT_EQ(Bits(got.y), Bits(want.y)) << what << " y";
  EXPECT_EQ(Bits(got.z), Bits(want.z)) << what << " z";
}

float Dot3(const kxvector4r& a, const kxvector4r& b) { return (a.x * b.x + a.y * b.y) + a.z * b.z; }

class lanekernels : public kxdtest::dynamicstest {
 protected:
  void SetUp() override {
    dynamicstest::SetUp();
    body.B.X = {0.6f, 0.8f, 1e-3f, 0.0f};
    body.B.Y = {-0.8f, 0.6f, 3.0f, 0.0f};
    body.B.Z = {1e-7f, -2.5f, 1.0f / 3.0f, 0.0f};
    body.B.R = {123.456f, -7.25f, 1000.125f, 1.0f};
    body.D.R = {13.0f, -0.1f, 2e-5f, 0.0f};
    body.Omega = {0.3f, -1.7f, 1e-4f, 0.0f};
    body.Instance = &instance;
    instance.SimMainBody = &body;
    instance.AirVelocity = {1.5f, -0.25f, 0.125f, 9.0f};
    const float gradient[9] = {0.1f, -3.0f, 1e-6f, 7.5f, 0.0f, -0.0f, 2e3f, 1.0f / 7.0f, -0.5f};
    std::memcpy(instance.AirGradient, gradient, sizeof gradient);
  }

  kxdbody body;
  kxdaircraftinstance instance;
};

TEST_F(lanekernels, AirAtAPointSumsEachRowTermByTermFromTheMainBody) {
  const kxvector4r point = {125.0f, -6.5f, 999.0f, 1.0f};
  const float* G = instance.AirGradient;
  const kxvector4r d = {point.x - body.B.R.x, point.y - body.B.R.y, point.z - body.B.R.z, 0.0f};
  kxvector4r want;
  float* w = &want.x;
  for (int i = 0; i < 3; ++i) {
    w[i] = (((&instance.AirVelocity.x)[i] + G[3 * i] * d.x) + G[3 * i + 1] * d.y) + G[3 * i + 2] * d.z;
  }
  kxvector4r got = kxdaircraftinstance::AirVelocityAt(&instance, point);
  ExpectSame(got, want, "air");
  EXPECT_EQ(got.w, 0.0f);
}

// In still air the turn is the body's own, the same to the bit: also where
// a component of the turn is a zero, whose sign the gradient's zeros decide.
TEST_F(lanekernels, CarrierFrameTurnsTheGradientAndTheFlowAsTheirDotProducts) {
  const float given[9] = {0.1f, -3.0f, 1e-6f, 7.5f, 0.0f, -0.0f, 2e3f, 1.0f / 7.0f, -0.5f};
  const float still[9] = {-0.0f, -0.0f, -0.0f, -0.0f, -0.0f, -0.0f, -0.0f, -0.0f, -0.0f};
  // With x and y axes of positive elements and no turn, the negative zeros
  // of the gradient give negative zeros off the turn's diagonal.
  const struct {
    const float* gradient;
    kxvector4r omega;
    float yx;  // B.Y.x
  } cases[] = {{given, {0.3f, -1.7f, 1e-4f, 0.0f}, -0.8f},
               {still, {0.3f, -1.7f, 1e-4f, 0.0f}, -0.8f},
               {still, {0.0f, 0.0f, 0.0f, 0.0f}, 0.8f},
               {given, {0.0f, 0.0f, 0.0f, 0.0f}, -0.8f}};
  for (const auto& c : cases) {
    std::memcpy(instance.AirGradient, c.gradient, sizeof given);
    body.Omega = c.omega;
    body.B.Y.x = c.yx;
    kxdcarrierframe frame;
    frame.body = &body;
    frame.Prime();
    const kxmatrix& B = body.B;
    const float* G = instance.AirGradient;
    const kxvector4r* axes[3] = {&B.X, &B.Y, &B.Z};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        const kxvector4r& a = *axes[j];
        // G a, row by row, then axis_i . (G a).
        const kxvector4r ga = {(G[0] * a.x + G[1] * a.y) + G[2] * a.z, (G[3] * a.x + G[4] * a.y) + G[5] * a.z,
                               (G[6] * a.x + G[7] * a.y) + G[8] * a.z, 0.0f};
        const float want = Dot3(*axes[i], ga);
        if (c.gradient == still) {
          EXPECT_EQ(frame.gradient[4 * i + j], 0.0f) << "gradient " << i << ", " << j;
        } else {
          EXPECT_EQ(Bits(frame.gradient[4 * i + j]), Bits(want)) << "gradient " << i << ", " << j;
        }
        const kxvector4r w = frame.omega;
        const float cross[3][3] = {{0.0f, -w.z, w.y}, {w.z, 0.0f, -w.x}, {-w.y, w.x, 0.0f}};
        EXPECT_EQ(Bits(frame.turn[4 * i + j]), Bits(cross[i][j] - want))
            << "turn " << i << ", " << j << " omega " << c.omega.x << " " << c.omega.z;
      }
    }
    ExpectSame(frame.velocity, {Dot3(B.X, body.D.R), Dot3(B.Y, body.D.R), Dot3(B.Z, body.D.R), 0.0f}, "velocity");
  }
}

TEST_F(lanekernels, FoldedLoadsReachTheCarrierTurnedAsToWorldTurnsThem) {
  kxdcarrierframe frame;
  frame.body = &body;
  frame.Prime();
  frame.force = {3.0f, -1e-3f, 250.5f, 0.0f};
  frame.torque = {-0.7f, 1e5f, 1.0f / 3.0f, 0.0f};
  body.Force = {1.0f, 2.0f, -3.0f, 77.0f};
  body.Torque = {-1e-8f, 0.5f, 4.0f, -5.0f};
  const kxvector4r force = body.Force, torque = body.Torque;
  frame.Flush();
  const kxvector4r f = frame.ToWorld(frame.force), t = frame.ToWorld(frame.torque);
  ExpectSame(body.Force, {force.x + f.x, force.y + f.y, force.z + f.z, 0.0f}, "force");
  ExpectSame(body.Torque, {torque.x + t.x, torque.y + t.y, torque.z + t.z, 0.0f}, "torque");
  EXPECT_EQ(body.Force.w, 77.0f);  // w left as it was
  EXPECT_EQ(body.Torque.w, -5.0f);
}

// The scalar cross product, x = a.y b.z - a.z b.y and so on.
kxvector4r Cross(const kxvector4r& a, const kxvector4r& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f};
}

TEST_F(lanekernels, LoadAtAPointAddsTheForceAndItsLeverTimesTheForce) {
  body.Force = {1.0f, -2e-6f, 3e4f, 11.0f};
  body.Torque = {-0.0f, 0.25f, -7.0f, -12.0f};
  const kxvector4r force = {0.1f, -300.0f, 1.0f / 3.0f, 5.0f}, point = {1e3f, -7.5f, 1000.0f, 1.0f};
  const kxvector4r before = body.Torque, lever = {point.x - body.B.R.x, point.y - body.B.R.y, point.z - body.B.R.z, 0.0f};
  const kxvector4r turn = Cross(lever, force);
  body.AddForceAt(force, point);
  ExpectSame(body.Force, {1.0f + force.x, -2e-6f + force.y, 3e4f + force.z, 0.0f}, "force");
  ExpectSame(body.Torque, {before.x + turn.x, before.y + turn.y, before.z + turn.z, 0.0f}, "torque");
  EXPECT_EQ(body.Force.w, 11.0f);  // w left as it was
  EXPECT_EQ(body.Torque.w, -12.0f);
}

// Omega = A I^-1 A^T L, each sum from the left; the axes turn with Omega and
// R moves with P / M less the turn about the centre of mass.
TEST_F(lanekernels, MotionFromTheMomentaFollowsTheScalarFormulaInItsOrder) {
  body.P = {2.5f, -1e-4f, 40.0f, 0.0f};
  body.L = {-0.3f, 1e3f, 1.0f / 9.0f, 0.0f};
  body.SystemMass = 3.7f;
  body.SystemCentre = {0.01f, -0.2f, 1e-5f, 0.0f};
  const float inverse[16] = {2.0f, 0.1f, -1e-3f, 0.0f, 0.1f, 1.0f / 3.0f, 7.0f, 0.0f,
                             -1e-3f, 7.0f, 50.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
  std::memcpy(body.SystemInertiaInv, inverse, sizeof inverse);
  const kxvector4r lb = {Dot3(body.B.X, body.L), Dot3(body.B.Y, body.L), Dot3(body.B.Z, body.L), 0.0f};
  float w[3];
  for (int i = 0; i < 3; ++i) w[i] = Dot3({inverse[4 * i], inverse[4 * i + 1], inverse[4 * i + 2], 0.0f}, lb);
  kxvector4r omega, centre;
  for (int k = 0; k < 3; ++k) {
    (&omega.x)[k] = ((0.0f + (&body.B.X.x)[k] * w[0]) + (&body.B.Y.x)[k] * w[1]) + (&body.B.Z.x)[k] * w[2];
    const kxvector4r& c = body.SystemCentre;
    (&centre.x)[k] = ((0.0f + (&body.B.X.x)[k] * c.x) + (&body.B.Y.x)[k] * c.y) + (&body.B.Z.x)[k] * c.z;
  }
  const float inverseMass = 1.0f / body.SystemMass;
  const kxvector4r spin = Cross(omega, centre);
  const kxvector4r dr = {body.P.x * inverseMass - spin.x, body.P.y * inverseMass - spin.y,
                         body.P.z * inverseMass - spin.z, 0.0f};
  body.DeriveMotion();
  ExpectSame(body.Omega, omega, "omega");
  ExpectSame(body.D.X, Cross(omega, body.B.X), "x axis");
  ExpectSame(body.D.Y, Cross(omega, body.B.Y), "y axis");
  ExpectSame(body.D.Z, Cross(omega, body.B.Z), "z axis");
  ExpectSame(body.D.R, dr, "position");
}

// A step: x + dt dx, each axis made unit (y first freed of its part along
// x), z = x cross y; every sum as the scalar form writes it.
TEST_F(lanekernels, IntegrationStepsAndRebuildsTheAxesAsTheScalarFormula) {
  body.P = {2.5f, -1e-4f, 40.0f, 0.0f};
  body.L = {-0.3f, 1e3f, 1.0f / 9.0f, 0.0f};
  body.SystemMass = 3.7f;
  body.SystemCentre = {0.0f, 0.0f, 0.0f, 0.0f};
  const float inverse[16] = {2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f / 3.0f, 0.0f, 0.0f,
                             0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
  std::memcpy(body.SystemInertiaInv, inverse, sizeof inverse);
  kxdbody change;
  change.B.X = {1e-3f, -0.7f, 3.0f, 9.0f};
  change.B.Y = {0.25f, 1e4f, -1.0f / 7.0f, 9.0f};
  change.B.Z = {5.0f, 5.0f, 5.0f, 9.0f};
  change.B.R = {-13.0f, 0.1f, 7e-3f, 9.0f};
  change.P = {0.5f, -9.81f, 1e-6f, 9.0f};
  change.L = {1e-2f, 3.0f, -0.0f, 9.0f};
  const float dt = 0.0003f;
  const kxmatrix frame = body.B;
  const kxvector4r p = body.P, l = body.L;
  auto stepped = [dt](const kxvector4r& a, const kxvector4r& d) {
    return kxvector4r{a.x + dt * d.x, a.y + dt * d.y, a.z + dt * d.z, 0.0f};
  };
  auto unit = [](const kxvector4r& v) {
    const float length = std::sqrt(Dot3(v, v));
    return kxvector4r{v.x / length, v.y / length, v.z / length, 0.0f};
  };
  const kxvector4r x = unit(stepped(frame.X, change.B.X));
  kxvector4r y = stepped(frame.Y, change.B.Y);
  const float along = -Dot3(y, x);
  y = unit({y.x + along * x.x, y.y + along * x.y, y.z + along * x.z, 0.0f});
  body.Integrate(&change, 0, dt);
  ExpectSame(body.B.X, x, "x axis");
  ExpectSame(body.B.Y, y, "y axis");
  ExpectSame(body.B.Z, Cross(x, y), "z axis");
  ExpectSame(body.B.R, stepped(frame.R, change.B.R), "position");
  EXPECT_EQ(body.B.R.w, 1.0f);
  ExpectSame(body.P, stepped(p, change.P), "momentum");
  ExpectSame(body.L, stepped(l, change.L), "angular momentum");
}

}  // namespace
