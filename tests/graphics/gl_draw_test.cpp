// Upload and drawing against a real context (Xvfb with Mesa's software
// renderer); skipped where no display exists.
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "graphics/graphics_init.h"
#include "graphics/image.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "graphics/texture_table.h"
#include "platform/events.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "test_support.h"
#include "tests/platform/gl_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

constexpr int kSize = 128;  // window pixels

using kxtest::DisplayAvailable;
using kxtest::pixel;
using kxtest::ReadPixel;

// GCC names an address-sanitized build by a macro, clang by a feature test.
#if defined(__SANITIZE_ADDRESS__)
#define KX_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KX_TEST_ASAN 1
#endif
#endif

#if defined(KX_TEST_ASAN)
extern "C" void __lsan_disable();
extern "C" void __lsan_enable();
struct IgnoreLeaks {
  IgnoreLeaks() { __lsan_disable(); }
  ~IgnoreLeaks() { __lsan_enable(); }
};
#else
struct [[maybe_unused]] IgnoreLeaks {};
#endif

const std::string kData =
    (std::filesystem::path(KX_TEST_DATA) / ".." / ".." / ".." / "data" / "texture").lexically_normal().string() + "/";

}  // namespace

class GlDraw : public kxtest::GraphicsTest {
 protected:
  void SetUp() override {
    if (!DisplayAvailable()) GTEST_SKIP() << "no display";
    GraphicsTest::SetUp();
    kxgl::ClearTextureTable();
    // The software driver keeps blocks its stripped code allocated while the
    // context comes and goes; the leak checker cannot name them for the
    // driver suppressions, so it skips what the window system allocates.
    // Our own drawing in the test bodies stays checked.
    IgnoreLeaks ignore;
    backend_ = kxsystem::SdlWindowBackend();
    ASSERT_EQ(backend_->Start(), 1);
    kxsystem::display = kxdisplaysettings();
    kxsystem::display.window_width = kSize;
    kxsystem::display.window_height = kSize;
    ASSERT_EQ(backend_->Create(kxsystem::display), 1);
    ASSERT_EQ(kxgl::HasContext(), 1);
    kxgl::InitExtensions();
    kxgraphics::Init();
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSize, 0, kSize, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void TearDown() override {
    if (!backend_) return;
    kxgeometry::Free(&mesh_);
    kxgl::SetFont(nullptr);
    kxgl::FreeFont(&font_);
    while (kxgl::ScissorOff() && glIsEnabled(GL_SCISSOR_TEST)) {
    }
    kxsystem::NotifyContextLost();
    kxgl::FreeAllTextures();
    IgnoreLeaks ignore;
    backend_->Destroy();
    backend_->Stop();
    GraphicsTest::TearDown();
  }
  GLint Parameter(kxtexture* t, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, t->glName);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
  }

  windowbackend* backend_ = nullptr;
  kxgeometry* mesh_ = nullptr;
  kxglfont font_{};
};

