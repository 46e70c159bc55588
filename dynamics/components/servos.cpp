#include "dynamics/components/servos.h"

#include <cmath>

#include "core/hooks.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/receiver.h"

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

// Entries of the table a file holds: ValueNumber's, within the table.
int Points(const kxnode* node) { return static_cast<const kxdservo01*>(node)->Points(); }

using namespace kxdkeys;
using S0 = kxdservo00;
using S1 = kxdservo01;

// The position itself is state: a clone starts from ResetState.
constexpr kxdkey kServoRows[] = {
    KXD_KEY(kxdservo, SignalIn, kSignalIn, kRemap),
    KXD_KEY(kxdservo, MechLink, kMechLink, kNone, kNamed),
};

// Each servo's lines come before the body's.
constexpr kxdkey kServo00Rows[] = {
    Include(kxdservo::Keys),
    KXD_KEY(S0, P0, kReal, kCopy),
    KXD_KEY(S0, P1, kReal, kCopy),
    KXD_KEY(S0, P2, kReal, kCopy),
    KXD_KEY(S0, P3, kReal, kCopy),
    KXD_KEY(S0, PFirst, kReal, kCopy),
    KXD_KEY(S0, Vmax, kReal, kCopy),
    Include(kxdbody::Keys),
};

// The table is written as ValueIn/ValueOut pairs for the points in use; a
// clone gets all 32 entries.
constexpr kxdkey kServo01Rows[] = {
    Include(kxdservo::Keys),
    Key("VelocityIn  ", kReal, kCopy, KXD_AT(S1, VelocityIn)),
    Key("VelocityOut ", kReal, kCopy, KXD_AT(S1, VelocityOut)),
    Count("ValueNumber ", KXD_AT(S1, ValueNumber), S1::kPoints),
    Each("ValueIn(%d)  ", kReal, kCopy, KXD_EACH(S1, ValueIn), S1::kPoints, Points, kEveryEntry),
    Each("ValueOut(%d) ", kReal, kCopy, KXD_EACH(S1, ValueOut), S1::kPoints, Points, kEveryEntry),
    KXD_KEY(S1, PositionFirst, kReal, kCopy),
    Include(kxdbody::Keys),
};

}  // namespace

const kxdkeytable kxdservo::Keys(kServoRows);
const kxdkeytable kxdservo00::Keys(kServo00Rows);
const kxdkeytable kxdservo01::Keys(kServo01Rows);

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

inline void kxdservo00::Force(kxdservo00* c) const {
  // An unlinked servo holds still rather than drifting without end.
  if (!SignalIn) {
    c->Position = 0.0f;
    return;
  }
  float err = Position - Target(Read(SignalIn));
  c->Position = BangBang(err, Vmax, c->Position);
}

inline void kxdservo00::ForceInFrame(kxdservo00* c) const {
  if (!frameTargetSet) {
    Force(c);
    return;
  }
  c->Position = BangBang(Position - frameTarget, Vmax, c->Position);
}

void kxdservo00::TakeFrameTarget() {
  if (SignalIn != checkedSignal) {
    checkedSignal = SignalIn;
    fromReceiver = false;
    for (kxnode* n = parent ? parent->firstChild : nullptr; n && SignalIn; n = n->nextSibling) {
      const kxdreceiver00* r = kxdreceiver00::As(n);
      if (r && SignalIn >= r->Out && SignalIn < r->Out + kxdreceiver00::kOutputs) fromReceiver = true;
    }
  }
  frameTargetSet = fromReceiver;
  if (fromReceiver) frameTarget = Target(Read(SignalIn));
}

inline void kxdservo00::Step(const kxdservo00* c, float dt) {
  float next = Position + dt * c->Position;
  if (std::isfinite(next)) Position = next;
  MechLink = Position;
}

void kxdservo00::ComputeChange(kxdintegrable* change, int) {
  if (kxdservo00* c = TwinOf(this, change)) Force(c);
}

void kxdservo00::Integrate(kxdintegrable* change, int, float dt) {
  if (kxdservo00* c = TwinOf(this, change)) Step(c, dt);
}

void kxdservo00::ResetState() {
  float t = SignalIn ? Target(Read(SignalIn)) : 0.0f;
  if (std::fabs(PFirst) > kStartThreshold) t = Target(PFirst);
  Position = MechLink = std::isfinite(t) ? t : 0.0f;
  kxdintegrable::ResetState();
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

inline void kxdservo01::Force(kxdservo01* c) const {
  c->InputPosition = c->OutputPosition = 0.0f;
  if (!SignalIn) return;  // unlinked: holds still
  float err1 = InputPosition - Clamp(Read(SignalIn), -1.0f, 1.0f);
  c->InputPosition = BangBang(err1, VelocityIn, 0.0f);
  float err2 = OutputPosition - TableValue(InputPosition);
  c->OutputPosition = BangBang(err2, VelocityOut, 0.0f);
}

inline void kxdservo01::Step(const kxdservo01* c, float dt) {
  float in = InputPosition + dt * c->InputPosition;
  if (std::isfinite(in)) InputPosition = Clamp(in, -1.0f, 1.0f);
  float out = OutputPosition + dt * c->OutputPosition;
  if (std::isfinite(out)) OutputPosition = out;
  MechLink = OutputPosition;
}

void kxdservo01::ComputeChange(kxdintegrable* change, int) {
  if (kxdservo01* c = TwinOf(this, change)) Force(c);
}

void kxdservo01::Integrate(kxdintegrable* change, int, float dt) {
  if (kxdservo01* c = TwinOf(this, change)) Step(c, dt);
}

// ---- the batches: the driver checked each twin's class

namespace {

template <class S>
void ForceAll(kxdintegrable* const* pairs, int count) {
  for (int i = 0; i < count; ++i) static_cast<S*>(pairs[2 * i])->Force(static_cast<S*>(pairs[2 * i + 1]));
}

template <class S>
void StepAll(kxdintegrable* const* pairs, int count, float dt) {
  for (int i = 0; i < count; ++i) static_cast<S*>(pairs[2 * i])->Step(static_cast<S*>(pairs[2 * i + 1]), dt);
}

// The batch's frame takes the targets that stay over the frame first.
void ForceAll00(kxdintegrable* const* pairs, int count) {
  for (int i = 0; i < count; ++i) {
    static_cast<kxdservo00*>(pairs[2 * i])->ForceInFrame(static_cast<kxdservo00*>(pairs[2 * i + 1]));
  }
}

void FrameAll(kxdintegrable* const* pairs, int count) {
  for (int i = 0; i < count; ++i) static_cast<kxdservo00*>(pairs[2 * i])->TakeFrameTarget();
}

const kxdbody::batch kServo00Batch = {ForceAll00, StepAll<kxdservo00>, FrameAll};
const kxdbody::batch kServo01Batch = {ForceAll<kxdservo01>, StepAll<kxdservo01>};

}  // namespace

const kxdbody::batch* kxdservo::SubstepBatch(const kxdfold* fold) const {
  if (!fold) return nullptr;
  if (type == &kxdservo00::Type) return &kServo00Batch;
  if (type == &kxdservo01::Type) return &kServo01Batch;
  return nullptr;
}

void kxdservo01::ResetState() {
  float v = SignalIn ? Clamp(Read(SignalIn), -1.0f, 1.0f) : 0.0f;
  if (std::fabs(PositionFirst) > kStartThreshold && std::isfinite(PositionFirst)) v = PositionFirst;
  InputPosition = v;
  OutputPosition = MechLink = TableValue(v);
  kxdintegrable::ResetState();
}

