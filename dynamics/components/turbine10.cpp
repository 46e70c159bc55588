#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/turbines.h"
#include "dynamics/geometry_link.h"
#include "dynamics/links.h"
#include "dynamics/write_links.h"
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

const char* const kNozzleKeys[kxdturbine10::kNozzles] = {"LeftFrontNozzle", "RightFrontNozzle", "LeftCenterNozzle",
                                                         "RightCenterNozzle"};
const char* const kPivotKeys[kxdturbine10::kNozzles] = {"LeftFrontNozzleR", "RightFrontNozzleR", "LeftCenterNozzleR",
                                                        "RightCenterNozzleR"};
const kxvector4r kDefaultPivots[kxdturbine10::kNozzles] = {
    {0.317f, 0.227f, 0.01f, 0.0f},
    {0.317f, -0.227f, 0.01f, 0.0f},
    {-0.064f, 0.177f, -0.022f, 0.0f},
    {-0.064f, -0.177f, -0.022f, 0.0f},
};

bool IsFront(int nozzle) { return nozzle < 2; }

}  // namespace

kxdturbine10* kxdturbine10::As(kxnode* node) {
  if (!node || !kxtype::IsDerivedFrom(node->type, &Type)) return nullptr;
  return static_cast<kxdturbine10*>(node);
}

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

kxvalueptr kxdturbine10::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  struct {
    const char* key;
    float** field;
  } controls[] = {{"RollControl", &RollControl},
                  {"PitchControl", &PitchControl},
                  {"NozzleControl", &NozzleControl},
                  {"YawControl", &YawControl}};
  for (auto& c : controls) {
    if (std::strcmp(member, c.key) == 0) return kxdlink::MechLinkRef(c.field);
  }
  for (int i = 0; i < kNozzles; ++i) {
    if (std::strcmp(member, kNozzleKeys[i]) == 0) {
      return kxvalueptr(new kxnodeptrref(kxdgeometry::Field(&Nozzle[i]), kxdgeometry::Type()));
    }
    if (std::strcmp(member, kPivotKeys[i]) == 0) return kxvalueptr(new kxvectorref(&NozzleR[i].x));
  }
  if (std::strcmp(member, "NozzleFrontAngle") == 0) return kxvalueptr(new kxrealref(&NozzleFrontAngle));
  if (std::strcmp(member, "NozzleCenterAngle") == 0) return kxvalueptr(new kxrealref(&NozzleCenterAngle));
  if (kxvalueptr v = CommonMember(member)) return v;
  return kxdbody::GetMember(member, args);
}

void kxdturbine10::CopyTo(kxnode* other) {
  if (!other || other == this || other->type != type) return;
  kxdturbine10* t = static_cast<kxdturbine10*>(other);
  CopyCommon(t);
  t->RollControl = kxnode::Remap(RollControl);
  t->PitchControl = kxnode::Remap(PitchControl);
  t->NozzleControl = kxnode::Remap(NozzleControl);
  t->YawControl = kxnode::Remap(YawControl);
  for (int i = 0; i < kNozzles; ++i) {
    t->Nozzle[i] = kxnode::Remap(Nozzle[i]);
    t->NozzleR[i] = NozzleR[i];
  }
  t->NozzleFrontAngle = NozzleFrontAngle;
  t->NozzleCenterAngle = NozzleCenterAngle;
  t->NozzlePosition = NozzlePosition;
  kxdbody::CopyTo(other);
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
  if (RangeMassMax < 0.001f) {
    RangeMassMax = 2.0f * Mass;
    RangeMassMin = 0.5f * Mass;
  }
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

void kxdturbine10::Write(kxout& out) {
  kxdbody::Write(out);
  kxdwrite::AircraftLink(out, "ThrottleControl", ThrottleControl);
  kxdwrite::AircraftLink(out, "RollControl    ", RollControl);
  kxdwrite::AircraftLink(out, "PitchControl   ", PitchControl);
  kxdwrite::AircraftLink(out, "NozzleControl  ", NozzleControl);
  kxdwrite::AircraftLink(out, "YawControl     ", YawControl);
  for (int i = 0; i < kNozzles; ++i) kxdwrite::GeometryLink(out, kNozzleKeys[i], Nozzle[i]);
  out.Printf("NozzleFrontAngle = %g\n", NozzleFrontAngle);
  out.Printf("NozzleCenterAngle = %g\n", NozzleCenterAngle);
  // The pivots are written too, so a file that sets them keeps them.
  for (int i = 0; i < kNozzles; ++i) kxdcomponent::WritePoint(out, kPivotKeys[i], NozzleR[i]);
  out.Printf("RotationMax  = %g\n", RotationMax);
  out.Printf("PowerMax     = %g\n", PowerMax);
  out.Printf("ThrustMax    = %g\n", ThrustMax);
  out.Printf("PowerMaxRevs = %g\n", PowerMaxRevs);
  out.Printf("TorqueFactor = %g\n", TorqueFactor);
  kxdcomponent::WritePoint(out, "ExhaustR", ExhaustR);
  kxdcomponent::WriteQuoted(out, "SoundFile   ", Sound.name.Text());
  out.Printf("SoundRPMIdle = %g\n", SoundRPMIdle);
  out.Printf("SoundRPMMax  = %g\n", SoundRPMMax);
  out.Printf("Sound1       = %g\n", Sound1);
  out.Printf("Sound2       = %g\n", Sound2);
}