TEST_F(GlDraw, UploadTurnsCodesIntoGlParametersAndBuildsMipmaps) {
  kxtexture* a = kxgl::CreateTexture("a", 3, 4, 4, 60, 71, 72, 0);
  kxtexture* b = kxgl::CreateTexture("b", 3, 4, 4, 61, 70, 60, 0);
  ASSERT_EQ(kxgl::UploadTexture(a), 1);
  ASSERT_EQ(kxgl::UploadTexture(b), 1);
  EXPECT_NE(a->glName, 0u);
  EXPECT_EQ(a->uploaded, 1);
  EXPECT_EQ(Parameter(a, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(Parameter(a, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  EXPECT_EQ(Parameter(b, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  EXPECT_EQ(Parameter(a, GL_TEXTURE_WRAP_S), GL_CLAMP);
  EXPECT_EQ(Parameter(a, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
  EXPECT_EQ(Parameter(b, GL_TEXTURE_WRAP_S), GL_REPEAT);
  EXPECT_EQ(Parameter(b, GL_TEXTURE_WRAP_T), GL_REPEAT);
  // Uploading all skips cube entries; mipmaps build their levels.
  kxtexture* cube = kxgl::CreateTexture("cubemap0", 3, 1, 1, 61, 71, 71, 1);
  cube->cube = 1;
  kxtexture* mip = kxgl::CreateTexture("mip", 4, 8, 8, 60, 70, 70, 1);
  EXPECT_EQ(kxgl::UploadAllTextures(), 1);
  EXPECT_EQ(cube->uploaded, 0);
  EXPECT_EQ(cube->glName, 0u);
  EXPECT_EQ(mip->uploaded, 1);
  EXPECT_EQ(Parameter(mip, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 1);
}

// Only pictures loaded as reducible (sceneries' and aircraft's) are halved;
// the program's own pictures keep their size at any quality.
TEST_F(GlDraw, LowQualityHalvesReducibleTexturesOnlyAtUpload) {
  kximage image;
  image.width = image.height = 8;
  image.channels = 3;
  image.pixels.assign(8 * 8 * 3, 90);
  kxgl::WriteBmp(Path("p.bmp").c_str(), image);
  kxgl::WriteBmp(Path("q.bmp").c_str(), image);
  kxtexture* t = kxgl::LoadTexture(Path("p.bmp").c_str(), {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear,
                                                           .wrapS = kxgl::kWrapRepeat, .wrapT = kxgl::kWrapRepeat,
                                                           .reducible = true});
  kxtexture* own = kxgl::LoadTexture(Path("q.bmp").c_str(), {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear,
                                                             .wrapS = kxgl::kWrapRepeat, .wrapT = kxgl::kWrapRepeat});
  ASSERT_TRUE(t && own);
  kxgl::textureQuality = 2;
  GLint width = 0;
  kxgl::UploadTexture(t);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 2);
  EXPECT_EQ(t->width, 8);
  kxgl::UploadTexture(own);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 8);
  kxgl::textureQuality = 0;
}

// A lost context keeps the texels for the next upload; an update refreshes
// the uploaded copy.
TEST_F(GlDraw, TexelsSurviveContextLossAndUpdatesReachTheGlCopy) {
  kxtexture* t = kxgl::CreateTexture("card", 3, 2, 2, 61, 71, 71, 0);
  t->pixels[0] = 77;
  ASSERT_EQ(kxgl::UploadTexture(t), 1);
  kxsystem::NotifyContextLost();
  EXPECT_EQ(t->glName, 0u);
  EXPECT_EQ(t->uploaded, 0);
  EXPECT_EQ(t->pixels[0], 77);
  EXPECT_EQ(kxgl::UploadAllTextures(), 1);
  EXPECT_NE(t->glName, 0u);
  uint8_t red[3] = {255, 0, 0};
  ASSERT_EQ(kxgl::UpdateTexture(t, red, 3, 1, 1), 1);
  EXPECT_EQ(t->uploaded, 1);
  uint8_t back[12] = {};
  glBindTexture(GL_TEXTURE_2D, t->glName);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back);
  EXPECT_EQ(back[9], 255);
  EXPECT_EQ(back[10], 0);
}

TEST_F(GlDraw, MeshDrawsWithItsMaterialAndSkipsTransparentElements) {
  mesh_ = meshgen::ToElement(meshgen::Box(40, 40, 40), "box", "", GL_N3F_V3F);
  const float red[4] = {1, 0, 0, 1};
  std::memcpy(mesh_->diffuse, red, sizeof red);
  meshgen::mesh glassShape = meshgen::Box(40, 40, 40);
  meshgen::Translate(glassShape, 60, 0, 0);
  mesh_->next = meshgen::ToElement(glassShape, "T__glass", "", GL_N3F_V3F);
  mesh_->next->transparent = 1;
  glTranslatef(40, 40, 0);
  ASSERT_EQ(kxgl::DrawGeometry(mesh_), 1);
  pixel inside = ReadPixel(40, 40), glass = ReadPixel(100, 40), outside = ReadPixel(40, 100);
  EXPECT_EQ(inside.r, 255);
  EXPECT_EQ(inside.g, 0);
  EXPECT_EQ(glass.r, 0);
  EXPECT_EQ(outside.r, 0);
  // One element at a time draws the transparent one too.
  ASSERT_EQ(kxgl::DrawElement(mesh_->next), 1);
  EXPECT_GT(ReadPixel(100, 40).r, 200);
  // Plain drawing keeps the caller's colour.
  glColor3f(0, 1, 0);
  ASSERT_EQ(kxgl::DrawGeometryPlain(mesh_), 1);
  EXPECT_EQ(ReadPixel(40, 40).g, 255);
  EXPECT_EQ(ReadPixel(40, 40).r, 0);
}

TEST_F(GlDraw, MeshTexturesUploadTogether) {
  kximage picture;
  picture.width = picture.height = 2;
  picture.channels = 3;
  picture.pixels.assign(12, 50);
  kxgl::WriteBmp(Path("skin.bmp").c_str(), picture);
  kxgeometry* el = meshgen::ToElement(meshgen::Box(1, 1, 1), "skin", "", GL_T2F_N3F_V3F);
  std::snprintf(el->textureName, sizeof el->textureName, "skin.bmp");
  kxgeometry::WriteBinary(Path("m.tgo").c_str(), el);
  kxgeometry::Free(&el);
  ASSERT_EQ(kxgl::LoadGeometry(Path("m.tgo").c_str(), &mesh_, 1, 0), 1);
  ASSERT_NE(mesh_->texture, nullptr);
  EXPECT_EQ(mesh_->texture->uploaded, 0);
  EXPECT_EQ(kxgl::UploadGeometryTextures(mesh_), 1);
  EXPECT_EQ(mesh_->texture->uploaded, 1);
  EXPECT_EQ(kxgl::UploadGeometryTextures(nullptr), 0);
}

TEST_F(GlDraw, TexturedMeshShowsItsTexture) {
  meshgen::mesh quad = meshgen::Box(60, 60, 1);
  mesh_ = meshgen::ToElement(quad, "card", "", GL_T2F_V3F);
  mesh_->texture = kxgl::CreateTexture("blue", 3, 2, 2, 61, 70, 70, 0);
  for (int i = 0; i < 4; ++i) mesh_->texture->pixels[i * 3 + 2] = 255;
  glTranslatef(64, 64, 0);
  glColor3f(1, 1, 1);
  ASSERT_EQ(kxgl::DrawGeometryTextured(mesh_), 1);
  pixel p = ReadPixel(64, 64);
  EXPECT_EQ(p.b, 255);
  EXPECT_EQ(p.r, 0);
  glDisable(GL_TEXTURE_2D);
}

TEST_F(GlDraw, TextLandsInsideItsLineBox) {
  ASSERT_EQ(kxgl::LoadFont((kData + "arial20b.kxf").c_str(), &font_, 61), 1);
  kxgl::SetFont(&font_);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor3f(1, 1, 1);
  ASSERT_EQ(kxgl::DrawText(10, 20, "HH"), 1);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  int width = kxgl::TextWidth("HH");
  int lit = 0, stray = 0;
  std::vector<pixel> frame(kSize * kSize);
  glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      bool on = frame[y * kSize + x].r > 128;
      bool inBox = x >= 10 && x < 10 + width && y >= 20 && y < 20 + font_.lineHeight;
      lit += on && inBox;
      stray += on && !inBox;
    }
  }
  EXPECT_GT(lit, 20);
  EXPECT_EQ(stray, 0);
  // "H" sits on the baseline: nothing lit below it.
  int baseline = 20 + font_.lineHeight - font_.ascent;
  for (int x = 10; x < 10 + width; ++x) EXPECT_LT(ReadPixel(x, baseline - 1).r, 128);
}

TEST_F(GlDraw, PointerDrawsAtItsPositionWithTheTipTopLeft) {
  ASSERT_EQ(kxgl::LoadMouse((kData + "mouse.kxt").c_str()), 1);
  input::pointer.x = 50;
  input::pointer.y = 80;
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor3f(1, 1, 1);
  glClearColor(0.5f, 0.5f, 0.5f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  ASSERT_EQ(kxgl::DrawMouse(), 1);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  EXPECT_EQ(ReadPixel(50, 80).r, 0);    // the tip: outline
  EXPECT_NEAR(ReadPixel(49, 80).r, 128, 1);  // left of it: background
  EXPECT_NEAR(ReadPixel(50, 81).r, 128, 1);  // above it: background
  EXPECT_EQ(ReadPixel(52, 75).r, 255);  // inside the arrow: fill
}

TEST_F(GlDraw, ScissorRectanglesNestAndUnwind) {
  GLint box[4];
  ASSERT_EQ(kxgl::ScissorOn(10, 10, 100, 100), 1);
  ASSERT_EQ(kxgl::ScissorOn(50, 0, 100, 40), 1);
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(box[0], 50);
  EXPECT_EQ(box[1], 10);
  EXPECT_EQ(box[2], 60);
  EXPECT_EQ(box[3], 30);
  kxgl::ScissorOff();
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(box[0], 10);
  EXPECT_EQ(box[2], 100);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  kxgl::ScissorOff();
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  kxgl::ScissorOff();  // unmatched: stays off
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  for (int i = 0; i < 40; ++i) kxgl::ScissorOn(i, 0, 200, 200);
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(box[0], 39);  // deeper than the stack still narrows
  for (int i = 0; i < 40; ++i) kxgl::ScissorOff();
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  EXPECT_EQ(kxgl::SwapBuffers(), 1);
}

TEST_F(GlDraw, PhotoTilesUploadCompressedOnlyWhenTheSettingAllows) {
  if (!kxgl::caps.compressed_textures) GTEST_SKIP() << "no texture compression";
  kxtexture* tile = kxgl::CreateTexture("tile", 10, 16, 16, 60, 72, 72, 0);
  ASSERT_EQ(kxgl::UploadTexture(tile), 1);
  GLint internal = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
  EXPECT_FALSE(internal == GL_COMPRESSED_RGB_ARB);
  kxgl::textureCompression = 1;
  kxgl::UploadTexture(tile);
  kxgl::textureCompression = 0;
  GLint compressed = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED_ARB, &compressed);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
  // The driver may pick any compressed format for the generic request.
  EXPECT_TRUE(compressed || internal == GL_COMPRESSED_RGB_ARB) << internal;
}
