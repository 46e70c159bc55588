// Loading a legacy model as the simulator does, with its blur texture and
// kind code, and flying it through the entry points: the transmitter's
// channels from the pinboard, the status read back, the two placings, the
// frame and the shadow box.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/interpreter.h"
#include "dynamics/flight_state.h"
#include "graphics/mesh_load.h"
#include "graphics/texture_table.h"
#include "legacy/blur_texture.h"
#include "legacy/entry_points.h"

#include "dynamics/aircraft.h"
#include "legacy/legacy.h"
#include "platform/pinboard.h"
#include "tests/legacy/model_support.h"

namespace {

using namespace dnsmodel;

class LegacyEntryTest : public kxltest::pilottest {
 protected:
  void SetUp() override {
    pilottest::SetUp();
    kxgl::ClearTextureTable();
    BuildWorld();
  }
  void TearDown() override {
    pilottest::TearDown();
    kxgl::ClearTextureTable();
  }
  int LoadSample(const char* stem) {
    Install(stem);
    int kind = -1;
    int loaded = LoadWithPropBlur(stem, 1, &kind);
    EXPECT_EQ(kind, KindCode(&state()));
    return loaded;
  }
  struct outputs {
    float transform[16];
    int crashed = -1, inWater = -1, onGround = -1, kind = -1;
    float spin = -1, velocity[4] = {-1, -1, -1, -1}, forwardSpeed = -1, throttle = -1;
  };
  static outputs StepOnce(float dt = 0.02f) {
    outputs o;
    if (const std::optional<dnsstep> out = Step(1, dt)) {
      std::copy(std::begin(out->transform), std::end(out->transform), o.transform);
      o.crashed = out->crashed;
      o.inWater = out->inWater;
      o.onGround = out->onGround;
      o.kind = out->kind;
      o.spin = out->spin;
      std::copy(std::begin(out->velocity), std::end(out->velocity), o.velocity);
      o.forwardSpeed = out->forwardSpeed;
      o.throttle = out->throttle;
    }
    return o;
  }
};

TEST_F(LegacyEntryTest, BlurTexelsFollowTheDiscRule) {
  struct texel {
    int i, j, value;
  };
  for (texel t : {texel{255, 255, 114}, texel{0, 255, 51}, texel{255, 0, 89}, texel{511, 255, 51}, texel{0, 0, 0}}) {
    EXPECT_EQ(BlurTexel(t.i, t.j), t.value) << t.i << "," << t.j;
  }
  kxtexture* t = MakeBlurTexture();
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->name, "PropBlurr");
  EXPECT_EQ(t->type, kxgl::kTypeAlpha);
  EXPECT_EQ(t->width, 512);
  EXPECT_EQ(t->filter, kxgl::kFilterLinear);
  EXPECT_EQ(t->wrapS, kxgl::kWrapClamp);
  for (int k = 0; k < 512 * 512; k += 4099) EXPECT_EQ(t->pixels[k], BlurTexel(k % 512, k / 512)) << k;
  EXPECT_EQ(MakeBlurTexture(), t);
}

TEST_F(LegacyEntryTest, SamplesLoadWithTheirKindAndBlurTexture) {
  struct sample {
    const char* stem;
    int kind;
  };
  for (sample s : {sample{"trainer", kKindPlane}, sample{"glider", kKindGlider}, sample{"heli", kKindHelicopter},
                   sample{"vectorjet", kKindPlane}, sample{"fall", kKindGlider}}) {
    int kind = -1;
    Install(s.stem);
    EXPECT_EQ(LoadWithPropBlur(s.stem, 1, &kind), 1) << s.stem;
    EXPECT_EQ(kind, s.kind) << s.stem;
    ASSERT_NE(state().blurTexture, nullptr);
    EXPECT_STREQ(state().blurTexture->name, "PropBlurr");
    EXPECT_STREQ(state().name, s.stem);
    float m[16];
    GetTransform(m);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], k % 5 == 0 ? 1.0f : 0.0f);
  }
  // Each load unloaded the model before it.
  size_t begins = 0;
  for (size_t at = Log().find("DELETE BEGIN AL\n"); at != std::string::npos; at = Log().find("DELETE BEGIN AL\n", at + 1))
    ++begins;
  EXPECT_EQ(begins, 4u);
  Unload();
  EXPECT_EQ(CurrentPool()->used, 0);
  EXPECT_EQ(state().parts, nullptr);
  EXPECT_EQ(state().model, nullptr);
  EXPECT_EQ(state().geometry, nullptr);
  EXPECT_NE(Log().find("DELETE BEGIN AL\nDELETE END AL\n"), std::string::npos);
}

