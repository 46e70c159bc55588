// Whole-aircraft services of the instances: summary, totals, receiver
// binding, engine records and the published state.
#include <cstring>

#include "dynamics/aircraft.h"
#include "dynamics/flight_state.h"
#include "dynamics/fuselage.h"
#include "dynamics/summary.h"
#include "dynamics_support.h"

namespace {

using kxdtest::dynamicstest;

// Stand-ins for the wing, rotor and receiver classes of the component
// libraries, registered by the names the core looks for.
class wing : public kxdbody {
 public:
  static inline kxtype Type10{"kxdwing10", 0, kxcreate<wing>};
  static inline kxtype Type11{"kxdwing11", 0, nullptr};
  static inline kxtype Type20{"kxdwing20", 0, nullptr};
  wing() { type = &Type10; }
  float WingArea() const override { return area; }
  float area = 0.0f;
};

class rotor : public kxdbody {
 public:
  static inline kxtype Type{"kxdrotor00", 0, kxcreate<rotor>};
  rotor() { type = &Type; }
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Radius") == 0) return kxvalueptr(new kxrealref(&Radius));
    return kxdbody::GetMember(member, args);
  }
  float Radius = 0.0f;
};

class receiver : public kxdbody {
 public:
  static inline kxtype Type{"kxdreceiver00", 0, kxcreate<receiver>};
  receiver() { type = &Type; }
  float* source = nullptr;
  float VTailMixElevator = 0.6f;
  float VTailMixRudder = 0.3f;
};

struct vtail {
  float elevator = 0.77f, rudder = 0.42f;
};
vtail factors[2];

class instances : public dynamicstest {
 protected:
  static void SetUpTestSuite() {
    dynamicstest::SetUpTestSuite();
    kxdynamics::RegisterComponentType(&wing::Type10);
    kxdynamics::RegisterComponentType(&wing::Type11);
    kxdynamics::RegisterComponentType(&wing::Type20);
    kxdynamics::RegisterComponentType(&rotor::Type);
    kxdynamics::RegisterComponentType(&receiver::Type);
    kxdaircraft::RegisterPlayerBinder("kxdreceiver00", [](kxnode* component, int player, float* slots) {
      auto* r = static_cast<receiver*>(component);
      r->source = slots;
      factors[player] = {r->VTailMixElevator, r->VTailMixRudder};
    });
  }
  void SetUp() override {
    dynamicstest::SetUp();
    instance = kxdaircraftinstance::Slot(1);
    root = new kxdaircraft;
    root->name = "Aircraft1";
    root->Instance = instance;
    kxdynamics::Tree(kxdynamics::kxdtree::kInitial)->AppendChild(root);
    instance->Template = root;
  }
  template <class T>
  T* Add(const char* name, kxnode* parent = nullptr) {
    return kxdtest::Append<T>(parent ? parent : root, name);
  }
  kxdaircraftinstance* instance = nullptr;
  kxdaircraft* root = nullptr;
};

TEST_F(instances, SummaryBalancesTheAircraftOnTheFuselageCG) {
  auto* fuselage = Add<kxdfuselage00>("Fuselage");
  fuselage->CG = {0.1f, 0.0f, 0.0f, 1.0f};
  auto* tail = Add<kxdbody>("Tail");
  auto* nested = Add<kxdbody>("Pilot", fuselage);
  kxdsystem::Summary(instance);
  EXPECT_NEAR(fuselage->B.R.x, 0.2f, 1e-6f);
  EXPECT_EQ(nested->B.R.x, 0.0f);  // only the fuselage's mass is placed
  EXPECT_EQ(tail->B.R.x, 0.0f);
  float cg = (fuselage->Mass * fuselage->B.R.x + tail->Mass * tail->B.R.x) / (fuselage->Mass + tail->Mass);
  EXPECT_NEAR(cg, 0.1f, 1e-6f);
  EXPECT_EQ(log.Lines(), 0);
}

TEST_F(instances, SummaryWithoutMassLeavesEverythingInPlace) {
  auto* fuselage = Add<kxdfuselage00>("Fuselage");
  fuselage->Mass = 0.0f;
  fuselage->CG = {0.5f, 0.0f, 0.0f, 1.0f};
  Add<kxdbody>("Other")->Mass = 0.0f;
  kxdsystem::Summary(instance);
  EXPECT_EQ(fuselage->B.R.x, 0.0f);
  EXPECT_TRUE(std::isfinite(fuselage->B.R.x));
}

TEST_F(instances, TotalWingAreaCountsOnlyTheMainWingTypes) {
  Add<wing>("Wing")->area = 0.35f;
  wing* fin = Add<wing>("Fin");
  fin->type = &wing::Type11;
  fin->area = 0.1f;
  wing* aileron = Add<wing>("AileronWing");
  aileron->type = &wing::Type20;
  EXPECT_FLOAT_EQ(kxdaircraftinstance::TotalWingArea(instance), 0.35f);
}

