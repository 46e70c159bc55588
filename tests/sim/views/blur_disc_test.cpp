// Blur discs under a real context: a blade turned through the whole circle
// leaves a disc that is opaque (up to the cap) only where it passed, the
// texture is found again by name, and a size the table refuses leaves the
// part without one.
#include "sim/views/blur_disc.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <functional>

#include "graphics/draw.h"
#include "graphics/mesh.h"
#include "sim/views/part_walk.h"
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

// The disc as the graphics card draws it: the passes blended over each
// other through OpenGL, colour and depth read back, then the same capping
// and blur. The baked disc must look the same.
std::vector<uint8_t> CardDisc(const kxgeometricobject* object, float radius, int size) {
  kxtexture* texture = kxgl::CreateTexture("carddisc", kxgl::kTypeRGBA, size, size, kxgl::kFilterLinear,
                                           kxgl::kWrapClamp, kxgl::kWrapClamp, 0);
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  sim::rendertarget target;
  EXPECT_TRUE(sim::BeginRenderTarget(size, size, &target));
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  sim::PushBoxView(-radius, radius, -radius, radius);
  glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
  for (int pass = 0; pass < sim::kBlurPasses; ++pass) {
    glRotatef(sim::kBlurStep, 0.0f, 0.0f, 1.0f);
    sim::ForEachPart(object, [](const kxgeometricobject* child) {
      glPushMatrix();
      glMultMatrixf(child->Matrix.Data());
      kxgl::DrawGeometryTextured(child->mesh);
      glPopMatrix();
    });
  }
  sim::PopBoxView();
  std::vector<uint8_t> rgb(size * size * 3), depth(size * size);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  glReadPixels(0, 0, size, size, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, depth.data());
  sim::EndRenderTarget(target);
  glPopClientAttrib();
  glPopAttrib();
  for (int i = 0; i < size * size; ++i) {
    for (int k = 0; k < 3; ++k) texture->pixels[4 * i + k] = rgb[3 * i + k];
    texture->pixels[4 * i + 3] = depth[i] < 255 ? 255 : 0;
  }
  kxgl::MakeProceduralTexture(texture, sim::kBlurMode, sim::kBlurAlphaCap);
  std::vector<uint8_t> out(texture->pixels, texture->pixels + size * size * 4);
  kxgl::FreeTexture(texture);
  return out;
}

// Grey boxes, twisted and textured blades under a hub, and see-through
// coloured blades: the baked disc against the card's, texel by texel.
TEST_F(BlurDiscDraw, TheBakedDiscLooksAsTheCardDrawsIt) {
  kxtexture* checker = kxgl::CreateTexture("bladechecker", kxgl::kTypeRGB, 4, 4, kxgl::kFilterLinear,
                                           kxgl::kWrapRepeat, kxgl::kWrapRepeat, 0);
  for (int i = 0; i < 16; ++i) {
    const uint8_t rgb[3] = {static_cast<uint8_t>(i % 2 ? 230 : 40), static_cast<uint8_t>(i * 15), 90};
    std::copy(rgb, rgb + 3, checker->pixels + 3 * i);
  }
  kxgl::UploadTexture(checker);
  textures_.push_back(checker);
  struct scene {
    const char* name;
    std::function<kxgeometricobject*()> make;
  };
  const scene scenes[] = {
      {"one grey box", [&] { return Rotor(); }},
      {"textured twisted blades under a hub",
       [&] {
         kxgeometricobject* rotor = Part("rotor", nullptr, nullptr);
         for (float turn : {0.0f, 180.0f}) {
           meshgen::mesh blade = meshgen::Blade(0.08f, 0.85f, 0.12f, 0.07f, 14.0f, 6.0f, 8);
           meshgen::RotateZ(blade, turn);
           kxgeometricobject* part = Part("blade", nullptr, nullptr, rotor);
           part->SetMesh(meshgen::ToElement(blade, "blade", "", GL_T2F_N3F_V3F));
           part->mesh->texture = checker;
         }
         meshgen::mesh hub = meshgen::Cylinder(0.1f, 0.06f, 16);
         kxgeometricobject* cap = Part("hub", &hub, grey_, rotor);
         cap->Matrix.R = {0, 0, 0.04f, 1};
         return rotor;
       }},
      {"see-through coloured blades",
       [&] {
         kxgeometricobject* rotor = Part("rotor", nullptr, nullptr);
         meshgen::mesh blade = meshgen::Box(1.4f, 0.16f, 0.03f);
         for (meshgen::vertex& v : blade.vertices) {
           const float c[4] = {0.9f, v.p[0] > 0 ? 0.8f : 0.1f, 0.2f, 0.3f};
           std::copy(c, c + 4, v.c);
         }
         kxgeometricobject* part = Part("blade", nullptr, nullptr, rotor);
         part->SetMesh(meshgen::ToElement(blade, "blade", "", GL_C4F_N3F_V3F));
         return rotor;
       }},
  };
  constexpr int kSize = 128;
  for (const scene& s : scenes) {
    kxgeometricobject* rotor = s.make();
    std::vector<uint8_t> card = CardDisc(rotor, 1.0f, kSize);
    sim::RenderShadowTexture(rotor, "blurrbaked", 1.0f, kSize);
    ASSERT_NE(rotor->discTexture, nullptr);
    const uint8_t* baked = rotor->discTexture->pixels;
    int alphaApart = 0, colourApart = 0, drawn = 0;
    double colourSum = 0.0;
    for (int i = 0; i < kSize * kSize; ++i) {
      alphaApart += std::abs(card[4 * i + 3] - baked[4 * i + 3]) > 8;
      drawn += card[4 * i + 3] > 0;
      for (int k = 0; k < 3; ++k) {
        int d = std::abs(card[4 * i + k] - baked[4 * i + k]);
        colourSum += d;
        colourApart += d > 24;
      }
    }
    EXPECT_GT(drawn, kSize * kSize / 3) << s.name;
    EXPECT_LE(alphaApart, kSize * kSize / 100) << s.name;
    EXPECT_LE(colourApart, 3 * kSize * kSize / 100) << s.name;
    EXPECT_LE(colourSum / (3.0 * kSize * kSize), 2.0) << s.name;
    kxgl::FreeTexture(rotor->discTexture);
    rotor->discTexture = nullptr;
  }
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
