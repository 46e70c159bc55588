#include "dynamics/components/engine00.h"

#include <cmath>

#include "core/hooks.h"
#include "core/maths.h"
#include "dynamics/components/component_support.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "graphics/geometric_object.h"

kxtype kxdengine00::Type("kxdengine00", sizeof(kxdengine00), kxcreate<kxdengine00>);

using kxdcomponent::Clamp;
using kxdcomponent::Read;
using kxdcomponent::TwinOf;

namespace {

constexpr float kShaftInertia = 0.0001f;   // kg m^2, the bare shaft
constexpr float kTableStep = 10.0f;        // rad/s between table entries
constexpr int kLastInterpolated = 999;     // highest entry an interpolation starts from
constexpr float kPowerPeakFactor = 2.598f; // 3 sqrt(3) / 2: the curve's power peaks at PowerMax
constexpr float kClosedThrottleDrag = 0.2f;  // N m
constexpr float kStartDecay = 0.1f;        // 1/s
constexpr float kSilentSpeed = 10.0f;      // rad/s; at or below it the engine is not heard
constexpr float kSampleRate = 22050.0f;    // Hz of the recorded samples
constexpr float kStopFrequency = 1000.0f;  // Hz given with volume 0

using namespace kxdkeys;
using E = kxdengine00;

// The body's lines first. The shaft angle, the strike, the exhaust record
// and PowerMaxRevs stay with the template; the clone gets the torque table.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(E, ThrottleControl, kControl, kRemap),
    Key("RotationSpeedIdle     ", kReal, kCopy, KXD_AT(E, RotationSpeedIdle)),
    Key("RotationSpeedPowerMax ", kReal, kCopy, KXD_AT(E, RotationSpeedPowerMax)),
    Key("RotationSpeedMax      ", kReal, kCopy, KXD_AT(E, RotationSpeedMax)),
    KXD_KEY(E, PowerMax, kReal, kCopy),
    KXD_KEY(E, PowerMaxRevs, kReal, kNone),
    KXD_KEY(E, TorqueFactor, kReal, kCopy),
    KXD_KEY(E, ExhaustR, kPoint, kCopy),
    Key("Sound0File ", kName, kCopy, KXD_AT(E, Sound[0].name)),
    Key("Sound1File ", kName, kCopy, KXD_AT(E, Sound[1].name)),
    Key("Sound2File ", kName, kCopy, KXD_AT(E, Sound[2].name)),
    Key("Sound0RPM ", kReal, kCopy, KXD_AT(E, SoundRPM[0])),
    Key("Sound1RPM ", kReal, kCopy, KXD_AT(E, SoundRPM[1])),
    Key("Sound2RPM ", kReal, kCopy, KXD_AT(E, SoundRPM[2])),
    KXD_KEY(E, Sound01RPM, kReal, kCopy),
    KXD_KEY(E, Sound12RPM, kReal, kCopy),
    Field(kCopy, KXD_AT(E, W), sizeof(float)),
    Field(kCopy, KXD_AT(E, RotatingInertia), sizeof(float)),
    Field(kCopy, KXD_AT(E, Load), sizeof(float)),
    Field(kCopy, KXD_AT(E, Start), sizeof(float)),
    Field(kCopy, KXD_AT(E, Table), KXD_SIZE(E, Table)),
};

}  // namespace

const kxdkeytable kxdengine00::Keys(kRows);

kxdengine00* kxdengine00::As(kxnode* node) { return kxnode::As<kxdengine00>(node); }

kxdengine00::kxdengine00() : kxdengine(kStartDecay) {
  type = &Type;
  Mass = 1.0f;
  Inertia[15] = Mass;
  RotatingInertia = kShaftInertia;
  Angle = 0.0f;
  // A placeholder curve until the analysis builds the real one.
  for (int i = 0; i < kTableSize; ++i) {
    float x = 0.005f * static_cast<float>(i);
    float v = 4.0f * (x - x * x * x);
    Table[i] = i < 1000 && v > 0.0f ? v : 0.0f;
  }
  PowerMax = 1000.0f;
  PowerMaxRevs = 1000.0f;
  TorqueFactor = 1.0f;
  Record = 0;
  ExhaustR = {0.0f, 0.0f, 0.0f, 1.0f};
  RotationSpeedIdle = RotationSpeedPowerMax = RotationSpeedMax = 0.0f;
  SoundRPM[0] = 1000.0f;
  SoundRPM[1] = 6000.0f;
  SoundRPM[2] = 11000.0f;
  Sound01RPM = 3500.0f;
  Sound12RPM = 8500.0f;
  ThrottleControl = nullptr;
}

kxdengine00::~kxdengine00() {
  for (kxdcomponentsound& s : Sound) s.Release();
}

int kxdengine00::BuildTable() {
  if (!(RotationSpeedMax > 0.0f) || !std::isfinite(RotationSpeedMax) || !std::isfinite(PowerMax)) {
    kxcore::Log("kxdengine00:  %s has RotationSpeedMax %g; torque curve not built\n", name.Text(),
                static_cast<double>(RotationSpeedMax));
    return 0;
  }
  float k = PowerMax * kPowerPeakFactor / RotationSpeedMax;
  for (int i = 0; i < kTableSize; ++i) {
    float x = kTableStep * static_cast<float>(i) / RotationSpeedMax;
    float v = k * (1.0f - x * x);
    Table[i] = v > 0.0f ? v : 0.0f;
  }
  return 1;
}

