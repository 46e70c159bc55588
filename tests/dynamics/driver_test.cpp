// The fixed-step driver: substep counts per frame and the order of the passes.
#include <cmath>
#include <limits>
#include <string>

#include "dynamics/aircraft.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "platform/random.h"
#include "dynamics_support.h"

namespace {

using kxdtest::dynamicstest;

// Records every pass it takes part in.
class probe : public kxdintegrable {
 public:
  static inline kxtype Type{"kxdtestprobe", 0, kxcreate<probe>};
  static inline std::string trace;
  probe() { type = &Type; }
  void ComputeChange(kxdintegrable*, int) override { trace += "C" + name.Str() + " "; }
  void Integrate(kxdintegrable*, int, float dt) override {
    trace += "I" + name.Str() + " ";
    EXPECT_FLOAT_EQ(dt, 0.0003f);
  }
};

// A probe whose class hooks the time before its force pass.
class hookedprobe : public probe {
 public:
  static inline kxtype Type{"kxdtesthookedprobe", 0, kxcreate<hookedprobe>};
  hookedprobe() {
    type = &Type;
    preChangeHook = true;
  }
  void PreChange(kxdintegrable*) override { trace += "P" + name.Str() + " "; }
};

class driver : public dynamicstest {
 protected:
  void SetUp() override {
    dynamicstest::SetUp();
    kxtype::RegisterDerived(&probe::Type, &kxdintegrable::Type);
    kxtype::RegisterDerived(&hookedprobe::Type, &probe::Type);
    probe::trace.clear();
  }
};

TEST_F(driver, FrameOfATenthRunsTheCapOf120Substeps) {
  EXPECT_EQ(kxdynamics::Step(0.1f, nullptr), 120);
  EXPECT_EQ(kxdynamics::SubstepsFor(0.036f), 120);
  EXPECT_EQ(kxdynamics::SubstepsFor(0.0279f), 93);
}

TEST_F(driver, RemainderOfEachFrameIsDropped) {
  int total = 0;
  for (int i = 0; i < 100; ++i) total += kxdynamics::Step(0.0166f, nullptr);
  EXPECT_EQ(total, 5500);
}

TEST_F(driver, FrameTimeThatIsNotPositiveAndFiniteRunsNothing) {
  EXPECT_EQ(kxdynamics::SubstepsFor(0.0f), 0);
  EXPECT_EQ(kxdynamics::SubstepsFor(-0.5f), 0);
  EXPECT_EQ(kxdynamics::SubstepsFor(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(kxdynamics::SubstepsFor(std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(kxdynamics::SubstepsFor(0.0002f), 0);
}

TEST_F(driver, ForcePassVisitsChildrenBeforeParentsThenIntegrationFollows) {
  probe* a = AddToState<probe>("A");
  probe* b = new probe;
  b->name = "B";
  a->AppendChild(b);
  AddToState<probe>("C");
  MakeTwinsAndPrepare();
  kxdynamics::Step(0.0003f, nullptr);
  EXPECT_EQ(probe::trace, "CB CA CC IB IA IC ");
}

TEST_F(driver, HookBeforeTheForcePassRunsRightBeforeItForClassesThatTakeIt) {
  AddToState<probe>("A");
  AddToState<hookedprobe>("H");
  MakeTwinsAndPrepare();
  kxdynamics::Step(0.0006f, nullptr);
  EXPECT_EQ(probe::trace, "CA PH CH IA IH CA PH CH IA IH ");
}

TEST_F(driver, HooksFirstLastAndSideBySideEachRunRightBeforeTheirOwnForcePass) {
  AddToState<hookedprobe>("H");
  AddToState<probe>("A");
  AddToState<hookedprobe>("J");
  AddToState<hookedprobe>("K");
  AddToState<probe>("B");
  AddToState<hookedprobe>("L");
  MakeTwinsAndPrepare();
  kxdynamics::Step(0.0003f, nullptr);
  EXPECT_EQ(probe::trace, "PH CH CA PJ CJ PK CK CB PL CL IH IA IJ IK IB IL ");
}

TEST_F(driver, NodeWithoutTwinIsLeftOut) {
  AddToState<probe>("A");
  MakeTwinsAndPrepare();
  AddToState<probe>("Late");
  kxdynamics::Step(0.0003f, nullptr);
  EXPECT_EQ(probe::trace, "CA IA ");
}

// A substepper of the test's own keeps its walk and folds only while it
// lives: dropped, it leaves the program's substepper to run the same start
// to the same bits.
TEST_F(driver, SubstepperOfATestRunsAsTheProgramsAndIsDroppedWithItsCaches) {
  AddToState<probe>("A");
  kxdbody* ball = AddToState<kxdbody>("Ball");
  ball->B.R.z = 100.0f;
  MakeTwinsAndPrepare();
  kxnode* state = kxdynamics::Tree(kxdynamics::kxdtree::kState);
  kxnode* change = kxdynamics::Tree(kxdynamics::kxdtree::kChange);
  const kxvector4r start = ball->B.R;
  {
    kxdsubstepper own;
    own.Run(state, change, 3);
    own.Run(state, change, 47);
  }
  std::string want;
  for (int i = 0; i < 50; ++i) want += "CA IA ";
  EXPECT_EQ(probe::trace, want);
  const kxvector4r fell = ball->B.R, speed = ball->D.R;
  EXPECT_LT(fell.z, start.z);
  ball->B.R = start;
  ball->P = {0.0f, 0.0f, 0.0f, 0.0f};
  ball->DeriveMotion();
  kxdynamics::RunSubsteps(state, change, 50);
  EXPECT_EQ(ball->B.R, fell);
  EXPECT_EQ(ball->D.R, speed);
}

// The walk is kept from frame to frame, yet follows each change of the
// tree: an aircraft whose clones point into rebuilt graphics sits out until
// they match again, and a node added between frames with its twin joins.
TEST_F(driver, WalkFollowsAnAircraftSittingOutAndNodesAddedBetweenFrames) {
  kxdaircraft* plane = AddToState<kxdaircraft>("Plane");
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(1);
  const unsigned generation = instance->Generation, clones = instance->ClonesGeneration;
  plane->Instance = instance;
  kxdtest::Append<probe>(plane, "A");
  AddToState<probe>("B");
  MakeTwinsAndPrepare();
  kxdynamics::Step(0.0003f, nullptr);
  EXPECT_EQ(probe::trace, "CA CB IA IB ");
  probe::trace.clear();
  ++instance->Generation;
  kxdynamics::Step(0.0003f, nullptr);
  EXPECT_EQ(probe::trace, "CB IB ");
  probe::trace.clear();
  instance->ClonesGeneration = instance->Generation;
  kxdtest::Append<probe>(kxdynamics::Tree(kxdynamics::kxdtree::kState), "C");
  kxdtest::Append<probe>(kxdynamics::Tree(kxdynamics::kxdtree::kChange), "C");
  kxdynamics::Step(0.0003f, nullptr);
  EXPECT_EQ(probe::trace, "CA CB CC IA IB IC ");
  instance->Generation = generation;
  instance->ClonesGeneration = clones;
}

TEST_F(driver, UnreliableTransmitterKeepsTheChannelsOfTheFrameBefore) {
  float slots[4096] = {};
  kxdaircraft::SetPinboardSlots(slots);
  kxdynamics::Environment().transmitter_reliability = 0.0f;
  kxsystem::SeedRandom(7);
  int held = 0;
  for (int frame = 1; frame <= 400; ++frame) {
    slots[2000] = static_cast<float>(frame);  // what the mapper wrote this frame
    slots[2105] = static_cast<float>(-frame);
    kxdynamics::Step(0.001f, nullptr);
    if (slots[2000] != static_cast<float>(frame)) {
      ++held;
      EXPECT_EQ(slots[2105], -slots[2000]);  // both players together
    }
  }
  // Half of the frames are lost at reliability 0.
  EXPECT_GT(held, 150);
  EXPECT_LT(held, 250);
  kxdynamics::Environment().transmitter_reliability = 1.0f;
  for (int frame = 0; frame < 50; ++frame) {
    slots[2000] = 0.5f * frame;
    kxdynamics::Step(0.001f, nullptr);
    EXPECT_EQ(slots[2000], 0.5f * frame);
  }
  kxdaircraft::SetPinboardSlots(nullptr);
}

TEST_F(driver, StartAndStopAreLogged) {
  kxdynamics::Start(nullptr);
  kxdynamics::Stop();
  EXPECT_TRUE(log.Contains("kxdynamics:  start\n"));
  EXPECT_TRUE(log.Contains("kxdynamics:  stop\n"));
}

}  // namespace
