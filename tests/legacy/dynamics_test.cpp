// The frame step and the resets on the falling sample: the control curve
// and rate limits, the height cap, levelling on
// the ground, the body's segment after a reset, and a model without mass.
#include "legacy/sound_commands.h"
#include "tests/legacy/model_support.h"

namespace {

using namespace dnsmodel;

class LegacyDynamicsTest : public kxltest::modeltest {
 protected:
  void SetUp() override {
    modeltest::SetUp();
    BuildWorld();
    Install("fall");
    Load("fall");
  }
};

TEST_F(LegacyDynamicsTest, ControlsAreCurvedAndRateLimited) {
  struct curve {
    float expo, stick, channel;
  };
  for (curve c : {curve{0, 0.5f, 0.5f}, curve{1, 0.5f, 2.0f / 3.0f}, curve{1, -1, -1}, curve{-1, 1, 1}}) {
    Place(0, 0, 100, 0, 5);
    model()->controlExpo = c.expo;
    for (int i = 1; i <= 3; ++i) state().controls[i] = c.stick;
    Frame(0.01f);
    for (int i = 1; i <= 3; ++i) EXPECT_FLOAT_EQ(Runtime().channels[i], c.channel) << c.expo << " " << c.stick;
  }
  // A gear step reaches 0.2 in 0.1 s at 2 units a second, the flap 0.4.
  state().controls[5] = state().controls[4] = 1.0f;
  for (int i = 0; i < 5; ++i) Frame(0.02f);
  EXPECT_NEAR(Runtime().channels[5], 0.2f, 1e-6f);
  EXPECT_NEAR(Runtime().channels[4], 0.4f, 1e-6f);
}

TEST_F(LegacyDynamicsTest, ResetsStartNoHigherThanTheCeiling) {
  for (float speed : {5.0f, 0.0f}) {
    Place(0, 0, 500, 0, speed);
    EXPECT_LE(Position()[2], kCeiling);
    EXPECT_GT(Position()[2], kCeiling - 2.2f);
  }
}

// Rolled, pitched or standing on its tail, the model is set down level
// with its heading kept (world x for a vertical one), at rest, 2 cm above
// the drop that touched.
TEST_F(LegacyDynamicsTest, PlacingOnTheGroundLevelsTheModel) {
  struct pose {
    v3 x, z, heading;
  };
  for (pose p : {pose{{0.8f, 0, 0.6f}, {-0.6f, 0, 0.8f}, {1, 0, 0}}, pose{{0, 0.6f, 0.8f}, {0, -0.8f, 0.6f}, {0, 1, 0}},
                 pose{{0, 0, 1}, {-1, 0, 0}, {1, 0, 0}}}) {
    Place({0, 0, 1}, p.x, p.z, 0.5f);
    EXPECT_NEAR(Length(dnsmodel::Load(model()->axisZ) - v3{0, 0, 1}), 0.0f, 1e-6f);
    EXPECT_NEAR(Length(dnsmodel::Load(model()->axisX) - p.heading), 0.0f, 1e-6f);
    EXPECT_EQ(Length(dnsmodel::Load(model()->velocity)), 0.0f);
    EXPECT_NEAR(Position()[2], 0.02f, 0.011f);
    EXPECT_EQ(state().status, kStatusCalm);
  }
}

// The body's own segment starts where a reset puts it: from the place it
// left, nosed into the ground, it would cross the ground and crash.
TEST_F(LegacyDynamicsTest, AResetStartsTheBodySegmentAtTheNewPlace) {
  Place(0, 0, -0.5f, 0, 5);
  Frame(0.02f);
  Place(0, 0, 3, 0, 5);
  Frame(0.02f);
  EXPECT_EQ(state().status, kStatusCalm);
}

TEST_F(LegacyDynamicsTest, ModelWithoutMassStaysWhereItIsPlaced) {
  Unload();
  Write("airlark/aircraft/massless.dns", "// DNS FILE\nfuselage Body;\nBody.Area = 0.01\n");
  Load("massless");
  EXPECT_NE(Log().find("dnsmodel:  massless has no mass; it stays where it is placed\n"), std::string::npos);
  Place(0, 0, 10, 0, 5);
  for (int i = 0; i < 3; ++i) Frame(0.02f);
  EXPECT_EQ(Position()[2], 10.0f);
  EXPECT_EQ(model()->velocity[0], 5.0f);

  // Without a model the step only ends the pending sound list.
  Unload();
  Runtime().soundQueue = 3;
  StepDynamics(&Runtime().root, &state());
  EXPECT_EQ(Runtime().root, nullptr);
  EXPECT_EQ(Runtime().soundCommands[3].code, kSoundListEnd);
}

// The propeller's rate, written in rad/s every substep, is published in
// revolutions per minute once a frame: 100 rad/s as 954.93. A model without
// mass takes no substep, turns nothing and publishes 0, frame after frame
// (not the rate of its placing scaled again every frame until it is none).
TEST_F(LegacyDynamicsTest, SpinIsPublishedInRevolutionsPerMinute) {
  Unload();
  const std::string powered =
      "engine Eng;\nEng.Constant = 100\npropeller Prop;\nstrcpy( Prop.Engine, \"Eng\" );\nProp.Trans = 1\n"
      "Prop.Radius = 0.1\nProp.Area = 0.0314\nProp.Sigma = 0.1\n";
  struct sample {
    const char* stem;
    std::string mass;
    float rpm;
  };
  for (const sample& m : {sample{"massive", "dummy Mass;\nMass.Type = 6\nMass.M = 1\n", 954.93f},
                          sample{"massless", "", 0}}) {
    Write(std::string("airlark/aircraft/") + m.stem + ".dns", "// DNS FILE\n" + m.mass + powered);
    Load(m.stem);
    // Set down on the ground: the parts are computed while it is lowered.
    Place(0, 0, 1, 0, 0);
    for (int frame = 0; frame < 60; ++frame) {
      Frame(0.02f);
      ASSERT_NEAR(model()->spinSpeed, m.rpm, 0.01f) << m.stem << " frame " << frame;
    }
  }
}

}  // namespace