float kxdengine00::FullTorque(float w) const {
  if (!std::isfinite(w)) return 0.0f;
  float scaled = w / kTableStep;
  // A negative speed (only with a negative idle) reads the first entry.
  if (scaled <= 0.0f) return Table[0];
  // floor by truncation: the same whole number for a positive float, without
  // the library's rounding sequence; from 2^23 on every float is whole.
  constexpr float kAllWhole = 8388608.0f;
  float whole = scaled < kAllWhole ? static_cast<float>(static_cast<int>(scaled)) : scaled;
  float f = (w - kTableStep * whole) * 0.1f;
  // Past the table's end the index is capped; the fraction keeps its value.
  int i = whole > static_cast<float>(kLastInterpolated) ? kLastInterpolated : static_cast<int>(whole);
  return (1.0f - f) * Table[i] + f * Table[i + 1];
}

float kxdengine00::ThrottleSetting() const { return ThrottleControl ? (Read(ThrottleControl) + 1.0f) * 0.5f : 0.0f; }

float kxdengine00::DriveTorque(float* reaction) {
  float q = FullTorque(W);
  float t = ThrottleSetting();
  if (Start > 0.0f) t *= 1.0f - Start;
  t = Clamp(t, 0.0f, 1.0f);
  *reaction = TorqueFactor * t * q;
  return t * q + (1.0f - t) * -kClosedThrottleDrag;
}

void kxdengine00::ComputeChange(kxdintegrable* change, int flag) {
  if (kxdengine00* c = TwinOf(this, change)) c->Angle = W;
  kxdengine::ComputeChange(change, flag);
}

void kxdengine00::Integrate(kxdintegrable* change, int flag, float dt) {
  if (kxdengine00* c = TwinOf(this, change)) Angle += dt * c->Angle;
  StepShaft(change, dt);
  if (W < RotationSpeedIdle) W = RotationSpeedIdle;
  kxdbody::Integrate(change, flag, dt);
}

void kxdengine00::Analyse() {
  BuildTable();
  if (kxgeometricobject* g = Geometry) {
    // From the rest shape, so a repeated analysis gives the same mesh.
    g->Rebuild();
    kxdgeometry::ApplyFrame(g, B);
  }
  for (kxdcomponentsound& s : Sound) s.Load();
  Start = 0.0f;
  FillMassRange();
  kxdintegrable::Analyse();
}

void kxdengine00::Prepare() {
  // A clone carries only the sample names: the simulated copy loads its own
  // samples, which its destructor releases again.
  for (kxdcomponentsound& s : Sound) {
    if (!s.sample) s.Load();
  }
  kxdbody::Prepare();
}

void kxdengine00::ResetState() {
  Record = Instance ? Instance->TakeEngineRecord() : 0;
  Angle = 0.0f;
  ResetShaft();
  kxdintegrable::ResetState();
}

void kxdengine00::SoundMix(float rpm, float t, float gain[kSounds], float frequency[kSounds]) const {
  float b = 0.9f + 0.1f * t;
  gain[0] = gain[1] = gain[2] = b;
  if (rpm > Sound01RPM - 50.0f) gain[0] = std::fmax(b * (1.0f - 0.0005f * (rpm - Sound01RPM + 50.0f)), 0.1f);
  if (rpm < Sound01RPM + 50.0f) gain[1] = std::fmax(b * (1.0f - 0.0005f * (Sound01RPM + 50.0f - rpm)), 0.1f);
  if (rpm > Sound12RPM - 50.0f) gain[1] = std::fmax(gain[1] * (1.0f - 0.001f * (rpm - Sound12RPM + 50.0f)), 0.01f);
  if (rpm < Sound12RPM + 50.0f) gain[2] = std::fmax(b * (1.0f - 0.001f * (Sound12RPM + 50.0f - rpm)), 0.01f);
  for (int k = 0; k < kSounds; ++k) {
    // A sample without a positive rpm key cannot be pitched: it stays silent.
    if (SoundRPM[k] > 0.0f && std::isfinite(SoundRPM[k])) {
      frequency[k] = kSampleRate * rpm / SoundRPM[k];
    } else {
      frequency[k] = kStopFrequency;
      gain[k] = 0.0f;
    }
  }
}

void kxdengine00::UpdateVisual() {
  float throttle = ThrottleSetting();
  if (Instance && Record >= 0 && Record < kxdaircraftinstance::kEngineRecords) {
    kxdenginerecord& r = Instance->Engines[Record];
    r.throttle = throttle;
    const kxvector4r& e = ExhaustR;
    r.exhaust[0] = e.x * B.X.x + e.y * B.Y.x + e.z * B.Z.x + e.w * B.R.x;
    r.exhaust[1] = e.x * B.X.y + e.y * B.Y.y + e.z * B.Z.y + e.w * B.R.y;
    r.exhaust[2] = e.x * B.X.z + e.y * B.Y.z + e.z * B.Z.z + e.w * B.R.z;
    r.slipstream[0] = Instance->Slipstream.x;
    r.slipstream[1] = Instance->Slipstream.y;
    r.slipstream[2] = Instance->Slipstream.z;
  }
  float t = Clamp(throttle, 0.0f, 1.0f);
  if (W <= kSilentSpeed || Strike) {
    for (kxdcomponentsound& s : Sound) s.Update(kStopFrequency, 0.0f, &B.R.x, &D.R.x);
  } else {
    float gain[kSounds], frequency[kSounds];
    SoundMix(W * kxmaths::kRpmPerRadianPerSecond, t, gain, frequency);
    for (int k = 0; k < kSounds; ++k) Sound[k].Update(frequency[k], gain[k], &B.R.x, &D.R.x);
  }
  kxdbody::UpdateVisual();
}

