// Joints and carried bodies, and the tow rope between two aircraft.
#include <cmath>

#include "core/output.h"
#include "dynamics/aircraft.h"
#include "dynamics/driver.h"
#include "dynamics/fuselage.h"
#include "dynamics/joint.h"
#include "dynamics/tow.h"
#include "dynamics_support.h"

namespace {

using kxdtest::dynamicstest;

class joints : public dynamicstest {
 protected:
  void SetUp() override {
    dynamicstest::SetUp();
    root = new kxdaircraft;
    root->name = "Aircraft0";
    kxdynamics::Tree(kxdynamics::kxdtree::kState)->AppendChild(root);
    main = Add<kxdbody>("Main");
    main->B.R.z = 100.0f;
  }
  template <class T>
  T* Add(const char* name, kxnode* parent = nullptr) {
    return kxdtest::Append<T>(parent ? parent : root, name);
  }
  void Prepare() {
    kxdattach::Resolve(root, main);
    root->Prepare();
    kxdattach::Aggregate(root);
    kxnode* change = kxdynamics::Tree(kxdynamics::kxdtree::kChange);
    change->DeleteChildren();
    root->Clone(change);
  }
  kxdaircraft* root = nullptr;
  kxdbody* main = nullptr;
};

TEST_F(joints, FindByBody1GivesTheFirstOrTheLastMatchingJoint) {
  kxdbody* leg = Add<kxdbody>("Leg");
  kxdjoint00* a = Add<kxdjoint00>("A");
  kxdjoint00* b = Add<kxdjoint00>("B");
  Add<kxdjoint00>("C");
  a->Body1 = b->Body1 = leg;
  EXPECT_EQ(kxdjoint00::FindByBody1(root, leg), a);
  EXPECT_EQ(kxdjoint00::FindByBody1(root, leg, true), b);
  EXPECT_EQ(kxdjoint00::FindByBody1(root, main), nullptr);
  EXPECT_EQ(kxdjoint00::FindByBody1(leg, leg), nullptr);
}

TEST_F(joints, CarriedBodiesFallWithTheirCarrierAsOneMass) {
  kxdbody* pod = Add<kxdbody>("Pod");
  pod->B.R = {0.5f, 0.0f, 100.0f, 1.0f};
  pod->Mass = 3.0f;
  Prepare();
  EXPECT_EQ(pod->ParentBody, main);
  EXPECT_FLOAT_EQ(main->SystemMass, 4.0f);
  for (int i = 0; i < 10; ++i) kxdynamics::Step(1.0f / 30.0f, nullptr);
  // Gravity of both over the mass of both: plain free fall, no spin.
  float t = 10 * 111 * kxdynamics::kSubstep;
  EXPECT_NEAR(main->D.R.z, -kGravity * t, 0.01f);
  EXPECT_NEAR(pod->B.R.x - main->B.R.x, 0.5f, 1e-4f);
  EXPECT_NEAR(pod->B.R.z - main->B.R.z, 0.0f, 1e-4f);
  EXPECT_LT(kxvector4r::Length(main->Omega), 1e-3f);
}

// A folded body's weight goes on with its carrier's folded loads; a mass
// changed in flight (without preparing again) weighs from then on.
TEST_F(joints, FoldedBodyWeighsWhatItsMassIsNow) {
  kxdbody* pod = Add<kxdbody>("Pod");
  pod->B.R = {0.5f, 0.0f, 100.0f, 1.0f};
  pod->Mass = 3.0f;
  Prepare();
  const float frame = 1.0f / 30.0f, t = 111 * kxdynamics::kSubstep;
  kxdynamics::Step(frame, nullptr);
  EXPECT_NE(pod->Fold, nullptr);
  EXPECT_NEAR(main->P.z, -kGravity * 4.0f * t, 1e-3f);
  for (float mass : {0.0f, 7.0f, 3.0f}) {
    SCOPED_TRACE(mass);
    pod->Mass = mass;
    float before = main->P.z;
    kxdynamics::Step(frame, nullptr);
    // P is the momentum of the centre: it changes by the weights alone.
    EXPECT_NEAR(main->P.z - before, -kGravity * (1.0f + mass) * t, 1e-3f);
  }
}

TEST_F(joints, BodyCarriedThroughAFoldedBodyTurnsAndMovesWithTheSpinningCarrier) {
  // A plain part (folded in the substeps) carries a fuselage (which keeps
  // its frame in every substep) through a joint without a link.
  kxdbody* pod = Add<kxdbody>("Pod");
  pod->B.R = {0.5f, 0.0f, 100.0f, 1.0f};
  kxdfuselage00* tip = Add<kxdfuselage00>("Tip");
  tip->B.X = {0.0f, 1.0f, 0.0f, 0.0f};
  tip->B.Y = {-1.0f, 0.0f, 0.0f, 0.0f};
  tip->B.R = {0.5f, 0.7f, 100.2f, 1.0f};
  kxdjoint00* fix = Add<kxdjoint00>("Fix");
  fix->Body0 = pod;
  fix->Body1 = tip;
  Prepare();
  ASSERT_EQ(tip->ParentBody, pod);
  ASSERT_EQ(pod->ParentBody, main);
  main->L = {0.02f, -0.03f, 0.05f, 0.0f};
  main->P = {3.0f, 1.0f, 2.0f, 0.0f};
  main->DeriveMotion();
  for (int i = 0; i < 5; ++i) kxdynamics::Step(1.0f / 60.0f, nullptr);
  kxmatrix relative;
  kxmatrix::Multiply4x4(&relative, &pod->Relative, &tip->Relative);
  kxmatrix placed;
  kxmatrix::Multiply4x4(&placed, &main->B, &relative);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(tip->B[i], placed[i], 1e-5f) << i;
  // Each axis turns at the carrier's rate; the origin moves as the
  // carrier's point there; the momentum is the part's own.
  const kxvector4r* axes[3] = {&tip->B.X, &tip->B.Y, &tip->B.Z};
  const kxvector4r* rates[3] = {&tip->D.X, &tip->D.Y, &tip->D.Z};
  for (int a = 0; a < 3; ++a) {
    kxvector4r expected;
    kxvector4r::Cross(expected, main->Omega, *axes[a]);
    EXPECT_NEAR(rates[a]->x, expected.x, 1e-5f) << a;
    EXPECT_NEAR(rates[a]->y, expected.y, 1e-5f) << a;
    EXPECT_NEAR(rates[a]->z, expected.z, 1e-5f) << a;
    EXPECT_EQ(rates[a]->w, 0.0f) << a;
  }
  kxvector4r v = main->PointVelocity(tip->B.R);
  EXPECT_NEAR(tip->D.R.x, v.x, 1e-5f);
  EXPECT_NEAR(tip->D.R.y, v.y, 1e-5f);
  EXPECT_NEAR(tip->D.R.z, v.z, 1e-5f);
  EXPECT_EQ(tip->D.R.w, 0.0f);
  EXPECT_FLOAT_EQ(tip->P.x, tip->Mass * tip->D.R.x);
  EXPECT_EQ(tip->Omega, main->Omega);
}

// A carrier set or cleared in flight, without preparing the aircraft again,
// takes effect from the next frame on: the driver's walk does not keep the
// carrier the body had.
TEST_F(joints, CarrierClearedOrSetInFlightTakesEffectInTheNextFrame) {
  kxdfuselage00* pod = Add<kxdfuselage00>("Pod");
  pod->B.R = {0.5f, 0.0f, 100.0f, 1.0f};
  Prepare();
  ASSERT_EQ(pod->ParentBody, main);
  const kxmatrix relative = pod->Relative;
  main->L = {0.0f, 0.0f, 0.05f, 0.0f};
  main->DeriveMotion();
  auto expectCarried = [&]() {
    kxmatrix placed;
    kxmatrix::Multiply4x4(&placed, &main->B, &relative);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(pod->B[i], placed[i], 1e-5f) << i;
  };
  const float frame = 1.0f / 60.0f, t = 55 * kxdynamics::kSubstep;
  for (int i = 0; i < 3; ++i) kxdynamics::Step(frame, nullptr);
  expectCarried();
  // Let go: the pod falls on its own while the carrier turns on.
  pod->ParentBody = nullptr;
  float before = pod->D.R.z;
  for (int i = 0; i < 3; ++i) kxdynamics::Step(frame, nullptr);
  EXPECT_NEAR(pod->D.R.z - before, -kGravity * 3 * t, 0.02f);
  EXPECT_GT(std::fabs(pod->B.R.x - (main->B.R.x + main->B.X.x * 0.5f)) +
                std::fabs(pod->B.R.y - (main->B.R.y + main->B.X.y * 0.5f)) + std::fabs(pod->B.R.z - main->B.R.z),
            1e-4f);
  // Taken up again where it was carried.
  pod->ParentBody = main;
  kxdynamics::Step(frame, nullptr);
  expectCarried();
}

// Adds a force to a body of its choice, as an engine does to the body it
// drives, from late in the walk.
class pusher : public kxdintegrable {
 public:
  static inline kxtype Type{"kxdtestpusher", 0, kxcreate<pusher>};
  pusher() { type = &Type; }
  void ComputeChange(kxdintegrable*, int) override {
    if (target) target->AddForceAt({10.0f, 0.0f, 0.0f, 0.0f}, target->B.R);
  }
  void CopyTo(kxnode* other) override { static_cast<pusher*>(other)->target = kxnode::Remap(target); }
  kxdbody* target = nullptr;
};

TEST_F(joints, ForceAddedToACarriedBodyLateInTheWalkActsInTheSameSubstep) {
  kxtype::RegisterDerived(&pusher::Type, &kxdintegrable::Type);
  kxdbody* pod = Add<kxdbody>("Pod");
  pod->B.R = {0.0f, 0.0f, 100.0f, 1.0f};
  Add<pusher>("Engine")->target = pod;
  Prepare();
  kxdynamics::Step(0.0003f, nullptr);
  // 10 N on 2 kg for one substep.
  EXPECT_NEAR(main->D.R.x, 10.0f / 2.0f * 0.0003f, 1e-7f);
}

TEST_F(joints, ForceOnABodyCarriedThroughACarrierMovesAndTurnsTheFreeBody) {
  // Both fuselages keep their frames in the substeps, so the force is
  // handed over from the tip past its carrier to the main body.
  kxtype::RegisterDerived(&pusher::Type, &kxdintegrable::Type);
  kxdfuselage00* boom = Add<kxdfuselage00>("Boom");
  boom->B.R = {0.3f, 0.0f, 100.0f, 1.0f};
  kxdfuselage00* tip = Add<kxdfuselage00>("Tip");
  tip->B.R = {0.5f, 0.7f, 100.2f, 1.0f};
  kxdjoint00* fix = Add<kxdjoint00>("Fix");
  fix->Body0 = boom;
  fix->Body1 = tip;
  Add<pusher>("Engine")->target = tip;
  Prepare();
  ASSERT_EQ(tip->ParentBody, boom);
  ASSERT_EQ(boom->ParentBody, main);
  kxvector4r offset = {tip->B.R.x - main->B.R.x, tip->B.R.y - main->B.R.y, tip->B.R.z - main->B.R.z, 0.0f};
  kxvector4r centre = main->CentreOffset();
  kxdynamics::Step(0.0003f, nullptr);
  // 10 N along x for one substep: the momentum, and the angular momentum of
  // the force's arm about the centre of mass (the weights have none).
  const kxvector4r force = {10.0f, 0.0f, 0.0f, 0.0f};
  kxvector4r lever = {offset.x - centre.x, offset.y - centre.y, offset.z - centre.z, 0.0f};
  kxvector4r turn;
  kxvector4r::Cross(turn, lever, force);
  EXPECT_NEAR(main->P.x, 10.0f * 0.0003f, 1e-7f);
  EXPECT_NEAR(main->L.x, turn.x * 0.0003f, 1e-7f);
  EXPECT_NEAR(main->L.y, turn.y * 0.0003f, 1e-7f);
  EXPECT_NEAR(main->L.z, turn.z * 0.0003f, 1e-7f);
  EXPECT_GT(std::fabs(turn.z), 1.0f);
}

TEST_F(joints, LinkedJointTurnsItsBodyAboutTheAnchor) {
  kxdjoint00* hinge = Add<kxdjoint00>("Hinge");
  kxdbody* leg = Add<kxdbody>("Leg");
  leg->B.R = {1.0f, 0.0f, 99.0f, 1.0f};
  hinge->B.R = {1.0f, 0.0f, 100.0f, 1.0f};
  hinge->Body1 = leg;
  hinge->Axis = {0.0f, 1.0f, 0.0f, 0.0f};
  hinge->Angle = 90.0f;
  float link = -1.0f;
  hinge->Link = &link;
  Prepare();
  kxdbody* simLeg = kxdbody::As(kxnode::Find("Leg", root));
  EXPECT_EQ(simLeg->Joint, hinge);
  link = 1.0f;  // fully retracted: a quarter turn about y through the anchor
  simLeg->Follow(kxdbody::NewPass());
  // (0, 0, -1) below the anchor turns about +y to (-1, 0, 0).
  EXPECT_NEAR(simLeg->B.R.x, 0.0f, 1e-4f);
  EXPECT_NEAR(simLeg->B.R.z, 100.0f, 1e-4f);
}

TEST_F(joints, JointMakingABodyCarryItselfIsRefused) {
  kxdbody* a = Add<kxdbody>("A");
  kxdbody* b = Add<kxdbody>("B");
  kxdjoint00* j1 = Add<kxdjoint00>("J1");
  kxdjoint00* j2 = Add<kxdjoint00>("J2");
  j1->Body0 = a;
  j1->Body1 = b;
  j2->Body0 = b;
  j2->Body1 = a;
  kxdattach::Resolve(root, main);
  EXPECT_EQ(b->ParentBody, a);
  EXPECT_EQ(a->ParentBody, main);
  EXPECT_TRUE(log.Contains("kxdynamics:  joint J2 would make A carry itself; ignored\n"));
}

// A carried part whose class integrates a state of its own (as an engine
// does) without declaring anything to the driver.
class countingpart : public kxdfuselage00 {
 public:
  void Integrate(kxdintegrable* change, int flag, float dt) override {
    ++calls;
    kxdfuselage00::Integrate(change, flag, dt);
  }
  int calls = 0;
};

TEST_F(joints, CarriedBodyWhoseClassIntegratesIsIntegratedEverySubstep) {
  countingpart* part = Add<countingpart>("Part");
  part->B.R = {0.3f, 0.0f, 100.0f, 1.0f};
  kxdfuselage00* plain = Add<kxdfuselage00>("Plain");
  plain->B.R = {-0.3f, 0.0f, 100.0f, 1.0f};
  Prepare();
  ASSERT_EQ(part->ParentBody, main);
  int substeps = 0;
  for (int i = 0; i < 3; ++i) substeps += kxdynamics::Step(1.0f / 60.0f, nullptr);
  EXPECT_GT(substeps, 0);
  EXPECT_EQ(part->calls, substeps);
  // Both follow their carrier as it falls.
  EXPECT_NEAR(part->B.R.z, main->B.R.z, 1e-5f);
  EXPECT_NEAR(plain->B.R.z, main->B.R.z, 1e-5f);
  EXPECT_LT(main->B.R.z, 100.0f);
}

// A tow plane (the fixture's aircraft) and a glider aircraft 25 m behind,
// each with a hook at its body, both prepared with their Change twins.
class towing : public joints {
 protected:
  void AddGlider(const char* aircraftName) {
    second = new kxdaircraft;
    second->name = aircraftName;
    kxdynamics::Tree(kxdynamics::kxdtree::kState)->AppendChild(second);
    glider = Add<kxdbody>("Glider", second);
    glider->B.R = {-25.0f, 0.0f, 100.0f, 1.0f};
    towHook = Add<kxdhook00>("Hook");
    towHook->Mass = 0.0f;
    towHook->B.R = {0.0f, 0.0f, 100.0f, 1.0f};
    gliderHook = Add<kxdhook00>("Hook", second);
    gliderHook->Mass = 0.0f;
    gliderHook->B.R = {-25.0f, 0.0f, 100.0f, 1.0f};
    kxdattach::Resolve(second, glider);
    second->Prepare();
    kxdattach::Aggregate(second);
    Prepare();
    second->Clone(kxdynamics::Tree(kxdynamics::kxdtree::kChange));
  }
  kxdaircraft* second = nullptr;
  kxdbody* glider = nullptr;
  kxdhook00* towHook = nullptr;
  kxdhook00* gliderHook = nullptr;
};

TEST_F(towing, RopePullsOnlyWhenStretchedAndBreaksWhenOverloaded) {
  AddGlider("Aircraft1");
  kxdrope00* rope = kxdynamics::CreateTowRope(main, glider, 20.0f, 0.5f);
  ASSERT_NE(rope, nullptr);
  EXPECT_EQ(rope->Hooks[0], towHook);
  EXPECT_EQ(rope->Hooks[1], gliderHook);
  kxdynamics::Step(0.0003f, nullptr);
  // 5 m of stretch, k = 50 N/m per kg of the 1 kg glider: 250 N, above the
  // 5.5 x weight the rope holds at strength 0.5, so it breaks.
  EXPECT_EQ(rope->Active[0], 0);
  EXPECT_EQ(rope->Active[1], 0);

  rope->Active[0] = rope->Active[1] = 1;
  rope->Strength = 1.0f;
  rope->Length = 24.9f;
  glider->D.R = {};
  kxdynamics::Step(0.0003f, nullptr);
  EXPECT_EQ(rope->Active[0], 1);
  EXPECT_NEAR(rope->Tension, 5.0f, 0.5f);
  EXPECT_GT(glider->D.R.x, 0.0f);  // pulled towards the tow plane
  EXPECT_LT(main->D.R.x, 0.0f);

  kxdynamics::RebuildChange(rope);
  EXPECT_EQ(towHook->Rope, nullptr);
  EXPECT_EQ(gliderHook->Rope, nullptr);
  EXPECT_EQ(kxnode::Find("/Simulation/Dynamics/State/Rope"), nullptr);
  EXPECT_EQ(kxnode::Find("/Simulation/Dynamics/Change/Rope"), nullptr);
}

TEST_F(towing, TakenOffRopeLeavesTheChangeTreeTheTwinOfTheStateTree) {
  // An aircraft may carry the rope's name; its twin must survive.
  AddGlider("Rope");
  kxdrope00* rope = kxdynamics::CreateTowRope(main, glider, 20.0f, 0.5f);
  ASSERT_NE(rope, nullptr);
  kxdynamics::RebuildChange(rope);
  kxnode* state = kxdynamics::Tree(kxdynamics::kxdtree::kState);
  kxnode* change = kxdynamics::Tree(kxdynamics::kxdtree::kChange);
  ASSERT_EQ(change->ChildCount(), state->ChildCount());
  for (kxnode *s = state->firstChild, *c = change->firstChild; s && c; s = s->nextSibling, c = c->nextSibling) {
    EXPECT_EQ(c->type, s->type);
    EXPECT_EQ(c->name, s->name);
    EXPECT_EQ(c->ChildCount(), s->ChildCount());
  }
  // The glider still pairs with its twin: it falls.
  kxdynamics::Step(0.03f, nullptr);
  EXPECT_LT(glider->D.R.z, -0.2f);
}

TEST_F(towing, RopeTakenInFlightReadsHooksWhereTheyAreInEachSubstep) {
  // Flown without a rope first: the hooks are then plain parts of their
  // aircraft, worked with their carriers.
  AddGlider("Aircraft1");
  main->D.R = {10.0f, 0.0f, 0.0f, 0.0f};
  main->P = {10.0f * main->SystemMass, 0.0f, 0.0f, 0.0f};
  kxdynamics::Step(0.03f, nullptr);
  kxdrope00* rope = kxdynamics::CreateTowRope(main, glider, 100.0f, 0.5f);
  ASSERT_NE(rope, nullptr);
  float before = towHook->B.R.x;
  kxdynamics::Step(0.03f, nullptr);
  // The rope's end is the hook point of the last substep: one substep's
  // flight short of where the frame ends, not where it began.
  EXPECT_GT(towHook->B.R.x, before + 0.25f);
  EXPECT_NEAR(rope->Ends[0].x, towHook->B.R.x, 0.01f);
}

TEST_F(towing, RopeNeedsAHookOnBothSides) {
  kxdbody* other = Add<kxdbody>("Other");
  EXPECT_EQ(kxdynamics::CreateTowRope(main, other, 20.0f, 0.5f), nullptr);
  EXPECT_EQ(kxdynamics::CreateTowRope(nullptr, main, 20.0f, 0.5f), nullptr);
}

}  // namespace
