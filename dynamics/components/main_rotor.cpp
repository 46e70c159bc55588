// Sections: types and keys; copies and file lines; lifecycle; drawing.
#include "dynamics/components/main_rotor.h"

#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/engine.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "dynamics/links.h"
#include "dynamics/world.h"
#include "dynamics/write_links.h"
#include "graphics/geometric_object.h"
#include "platform/random.h"

kxtype kxdmainrotor::Type("kxdmainrotor", sizeof(kxdmainrotor), nullptr);
kxtype kxdrotor00::Type("kxdrotor00", sizeof(kxdrotor00), kxcreate<kxdrotor00>);
kxtype kxdrotor01::Type("kxdrotor01", sizeof(kxdrotor01), kxcreate<kxdrotor01>);

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kFlybarInertia = 0.0008f;   // kg m^2, fixed
constexpr float kFlybarStartTilt = 0.2f;    // rad, random start tilt bound
constexpr float kShrunk = 0.001f;           // scale of a broken blade's matrix
constexpr float kNoGround = 1000.0f;        // m of hub height without a scenery
constexpr float kSoundBase = 22050.0f;      // Hz of the sample at 390 rpm
constexpr float kSoundRPM = 390.0f;
constexpr float kSoundMin = 2000.0f;        // Hz; below, the sound idles quietly
constexpr float kSoundIdleVolume = 0.1f;

using keys = kxdcomponent::realkey<kxdmainrotor>;

// Keys in lookup order; each group is written as one block.
const keys kMainKeys[] = {
    {"Radius", &kxdmainrotor::Radius},
    {"BladeMass", &kxdmainrotor::BladeMass},
    {"RangeRadiusMax", &kxdmainrotor::RangeRadiusMax},
    {"RangeRadiusMin", &kxdmainrotor::RangeRadiusMin},
    {"RangeBladeMassMax", &kxdmainrotor::RangeBladeMassMax},
    {"RangeBladeMassMin", &kxdmainrotor::RangeBladeMassMin},
    {"TorqueFactor", &kxdmainrotor::TorqueFactor},
    {"GearRatio", &kxdmainrotor::GearRatio},
    {"RotationSpeedGear", &kxdmainrotor::RotationSpeedGear},
    {"PitchMin", &kxdmainrotor::PitchMin},
    {"PitchMax", &kxdmainrotor::PitchMax},
    {"PitchCyclic", &kxdmainrotor::PitchCyclic},
};
const keys kFlybarKeys[] = {
    {"BellHillerRadius", &kxdmainrotor::BellHillerRadius},
    {"BellHillerMass", &kxdmainrotor::BellHillerMass},
    {"BellHillerArea", &kxdmainrotor::BellHillerArea},
};
const keys kGainKeys[] = {
    {"UH0", &kxdmainrotor::UH0},
    {"UH1", &kxdmainrotor::UH1},
    {"UH2", &kxdmainrotor::UH2},
    {"UH3", &kxdmainrotor::UH3},
};
const keys kStoredKeys[] = {
    {"Kx", &kxdmainrotor::Kx},           {"Ky", &kxdmainrotor::Ky},
    {"Dx", &kxdmainrotor::Dx},           {"Dy", &kxdmainrotor::Dy},
    {"DampingX", &kxdmainrotor::DampingX}, {"DampingY", &kxdmainrotor::DampingY},
    {"Ct0", &kxdmainrotor::Ct0},         {"Ct1", &kxdmainrotor::Ct1},
    {"Cq0", &kxdmainrotor::Cq0},         {"Cq2", &kxdmainrotor::Cq2},
    {"Cnr", &kxdmainrotor::Cnr},         {"Crr", &kxdmainrotor::Crr},
    {"Forward01", &kxdmainrotor::Forward01}, {"Forward02", &kxdmainrotor::Forward02},
    {"LossR", &kxdmainrotor::LossR},     {"LossN", &kxdmainrotor::LossN},
    {"SolidLift", &kxdmainrotor::SolidLift}, {"Sigma", &kxdmainrotor::Sigma},
};

kxmatrix FlybarDefault(const kxvector4r& r) {
  kxmatrix m;
  m.X = {0.0f, 1.0f, 0.0f, 0.0f};
  m.Y = {-1.0f, 0.0f, 0.0f, 0.0f};
  m.Z = {0.0f, 0.0f, 1.0f, 0.0f};
  m.R = {r.x, r.y, r.z, 1.0f};
  return m;
}

}  // namespace

// ---- types and keys

