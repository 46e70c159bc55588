// Sections: types and keys; copies and file lines; lifecycle; drawing.
#include "dynamics/components/main_rotor.h"

#include <cmath>

#include "core/hooks.h"
#include "core/maths.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/engine.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"
#include "platform/random.h"

kxtype kxdmainrotor::Type("kxdmainrotor", sizeof(kxdmainrotor), nullptr);
kxtype kxdrotor00::Type("kxdrotor00", sizeof(kxdrotor00), kxcreate<kxdrotor00>);
kxtype kxdrotor01::Type("kxdrotor01", sizeof(kxdrotor01), kxcreate<kxdrotor01>);

namespace {

using kxmaths::kPi;
constexpr float kFlybarInertia = 0.0008f;   // kg m^2, fixed
constexpr float kFlybarStartTilt = 0.2f;    // rad, random start tilt bound
constexpr float kShrunk = 0.001f;           // scale of a broken blade's matrix
constexpr float kNoGround = 1000.0f;        // m of hub height without a scenery
constexpr float kSoundBase = 22050.0f;      // Hz of the sample at 390 rpm
constexpr float kSoundRPM = 390.0f;
constexpr float kSoundMin = 2000.0f;        // Hz; below, the sound idles quietly
constexpr float kSoundIdleVolume = 0.1f;

// Blades in use, within the arrays.
int BladesInUse(const kxnode* node) {
  const auto* r = static_cast<const kxdmainrotor*>(node);
  return r->Blades < r->MaxBlades ? r->Blades : r->MaxBlades;
}

// A hinge point of the model's blades; none beyond its blade capacity.
void* Hinge(kxnode* node, int i) {
  auto* r = static_cast<kxdmainrotor*>(node);
  return i < r->MaxBlades ? &r->BladeHinge[i] : nullptr;
}

using namespace kxdkeys;
using M = kxdmainrotor;

// The body's lines first. The range keys are the designer's and stay with
// the template; the rotor angle, the disc axis, the flapping state, the
// blade pitches, the flap inertias, the rpm value and the smoothed angle of
// attack are set again by ResetState and the next step.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(M, Body, kCarrier, kRemap),
    KXD_KEY(M, R0, kPoint, kCopy),
    KXD_KEY(M, Radius, kReal, kCopy),
    KXD_KEY(M, BladeMass, kReal, kCopy),
    KXD_KEY(M, RangeRadiusMax, kReal, kNone),
    KXD_KEY(M, RangeRadiusMin, kReal, kNone),
    KXD_KEY(M, RangeBladeMassMax, kReal, kNone),
    KXD_KEY(M, RangeBladeMassMin, kReal, kNone),
    KXD_KEY(M, TorqueFactor, kReal, kCopy),
    KXD_KEY(M, GearRatio, kReal, kCopy),
    KXD_KEY(M, RotationSpeedGear, kReal, kCopy),
    KXD_KEY(M, PitchMin, kReal, kCopy),
    KXD_KEY(M, PitchMax, kReal, kCopy),
    KXD_KEY(M, PitchCyclic, kReal, kCopy),
    Key("SoundFile ", kName, kCopy, KXD_AT(M, Sound.name)),
    KXD_KEY(M, BellHillerRadius, kReal, kCopy),
    KXD_KEY(M, BellHillerMass, kReal, kCopy),
    KXD_KEY(M, BellHillerArea, kReal, kCopy),
    KXD_KEY(M, BellHillerR, kPoint, kCopy),
    KXD_KEY(M, BellHillerGeometry, kPart, kRemap),
    KXD_KEY(M, UH0, kReal, kCopy),
    KXD_KEY(M, UH1, kReal, kCopy),
    KXD_KEY(M, UH2, kReal, kCopy),
    KXD_KEY(M, UH3, kReal, kCopy),
    Each("BladeHinge(%d) ", kPoint, kCopy, Hinge, M::kMaxBlades, BladesInUse),
    KXD_KEY(M, Engine, kEngine, kRemap),
    KXD_KEY(M, PitchPushrod, kControl, kRemap),
    KXD_KEY(M, RollPushrod, kControl, kRemap),
    KXD_KEY(M, NickPushrod, kControl, kRemap),
    KXD_KEY(M, Kx, kReal, kCopy),
    KXD_KEY(M, Ky, kReal, kCopy),
    KXD_KEY(M, Dx, kReal, kCopy),
    KXD_KEY(M, Dy, kReal, kCopy),
    KXD_KEY(M, DampingX, kReal, kCopy),
    KXD_KEY(M, DampingY, kReal, kCopy),
    KXD_KEY(M, Ct0, kReal, kCopy),
    KXD_KEY(M, Ct1, kReal, kCopy),
    KXD_KEY(M, Cq0, kReal, kCopy),
    KXD_KEY(M, Cq2, kReal, kCopy),
    KXD_KEY(M, Cnr, kReal, kCopy),
    KXD_KEY(M, Crr, kReal, kCopy),
    KXD_KEY(M, Forward01, kReal, kCopy),
    KXD_KEY(M, Forward02, kReal, kCopy),
    KXD_KEY(M, LossR, kReal, kCopy),
    KXD_KEY(M, LossN, kReal, kCopy),
    KXD_KEY(M, SolidLift, kReal, kCopy),
    KXD_KEY(M, Sigma, kReal, kCopy),
    Field(kCopy, KXD_AT(M, Broken), sizeof(int)),
    Field(kCopy, KXD_AT(M, Placement), sizeof(kxmatrix)),
    Field(kCopy, KXD_AT(M, HingeRadius), sizeof(float)),
    Field(kCopy, KXD_AT(M, Chord), sizeof(float)),
    Field(kCopy, KXD_AT(M, HubHeight), sizeof(float)),
    Field(kCopy, KXD_AT(M, Thrust), sizeof(float)),
    Field(kCopy, KXD_AT(M, Induced), sizeof(float)),
    Field(kCopy, KXD_AT(M, Spin), sizeof(float)),
    Field(kCopy, KXD_AT(M, Flybar), sizeof(kxmatrix)),
    Field(kCopy, KXD_AT(M, FlybarRest), sizeof(kxmatrix)),
    Field(kCopy, KXD_AT(M, FlybarAngle), sizeof(float)),
    Field(kCopy, KXD_AT(M, PaddlePitch), sizeof(float)),
    Field(kCopy, KXD_AT(M, FlybarRate), sizeof(float)),
    Field(kCopy, KXD_AT(M, FlybarInertia), sizeof(float)),
    Field(kCopy, KXD_AT(M, Blades), sizeof(int)),
    Field(kRemap, KXD_EACH(M, BladeObject), sizeof(kxgeometricobject*), M::kMaxBlades, BladesInUse),
    Field(kCopy, KXD_EACH(M, BladeRows), sizeof(kxmatrix), M::kMaxBlades, BladesInUse),
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

const kxdkeytable kxdmainrotor::Keys(kRows);

// ---- types and keys

kxdrotor00::kxdrotor00() : kxdmainrotor(4, 1, "kxdrotor00") { type = &Type; }
kxdrotor01::kxdrotor01() : kxdmainrotor(8, -1, "kxdrotor01") { type = &Type; }

kxdmainrotor* kxdmainrotor::As(kxnode* node) { return kxnode::As<kxdmainrotor>(node); }

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

// ---- copies and file lines

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
  MeasureStrikeReach();
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
  // The parts were placed anew above: the next frame's strike tests read them.
  MeasureStrikeReach();
  kxdbody::UpdateVisual();
}
