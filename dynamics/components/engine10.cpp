#include "dynamics/components/engine10.h"

#include <cmath>

#include "core/maths.h"
#include "dynamics/components/component_support.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "graphics/geometric_object.h"

kxtype kxdengine10::Type("kxdengine10", sizeof(kxdengine10), kxcreate<kxdengine10>);

using kxdcomponent::Clamp;
using kxdcomponent::Read;

namespace {

constexpr float kRotorInertiaPerKg = 3.57e-5f;    // kg m^2 of the armature per kg of motor
constexpr float kCutOff = 0.05f;                  // throttle below it gives no drive
constexpr float kStartDecay = 0.2f;               // 1/s
constexpr float kSampleRate = 22050.0f;           // Hz of the recorded sample
constexpr float kMinGearRatio = 0.01f;            // a reduction of 100 to 1; a ratio of 0 would stop the shaft

using namespace kxdkeys;
using E = kxdengine10;

// The body's lines first; the reals with six decimals. The motor and cell
// positions stay with the template: the analysis has placed the body from
// them already.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(E, ThrottleControl, kControl, kRemap),
    Key("Sound0File ", kName, kCopy, KXD_AT(E, Sound.name)),
    KXD_KEY(E, Sound0RPM, kFixed, kCopy),
    KXD_KEY(E, Sound0RPMLow, kFixed, kCopy),
    KXD_KEY(E, TorqueFactor, kFixed, kCopy),
    KXD_KEY(E, ConstantRPM, kInt, kCopy),
    KXD_KEY(E, MotorNs, kFixed, kCopy),
    KXD_KEY(E, MotorRi, kFixed, kCopy),
    KXD_KEY(E, MotorI0, kFixed, kCopy),
    KXD_KEY(E, MotorMass, kFixed, kCopy),
    KXD_KEY(E, MotorR, kPoint, kNone),
    KXD_KEY(E, CellNum, kWhole, kCopy),
    KXD_KEY(E, CellVoltage, kFixed, kCopy),
    KXD_KEY(E, CellMass, kFixed, kCopy),
    KXD_KEY(E, CellRi, kFixed, kCopy),
    KXD_KEY(E, CellR, kPoint, kNone),
    KXD_KEY(E, GearRatio, kFixed, kCopy),
    KXD_KEY(E, GearMass, kFixed, kCopy),
    KXD_KEY(E, GearEta, kFixed, kCopy),
    Field(kCopy, KXD_AT(E, Start), sizeof(float)),
    Field(kCopy, KXD_AT(E, RotatingInertia), sizeof(float)),
};

// Clamp that also brings a non-finite key into the range (at its low end).
float Limit(float v, float lo, float hi) { return std::isfinite(v) ? Clamp(v, lo, hi) : lo; }

// Point-mass inertia m P(d) added into I (16 floats, body axes).
void AddPointMass(float I[16], float m, const kxvector4r& d) {
  I[0] += m * (d.y * d.y + d.z * d.z);
  I[5] += m * (d.x * d.x + d.z * d.z);
  I[10] += m * (d.x * d.x + d.y * d.y);
  I[1] -= m * d.x * d.y;
  I[4] -= m * d.x * d.y;
  I[2] -= m * d.x * d.z;
  I[8] -= m * d.x * d.z;
  I[6] -= m * d.y * d.z;
  I[9] -= m * d.y * d.z;
  I[15] += m;
}

}  // namespace

const kxdkeytable kxdengine10::Keys(kRows);

kxdengine10* kxdengine10::As(kxnode* node) { return kxnode::As<kxdengine10>(node); }

kxdengine10::kxdengine10() : kxdengine(kStartDecay) {
  type = &Type;
  ConstantRPM = 0;
  TorqueFactor = 0.1f;
  CellNum = 8.0f;
  CellVoltage = 1.2f;
  CellMass = 0.056f;
  CellRi = 0.00012f;
  MotorNs = 1000.0f;
  MotorRi = 0.047f;
  MotorI0 = 1.5f;
  MotorMass = 0.28f;
  GearRatio = 1.0f;
  GearEta = 1.0f;
  GearMass = 0.0f;
  MotorR = CellR = {0.0f, 0.0f, 0.0f, 1.0f};
  Throttle = 0.0f;
  Sound0RPM = 1000.0f;
  Sound0RPMLow = 0.0f;
  ThrottleControl = nullptr;
  RotatingInertia = kRotorInertiaPerKg * MotorMass;
}

kxdengine10::~kxdengine10() { Sound.Release(); }

float kxdengine10::K() const { return kxmaths::kRpmPerRadianPerSecond / (MotorNs >= 1.0f ? MotorNs : 1.0f); }

float kxdengine10::BatteryVoltage() const { return CellNum * CellVoltage; }

float kxdengine10::Ratio() const { return GearRatio > kMinGearRatio ? GearRatio : kMinGearRatio; }

