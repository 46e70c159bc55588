#include "dynamics/wings/multi_section_wing.h"

#include "core/output.h"
#include "dynamics/wings/wing_keys.h"
#include "graphics/geometric_object.h"

kxtype kxdwing00::Type("kxdwing00", sizeof(kxdwing00), kxcreate<kxdwing00>);

namespace {

using kind = kxdwingkind;

constexpr float kDefaultCly = 0.7f;
constexpr int kDefaultSections = 2;

// File lines in their order; the section blocks follow.
const kxdwingkey<kxdwing00> kKeys[] = {
    KXD_WING_KEY(kxdwing00, Sections, kind::kSections),
    KXD_WING_KEY(kxdwing00, RootR, kind::kVector),
    KXD_WING_KEY(kxdwing00, RootN, kind::kVector),
    KXD_WING_KEY(kxdwing00, PropWashFactor, kind::kReal),
    KXD_WING_KEY(kxdwing00, FuselageInterference, kind::kReal),
    KXD_WING_KEY(kxdwing00, Cly, kind::kReal),
    KXD_WING_KEY(kxdwing00, RangeSpanMax, kind::kReal),
    KXD_WING_KEY(kxdwing00, RangeSpanMin, kind::kReal),
    KXD_WING_KEY(kxdwing00, IncidenceOffset, kind::kReal),
    KXD_WING_KEY(kxdwing00, FlapEffect, kind::kReal),
    KXD_WING_KEY(kxdwing00, Aileron, kind::kPart),
    KXD_WING_KEY(kxdwing00, AileronLink, kind::kLink),
    KXD_WING_KEY(kxdwing00, Flap, kind::kPart),
    KXD_WING_KEY(kxdwing00, FlapDisplacement, kind::kVector),
    KXD_WING_KEY(kxdwing00, FlapLink, kind::kLink),
    KXD_WING_KEY(kxdwing00, Flap1, kind::kPart),
    KXD_WING_KEY(kxdwing00, Flap1Link, kind::kLink),
    KXD_WING_KEY(kxdwing00, Flap1Displacement, kind::kVector),
    KXD_WING_KEY(kxdwing00, Airbrake, kind::kPart),
    KXD_WING_KEY(kxdwing00, AirbrakeLink, kind::kLink),
    KXD_WING_KEY(kxdwing00, AirbrakeDisplacement, kind::kReal),
    KXD_WING_KEY(kxdwing00, AirbrakeCl, kind::kReal),
    KXD_WING_KEY(kxdwing00, AirbrakeCd, kind::kReal),
};

}  // namespace

kxdwing00::kxdwing00() {
  type = &Type;
  Sections = kDefaultSections;
  Washout = IncidenceOffset = FuselageInterference = 0.0f;
  Cly = kDefaultCly;
  Aileron = Flap = Flap1 = Airbrake = nullptr;
  AileronLink = FlapLink = Flap1Link = AirbrakeLink = nullptr;
  AileronX = AileronY = AileronZ = {0.0f, 0.0f, 0.0f, 0.0f};
  FlapX = FlapY = FlapZ = FlapR = FlapDisplacement = {0.0f, 0.0f, 0.0f, 0.0f};
  Flap1X = Flap1Y = Flap1Z = Flap1R = Flap1Displacement = {0.0f, 0.0f, 0.0f, 0.0f};
  AirbrakeR = {0.0f, 0.0f, 0.0f, 0.0f};
  FlapEffect = 1.0f;
  AirbrakeDisplacement = 0.0f;
  AirbrakeCl = AirbrakeCd = 1.0f;
  for (int i = 0; i < kMaxSections; ++i) {
    SectionAileronAlpha[i] = SectionAileronCl[i] = SectionAileronCd[i] = SectionAileronCm[i] = 0.0f;
    SectionFlapAlpha[i] = SectionFlapCl[i] = SectionFlapCd[i] = SectionFlapCm[i] = 0.0f;
    SectionFlap1Alpha[i] = SectionFlap1Cl[i] = SectionFlap1Cd[i] = SectionFlap1Cm[i] = 0.0f;
    SectionAirbrakeCl[i] = SectionAirbrakeCd[i] = 0.0f;
  }
}

