#include <cmath>

#include "dynamics/components/component_support.h"
#include "dynamics/components/turbines.h"
#include "dynamics/geometry_link.h"
#include "graphics/geometric_object.h"

kxtype kxdturbine10::Type("kxdturbine10", sizeof(kxdturbine10), kxcreate<kxdturbine10>);

using kxdcomponent::Clamp;
using kxdcomponent::Read;
using kxdcomponent::TwinOf;

namespace {

constexpr float kVectoringIdle = 0.05f;  // throttle floor
constexpr float kJetShare = 0.08f;       // reaction jet force per unit command and swivel, of the thrust
constexpr float kFrontShare = 0.075f;    // of the thrust, per front nozzle
constexpr float kCentreShare = 0.425f;   // per centre nozzle
constexpr float kNozzleRate = 1.0f;      // 1/s

// Levers of the reaction jets, m in turbine axes.
constexpr kxvector4r kLeftRollJet = {-0.243f, 0.91f, -0.02f, 0.0f};
constexpr kxvector4r kRightRollJet = {-0.243f, -0.91f, -0.02f, 0.0f};
constexpr kxvector4r kTailJet = {-1.26f, 0.0f, 0.133f, 0.0f};

const kxvector4r kDefaultPivots[kxdturbine10::kNozzles] = {
    {0.317f, 0.227f, 0.01f, 0.0f},
    {0.317f, -0.227f, 0.01f, 0.0f},
    {-0.064f, 0.177f, -0.022f, 0.0f},
    {-0.064f, -0.177f, -0.022f, 0.0f},
};

bool IsFront(int nozzle) { return nozzle < 2; }

}  // namespace

kxdturbine10* kxdturbine10::As(kxnode* node) { return kxnode::As<kxdturbine10>(node); }

kxdturbine10::kxdturbine10() {
  type = &Type;
  idleFloor = kVectoringIdle;
  RollControl = PitchControl = NozzleControl = YawControl = nullptr;
  for (int i = 0; i < kNozzles; ++i) {
    Nozzle[i] = nullptr;
    NozzleR[i] = kDefaultPivots[i];
  }
  NozzlePosition = 0.0f;
  NozzleFrontAngle = NozzleCenterAngle = 2.0f;
}

void kxdturbine10::ComputeChange(kxdintegrable* change, int flag) {
  float thrust = Thrust(ThrottleAbove(idleFloor), kxvector4r::Length(D.R));
  float s = NozzlePosition;
  // A force along a body axis at a lever in body axes, both turned into the
  // world; the lever is taken from R, so it adds lever x force to the torque.
  auto push = [this](const kxvector4r& axis, float f, const kxvector4r& lever) {
    kxvector4r force = {f * axis.x, f * axis.y, f * axis.z, 0.0f};
    kxvector4r arm = {lever.x * B.X.x + lever.y * B.Y.x + lever.z * B.Z.x,
                      lever.x * B.X.y + lever.y * B.Y.y + lever.z * B.Z.y,
                      lever.x * B.X.z + lever.y * B.Y.z + lever.z * B.Z.z, 0.0f};
    kxvector4r torque;
    kxvector4r::Cross(torque, arm, force);
    Force.x += force.x;
    Force.y += force.y;
    Force.z += force.z;
    Torque.x += torque.x;
    Torque.y += torque.y;
    Torque.z += torque.z;
  };
  float roll = Read(RollControl), pitch = Read(PitchControl), yaw = Read(YawControl);
  push(B.Z, kJetShare * s * roll * thrust, kLeftRollJet);
  push(B.Z, -kJetShare * s * roll * thrust, kRightRollJet);
  push(B.Y, kJetShare * s * yaw * thrust, kTailJet);
  push(B.Z, kJetShare * s * pitch * thrust, kTailJet);
  for (int i = 0; i < kNozzles; ++i) {
    float angle = (IsFront(i) ? NozzleFrontAngle : NozzleCenterAngle) * s;
    float c = std::cos(angle), sn = std::sin(angle);
    kxvector4r d = {B.X.x * c + B.Z.x * sn, B.X.y * c + B.Z.y * sn, B.X.z * c + B.Z.z * sn, 0.0f};
    push(d, (IsFront(i) ? kFrontShare : kCentreShare) * thrust, NozzleR[i]);
  }
  if (kxdturbine10* c = TwinOf(this, change)) {
    float n = NozzleControl ? (Read(NozzleControl) + 1.0f) * 0.5f : 0.0f;
    c->NozzlePosition = s > n ? -kNozzleRate : (s < n ? kNozzleRate : 0.0f);
  }
  kxdbody::ComputeChange(change, flag);
}

void kxdturbine10::Integrate(kxdintegrable* change, int flag, float dt) {
  if (kxdturbine10* c = TwinOf(this, change)) {
    NozzlePosition = Clamp(NozzlePosition + dt * c->NozzlePosition, 0.0f, 1.0f);
  }
  kxdbody::Integrate(change, flag, dt);
}

void kxdturbine10::PlaceNozzles() {
  for (int i = 0; i < kNozzles; ++i) {
    kxgeometricobject* n = Nozzle[i];
    if (!n) continue;
    float a = (IsFront(i) ? NozzleFrontAngle : NozzleCenterAngle) * NozzlePosition;
    float c = std::cos(a), s = std::sin(a);
    n->Matrix.X = {c, 0.0f, s, 0.0f};
    n->Matrix.Y = {0.0f, 1.0f, 0.0f, 0.0f};
    n->Matrix.Z = {-s, 0.0f, c, 0.0f};
    n->Matrix.R = {NozzleR[i].x, NozzleR[i].y, NozzleR[i].z, 1.0f};
  }
}

void kxdturbine10::Analyse() {
  if (kxgeometricobject* g = Geometry) {
    g->Rebuild();
    kxdgeometry::ApplyFrame(g, B);
  }
  kxmatrix inverse;
  int invertible = kxmatrix::Invert(B, inverse) == 0;
  for (int i = 0; i < kNozzles; ++i) {
    kxgeometricobject* n = Nozzle[i];
    if (!n || !invertible) continue;
    // From the rest shape, into the turbine frame, about the pivot.
    n->RestoreVertices();
    n->Transform(inverse);
    n->Move({-NozzleR[i].x, -NozzleR[i].y, -NozzleR[i].z, 0.0f});
    n->Matrix.R = {NozzleR[i].x, NozzleR[i].y, NozzleR[i].z, 1.0f};
  }
  Sound.Load();
  FillMassRange();
  kxdintegrable::Analyse();
}

void kxdturbine10::Prepare() {
  PlaceNozzles();
  PrepareSound();
  kxdbody::Prepare();
}

void kxdturbine10::UpdateVisual() {
  UpdateSpeedAndSound();
  PlaceNozzles();
  kxdbody::UpdateVisual();
}