TEST_F(instances, TotalsOfAnEmptyTemplateAreZero) {
  EXPECT_EQ(kxdaircraftinstance::TotalMass(instance), 0.0f);
  EXPECT_EQ(kxdaircraftinstance::TotalWingArea(instance), 0.0f);
  EXPECT_EQ(kxdaircraftinstance::RotorDiameter(instance), 0.0f);
  // The designer's readouts start their bounds at +-10 m.
  EXPECT_EQ(kxdaircraftinstance::ExtentA(instance), -20.0f);
  EXPECT_EQ(kxdaircraftinstance::ExtentB(instance), -20.0f);
}

TEST_F(instances, RotorDiameterIsTwiceTheFirstMainRotorsRadius) {
  Add<kxdfuselage00>("Fuselage");
  Add<rotor>("Rotor")->Radius = 0.75f;
  Add<rotor>("Second")->Radius = 2.0f;
  EXPECT_FLOAT_EQ(kxdaircraftinstance::RotorDiameter(instance), 1.5f);
}

TEST_F(instances, DirectReceiverOfTheSecondAircraftBindsItsPlayersSlots) {
  float slots[4096] = {};
  kxdaircraft::SetPinboardSlots(slots);
  auto* direct = Add<receiver>("Receiver");
  auto* fuselage = Add<kxdfuselage00>("Fuselage");
  auto* nested = Add<receiver>("Nested", fuselage);
  nested->VTailMixElevator = 0.1f;
  root->Analyse();
  EXPECT_EQ(direct->source, slots + 2100);
  EXPECT_EQ(nested->source, nullptr);
  EXPECT_FLOAT_EQ(factors[1].elevator, 0.6f);
  EXPECT_FLOAT_EQ(factors[1].rudder, 0.3f);
  EXPECT_FLOAT_EQ(factors[0].elevator, 0.77f);
  kxdaircraft::SetPinboardSlots(nullptr);
}

TEST_F(instances, PublishedStateCarriesRpmExhaustsAndControls) {
  float slots[4096] = {};
  slots[2100] = 0.5f;
  slots[2100 + 28] = 0.6f;
  kxdaircraft::SetPinboardSlots(slots);
  kxdbody main;
  main.B.R = {1.0f, 2.0f, 3.0f, 1.0f};
  main.D.R = {10.0f, 0.0f, -1.0f, 0.0f};
  instance->SimMainBody = &main;
  instance->TypeWord = 4;
  instance->RPMValue = 1234.0f;
  instance->SurfaceCode = 1;
  instance->Crash = 1;
  for (int i = 0; i < 4; ++i) {
    int r = instance->TakeEngineRecord();
    instance->Engines[r].throttle = 0.25f * (i + 1);
    instance->Engines[r].slipstream[0] = 5.0f;
  }
  kxdynamics::Publish(instance, 0.0f);
  kxdflightstate* s = kxdaircraftinstance::FlightStateOf(1);
  EXPECT_EQ(s->flags, 4);
  EXPECT_FLOAT_EQ(s->engine_rpm, 1234.0f);
  EXPECT_EQ(s->crash, 1);
  EXPECT_EQ(s->crash_kind, kxdflightstate::kCrashWater);
  EXPECT_EQ(s->exhaust_count, 4);
  EXPECT_FLOAT_EQ(s->exhaust[3].intensity, 1.0f);
  EXPECT_FLOAT_EQ(s->exhaust[0].velocity[0], 15.0f);
  EXPECT_FLOAT_EQ(s->control_value, 0.75f);
  EXPECT_FLOAT_EQ(s->smoke_amount, 0.6f);
  EXPECT_EQ(s->smoke_flag, 1);
  EXPECT_FLOAT_EQ(s->smoke_velocity[0], -2.0f);
  EXPECT_FLOAT_EQ(s->position()[2], 3.0f);
  EXPECT_EQ(s->position(), &s->frame.R.x);
  EXPECT_FLOAT_EQ(s->variometer, -1.0f);
  instance->SimMainBody = nullptr;
  kxdaircraft::SetPinboardSlots(nullptr);
}

TEST_F(instances, NewFlightStateHasAnIdentityFrameAndItsRowPointers) {
  kxdflightstate s;
  EXPECT_EQ(s.row_x(), &s.frame.X.x);
  EXPECT_EQ(s.row_z()[2], 1.0f);
  EXPECT_EQ(s.position()[0], 0.0f);
  EXPECT_EQ(s.crash, 0);
  EXPECT_EQ(s.exhaust_count, 0);
}

}  // namespace
