#include "dynamics/wings/sectioned_wing.h"

#include "core/output.h"
#include "graphics/geometric_object.h"
#include "dynamics/wings/wing_keys.h"

kxtype kxdwing10::Type("kxdwing10", sizeof(kxdwing10), kxcreate<kxdwing10>);
kxtype kxdwing11::Type("kxdwing11", sizeof(kxdwing11), kxcreate<kxdwing11>);
kxtype kxdwing12::Type("kxdwing12", sizeof(kxdwing12), kxcreate<kxdwing12>);

namespace {

using kind = kxdwingkind;

// File lines in their order; the section blocks follow.
const kxdwingkey<kxdwing10> kKeys[] = {
    KXD_WING_KEY(kxdwing10, Sections, kind::kSections),
    KXD_WING_KEY(kxdwing10, RootR, kind::kVector),
    KXD_WING_KEY(kxdwing10, RootN, kind::kVector),
    KXD_WING_KEY(kxdwing10, Flap, kind::kPart),
    KXD_WING_KEY(kxdwing10, Flap1, kind::kPart),
    KXD_WING_KEY(kxdwing10, FlapLink, kind::kLink),
    KXD_WING_KEY(kxdwing10, FlapRotation, kind::kReal),
    KXD_WING_KEY(kxdwing10, PropWashFactor, kind::kReal),
    KXD_WING_KEY(kxdwing10, RangeSpanMax, kind::kReal),
    KXD_WING_KEY(kxdwing10, RangeSpanMin, kind::kReal),
};

constexpr float kDefaultFlapRotation = 1.0f;

}  // namespace

kxdwing10::kxdwing10() {
  type = &Type;
  Sections = 1;
  FlapRotation = kDefaultFlapRotation;
  Flap = Flap1 = nullptr;
  FlapLink = nullptr;
  FlapX = FlapY = FlapZ = {0.0f, 0.0f, 0.0f, 0.0f};
  for (int i = 0; i < kMaxSections; ++i) {
    SectionFlapAlpha[i] = SectionFlapCl[i] = SectionFlapCd[i] = SectionFlapCm[i] = 0.0f;
  }
}

kxdwing11::kxdwing11() {
  type = &Type;
  ResetAxes(true);
}

kxdwing12::kxdwing12() { type = &Type; }

kxvalueptr kxdwing10::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  if (kxvalueptr v = kxdwingkeys::Lookup(this, kKeys, member)) return v;
  return SectionOrBodyMember(member, args);
}

int kxdwing10::GetMemberName(const void* position, kxstring& out) {
  if (kxdwingkeys::Name(this, kKeys, position, out)) return 1;
  return SectionOrBodyMemberName(position, out);
}

void kxdwing10::CopyTo(kxnode* other) {
  if (!other || other == this || other->type != type) return;
  kxdwing10* w = static_cast<kxdwing10*>(other);
  CopyCommon(w);
  w->FlapX = FlapX;
  w->FlapY = FlapY;
  w->FlapZ = FlapZ;
  w->FlapRotation = FlapRotation;
  for (int i = 0; i < SectionCount(); ++i) {
    w->SectionFlapAlpha[i] = SectionFlapAlpha[i];
    w->SectionFlapCl[i] = SectionFlapCl[i];
    w->SectionFlapCd[i] = SectionFlapCd[i];
    w->SectionFlapCm[i] = SectionFlapCm[i];
  }
  w->Flap = kxnode::Remap(Flap);
  w->Flap1 = kxnode::Remap(Flap1);
  w->FlapLink = kxnode::Remap(FlapLink);
  kxdbody::CopyTo(other);
}

void kxdwing10::Prepare() {
  TakeAxes(Flap, FlapX, FlapY, FlapZ);
  RestTaken = 1;
  kxdbody::Prepare();
}

void kxdwing10::UpdateVisual() {
  if (TurnByLink(Flap, FlapX, FlapY, FlapZ, FlapLink) && Flap1 && Flap1->X && Flap1->Y && Flap1->Z) {
    *Flap1->X = *Flap->X;
    *Flap1->Y = *Flap->Y;
    *Flap1->Z = *Flap->Z;
  }
  kxdbody::UpdateVisual();
}

void kxdwing10::Write(kxout& out) {
  kxdwingkeys::WriteAll(out, this, kKeys);
  WriteSections(out);
  kxdbody::Write(out);
}