kxdrotor00::kxdrotor00() : kxdmainrotor(4, 1, "kxdrotor00") { type = &Type; }
kxdrotor01::kxdrotor01() : kxdmainrotor(8, -1, "kxdrotor01") { type = &Type; }

kxdmainrotor* kxdmainrotor::As(kxnode* node) {
  if (!node || !kxtype::IsDerivedFrom(node->type, &Type)) return nullptr;
  return static_cast<kxdmainrotor*>(node);
}

kxdmainrotor::kxdmainrotor(int maxBlades, int sense, const char* tag) {
  type = &Type;
  MaxBlades = maxBlades > kMaxBlades ? kMaxBlades : maxBlades;
  Sense = sense < 0 ? -1 : 1;
  Tag = tag;
  // The blades' touch is a strike, never a supporting contact.
  Contact = 0;
  Mass = 1.0f;
  Body = nullptr;
  R0 = {0.0f, 0.0f, 0.0f, 0.0f};
  Radius = 1.0f;
  BladeMass = 0.1f;
  RangeRadiusMax = RangeRadiusMin = RangeBladeMassMax = RangeBladeMassMin = 0.0f;
  TorqueFactor = 1.0f;
  GearRatio = 10.0f;
  RotationSpeedGear = 0.0f;
  PitchMin = -0.1f;
  PitchMax = 0.1f;
  PitchCyclic = 0.1f;
  for (kxvector4r& h : BladeHinge) h = {0.0f, 0.0f, 0.0f, 0.0f};
  PitchPushrod = RollPushrod = NickPushrod = nullptr;
  Engine = nullptr;
  BellHillerRadius = 0.26f;
  BellHillerMass = 0.017f;
  BellHillerArea = 0.01f;
  BellHillerR = {0.0f, 0.0f, -0.02f, 0.0f};
  UH0 = UH1 = UH2 = UH3 = 0.0f;
  Kx = Ky = Dx = Dy = DampingX = DampingY = Ct0 = Ct1 = Cq0 = Cq2 = 0.0f;
  Cnr = Crr = 0.005f;
  Forward01 = Forward02 = LossR = LossN = 0.0f;
  SolidLift = 1.0f;
  Sigma = 0.0f;
  BellHillerGeometry = nullptr;
  HingeRadius = 0.1f;
  Chord = 0.05f;
  Blades = 0;
  for (int i = 0; i < kMaxBlades; ++i) {
    BladeObject[i] = nullptr;
    BladeRows[i] = kxmatrix{};
    BladePitch[i] = Flap[i] = FlapRate[i] = FlapInertia[i] = 0.0f;
  }
  Flybar = FlybarDefault(BellHillerR);
  FlybarRest = Flybar;
  FlybarAngle = FlybarRate = PaddlePitch = 0.0f;
  FlybarInertia = kFlybarInertia;
  DiscAxis = {0.0f, 0.0f, 1.0f, 0.0f};
  Spin = Angle = 0.0f;
  Broken = 0;
  Induced = 0.0f;
  HubHeight = 0.5f;
  Thrust = SmoothedAlpha = RPMValue = 0.0f;
  Placement = kxmatrix::Identity();
  Skipped = 0;
}

kxdmainrotor::~kxdmainrotor() { Sound.Release(); }

kxdengine* kxdmainrotor::Shaft() const { return kxdengine::As(Engine); }

kxvalueptr kxdmainrotor::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (std::strcmp(member, "Body") == 0) return kxdlink::BodyRef(&Body);
  if (std::strcmp(member, "R0") == 0) return kxvalueptr(new kxvectorref(&R0.x));
  if (kxvalueptr v = kxdcomponent::FindReal(this, kMainKeys, member)) return v;
  if (std::strcmp(member, "BladeHinge") == 0) {
    int i = args.Count() > 0 ? args.Int(0, -1) : -1;
    if (i < 0 || i >= MaxBlades) {
      kxcore::Log("%s:  BladeHinge(%d) is outside 0..%d; ignored\n", Tag, i, MaxBlades - 1);
      return nullptr;
    }
    return kxvalueptr(new kxvectorref(&BladeHinge[i].x));
  }
  if (std::strcmp(member, "PitchPushrod") == 0) return kxdlink::MechLinkRef(&PitchPushrod);
  if (std::strcmp(member, "RollPushrod") == 0) return kxdlink::MechLinkRef(&RollPushrod);
  if (std::strcmp(member, "NickPushrod") == 0) return kxdlink::MechLinkRef(&NickPushrod);
  if (std::strcmp(member, "SoundFile") == 0) return kxvalueptr(new kxstringref(&Sound.name));
  if (std::strcmp(member, "Engine") == 0) return kxdlink::EngineRef(&Engine);
  if (kxvalueptr v = kxdcomponent::FindReal(this, kFlybarKeys, member)) return v;
  if (std::strcmp(member, "BellHillerR") == 0) return kxvalueptr(new kxvectorref(&BellHillerR.x));
  if (kxvalueptr v = kxdcomponent::FindReal(this, kGainKeys, member)) return v;
  if (kxvalueptr v = kxdcomponent::FindReal(this, kStoredKeys, member)) return v;
  if (std::strcmp(member, "BellHillerGeometry") == 0) {
    return kxvalueptr(new kxnodeptrref(kxdgeometry::Field(&BellHillerGeometry), kxdgeometry::Type()));
  }
  return kxdbody::GetMember(member, args);
}