float kxdengine10::Resistance() const { return MotorRi + CellNum * CellRi; }

float kxdengine10::NoLoadSpeed() const { return (BatteryVoltage() - MotorRi * MotorI0) / K(); }

void kxdengine10::ClampKeys() {
  MotorNs = Limit(MotorNs, 1.0f, 20000.0f);
  MotorRi = Limit(MotorRi, 0.001f, 10.0f);
  MotorI0 = Limit(MotorI0, 0.01f, 10.0f);
  MotorMass = Limit(MotorMass, 0.01f, 10.0f);
  CellNum = Limit(std::trunc(CellNum), 1.0f, 50.0f);
  CellVoltage = Limit(CellVoltage, 0.1f, 10.0f);
  CellMass = Limit(CellMass, 0.001f, 0.5f);
  CellRi = Limit(CellRi, 0.0f, 1.0f);
  GearRatio = Limit(GearRatio, kMinGearRatio, 10.0f);
  GearMass = Limit(GearMass, 0.0f, 10.0f);
  GearEta = Limit(GearEta, 0.5f, 1.0f);
}

void kxdengine10::Analyse() {
  B.X = {1.0f, 0.0f, 0.0f, 0.0f};
  B.Y = {0.0f, 1.0f, 0.0f, 0.0f};
  B.Z = {0.0f, 0.0f, 1.0f, 0.0f};
  Sound.Load();
  ClampKeys();
  float m1 = MotorMass + GearMass, m2 = CellNum * CellMass;
  Mass = m1 + m2;
  // Both masses are positive after the clamp, so the division is safe.
  B.R = {(m1 * MotorR.x + m2 * CellR.x) / Mass, (m1 * MotorR.y + m2 * CellR.y) / Mass,
         (m1 * MotorR.z + m2 * CellR.z) / Mass, 1.0f};
  for (float& f : Inertia) f = 0.0f;
  AddPointMass(Inertia, m1, {MotorR.x - B.R.x, MotorR.y - B.R.y, MotorR.z - B.R.z, 0.0f});
  AddPointMass(Inertia, m2, {CellR.x - B.R.x, CellR.y - B.R.y, CellR.z - B.R.z, 0.0f});
  RotatingInertia = kRotorInertiaPerKg * MotorMass;
  Start = 0.0f;
  if (kxgeometricobject* g = Geometry) {
    g->Rebuild();
    kxdgeometry::ApplyFrame(g, B);
  }
  kxdintegrable::Analyse();
}

float kxdengine10::DriveTorque(float* reaction) {
  float k = K();
  Throttle = 0.0f;
  float t = 0.0f;
  if (ThrottleControl) {
    t = (Read(ThrottleControl) + 1.0f) * 0.5f;
    if (Start > 0.0f) t *= 1.0f - Start;
    if (t < kCutOff) {
      t = 0.0f;
    } else {
      t = std::fmin(t, 1.0f);
      Throttle = t;
    }
  }
  float ub = BatteryVoltage();
  float w0 = NoLoadSpeed();
  float ratio = Ratio();
  float wm = W / ratio;
  float u = 0.0f;
  if (ConstantRPM == 0) {
    u = t * ub;
  } else if (w0 > 0.0f) {
    // Bang-bang speed hold: full voltage while below the commanded speed.
    u = (t * w0 - wm) / w0 > 0.0f ? ub : 0.0f;
  }
  float current = (u - k * wm) / Resistance();
  float qm = k * (current - t * MotorI0);
  float qs = qm / ratio;
  if (!std::isfinite(qs)) qs = 0.0f;
  *reaction = TorqueFactor * Throttle * qs;
  return qs;
}

float kxdengine10::DriveDamping() const {
  float k = K(), ratio = Ratio(), r = Resistance();
  float damping = k * k / (r * ratio * ratio);
  return std::isfinite(damping) && damping > 0.0f ? damping : 0.0f;
}

void kxdengine10::Prepare() {
  // A clone carries only the sample names: the simulated copy loads its own
  // samples, which its destructor releases again.
  if (!Sound.sample) Sound.Load();
  kxdbody::Prepare();
}

void kxdengine10::ResetState() {
  ResetShaft();
  kxdintegrable::ResetState();
}

void kxdengine10::UpdateVisual() {
  float rpm = W * kxmaths::kRpmPerRadianPerSecond;
  float volume = rpm < Sound0RPMLow ? 0.0f : 0.7f + 0.3f * Throttle;
  float frequency = 0.0f;
  if (Sound0RPM > 0.0f && std::isfinite(Sound0RPM)) {
    frequency = kSampleRate * rpm / Sound0RPM;
  } else {
    volume = 0.0f;  // a sample without a positive rpm key cannot be pitched
  }
  Sound.Update(frequency, volume, &B.R.x, &D.R.x);
  kxdbody::UpdateVisual();
}

