// Cloud texels computed without OpenGL: BuildSky without a context still
// rewrites the cloud textures' texels.
#include "sim/views/sky.h"

#include "sim/session.h"
#include "tests/sim/world/world_support.h"

namespace {

class SkyTest : public kxtest::SceneryTest {
 protected:
  void TearDown() override {
    sim::session.settings.cloud_type = sessionsettings().cloud_type;
    SceneryTest::TearDown();
  }
};

TEST_F(SkyTest, CloudTexelsFollowDensityAndExponentAndClampToAByte) {
  struct {
    uint8_t source;
    float exponent, density;
    int rain;
    uint8_t alpha, grey, colourAlpha;
  } cases[] = {
      {0, 0.55f, 0.9f, 0, 0, 255, 0},      {255, 0.55f, 0.9f, 0, 229, 255, 229},
      {51, 2.0f, 1.0f, 0, 10, 255, 10},    {255, 0.55f, 0.9f, 1, 229, 177, 220},
      {0, 0.55f, 0.9f, 1, 0, 120, 220},    {255, 1.0f, 2.0f, 0, 255, 255, 255},
      {255, 1.0f, 3.0f, 1, 255, 255, 220},
  };
  for (const auto& c : cases) {
    sim::cloudtexel t = sim::CloudTexel(c.source, c.exponent, c.density, c.rain);
    EXPECT_EQ(t.alpha, c.alpha) << int(c.source) << " " << c.density;
    EXPECT_EQ(t.rgba[0], c.grey) << int(c.source) << " " << c.density;
    EXPECT_EQ(t.rgba[3], c.colourAlpha);
  }
  float kept[3][3] = {{9, 9, 9}, {9, 9, 9}, {9, 9, 9}};
  EXPECT_EQ(sim::SkyColours(static_cast<sim::cloudtype>(83), kept), 0);  // a type of its own keeps the scenery's colours
  EXPECT_EQ(kept[0][0], 9.0f);
}

TEST_F(SkyTest, RainTurnsTheLowLayerIntoAGreySheetFromTheSourceMap) {
  PutPicture("texture/clouds.kxt", 1);  // every texel 200
  world& w = Load("CLOUDS 300 4 1.0 2.0 texture/clouds.kxt\n");
  ASSERT_NE(w.cloud_low_texture, nullptr);
  sim::session.settings.cloud_type = sim::kCloudsRain;
  sim::BuildSky(&w);
  const uint8_t* rgba = w.cloud_low_texture->pixels;
  EXPECT_EQ(w.cloud_texture->pixels[5], 156);  // (200 / 255)^2 x 255
  EXPECT_EQ(rgba[4 * 5], 159);                 // 0.25 x 156.9 + 120
  EXPECT_EQ(rgba[4 * 5 + 3], 220);
  EXPECT_FLOAT_EQ(w.sky_colours[0][2], 0.69f);
  sim::session.settings.cloud_type = sim::kCloudsFair;
  sim::BuildSky(&w);
  EXPECT_EQ(rgba[4 * 5], 255);
  EXPECT_EQ(rgba[4 * 5 + 3], 156);
  EXPECT_FLOAT_EQ(w.sky_colours[2][1], 0.61f);
}

}  // namespace