kxvalueptr kxdwing00::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (kxvalueptr v = kxdwingkeys::Lookup(this, kKeys, member)) return v;
  return SectionOrBodyMember(member, args);
}

int kxdwing00::GetMemberName(const void* position, kxstring& out) {
  if (kxdwingkeys::Name(this, kKeys, position, out)) return 1;
  return SectionOrBodyMemberName(position, out);
}

void kxdwing00::CopyTo(kxnode* other) {
  if (!other || other == this || other->type != type) return;
  kxdwing00* w = static_cast<kxdwing00*>(other);
  CopyCommon(w);
  w->Cly = Cly;
  w->FuselageInterference = FuselageInterference;
  w->AileronX = AileronX;
  w->AileronY = AileronY;
  w->AileronZ = AileronZ;
  w->FlapX = FlapX;
  w->FlapY = FlapY;
  w->FlapZ = FlapZ;
  w->FlapR = FlapR;
  w->Flap1X = Flap1X;
  w->Flap1Y = Flap1Y;
  w->Flap1Z = Flap1Z;
  w->Flap1R = Flap1R;
  w->AirbrakeR = AirbrakeR;
  w->FlapEffect = FlapEffect;
  w->FlapDisplacement = FlapDisplacement;
  w->Flap1Displacement = Flap1Displacement;
  w->AirbrakeDisplacement = AirbrakeDisplacement;
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
    w->SectionFlap1Alpha[i] = SectionFlap1Alpha[i];
    w->SectionFlap1Cl[i] = SectionFlap1Cl[i];
    w->SectionFlap1Cd[i] = SectionFlap1Cd[i];
    w->SectionFlap1Cm[i] = SectionFlap1Cm[i];
    w->SectionAirbrakeCl[i] = SectionAirbrakeCl[i];
    w->SectionAirbrakeCd[i] = SectionAirbrakeCd[i];
  }
  w->IncidenceOffset = IncidenceOffset;
  w->Washout = Washout;
  w->SpanDirection = SpanDirection;
  w->Aileron = kxnode::Remap(Aileron);
  w->AileronLink = kxnode::Remap(AileronLink);
  w->Flap = kxnode::Remap(Flap);
  w->FlapLink = kxnode::Remap(FlapLink);
  w->Flap1 = kxnode::Remap(Flap1);
  w->Flap1Link = kxnode::Remap(Flap1Link);
  w->Airbrake = kxnode::Remap(Airbrake);
  w->AirbrakeLink = kxnode::Remap(AirbrakeLink);
  kxdbody::CopyTo(other);
}

void kxdwing00::Prepare() {
  TakeAxes(Aileron, AileronX, AileronY, AileronZ);
  TakeAxes(Flap, FlapX, FlapY, FlapZ);
  TakePosition(Flap, FlapR);
  TakeAxes(Flap1, Flap1X, Flap1Y, Flap1Z);
  TakePosition(Flap1, Flap1R);
  TakePosition(Airbrake, AirbrakeR);
  RestTaken = 1;
  kxdbody::Prepare();
}

void kxdwing00::UpdateVisual() {
  TurnByLink(Aileron, AileronX, AileronY, AileronZ, AileronLink);
  TurnAndSlideByLink(Flap, FlapX, FlapY, FlapZ, FlapR, FlapDisplacement, FlapLink);
  TurnAndSlideByLink(Flap1, Flap1X, Flap1Y, Flap1Z, Flap1R, Flap1Displacement, Flap1Link);
  SlideOutByLink(Airbrake, AirbrakeR, AirbrakeDisplacement, AirbrakeLink);
  kxdbody::UpdateVisual();
}

void kxdwing00::Write(kxout& out) {
  kxdwingkeys::WriteAll(out, this, kKeys);
  WriteSections(out);
  kxdbody::Write(out);
}

// The hinge-frame analysis of the moving parts comes with the wing's
// geometry analysis; until a mesh gives hinge frames the parts keep theirs.
