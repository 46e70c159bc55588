#include "dynamics/components/servos.h"

#include <cmath>
#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/components/component_support.h"
#include "dynamics/links.h"
#include "dynamics/write_links.h"

kxtype kxdservo00::Type("kxdservo00", sizeof(kxdservo00), kxcreate<kxdservo00>);
kxtype kxdservo01::Type("kxdservo01", sizeof(kxdservo01), kxcreate<kxdservo01>);

using kxdcomponent::Clamp;
using kxdcomponent::Read;
using kxdcomponent::TwinOf;

namespace {

// Error beyond which a servo moves. The comparison is deliberately lopsided
// (err > +e moves down, err < +e moves up), so a servo on target chatters by
// one step around it rather than resting.
constexpr float kDeadBand = 0.0001f;
constexpr float kStartThreshold = 0.001f;  // |PFirst|, |PositionFirst| above it count as set

// The rate of a bang-bang mover for an error; the previous rate on the edge.
float BangBang(float err, float speed, float previous) {
  if (err > kDeadBand) return -speed;
  if (err < kDeadBand) return speed;
  return previous;
}

// Also the order of the file lines.
const kxdcomponent::realkey<kxdservo00> kServo00Keys[] = {
    {"P0", &kxdservo00::P0}, {"P1", &kxdservo00::P1},         {"P2", &kxdservo00::P2},
    {"P3", &kxdservo00::P3}, {"PFirst", &kxdservo00::PFirst}, {"Vmax", &kxdservo00::Vmax},
};

const kxdcomponent::realkey<kxdservo01> kServo01Keys[] = {
    {"PositionFirst", &kxdservo01::PositionFirst},
    {"VelocityIn", &kxdservo01::VelocityIn},
    {"VelocityOut", &kxdservo01::VelocityOut},
};

}  // namespace

// ---- shared

kxdservo::kxdservo() {
  Mass = 0.0f;
  for (float& f : Inertia) f = 0.0f;
  SignalIn = nullptr;
  MechLink = 0.0f;
}

kxdservo* kxdservo::As(kxnode* node) {
  if (!node) return nullptr;
  if (kxtype::IsDerivedFrom(node->type, &kxdservo00::Type) || kxtype::IsDerivedFrom(node->type, &kxdservo01::Type)) {
    return static_cast<kxdservo*>(node);
  }
  return nullptr;
}

int kxdservo::GetMemberName(const void* position, kxstring& out) {
  if (position == &MechLink) {
    out = "MechLink";
    return 1;
  }
  return kxdbody::GetMemberName(position, out);
}

// ---- kxdservo00

kxdservo00::kxdservo00() {
  type = &Type;
  P0 = 0.0f;
  P1 = 1.0f;
  P2 = P3 = 0.0f;
  Position = 0.0f;
  Vmax = 5.0f;
  PFirst = 0.0f;
}

float kxdservo00::Target(float s) const { return P0 + s * (P1 + s * (P2 + s * P3)); }

kxvalueptr kxdservo00::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (std::strcmp(member, "SignalIn") == 0) return kxdlink::SignalRef(&SignalIn);
  if (std::strcmp(member, "MechLink") == 0) return kxvalueptr(new kxrealref(&MechLink, &kxdlinktypes::MechLink));
  if (kxvalueptr v = kxdcomponent::FindReal(this, kServo00Keys, member)) return v;
  return kxdbody::GetMember(member, args);
}

void kxdservo00::CopyTo(kxnode* other) {
  if (!other || other == this || other->type != type) return;
  kxdservo00* s = static_cast<kxdservo00*>(other);
  s->SignalIn = kxnode::Remap(SignalIn);
  kxdcomponent::CopyReals(this, s, kServo00Keys);
  kxdbody::CopyTo(other);
}

void kxdservo00::ComputeChange(kxdintegrable* change, int) {
  kxdservo00* c = TwinOf(this, change);
  if (!c) return;
  // An unlinked servo holds still rather than drifting without end.
  if (!SignalIn) {
    c->Position = 0.0f;
    return;
  }
  float err = Position - Target(Read(SignalIn));
  c->Position = BangBang(err, Vmax, c->Position);
}

void kxdservo00::Integrate(kxdintegrable* change, int, float dt) {
  kxdservo00* c = TwinOf(this, change);
  if (!c) return;
  float next = Position + dt * c->Position;
  if (std::isfinite(next)) Position = next;
  MechLink = Position;
}

void kxdservo00::ResetState() {
  float t = SignalIn ? Target(Read(SignalIn)) : 0.0f;
  if (std::fabs(PFirst) > kStartThreshold) t = Target(PFirst);
  Position = MechLink = std::isfinite(t) ? t : 0.0f;
  kxdintegrable::ResetState();
}

void kxdservo00::Write(kxout& out) {
  kxdwrite::AircraftLink(out, "SignalIn", SignalIn);
  kxdcomponent::WriteReals(out, this, kServo00Keys);
  kxdbody::Write(out);
}

