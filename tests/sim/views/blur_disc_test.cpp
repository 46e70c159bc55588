// Blur discs under a real context: a blade turned through the whole circle
// leaves a disc that is opaque (up to the cap) only where it passed, the
// texture is found again by name, and a size the table refuses leaves the
// part without one.
#include "sim/views/blur_disc.h"

#include <cmath>

#include "views_gl_support.h"

namespace {

using kxtest::pixel;

class BlurDiscDraw : public viewstest::viewsgltest {
 protected:
  // A rotor part whose one blade reaches from the hub to 0.9 m along x.
  kxgeometricobject* Rotor() {
    kxgeometricobject* rotor = Part("rotor", nullptr, nullptr);
    kxgeometricobject* blade = Part("blade", &blade_, grey_, rotor);
    blade->Matrix.R = {0.45f, 0, 0, 1};
    return rotor;
  }
  meshgen::mesh blade_ = meshgen::Box(0.9f, 0.1f, 0.02f);
  const float grey_[3] = {0.5f, 0.5f, 0.5f};
};

TEST_F(BlurDiscDraw, TheDiscIsOpaqueOnlyWhereTheBladePassed) {
  kxgeometricobject* rotor = Rotor();
  const int before = kxgl::TexturesInUse();
  sim::RenderShadowTexture(rotor, "blurrrotor", 1.0f, 64);
  kxtexture* disc = rotor->discTexture;
  ASSERT_NE(disc, nullptr);
  EXPECT_EQ(std::string(disc->name), "blurrrotor");
  EXPECT_EQ(disc->type, kxgl::kTypeRGBA);
  EXPECT_EQ(disc->uploaded, 1);
  std::vector<pixel> texels = Texels(disc);
  // Texel centres by radius (m), 32 texels to the metre around (32, 32).
  auto at = [&](float r, float degrees) {
    const float a = degrees * static_cast<float>(M_PI) / 180.0f;
    int x = static_cast<int>(std::floor(32 + 32 * r * std::cos(a))), y = static_cast<int>(std::floor(32 + 32 * r * std::sin(a)));
    return texels[static_cast<size_t>(y) * 64 + x];
  };
  for (float degrees : {0.0f, 77.0f, 180.0f, 250.0f}) {
    EXPECT_EQ(at(0.5f, degrees).a, sim::kBlurAlphaCap) << degrees;  // swept at every angle
    EXPECT_GT(at(0.5f, degrees).r, 100) << degrees;
    EXPECT_EQ(at(0.97f, degrees).a, 0) << degrees;  // beyond the tip and the blur
    EXPECT_EQ(at(0.97f, degrees).r, 0) << degrees;
  }
  EXPECT_EQ(texels[0].a, 0);

  // Again for the same part: the same entry, no further reference.
  sim::RenderShadowTexture(rotor, "blurrrotor", 1.0f, 64);
  EXPECT_EQ(rotor->discTexture, disc);
  EXPECT_EQ(kxgl::TexturesInUse(), before + 1);
  EXPECT_EQ(disc->refs, 1);
  kxgl::FreeTexture(disc);
  rotor->discTexture = nullptr;
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(BlurDiscDraw, ASizeTheTableRefusesLeavesThePartWithoutADisc) {
  kxgeometricobject* rotor = Rotor();
  sim::RenderShadowTexture(rotor, "blurrrotor", 1.0f, 0);
  EXPECT_EQ(rotor->discTexture, nullptr);
  EXPECT_TRUE(capture_.Contains("blurrrotor size 0x0 type 4 invalid"));
  // A radius that gives no picture still gives the part a (clear) disc.
  sim::RenderShadowTexture(rotor, "blurrflat", 0.0f, 16);
  ASSERT_NE(rotor->discTexture, nullptr);
  EXPECT_EQ(Texels(rotor->discTexture)[8 * 16 + 8].a, 0);
  EXPECT_TRUE(capture_.Contains("sim:  blur disc blurrflat radius 0=fail\n"));
  kxgl::FreeTexture(rotor->discTexture);
  rotor->discTexture = nullptr;
}

}  // namespace
