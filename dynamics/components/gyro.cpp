#include "dynamics/components/gyro.h"

#include <cmath>

#include "dynamics/components/component_support.h"

kxtype kxdgyro00::Type("kxdgyro00", sizeof(kxdgyro00), kxcreate<kxdgyro00>);

namespace {

using namespace kxdkeys;
using G = kxdgyro00;

// The gyro's lines before the body's; a link chooser offers its output.
constexpr kxdkey kRows[] = {
    KXD_KEY(G, SignalIn, kSignalIn, kRemap),
    KXD_KEY(G, SignalOut, kSignal, kCopy, kNamed | kListed),
    KXD_KEY(G, Gain, kReal, kCopy),
    KXD_KEY(G, Axis, kPoint, kCopy),
    Field(kCopy, KXD_AT(G, RawOutput), sizeof(float)),
    Field(kCopy, KXD_AT(G, Angle), sizeof(float)),
    Include(kxdbody::Keys),
};

}  // namespace

const kxdkeytable kxdgyro00::Keys(kRows);

kxdgyro00* kxdgyro00::As(kxnode* node) { return kxnode::As<kxdgyro00>(node); }

kxdgyro00::kxdgyro00() {
  type = &Type;
  SignalIn = nullptr;
  SignalOut = 0.0f;
  Gain = 1.0f;
  Angle = 0.0f;
  Axis = {0.0f, 0.0f, 1.0f, 0.0f};
  RawOutput = 0.0f;
}

float kxdgyro00::MeasuredRate() const {
  // World angular velocity from the frame and its derivative (each row's
  // derivative is omega x row).
  float wx = D.X.z * B.X.y + D.Y.z * B.Y.y + D.Z.z * B.Z.y;
  float wy = D.X.x * B.X.z + D.Y.x * B.Y.z + D.Z.x * B.Z.z;
  float wz = D.X.y * B.X.x + D.Y.y * B.Y.x + D.Z.y * B.Z.x;
  // Only the direction of Axis counts: a new gyro holds w 0 and a written
  // one w 1, and both must measure alike.
  kxvector4r n = {Axis.x * B.X.x + Axis.y * B.Y.x + Axis.z * B.Z.x, Axis.x * B.X.y + Axis.y * B.Y.y + Axis.z * B.Z.y,
                  Axis.x * B.X.z + Axis.y * B.Y.z + Axis.z * B.Z.z, 0.0f};
  float rate = n.x * wx + n.y * wy + n.z * wz;
  return std::isfinite(rate) ? rate : 0.0f;
}

void kxdgyro00::ComputeChange(kxdintegrable* change, int flag) {
  float rate = MeasuredRate();
  if (kxdgyro00* c = kxdcomponent::TwinOf(this, change)) c->Angle = rate;
  float raw = -Gain * (rate - kxdcomponent::Read(SignalIn));
  RawOutput = std::isfinite(raw) ? raw : 0.0f;
  kxdbody::ComputeChange(change, flag);
}

void kxdgyro00::Integrate(kxdintegrable* change, int flag, float dt) {
  if (kxdgyro00* c = kxdcomponent::TwinOf(this, change)) Angle += dt * c->Angle;
  RawOutput = kxdcomponent::Clamp(RawOutput, -1.0f, 1.0f);
  SignalOut = RawOutput;
  kxdbody::Integrate(change, flag, dt);
}

void kxdgyro00::Prepare() {
  RawOutput = 0.0f;
  Angle = 0.0f;
  kxdbody::Prepare();
}