// ---- copies and file lines

void kxdmainrotor::CopyTo(kxnode* other) {
  kxdmainrotor* r = As(other);
  if (!r || r == this || r->type != type) return;
  r->Body = kxnode::Remap(Body);
  r->Engine = kxnode::Remap(Engine);
  r->PitchPushrod = kxnode::Remap(PitchPushrod);
  r->RollPushrod = kxnode::Remap(RollPushrod);
  r->NickPushrod = kxnode::Remap(NickPushrod);
  r->BellHillerGeometry = kxnode::Remap(BellHillerGeometry);
  r->Broken = Broken;
  r->Placement = Placement;
  r->R0 = R0;
  r->HingeRadius = HingeRadius;
  r->Chord = Chord;
  r->HubHeight = HubHeight;
  r->Thrust = Thrust;
  r->Induced = Induced;
  r->Sound.Assign(Sound);
  r->Spin = Spin;
  r->Flybar = Flybar;
  r->FlybarRest = FlybarRest;
  r->FlybarAngle = FlybarAngle;
  r->PaddlePitch = PaddlePitch;
  r->FlybarRate = FlybarRate;
  r->FlybarInertia = FlybarInertia;
  r->BellHillerR = BellHillerR;
  // The range keys are the designer's and stay with the template.
  r->Radius = Radius;
  r->BladeMass = BladeMass;
  r->TorqueFactor = TorqueFactor;
  r->GearRatio = GearRatio;
  r->RotationSpeedGear = RotationSpeedGear;
  r->PitchMin = PitchMin;
  r->PitchMax = PitchMax;
  r->PitchCyclic = PitchCyclic;
  kxdcomponent::CopyReals(this, r, kFlybarKeys);
  kxdcomponent::CopyReals(this, r, kGainKeys);
  kxdcomponent::CopyReals(this, r, kStoredKeys);
  r->Blades = Blades;
  for (int i = 0; i < kMaxBlades; ++i) {
    r->BladeObject[i] = kxnode::Remap(BladeObject[i]);
    r->BladeRows[i] = BladeRows[i];
    r->BladeHinge[i] = BladeHinge[i];
  }
  kxdbody::CopyTo(other);
}

void kxdmainrotor::Write(kxout& out) {
  kxdbody::Write(out);
  if (Body) kxdwrite::SiblingLink(out, "Body", Body);
  kxdcomponent::WritePoint(out, "R0", R0);
  kxdcomponent::WriteReals(out, this, kMainKeys);
  out.Printf("SoundFile = \"%s\"\n", Sound.name.Text());
  kxdcomponent::WriteReals(out, this, kFlybarKeys);
  kxdcomponent::WritePoint(out, "BellHillerR", BellHillerR);
  if (BellHillerGeometry) kxdwrite::GeometryLink(out, "BellHillerGeometry", BellHillerGeometry);
  kxdcomponent::WriteReals(out, this, kGainKeys);
  for (int i = 0; i < Blades && i < MaxBlades; ++i) {
    out.Printf("BladeHinge(%d) = kxvector4r( %8.4f, %8.4f, %8.4f, 1 )\n", i, BladeHinge[i].x, BladeHinge[i].y,
               BladeHinge[i].z);
  }
  kxdwrite::AircraftLink(out, "Engine", Engine);
  kxdwrite::AircraftLink(out, "PitchPushrod", PitchPushrod);
  kxdwrite::AircraftLink(out, "RollPushrod", RollPushrod);
  kxdwrite::AircraftLink(out, "NickPushrod", NickPushrod);
  kxdcomponent::WriteReals(out, this, kStoredKeys);
}

float kxdmainrotor::GetRPM() { return RPMValue; }

float kxdmainrotor::ConeValue() const {
  if (Broken || Blades <= 0) return 0.0f;
  float sum = 0.0f;
  for (int i = 0; i < Blades; ++i) sum += Flap[i];
  return sum / static_cast<float>(Blades);
}

