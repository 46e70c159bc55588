#include "dynamics/wings/aileron_wing.h"

#include "graphics/geometric_object.h"

kxtype kxdwing20::Type("kxdwing20", sizeof(kxdwing20), kxcreate<kxdwing20>);

namespace {

constexpr float kDefaultCly = 0.7f;
constexpr int kDefaultSections = 2;

using namespace kxdkeys;
using W = kxdwing20;

// The wing's lines, then the body's. The sections are copied but not
// written: nothing of this class reads them. The tip point is the
// analysis'.
constexpr kxdkey kRows[] = {
    Include(kxdmainwingkeys<W>::Head),
    KXD_KEY(W, LeftAileron, kPart, kRemap, kNamed),
    KXD_KEY(W, LeftAileronLink, kControl, kRemap, kNamed),
    KXD_KEY(W, RightAileron, kPart, kRemap, kNamed),
    KXD_KEY(W, RightAileronLink, kControl, kRemap, kNamed),
    KXD_KEY(W, Flap, kPart, kRemap, kNamed),
    KXD_KEY(W, FlapLink, kControl, kRemap, kNamed),
    KXD_KEY(W, Airbrake, kPart, kRemap, kNamed),
    KXD_KEY(W, AirbrakeLink, kControl, kRemap, kNamed),
    KXD_KEY(W, AirbrakeDisplacement, kReal, kCopy, kNamed),
    KXD_KEY(W, AirbrakeCl, kReal, kCopy, kNamed),
    KXD_KEY(W, AirbrakeCd, kReal, kCopy, kNamed),
    Include(kxdwing::SectionKeys, kUnwritten),
    Include(kxdmainwingkeys<W>::Layout),
    Field(kCopy, KXD_AT(W, LeftAileronX), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, LeftAileronY), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, LeftAileronZ), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, RightAileronX), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, RightAileronY), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, RightAileronZ), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapX), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapY), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, FlapZ), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(W, AirbrakeR), sizeof(kxvector4r)),
    Include(kxdbody::Keys),
};


}  // namespace

const kxdkeytable kxdwing20::Keys(kRows);

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

