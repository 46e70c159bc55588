#include "dynamics/components/gyro.h"

#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/components/component_support.h"
#include "dynamics/links.h"
#include "dynamics/write_links.h"

kxtype kxdgyro00::Type("kxdgyro00", sizeof(kxdgyro00), kxcreate<kxdgyro00>);

kxdgyro00* kxdgyro00::As(kxnode* node) {
  if (!node || !kxtype::IsDerivedFrom(node->type, &Type)) return nullptr;
  return static_cast<kxdgyro00*>(node);
}

kxdgyro00::kxdgyro00() {
  type = &Type;
  SignalIn = nullptr;
  SignalOut = 0.0f;
  Gain = 1.0f;
  Angle = 0.0f;
  Axis = {0.0f, 0.0f, 1.0f, 0.0f};
  RawOutput = 0.0f;
}

kxvalueptr kxdgyro00::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (std::strcmp(member, "SignalIn") == 0) return kxdlink::SignalRef(&SignalIn);
  if (std::strcmp(member, "SignalOut") == 0) return kxvalueptr(new kxrealref(&SignalOut, &kxdlinktypes::Signal));
  if (std::strcmp(member, "Gain") == 0) return kxvalueptr(new kxrealref(&Gain));
  if (std::strcmp(member, "Axis") == 0) return kxvalueptr(new kxvectorref(&Axis.x));
  return kxdbody::GetMember(member, args);
}

void kxdgyro00::CopyTo(kxnode* other) {
  kxdgyro00* g = As(other);
  if (!g || g == this) return;
  g->SignalIn = kxnode::Remap(SignalIn);
  g->SignalOut = SignalOut;
  g->RawOutput = RawOutput;
  g->Gain = Gain;
  g->Axis = Axis;
  g->Angle = Angle;
  kxdbody::CopyTo(other);
}

int kxdgyro00::GetMemberName(const void* position, kxstring& out) {
  if (position == &SignalOut) {
    out = "SignalOut";
    return 1;
  }
  return kxdbody::GetMemberName(position, out);
}

void kxdgyro00::GetMemberNames(const kxtype* valueType, std::vector<kxstring>& out) {
  if (valueType == &kxdlinktypes::Signal) out.push_back(kxstring("SignalOut"));
  out.push_back(kxstring(""));
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

void kxdgyro00::Write(kxout& out) {
  kxdwrite::AircraftLink(out, "SignalIn", SignalIn);
  out.Printf("Gain = %g\n", Gain);
  kxdcomponent::WritePoint(out, "Axis", Axis);
  kxdbody::Write(out);
}
