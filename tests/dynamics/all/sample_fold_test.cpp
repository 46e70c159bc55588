// The driver folds the wings, servos, receiver and joints of a sample into
// its fuselage for the substeps. Folded, the sample flies as it does with
// every wing in its own frame (a wing under a linked joint keeps it), and
// each folded body has its world frame again when the frame is over.
#include <cmath>
#include <vector>

#include "dynamics/compiled.h"
#include "dynamics/joint.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/wing.h"
#include "platform/pinboard.h"
#include "platform/random.h"
#include "samples_support.h"

namespace {

using namespace kxdtest;

constexpr float kFlight = 1.0f;  // s
constexpr int kSeed = 11;

class samplefold : public samples {
 protected:
  samplefold() : samples(0.0f) {}
  void SetUp() override {
    samples::SetUp();
    CopySamples({"christeneagle", "airfoil"});
  }
  // The clone's wings.
  static std::vector<kxdwing*> Wings(kxdaircraftinstance* instance) {
    std::vector<kxdwing*> wings;
    for (kxnode* c = instance->Clone->firstChild; c; c = c->nextSibling) {
      if (kxdwing* w = kxdwing::As(c)) wings.push_back(w);
    }
    return wings;
  }
  // Gives every main wing both flaps and the airbrake, with effects on
  // each section, linked to values the flight sweeps; their count.
  int LinkSurfaces(const std::vector<kxdwing*>& wings) {
    int linked = 0;
    for (kxdwing* w : wings) {
      if (w->type != &kxdwing00::Type) continue;
      auto* m = static_cast<kxdwing00*>(w);
      m->FlapLink = &flap;
      m->Flap1Link = &flap1;
      m->AirbrakeLink = &brake;
      for (int i = 0; i < kxdwing::kMaxSections; ++i) {
        m->SectionFlapAlpha[i] = 0.05f, m->SectionFlapCl[i] = 0.3f, m->SectionFlapCd[i] = 0.02f;
        m->SectionFlapCm[i] = -0.04f;
        m->SectionFlap1Alpha[i] = 0.03f, m->SectionFlap1Cl[i] = 0.2f, m->SectionFlap1Cd[i] = 0.03f;
        m->SectionFlap1Cm[i] = -0.02f;
        m->SectionAirbrakeCl[i] = 0.4f, m->SectionAirbrakeCd[i] = 0.08f;
      }
      ++linked;
    }
    return linked;
  }
  // Flies the christeneagle at full throttle through an aileron and
  // elevator sweep (with surfaces, through a flap and airbrake sweep too);
  // with keepFrames every wing joint gets a link resting at -1, which turns
  // nothing but keeps the wing in its own frame; keepOnly does that to one
  // wing. leaders counts the folded wings whose sections are worked
  // together with those of the folded wings after them.
  kxmatrix Flight(bool keepFrames, int* folded, int keepOnly = -1, int* leaders = nullptr, bool surfaces = false) {
    EXPECT_EQ(kxdaircraftinstance::AircraftLoad("christeneagle", 0), 1) << kxtest::logcapture::Text();
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    // Both flights start from the same channels and the same gusts.
    kxsystem::SeedRandom(kSeed);
    Set(kLeftAileron, 0.0f);
    Set(kElevator, 0.0f);
    Set(kEngine1, 1.0f);
    input::Update();  // the receiver takes the mapped channels when placed
    Place(instance, 100.0f, 13.0f);
    std::vector<kxdwing*> wings = Wings(instance);
    for (int i = 0; i < static_cast<int>(wings.size()); ++i) {
      if ((keepFrames || i == keepOnly) && wings[i]->Joint) wings[i]->Joint->Link = &rest;
    }
    if (surfaces) {
      EXPECT_GT(LinkSurfaces(wings), 0);
    }
    *folded = 0;
    if (leaders) *leaders = 0;
    for (int k = 0; k < static_cast<int>(std::lround(kFlight / kFrame)); ++k) {
      Set(kLeftAileron, 0.4f * std::sin(k * kFrame * 3.0f));
      Set(kElevator, 0.3f * std::sin(k * kFrame * 2.0f));
      flap = broken ? NAN : 0.5f * std::sin(k * kFrame * 4.0f);
      flap1 = broken ? INFINITY : 0.3f * std::cos(k * kFrame * 5.0f);
      brake = broken ? -INFINITY : std::sin(k * kFrame * 6.0f);
      Fly(kFrame);
      if (k == 0) {
        for (kxdwing* w : wings) {
          *folded += w->Fold != nullptr;
          if (leaders) *leaders += w->Fold && w->Fold->leads;
        }
      }
    }
    kxmatrix frame = instance->SimMainBody->B;
    kxdynamics::Stop();
    kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
    return frame;
  }
  float rest = -1.0f;
  float flap = 0.0f, flap1 = 0.0f, brake = -1.0f;  // the swept surfaces' links
  bool broken = false;  // the surfaces' links hold no finite value
};

TEST_F(samplefold, FoldedWingsFlyAsTheyDoInTheirOwnFrames) {
  int folded = 0, foldedKept = 0;
  kxmatrix a = Flight(false, &folded);
  kxmatrix b = Flight(true, &foldedKept);
  EXPECT_EQ(folded, 6);
  EXPECT_EQ(foldedKept, 0);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], 1e-4f) << i;
  // It flew: a second at full throttle covers more than ten metres.
  EXPECT_GT(a.R.x, 10.0f);
}

