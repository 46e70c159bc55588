#include "dynamics/wings/aileron_wing.h"

#include "core/output.h"
#include "dynamics/wings/wing_keys.h"
#include "graphics/geometric_object.h"

kxtype kxdwing20::Type("kxdwing20", sizeof(kxdwing20), kxcreate<kxdwing20>);

namespace {

using kind = kxdwingkind;

constexpr float kDefaultCly = 0.7f;
constexpr int kDefaultSections = 2;

const kxdwingkey<kxdwing20> kKeys[] = {
    KXD_WING_KEY(kxdwing20, Sections, kind::kSections),
    KXD_WING_KEY(kxdwing20, RootR, kind::kVector),
    KXD_WING_KEY(kxdwing20, RootN, kind::kVector),
    KXD_WING_KEY(kxdwing20, PropWashFactor, kind::kReal),
    KXD_WING_KEY(kxdwing20, FuselageInterference, kind::kReal),
    KXD_WING_KEY(kxdwing20, Cly, kind::kReal),
    KXD_WING_KEY(kxdwing20, RangeSpanMax, kind::kReal),
    KXD_WING_KEY(kxdwing20, RangeSpanMin, kind::kReal),
    KXD_WING_KEY(kxdwing20, LeftAileron, kind::kPart),
    KXD_WING_KEY(kxdwing20, LeftAileronLink, kind::kLink),
    KXD_WING_KEY(kxdwing20, RightAileron, kind::kPart),
    KXD_WING_KEY(kxdwing20, RightAileronLink, kind::kLink),
    KXD_WING_KEY(kxdwing20, Flap, kind::kPart),
    KXD_WING_KEY(kxdwing20, FlapLink, kind::kLink),
    KXD_WING_KEY(kxdwing20, Airbrake, kind::kPart),
    KXD_WING_KEY(kxdwing20, AirbrakeLink, kind::kLink),
    KXD_WING_KEY(kxdwing20, AirbrakeDisplacement, kind::kReal),
    KXD_WING_KEY(kxdwing20, AirbrakeCl, kind::kReal),
    KXD_WING_KEY(kxdwing20, AirbrakeCd, kind::kReal),
};

}  // namespace

kxdwing20::kxdwing20() {
  type = &Type;
  Sections = kDefaultSections;
  Washout = FuselageInterference = 0.0f;
  Cly = kDefaultCly;
  LeftAileron = RightAileron = Flap = Airbrake = nullptr;
  LeftAileronLink = RightAileronLink = FlapLink = AirbrakeLink = nullptr;
  LeftAileronX = LeftAileronY = LeftAileronZ = {0.0f, 0.0f, 0.0f, 0.0f};
  RightAileronX = RightAileronY = RightAileronZ = {0.0f, 0.0f, 0.0f, 0.0f};
  FlapX = FlapY = FlapZ = AirbrakeR = {0.0f, 0.0f, 0.0f, 0.0f};
  AirbrakeDisplacement = 0.0f;
  AirbrakeCl = AirbrakeCd = 1.0f;
  for (int i = 0; i < kMaxSections; ++i) {
    SectionAileronAlpha[i] = SectionAileronCl[i] = SectionAileronCd[i] = SectionAileronCm[i] = 0.0f;
    SectionFlapAlpha[i] = SectionFlapCl[i] = SectionFlapCd[i] = SectionFlapCm[i] = 0.0f;
    SectionAirbrakeCl[i] = SectionAirbrakeCd[i] = 0.0f;
  }
}

kxvalueptr kxdwing20::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (kxvalueptr v = kxdwingkeys::Lookup(this, kKeys, member)) return v;
  return SectionOrBodyMember(member, args);
}

int kxdwing20::GetMemberName(const void* position, kxstring& out) {
  if (kxdwingkeys::Name(this, kKeys, position, out)) return 1;
  return SectionOrBodyMemberName(position, out);
}

void kxdwing20::CopyTo(kxnode* other) {
  if (!other || other == this || other->type != type) return;
  kxdwing20* w = static_cast<kxdwing20*>(other);
  CopyCommon(w);
  w->Cly = Cly;
  w->FuselageInterference = FuselageInterference;
  w->LeftAileronX = LeftAileronX;
  w->LeftAileronY = LeftAileronY;
  w->LeftAileronZ = LeftAileronZ;
  w->RightAileronX = RightAileronX;
  w->RightAileronY = RightAileronY;
  w->RightAileronZ = RightAileronZ;
  w->FlapX = FlapX;
  w->FlapY = FlapY;
  w->FlapZ = FlapZ;
  w->AirbrakeDisplacement = AirbrakeDisplacement;
  w->AirbrakeR = AirbrakeR;
  w->AirbrakeCd = AirbrakeCd;
  w->AirbrakeCl = AirbrakeCl;
  for (int i = 0; i < SectionCount(); ++i) {
    w->SectionAileronAlpha[i] = SectionAileronAlpha[i];
    w->SectionAileronCl[i] = SectionAileronCl[i];
    w->SectionAileronCd[i] = SectionAileronCd[i];
    w->SectionAileronCm[i] = SectionAileronCm[i];
    w->SectionFlapAlpha[i] = SectionFlapAlpha[i];
    w->SectionFlapCl[i] = SectionFlapCl[i];
    w->SectionFlapCd[i] = SectionFlapCd[i];
    w->SectionFlapCm[i] = SectionFlapCm[i];
    w->SectionAirbrakeCl[i] = SectionAirbrakeCl[i];
    w->SectionAirbrakeCd[i] = SectionAirbrakeCd[i];
  }
  w->Washout = Washout;
  w->SpanDirection = SpanDirection;
  w->LeftAileron = kxnode::Remap(LeftAileron);
  w->LeftAileronLink = kxnode::Remap(LeftAileronLink);
  w->RightAileron = kxnode::Remap(RightAileron);
  w->RightAileronLink = kxnode::Remap(RightAileronLink);
  w->Flap = kxnode::Remap(Flap);
  w->FlapLink = kxnode::Remap(FlapLink);
  w->Airbrake = kxnode::Remap(Airbrake);
  w->AirbrakeLink = kxnode::Remap(AirbrakeLink);
  kxdbody::CopyTo(other);
}

// No lift, drag, gravity or contact: the wing's part in the flight is what
// it draws. The accumulators still go to the twin through FinishChange.
void kxdwing20::ComputeChange(kxdintegrable*, int) {}

void kxdwing20::Prepare() {
  TakeAxes(LeftAileron, LeftAileronX, LeftAileronY, LeftAileronZ);
  TakeAxes(RightAileron, RightAileronX, RightAileronY, RightAileronZ);
  TakeAxes(Flap, FlapX, FlapY, FlapZ);
  TakePosition(Airbrake, AirbrakeR);
  RestTaken = 1;
  kxdbody::Prepare();
}

void kxdwing20::UpdateVisual() {
  TurnByLink(LeftAileron, LeftAileronX, LeftAileronY, LeftAileronZ, LeftAileronLink);
  TurnByLink(RightAileron, RightAileronX, RightAileronY, RightAileronZ, RightAileronLink);
  TurnByLink(Flap, FlapX, FlapY, FlapZ, FlapLink);
  SlideOutByLink(Airbrake, AirbrakeR, AirbrakeDisplacement, AirbrakeLink);
  kxdbody::UpdateVisual();
}

void kxdwing20::Write(kxout& out) {
  kxdwingkeys::WriteAll(out, this, kKeys);
  kxdbody::Write(out);
}
