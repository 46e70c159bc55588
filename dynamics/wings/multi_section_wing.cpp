#include "dynamics/wings/multi_section_wing.h"

#include "graphics/geometric_object.h"

kxtype kxdwing00::Type("kxdwing00", sizeof(kxdwing00), kxcreate<kxdwing00>);

namespace {

constexpr float kDefaultCly = 0.7f;
constexpr int kDefaultSections = 2;

using namespace kxdkeys;
using W = kxdwing00;
constexpr int kSections = kxdwing::kMaxSections;
#define SECTIONS(member) KXD_EACH(W, member), sizeof(float), kSections, kxdwing::SectionsOf

// The wing's lines, its section blocks, then the body's. The tip point is
// the analysis'.
constexpr kxdkey kRows[] = {
    Include(kxdmainwingkeys<W>::Head),
    KXD_KEY(W, IncidenceOffset, kReal, kCopy, kNamed),
    KXD_KEY(W, FlapEffect, kReal, kCopy, kNamed),
    KXD_KEY(W, Aileron, kPart, kRemap, kNamed),
    KXD_KEY(W, AileronLink, kControl, kRemap, kNamed),
    KXD_KEY(W, Flap, kPart, kRemap, kNamed),
    KXD_KEY(W, FlapDisplacement, kVector4f, kCopy, kNamed),
    KXD_KEY(W, FlapLink, kControl, kRemap, kNamed),
    KXD_KEY(W, Flap1, kPart, kRemap, kNamed),
    KXD_KEY(W, Flap1Link, kControl, kRemap, kNamed),
    KXD_KEY(W, Flap1Displacement, kVector4f, kCopy, kNamed),
    KXD_KEY(W, Airbrake, kPart, kRemap, kNamed),
    KXD_KEY(W, AirbrakeLink, kControl, kRemap, kNamed),
    KXD_KEY(W, AirbrakeDisplacement, kReal, kCopy, kNamed),
    KXD_KEY(W, AirbrakeCl, kReal, kCopy, kNamed),
    KXD_KEY(W, AirbrakeCd, kReal, kCopy, kNamed),
    Include(kxdwing::SectionKeys),
    Include(kxdmainwingkeys<W>::Layout),
    Field(kCopy, SECTIONS(SectionFlap1Alpha)),
    Field(kCopy, SECTIONS(SectionFlap1Cl)),
    Field(kCopy, SECTIONS(SectionFlap1Cd)),
    Field(kCopy, SECTIONS(SectionFlap1Cm)),
    Field(kCopy, KXD_AT(W, AileronX), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, AileronY), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, AileronZ), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapX), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapY), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapZ), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapR), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, Flap1X), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, Flap1Y), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, Flap1Z), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, Flap1R), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, AirbrakeR), sizeof(kxvector4r)),
    Include(kxdbody::Keys),
};

#undef SECTIONS

}  // namespace

const kxdkeytable kxdwing00::Keys(kRows);

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

// The hinge-frame analysis of the moving parts comes with the wing's
// geometry analysis; until a mesh gives hinge frames the parts keep theirs.