// ---- kxdservo01

kxdservo01::kxdservo01() {
  type = &Type;
  VelocityIn = VelocityOut = 1.0f;
  for (int i = 0; i < kPoints; ++i) ValueIn[i] = ValueOut[i] = 0.0f;
  ValueIn[0] = ValueOut[0] = -1.0f;
  ValueIn[1] = ValueOut[1] = 1.0f;
  ValueNumber = 2;
  InputPosition = OutputPosition = 0.0f;
  PositionFirst = 0.0f;
}

int kxdservo01::Points() const { return ValueNumber < 0 ? 0 : (ValueNumber > kPoints ? kPoints : ValueNumber); }

float kxdservo01::TableValue(float p) const {
  int n = Points();
  for (int i = 0; i + 1 < n; ++i) {
    float a = ValueIn[i], b = ValueIn[i + 1];
    if (!(a <= p && p <= b)) continue;
    // A segment of zero width holds only its own abscissa and has no slope;
    // the next segment answers for it.
    if (!(b > a)) continue;
    float v = ValueOut[i] + (p - a) / (b - a) * (ValueOut[i + 1] - ValueOut[i]);
    return std::isfinite(v) ? v : 0.0f;
  }
  return 0.0f;
}

kxvalueptr kxdservo01::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (std::strcmp(member, "SignalIn") == 0) return kxdlink::SignalRef(&SignalIn);
  if (std::strcmp(member, "MechLink") == 0) return kxvalueptr(new kxrealref(&MechLink, &kxdlinktypes::MechLink));
  if (std::strcmp(member, "ValueNumber") == 0) return kxvalueptr(new kxintref(&ValueNumber));
  bool in = std::strcmp(member, "ValueIn") == 0;
  if (in || std::strcmp(member, "ValueOut") == 0) {
    int i = args.Index(0, kPoints);
    if (i < 0) {
      kxcore::Log("kxdservo01:  %s(%d) is no table entry of %s\n", member, args.Int(0, -1), name.Text());
      return nullptr;
    }
    return kxvalueptr(new kxrealref(in ? &ValueIn[i] : &ValueOut[i]));
  }
  if (kxvalueptr v = kxdcomponent::FindReal(this, kServo01Keys, member)) return v;
  return kxdbody::GetMember(member, args);
}

void kxdservo01::CopyTo(kxnode* other) {
  if (!other || other == this || other->type != type) return;
  kxdservo01* s = static_cast<kxdservo01*>(other);
  s->SignalIn = kxnode::Remap(SignalIn);
  std::memcpy(s->ValueIn, ValueIn, sizeof ValueIn);
  std::memcpy(s->ValueOut, ValueOut, sizeof ValueOut);
  s->ValueNumber = ValueNumber;
  kxdcomponent::CopyReals(this, s, kServo01Keys);
  kxdbody::CopyTo(other);
}

void kxdservo01::ComputeChange(kxdintegrable* change, int) {
  kxdservo01* c = TwinOf(this, change);
  if (!c) return;
  c->InputPosition = c->OutputPosition = 0.0f;
  if (!SignalIn) return;  // unlinked: holds still
  float err1 = InputPosition - Clamp(Read(SignalIn), -1.0f, 1.0f);
  c->InputPosition = BangBang(err1, VelocityIn, 0.0f);
  float err2 = OutputPosition - TableValue(InputPosition);
  c->OutputPosition = BangBang(err2, VelocityOut, 0.0f);
}

void kxdservo01::Integrate(kxdintegrable* change, int, float dt) {
  kxdservo01* c = TwinOf(this, change);
  if (!c) return;
  float in = InputPosition + dt * c->InputPosition;
  if (std::isfinite(in)) InputPosition = Clamp(in, -1.0f, 1.0f);
  float out = OutputPosition + dt * c->OutputPosition;
  if (std::isfinite(out)) OutputPosition = out;
  MechLink = OutputPosition;
}

void kxdservo01::ResetState() {
  float v = SignalIn ? Clamp(Read(SignalIn), -1.0f, 1.0f) : 0.0f;
  if (std::fabs(PositionFirst) > kStartThreshold && std::isfinite(PositionFirst)) v = PositionFirst;
  InputPosition = v;
  OutputPosition = MechLink = TableValue(v);
  kxdintegrable::ResetState();
}

void kxdservo01::Write(kxout& out) {
  kxdwrite::AircraftLink(out, "SignalIn", SignalIn);
  out.Printf("VelocityIn  = %g\n", VelocityIn);
  out.Printf("VelocityOut = %g\n", VelocityOut);
  int n = Points();
  out.Printf("ValueNumber = %d\n", n);
  for (int i = 0; i < n; ++i) {
    out.Printf("ValueIn(%d)  = %g\n", i, ValueIn[i]);
    out.Printf("ValueOut(%d) = %g\n", i, ValueOut[i]);
  }
  out.Printf("PositionFirst = %g\n", PositionFirst);
  kxdbody::Write(out);
}