// ---- lifecycle

void kxdmainrotor::Prepare() {
  Broken = 0;
  Thrust = Induced = Spin = Angle = 0.0f;
  Skipped = 0;
  Body = kxdcomponent::MountOnFuselage(parent, B, &Placement, &R0);
  for (int i = 0; i < Blades && i < MaxBlades; ++i) {
    if (!BladeObject[i]) continue;
    BladeRows[i].X = BladeObject[i]->Matrix.X;
    BladeRows[i].Y = BladeObject[i]->Matrix.Y;
    BladeRows[i].Z = BladeObject[i]->Matrix.Z;
    BladeRows[i].R = {0.0f, 0.0f, 0.0f, 1.0f};
  }
  FlybarRest.X = Flybar.X;
  FlybarRest.Y = Flybar.Y;
  FlybarRest.Z = Flybar.Z;
  FlybarAngle = (2.0f * kxsystem::Random() - 1.0f) * kFlybarStartTilt;
  kxdbody::Prepare();
}

void kxdmainrotor::ResetState() {
  float inertia = Radius * (BladeMass * 0.33333f * Radius);
  for (int i = 0; i < kMaxBlades; ++i) {
    Flap[i] = FlapRate[i] = 0.0f;
    FlapInertia[i] = inertia;
  }
  Spin = Angle = FlybarRate = SmoothedAlpha = 0.0f;
  DiscAxis = B.Z;
  DiscAxis.w = 0.0f;
  kxdbody::ResetState();
}

// ---- drawing

void kxdmainrotor::UpdateVisual() {
  Place();
  kxvector4r velocity = Body ? Body->D.R : D.R;
  if (Broken) {
    auto shrink = [](kxgeometricobject* o) {
      if (!o) return;
      o->Matrix.X = {kShrunk, 0.0f, 0.0f, 0.0f};
      o->Matrix.Y = {0.0f, kShrunk, 0.0f, 0.0f};
      o->Matrix.Z = {0.0f, 0.0f, kShrunk, 0.0f};
    };
    for (int i = 0; i < Blades; ++i) shrink(BladeObject[i]);
    shrink(BellHillerGeometry);
    RPMValue = 0.0f;
    Sound.Update(kSoundBase, 0.0f, &B.R.x, &velocity.x);
  } else {
    for (int i = 0; i < Blades; ++i) {
      kxgeometricobject* o = BladeObject[i];
      if (!o) continue;
      const kxmatrix& r = BladeRows[i];
      float b = Flap[i], t = BladePitch[i];
      o->Matrix.X = {r.X.x + b * r.Z.x, r.X.y + b * r.Z.y, r.X.z + b * r.Z.z, 0.0f};
      o->Matrix.Y = {r.Y.x - t * r.Z.x, r.Y.y - t * r.Z.y, r.Y.z - t * r.Z.z, 0.0f};
      o->Matrix.Z = {r.Z.x - b * r.X.x, r.Z.y - b * r.X.y, r.Z.z - b * r.X.z, 0.0f};
    }
    if (kxgeometricobject* o = BellHillerGeometry) {
      const kxmatrix& r = FlybarRest;
      float a = FlybarAngle, p = PaddlePitch;
      o->Matrix.X = {r.X.x + a * r.Z.x, r.X.y + a * r.Z.y, r.X.z + a * r.Z.z, 0.0f};
      o->Matrix.Y = {r.Y.x + p * r.Z.x, r.Y.y + p * r.Z.y, r.Y.z + p * r.Z.z, 0.0f};
      o->Matrix.Z = {r.Z.x - a * r.X.x - p * r.Y.x, r.Z.y - a * r.X.y - p * r.Y.y, r.Z.z - a * r.X.z - p * r.Y.z,
                     0.0f};
    }
    RPMValue = 60.0f * Spin / (2.0f * kPi);
    kxdworld* world = kxdynamics::CurrentWorld();
    float h = world ? B.R.z - world->GroundHeight(B.R) : kNoGround;
    HubHeight = std::isfinite(h) && h > 0.0f ? h : 0.0f;
    float frequency = RPMValue / kSoundRPM * kSoundBase;
    float volume = (0.7f + 3.0f * SmoothedAlpha) * (0.7f + 0.3f * Spin / 100.0f);
    if (volume > 1.0f) volume = 1.0f;
    if (!(frequency >= kSoundMin)) {
      frequency = kSoundMin;
      volume = kSoundIdleVolume;
    }
    Sound.Update(frequency, volume, &B.R.x, &velocity.x);
  }
  kxdbody::UpdateVisual();
}