// The main wings' flaps and airbrake, several at once, change the flight
// and change it alike folded and in the wings' own frames.
TEST_F(samplefold, FoldedFlapsAndAirbrakeActAsInTheirOwnFrames) {
  int folded = 0, foldedKept = 0, plain = 0;
  kxmatrix a = Flight(false, &folded, -1, nullptr, true);
  kxmatrix b = Flight(true, &foldedKept, -1, nullptr, true);
  kxmatrix c = Flight(false, &plain);
  EXPECT_EQ(folded, 6);
  EXPECT_EQ(foldedKept, 0);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], 1e-4f) << i;
  kxvector4r moved;
  kxvector4r::Subtract(moved, a.R, c.R);
  EXPECT_GT(std::sqrt(kxvector4r::Dot3(moved, moved)), 0.05f);
}

// Links without a finite value move nothing, folded or not: the flight is
// the one without the surfaces.
TEST_F(samplefold, FoldedSurfacesWithoutAFiniteLinkValueMoveNothing) {
  int folded = 0, foldedKept = 0, plain = 0;
  broken = true;
  kxmatrix a = Flight(false, &folded, -1, nullptr, true);
  kxmatrix b = Flight(true, &foldedKept, -1, nullptr, true);
  kxmatrix c = Flight(false, &plain);
  EXPECT_EQ(folded, 6);
  for (int i = 0; i < 16; ++i) {
    EXPECT_TRUE(std::isfinite(a[i])) << i;
    EXPECT_NEAR(a[i], b[i], 1e-4f) << i;
    EXPECT_NEAR(a[i], c[i], 1e-5f) << i;
  }
}

// The six wings follow each other in the walk and are worked as one; a
// wing in its own frame between them splits them in two, and the flight
// stays the same.
TEST_F(samplefold, AWingInItsOwnFrameSplitsTheWingsWorkedTogether) {
  int folded = 0, leaders = 0, split = 0, splitLeaders = 0;
  kxmatrix a = Flight(false, &folded, -1, &leaders);
  kxmatrix b = Flight(false, &split, 2, &splitLeaders);
  EXPECT_EQ(folded, 6);
  EXPECT_EQ(leaders, 1);
  EXPECT_EQ(split, 5);
  EXPECT_EQ(splitLeaders, 2);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], 1e-4f) << i;
}

TEST_F(samplefold, FoldedBodiesHaveTheirWorldFramesAfterEachFrame) {
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("christeneagle", 0), 1) << kxtest::logcapture::Text();
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  Place(instance, 100.0f, 13.0f);
  Set(kEngine1, 1.0f);
  Set(kLeftAileron, 0.5f);
  Fly(0.5f);
  const kxdbody* main = instance->SimMainBody;
  int checked = 0;
  for (kxnode* c = instance->Clone->firstChild; c; c = c->nextSibling) {
    kxdbody* b = kxdbody::As(c);
    if (!b || !b->Fold || b->ParentBody != main) continue;
    kxmatrix expected;
    kxmatrix::Multiply4x4(&expected, &main->B, &b->Relative);
    for (int i = 0; i < 16; ++i) ASSERT_NEAR(b->B[i], expected[i], 1e-5f) << b->name.Text() << " " << i;
    // It moves with the fuselage.
    kxvector4r v = main->PointVelocity(b->B.R);
    EXPECT_NEAR(b->D.R.x, v.x, 1e-4f) << b->name.Text();
    EXPECT_NEAR(b->D.R.z, v.z, 1e-4f) << b->name.Text();
    ++checked;
  }
  EXPECT_GT(checked, 10);  // wings, servos, the receiver, joints
}

}  // namespace