TEST_F(LegacyEntryTest, RefusedAndEmptyModelsAreNotFlown) {
  std::string longName(kModelNameBytes, 'a');
  int kind = 7;
  EXPECT_EQ(LoadWithPropBlur(longName.c_str(), 1, &kind), 0);
  EXPECT_EQ(kind, 7);
  EXPECT_EQ(state().model, nullptr);
  EXPECT_NE(Log().find("is longer than 63 characters; not loaded"), std::string::npos);
  // A missing file loads an empty model, which the simulator does not fly.
  EXPECT_EQ(LoadWithPropBlur("missing", 1, &kind), 1);
  EXPECT_EQ(state().parts, nullptr);
  EXPECT_EQ(LoadForSimulator("missing", &kind), 0);
  EXPECT_EQ(state().model, nullptr);
  EXPECT_NE(Log().find("model missing has no parts; nothing to fly"), std::string::npos);
  // Without a model every entry point leaves its outputs alone.
  outputs o = StepOnce();
  EXPECT_EQ(o.crashed, -1);
  EXPECT_EQ(o.throttle, -1.0f);
  float m[16] = {};
  m[3] = 5;
  GetTransform(m);
  EXPECT_EQ(m[3], 5.0f);
  shadowquad q;
  q.size = 3;
  GetBounds(&q);
  EXPECT_EQ(q.size, 3.0f);
  EXPECT_EQ(IsPiccolo(), 0);
}

// The status after a step: on the wheels on grass, crashed in water, and
// crashed without water on a damage surface.
TEST_F(LegacyEntryTest, StepReadsBackTheStatus) {
  ASSERT_EQ(LoadSample("glider"), 1);
  struct ground {
    float x;
    int crashed, inWater, onGround;
  };
  for (ground g : {ground{0, 0, 0, 1}, ground{kxltest::kWaterX, 1, 1, 0}, ground{kxltest::kDamageX, 1, 0, 0}}) {
    SetFrame({g.x, 0, 1}, {1, 0, 0}, {0, 0, 1}, {0, 0, 0});
    outputs o = StepOnce();
    EXPECT_EQ(o.crashed, g.crashed) << g.x;
    EXPECT_EQ(o.inWater, g.inWater) << g.x;
    EXPECT_EQ(o.onGround, g.onGround) << g.x;
    EXPECT_EQ(o.kind, kKindGlider);
    float m[16];
    GetTransform(m);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], o.transform[k]);
    EXPECT_NEAR(o.transform[12], g.x, 0.01f);
  }
}

// The transmitter's channels from the first player's function slots: the
// throttle as the engine sound reads it, the elevator with its sign changed.
TEST_F(LegacyEntryTest, StepTakesTheFirstPlayersChannels) {
  ASSERT_EQ(LoadSample("trainer"), 1);
  SetFrame({0, 0, 50}, {1, 0, 0}, {0, 0, 1}, {20, 0, 0});
  for (float engine : {-1.0f, 1.0f, 0.0f}) {
    float* channel = kxdaircraft::PlayerChannels(board->slots, 0);
    channel[kChannelThrottle] = engine;
    channel[kChannelElevator] = 0.5f;
    channel[kChannelAileron] = 0.25f;
    outputs o = StepOnce();
    EXPECT_FLOAT_EQ(o.throttle, 1.0f - (engine + 1.0f) / 2.0f);
    EXPECT_FLOAT_EQ(state().controls[2], -0.5f);
    EXPECT_FLOAT_EQ(state().controls[1], 0.25f);
    EXPECT_NEAR(o.forwardSpeed, 20.0f, 1.0f);
    EXPECT_EQ(o.velocity[3], 0.0f);
    EXPECT_FLOAT_EQ(o.velocity[0], model()->velocity[0]);
    EXPECT_EQ(o.kind, kKindPlane);
  }
  EXPECT_GT(StepOnce().spin, 0.0f);
}

// From 1 m/s (or a velocity that is not a number) the model starts at the
// pose as given; slower, it is set down level where it stands.
TEST_F(LegacyEntryTest, PlacingChoosesTheResetBySpeed) {
  ASSERT_EQ(LoadSample("glider"), 1);
  const float c = std::cos(0.3f), s = std::sin(0.3f);
  struct placing {
    float v[4];
    bool full;
  };
  for (placing p : {placing{{1, 0, 0, 0}, true}, placing{{0.5f, 0.5f, 0.5f, 0}, false}, placing{{0, 0, 0, 2}, true},
                    placing{{NAN, 0, 0, 0}, true}}) {
    // Rolled 0.3 rad about the nose, 2 m up.
    const float pose[16] = {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 5, 6, 2, 1};
    SetPose(pose, p.v);
    float m[16];
    GetTransform(m);
    if (p.full) {
      EXPECT_FLOAT_EQ(m[14], 2.0f);
      EXPECT_FLOAT_EQ(m[6], s);
    } else {
      EXPECT_LT(m[14], 0.5f);
      EXPECT_EQ(m[6], 0.0f);
      EXPECT_EQ(m[10], 1.0f);
    }
    EXPECT_FLOAT_EQ(m[12], 5.0f);
  }
}

