#include "dynamics/wings/sectioned_wing.h"

#include "graphics/geometric_object.h"

kxtype kxdwing10::Type("kxdwing10", sizeof(kxdwing10), kxcreate<kxdwing10>);
kxtype kxdwing11::Type("kxdwing11", sizeof(kxdwing11), kxcreate<kxdwing11>);
kxtype kxdwing12::Type("kxdwing12", sizeof(kxdwing12), kxcreate<kxdwing12>);

namespace {

using namespace kxdkeys;
using W = kxdwing10;
constexpr int kSections = kxdwing::kMaxSections;
#define SECTIONS(member) KXD_EACH(W, member), sizeof(float), kSections, kxdwing::SectionsOf

// The wing's lines, its section blocks, then the body's. The span ranges
// are the designer's; tip point and span direction are the analysis'.
constexpr kxdkey kRows[] = {
    Count("Sections ", KXD_AT(W, Sections), kSections, kNamed),
    KXD_KEY(W, RootR, kVector4f, kCopy, kNamed),
    KXD_KEY(W, RootN, kVector4f, kCopy, kNamed),
    KXD_KEY(W, Flap, kPart, kRemap, kNamed),
    KXD_KEY(W, Flap1, kPart, kRemap, kNamed),
    KXD_KEY(W, FlapLink, kControl, kRemap, kNamed),
    KXD_KEY(W, FlapRotation, kReal, kCopy, kNamed),
    KXD_KEY(W, PropWashFactor, kReal, kCopy, kNamed),
    KXD_KEY(W, RangeSpanMax, kReal, kNone, kNamed),
    KXD_KEY(W, RangeSpanMin, kReal, kNone, kNamed),
    Include(kxdwing::SectionKeys),
    Field(kCopy, SECTIONS(SectionFlapAlpha)),
    Field(kCopy, SECTIONS(SectionFlapCl)),
    Field(kCopy, SECTIONS(SectionFlapCd)),
    Field(kCopy, SECTIONS(SectionFlapCm)),
    Field(kCopy, KXD_AT(W, FlapX), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapY), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapZ), sizeof(kxvector4r)),
    Include(kxdbody::Keys),
};

#undef SECTIONS

constexpr float kDefaultFlapRotation = 1.0f;

}  // namespace

const kxdkeytable kxdwing10::Keys(kRows);

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

