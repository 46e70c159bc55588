#include "dynamics/wings/multi_section_wing.h"

#include <cstring>

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

// A turning and sliding part: rest axes turned by the link, then the rest
// position moved by the link times the displacement.
void TurnAndSlide(kxgeometricobject* part, const kxvector4r rest[4], const kxvector4r& displacement, float value,
                  void (*turn)(kxgeometricobject*, const kxvector4r*, float)) {
  turn(part, rest, value);
  if (!part->R) return;
  *part->R = {rest[3].x + value * displacement.x, rest[3].y + value * displacement.y,
              rest[3].z + value * displacement.z, rest[3].w + value * displacement.w};
}

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
  if (std::strncmp(member, "Section", 7) == 0 && std::strcmp(member, "Sections") != 0) {
    return SectionMember(member, args);
  }
  return kxdbody::GetMember(member, args);
}

int kxdwing00::GetMemberName(const void* position, kxstring& out) {
  if (kxdwingkeys::Name(this, kKeys, position, out)) return 1;
  if (SectionMemberName(position, out)) return 1;
  return kxdbody::GetMemberName(position, out);
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
  if (Aileron) {
    kxvector4r rest[3] = {AileronX, AileronY, AileronZ};
    TakeAxes(Aileron, rest);
    AileronX = rest[0], AileronY = rest[1], AileronZ = rest[2];
  }
  if (Flap) {
    kxvector4r rest[3] = {FlapX, FlapY, FlapZ};
    TakeAxes(Flap, rest);
    FlapX = rest[0], FlapY = rest[1], FlapZ = rest[2];
    TakePosition(Flap, FlapR);
  }
  if (Flap1) {
    kxvector4r rest[3] = {Flap1X, Flap1Y, Flap1Z};
    TakeAxes(Flap1, rest);
    Flap1X = rest[0], Flap1Y = rest[1], Flap1Z = rest[2];
    TakePosition(Flap1, Flap1R);
  }
  if (Airbrake) TakePosition(Airbrake, AirbrakeR);
  RestTaken = 1;
  kxdbody::Prepare();
}

void kxdwing00::UpdateVisual() {
  // Before Prepare there are no rest frames to move from: the parts stay.
  float value = 0.0f;
  if (RestTaken && Aileron && LinkValue(AileronLink, value)) {
    const kxvector4r rest[3] = {AileronX, AileronY, AileronZ};
    TurnPart(Aileron, rest, value);
  }
  if (RestTaken && Flap && LinkValue(FlapLink, value)) {
    const kxvector4r rest[4] = {FlapX, FlapY, FlapZ, FlapR};
    TurnAndSlide(Flap, rest, FlapDisplacement, value, TurnPart);
  }
  if (RestTaken && Flap1 && LinkValue(Flap1Link, value)) {
    const kxvector4r rest[4] = {Flap1X, Flap1Y, Flap1Z, Flap1R};
    TurnAndSlide(Flap1, rest, Flap1Displacement, value, TurnPart);
  }
  if (RestTaken && Airbrake && LinkValue(AirbrakeLink, value)) {
    float d = (value + 1.0f) * 0.5f * AirbrakeDisplacement;
    SetPosition(Airbrake, {AirbrakeR.x, AirbrakeR.y, AirbrakeR.z + d, AirbrakeR.w});
  }
  kxdbody::UpdateVisual();
}

void kxdwing00::Write(kxout& out) {
  kxdwingkeys::WriteAll(out, this, kKeys);
  WriteSections(out);
  kxdbody::Write(out);
}

// The hinge-frame analysis of the moving parts comes with the wing's
// geometry analysis; until a mesh gives hinge frames the parts keep theirs.
