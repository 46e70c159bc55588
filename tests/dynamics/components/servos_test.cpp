// The servos: polynomial and table targets, travel rates, start positions,
// unlinked servos and the file text.
#include "dynamics/components/servos.h"

#include "core/output.h"
#include "components_support.h"

namespace {

using kxctest::componenttest;

// A signal float under State and a servo of type T reading it, with twins.
class servotest : public componenttest {
 protected:
  template <class T>
  T* Make(const char* setup = "") {
    T* s = AddToState<T>("Servo");
    kxscript::Execute(setup, s);
    s->SignalIn = &signal;
    return s;
  }
  template <class T>
  T* Prepared(T* s) {
    s->ResetState();
    MakeTwinsAndPrepare();
    return s;
  }
  float signal = 0.0f;
};

TEST_F(servotest, ServoTravelsFullRangeInPointFourSeconds) {
  signal = -1.0f;
  kxdservo00* s = Prepared(Make<kxdservo00>());
  EXPECT_FLOAT_EQ(s->MechLink, -1.0f);
  signal = 1.0f;
  Steps(1333);  // 0.4 s
  EXPECT_NEAR(s->MechLink, 1.0f, 0.0016f);
  Steps(200);  // on target it chatters by one step
  EXPECT_NEAR(s->MechLink, 1.0f, 0.0016f);
}

TEST_F(servotest, PolynomialShapesTheTarget) {
  kxdservo00* s = Make<kxdservo00>("P0 = 0.1; P1 = -1; P2 = 0.5; P3 = 0.25");
  EXPECT_FLOAT_EQ(s->Target(0.5f), 0.1f - 0.5f + 0.125f + 0.03125f);
  signal = 0.5f;
  s->ResetState();
  EXPECT_FLOAT_EQ(s->MechLink, 0.1f - 0.5f + 0.125f + 0.03125f);
  // No clamp: a signal of 2 with the identity cubic aims at 2.
  kxdservo00 plain;
  EXPECT_FLOAT_EQ(plain.Target(2.0f), 2.0f);
}

TEST_F(servotest, PFirstSetsTheStartOnlyAboveOneThousandth) {
  signal = 0.3f;
  kxdservo00* s = Make<kxdservo00>("PFirst = 0.0005");
  s->ResetState();
  EXPECT_FLOAT_EQ(s->MechLink, 0.3f);
  s->PFirst = -0.5f;
  s->ResetState();
  EXPECT_FLOAT_EQ(s->MechLink, -0.5f);
}

TEST_F(servotest, UnlinkedServosHoldStill) {
  kxdservo00* a = Make<kxdservo00>("P0 = 0.2");
  a->SignalIn = nullptr;
  kxdservo01* b = AddToState<kxdservo01>("Other");
  a->ResetState();
  b->ResetState();
  MakeTwinsAndPrepare();
  Steps(500);
  EXPECT_FLOAT_EQ(a->MechLink, 0.0f);
  EXPECT_FLOAT_EQ(b->MechLink, 0.0f);
  EXPECT_FLOAT_EQ(b->InputPosition, 0.0f);
}

TEST_F(servotest, TableServoCrossesInTwoSecondsAtDefaultSpeeds) {
  signal = -1.0f;
  kxdservo01* s = Prepared(Make<kxdservo01>());
  EXPECT_FLOAT_EQ(s->MechLink, -1.0f);
  signal = 1.0f;
  Steps(3333);  // 1 s: input half way, output following it
  EXPECT_NEAR(s->InputPosition, 0.0f, 0.002f);
  EXPECT_NEAR(s->MechLink, 0.0f, 0.003f);
  Steps(3334);
  EXPECT_NEAR(s->MechLink, 1.0f, 0.003f);
  EXPECT_LE(s->InputPosition, 1.0f);
}

TEST_F(servotest, TableMapsHalfRangeDeadZone) {
  kxdservo01* s = Make<kxdservo01>(
      "ValueNumber = 3; ValueIn(0) = -1; ValueIn(1) = 0; ValueIn(2) = 1;"
      "ValueOut(0) = 0; ValueOut(1) = 0; ValueOut(2) = 1");
  EXPECT_FLOAT_EQ(s->TableValue(-0.7f), 0.0f);
  EXPECT_FLOAT_EQ(s->TableValue(0.25f), 0.25f);
  EXPECT_FLOAT_EQ(s->TableValue(1.0f), 1.0f);
  EXPECT_FLOAT_EQ(s->TableValue(1.5f), 0.0f);  // outside every segment
}

TEST_F(servotest, TableIndexAndCountOutsideTheTableAreRefused) {
  kxdservo01* s = Make<kxdservo01>("ValueIn(32) = 5; ValueOut(-1) = 2; ValueNumber = 40");
  EXPECT_EQ(s->Points(), 32);
  EXPECT_TRUE(log.Contains("kxdservo01:  ValueIn(32) is no entry of Servo; ignored\n")) << kxtest::logcapture::Text();
  EXPECT_TRUE(log.Contains("kxdservo01:  ValueOut(-1) is no entry of Servo; ignored\n"));
  s->ValueNumber = 40;  // set past the assignment's clamp, as an editor may
  EXPECT_EQ(s->Points(), 32);
  s->ValueNumber = 1;
  EXPECT_FLOAT_EQ(s->TableValue(-1.0f), 0.0f);
  s->ValueNumber = -3;
  kxout out;
  s->Write(out);
  EXPECT_NE(out.Text().find("ValueNumber = 0\n"), std::string::npos);
}

TEST_F(servotest, EqualNeighbourAbscissaeAreSkippedWithoutNaN) {
  kxdservo01* s = Make<kxdservo01>(
      "ValueNumber = 3; ValueIn(0) = -1; ValueIn(1) = 0; ValueIn(2) = 0;"
      "ValueOut(0) = -1; ValueOut(1) = 0.5; ValueOut(2) = 1");
  EXPECT_FLOAT_EQ(s->TableValue(-0.5f), -0.25f);
  EXPECT_FLOAT_EQ(s->TableValue(0.0f), 0.5f);
  s->ValueIn[0] = 0.0f;
  EXPECT_FLOAT_EQ(s->TableValue(0.0f), 0.0f);
}

TEST_F(servotest, PositionFirstStartsTheInputStage) {
  kxdservo01* s = Make<kxdservo01>("PositionFirst = -0.5");
  s->ResetState();
  EXPECT_FLOAT_EQ(s->InputPosition, -0.5f);
  EXPECT_FLOAT_EQ(s->MechLink, -0.5f);
  s->PositionFirst = 0.0005f;
  signal = 3.0f;  // clamped to 1
  s->ResetState();
  EXPECT_FLOAT_EQ(s->InputPosition, 1.0f);
}

}  // namespace
