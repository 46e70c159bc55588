// Drawing into textures under a real context: a texture larger than the
// window is drawn whole offscreen; without framebuffer objects the window's
// part of it is, and the rest keeps its texels; a mesh's top view fills the
// balloon shadow record.
#include "sim/views/render_to_texture.h"

#include "dynamics/flight_state.h"
#include "views_gl_support.h"

namespace {

using kxtest::pixel;

class RenderTargetDraw : public viewstest::viewsgltest {
 protected:
  // Draws white over x0..x1, y0..y1 (pixels of the target) on black into t.
  static int DrawInto(kxtexture* t, float x0, float y0, float x1, float y1, sim::rendertarget* target) {
    if (!sim::BeginRenderTarget(t->width, t->height, target)) return 0;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    sim::PushBoxView(0, static_cast<float>(t->width), 0, static_cast<float>(t->height));
    glColor3f(1, 1, 1);
    glRectf(x0, y0, x1, y1);
    int copied = sim::CopyRenderTarget(*target, t);
    sim::PopBoxView();
    sim::EndRenderTarget(*target);
    return copied;
  }
  static pixel At(const std::vector<pixel>& texels, const kxtexture* t, int x, int y) {
    return texels[static_cast<size_t>(y) * t->width + x];
  }
};

TEST_F(RenderTargetDraw, ATextureLargerThanTheWindowIsDrawnWholeOffscreen) {
  ASSERT_TRUE(kxgl::caps.framebuffer_object);
  kxtexture* t = Texture("big", 256, 256);
  sim::rendertarget target;
  ASSERT_TRUE(DrawInto(t, 200, 200, 240, 240, &target));
  EXPECT_EQ(target.offscreen, 1);
  EXPECT_EQ(target.readWidth, 256);
  GLint bound = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(bound, 0);  // the window's frame buffer again
  std::vector<pixel> texels = Texels(t);
  EXPECT_EQ(At(texels, t, 220, 220).r, 255);  // beyond the window's 160 x 120
  EXPECT_EQ(At(texels, t, 100, 100).r, 0);
  // The same size again reuses the surface; another size gets its own.
  ASSERT_TRUE(DrawInto(t, 0, 0, 10, 10, &target));
  kxtexture* small = Texture("small", 32, 16);
  ASSERT_TRUE(DrawInto(small, 0, 0, 16, 16, &target));
  texels = Texels(small);
  EXPECT_EQ(At(texels, small, 8, 8).r, 255);
  EXPECT_EQ(At(texels, small, 24, 8).r, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderTargetDraw, WithoutFramebufferObjectsTheWindowsPartIsCopiedAndTheRestKept) {
  kxgl::caps.framebuffer_object = 0;
  kxtexture* t = Texture("big", 256, 256);
  sim::rendertarget target;
  ASSERT_TRUE(DrawInto(t, 0, 0, 256, 256, &target));
  EXPECT_EQ(target.offscreen, 0);
  EXPECT_EQ(target.width, 256);
  EXPECT_EQ(target.readWidth, viewstest::kWidth);
  EXPECT_EQ(target.readHeight, viewstest::kHeight);
  std::vector<pixel> texels = Texels(t);
  EXPECT_EQ(At(texels, t, 10, 10).r, 255);
  EXPECT_EQ(At(texels, t, 200, 10).r, 0);   // right of the window: the texels as created
  EXPECT_EQ(At(texels, t, 10, 200).a, 0);   // above it
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderTargetDraw, AnEmptySizeDrawsNothing) {
  sim::rendertarget target;
  for (int size : {0, -4}) EXPECT_EQ(sim::BeginRenderTarget(size, 64, &target), 0) << size;
  EXPECT_EQ(sim::BeginRenderTarget(64, 0, &target), 0);
  kxgl::caps.framebuffer_object = 0;
  kxsystem::display.window_width = 0;
  EXPECT_EQ(sim::BeginRenderTarget(64, 64, &target), 0);  // no window pixel to keep any of it
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderTargetDraw, RenderToTextureFillsTheQuadAndDrawsTheTopViewWhiteOnBlack) {
  const float grey[3] = {0.3f, 0.3f, 0.3f};
  meshgen::mesh box = meshgen::Box(2.0f, 1.0f, 0.5f);  // x -1..1, y -0.5..0.5
  kxgeometry* mesh = meshgen::ColouredElement(box, "balloon", "", grey);
  shadowquad record;
  const float lo[3] = {-2, -1, -1}, hi[3] = {2, 1, 1};
  std::copy(lo, lo + 3, record.min);
  std::copy(hi, hi + 3, record.max);
  kxtexture* t = Texture("balloonshadow", 64, 32);
  sim::RenderToTexture(&record, t, mesh);
  const float corners[4][5] = {{0, 0, -2, -1, 0}, {1, 0, 2, -1, 0}, {1, 1, 2, 1, 0}, {0, 1, -2, 1, 0}};
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 5; ++k) EXPECT_EQ(record.corners[c][k], corners[c][k]) << c << " " << k;
  std::vector<pixel> texels = Texels(t);
  struct {
    int x, y, value;
  } probes[] = {{32, 16, 255}, {20, 10, 255}, {44, 22, 255}, {10, 16, 0}, {32, 28, 0}, {60, 2, 0}};
  for (const auto& p : probes) EXPECT_EQ(At(texels, t, p.x, p.y).g, p.value) << p.x << ", " << p.y;

  // An empty box still gets its quad; the picture is left alone.
  shadowquad flat;
  flat.max[0] = 3;
  sim::RenderToTexture(&flat, t, mesh);
  EXPECT_EQ(flat.corners[2][2], 3.0f);
  EXPECT_EQ(Texels(t)[16 * 64 + 32].g, 255);
  kxgeometry::Free(&mesh);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