// A placing starts the model's filtered ground normal from the ground
// below its new place, whatever ground it flew over before.
TEST_F(LegacyEntryTest, PlacingTakesTheGroundBelowTheNewPlace) {
  constexpr float kSlopeDeg = 10.0f, kSlopeX = 200.0f;
  meshgen::mesh slope = meshgen::Ground(kxltest::kPatchSize, 8, 0.0f);
  meshgen::RotateY(slope, kSlopeDeg);
  meshgen::Translate(slope, kSlopeX, 0.0f, 0.0f);
  Build({Patch("field_gras", kxltest::kPatchSize, 0.0f), meshgen::ToElement(slope, "field_gras", "", GL_N3F_V3F)});
  ASSERT_EQ(LoadSample("glider"), 1);
  const float still[4] = {};
  const float level[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1};
  SetPose(level, still);
  for (int i = 0; i < 50; ++i) Step(1, 0.02f);
  const float onSlope[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, kSlopeX, 0, 1, 1};
  SetPose(onSlope, still);
  const v3 slopeNormal = dnsmodel::Load(state().terrainNormal);
  EXPECT_NEAR(std::fabs(slopeNormal.x), std::sin(kSlopeDeg * 0.0174533f), 1e-3f);
  EXPECT_NEAR(Length(dnsmodel::Load(model()->groundNormal) - slopeNormal), 0.0f, 1e-6f);
}

// The shadow box of the trainer: the extremes of its mesh in its own axes,
// each widened by 2.5 % of itself, as a quad at z = 0.
TEST_F(LegacyEntryTest, BoundsCoverTheMeshWidened) {
  ASSERT_EQ(LoadSample("trainer"), 1);
  kxgeometry* mesh = nullptr;
  ASSERT_EQ(kxgl::LoadGeometry("airlark/aircraft/trainer.obj", &mesh, 0, 0), 1);
  v3 lo{1e9f, 1e9f, 1e9f}, hi = -lo;
  for (kxgeometry* el = mesh; el; el = el->next) {
    for (int i = 0; i < el->vertexCount; ++i) {
      float p[3];
      kxgeometry::GetVertexPosition(el, i, p);
      lo = {std::min(lo.x, p[0]), std::min(lo.y, p[1]), std::min(lo.z, p[2])};
      hi = {std::max(hi.x, p[0]), std::max(hi.y, p[1]), std::max(hi.z, p[2])};
    }
  }
  kxgeometry::Free(&mesh);
  shadowquad q;
  int texture = 0;
  q.texture = &texture;
  GetBounds(&q);
  EXPECT_EQ(q.texture, &texture);
  EXPECT_NEAR(q.size, std::max(hi.x - lo.x, hi.y - lo.y), 1e-4f);
  EXPECT_NEAR(q.min[0], lo.x - 0.025f * std::fabs(lo.x), 1e-4f);
  EXPECT_NEAR(q.min[2], lo.z - 0.025f * std::fabs(lo.z), 1e-4f);
  EXPECT_NEAR(q.max[1], hi.y + 0.025f * std::fabs(hi.y), 1e-4f);
  const float corners[4][5] = {{0, 0, q.min[0], q.min[1], 0}, {1, 0, q.max[0], q.min[1], 0},
                               {1, 1, q.max[0], q.max[1], 0}, {0, 1, q.min[0], q.max[1], 0}};
  for (int k = 0; k < 4; ++k) {
    for (int e = 0; e < 5; ++e) EXPECT_EQ(q.corners[k][e], corners[k][e]) << k << " " << e;
  }
  // The falling body has no mesh: a zero box, not an inverted one.
  ASSERT_EQ(LoadSample("fall"), 1);
  GetBounds(&q);
  EXPECT_EQ(q.size, 0.0f);
  EXPECT_EQ(q.min[0], 0.0f);
  EXPECT_EQ(q.max[2], 0.0f);
}

// The simulator's side: the flight state takes the frame, the state and the
// kind, and the piccolo is told apart.
TEST_F(LegacyEntryTest, FlightStateTakesTheStep) {
  ASSERT_EQ(LoadSample("glider"), 1);
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame);
  frame.R = {0, 0, 1, 1};
  const float still[4] = {};
  PlaceAt(frame, still);
  kxdflightstate st;
  float speed = -1;
  StepFlightState(1, 0.02f, &st, &speed);
  EXPECT_EQ(st.ground_contact, 1);
  EXPECT_EQ(st.crash, 0);
  EXPECT_EQ(st.flags, kKindGlider);
  EXPECT_NEAR(speed, 0.0f, 0.1f);
  kxmatrix back;
  TransformInto(&back);
  EXPECT_EQ(back.R.z, st.position()[2]);
  EXPECT_EQ(IsPiccolo(), 0);
  std::filesystem::create_directories("aircraft/piccolo");
  std::filesystem::copy_file(kxltest::DataPath("aircraft/piccolo/piccolo.dns"), "aircraft/piccolo/piccolo.dns");
  int kind = -1;
  ASSERT_EQ(LoadForSimulator("piccolo", &kind), 1);
  EXPECT_EQ(kind, kKindHelicopter);
  EXPECT_EQ(IsPiccolo(), 1);
}

}  // namespace
