// Ground shadows: the quad carried along the sun's rays onto a face's plane,
// clipped to the face's edges (also a moving object's face through its
// frame), and under a real context drawn over a sloped face of a scenery.
#include "sim/views/ground_shadow.h"

#include <cmath>

#include "dynamics/flight_state.h"
#include "graphics/collision_face.h"
#include "sim/views/gl_state.h"
#include "views_gl_support.h"

namespace {

using sim::shadowvertex;

// A 2 x 2 m quad about the caster, texture corners as the records have them.
shadowquad Quad() {
  shadowquad q;
  const float corners[4][5] = {{0, 0, -1, -1, 0}, {1, 0, 1, -1, 0}, {1, 1, 1, 1, 0}, {0, 1, -1, 1, 0}};
  std::copy(&corners[0][0], &corners[0][0] + 20, &q.corners[0][0]);
  return q;
}

// Column-major: rotation by degrees about z, then a translation.
std::vector<float> Frame(float degrees, float x, float y, float z) {
  const float a = degrees * static_cast<float>(M_PI) / 180.0f, c = std::cos(a), s = std::sin(a);
  return {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

// The polygon's area in the x-y plane.
float Area(const shadowvertex* p, int n) {
  float twice = 0;
  for (int i = 0; i < n; ++i) twice += p[i].x * p[(i + 1) % n].y - p[(i + 1) % n].x * p[i].y;
  return std::fabs(twice) / 2;
}

void Normalise(float v[3]) {
  const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  for (int k = 0; k < 3; ++k) v[k] /= l;
}

TEST(GroundShadowTest, CornersTravelAlongTheRaysOntoThePlaneAndRiseAboveIt) {
  struct {
    float n[3], c, L[3];
  } cases[] = {{{0, 0, 1}, 0, {0, 0, 1}},     {{0, 0, 1}, 2, {0.3f, -0.2f, 1}}, {{-0.5f, 0, 1}, 1, {0.2f, 0, 1}},
               {{0, 0.3f, 1}, -4, {0, 0, -1}}, {{1, 1, 1}, 0, {0.5f, 0.1f, 0.4f}}};
  const std::vector<float> frame = Frame(30, 5, -2, 12);
  const shadowquad quad = Quad();
  for (auto& k : cases) {
    Normalise(k.n);
    Normalise(k.L);
    shadowvertex out[4];
    ASSERT_EQ(sim::ProjectShadowQuad(quad, frame.data(), k.n, k.c, k.L, out), 4);
    for (int i = 0; i < 4; ++i) {
      const float* corner = quad.corners[i];
      const float p[3] = {frame[0] * corner[2] + frame[4] * corner[3] + frame[12],
                          frame[1] * corner[2] + frame[5] * corner[3] + frame[13], frame[14]};
      const float on[3] = {out[i].x, out[i].y, out[i].z - sim::kShadowLift};
      EXPECT_NEAR(k.n[0] * on[0] + k.n[1] * on[1] + k.n[2] * on[2], k.c, 1e-4f);
      const float moved[3] = {on[0] - p[0], on[1] - p[1], on[2] - p[2]};  // along L
      EXPECT_NEAR(moved[1] * k.L[2] - moved[2] * k.L[1], 0.0f, 1e-4f);
      EXPECT_NEAR(moved[2] * k.L[0] - moved[0] * k.L[2], 0.0f, 1e-4f);
      EXPECT_EQ(out[i].u, corner[0]);
      EXPECT_EQ(out[i].v, corner[1]);
    }
  }
  const float wall[3] = {1, 0, 0}, overhead[3] = {0, 0, 1}, grazing[3] = {1e-5f, 0, 1};
  shadowvertex out[4];
  EXPECT_EQ(sim::ProjectShadowQuad(Quad(), frame.data(), wall, 0, overhead, out), 0);  // a wall along the rays
  EXPECT_EQ(sim::ProjectShadowQuad(Quad(), frame.data(), wall, 0, grazing, out), 0);
}

TEST(GroundShadowTest, ClippingKeepsThePartInsideWithInterpolatedCorners) {
  const shadowvertex square[4] = {{0, 0, 0, 0, 0}, {1, 0, 2, 0, 0}, {1, 1, 2, 2, 0}, {0, 1, 0, 2, 0}};
  struct {
    float normal[3], distance;
    int kept;
  } planes[] = {{{1, 0, 0}, 1, 4},   // x >= 1: the right half
                {{1, 0, 0}, -1, 4},  // everything
                {{1, 0, 0}, 3, 0},   // nothing
                {{-1, -1, 0}, -1, 3},  // x + y <= 1: a corner triangle
                {{1, 1, 0}, 1, 5}};    // x + y >= 1: the rest
  for (const auto& p : planes) {
    shadowvertex out[8];
    int n = sim::ClipShadowPolygon(square, 4, p.normal, p.distance, out, 8);
    ASSERT_EQ(n, p.kept) << p.normal[0] << " " << p.normal[1] << " " << p.distance;
    for (int i = 0; i < n; ++i) {
      EXPECT_GE(p.normal[0] * out[i].x + p.normal[1] * out[i].y - p.distance, -1e-5f);
      EXPECT_NEAR(out[i].u, out[i].x / 2, 1e-6f);  // texture coordinates follow the position
      EXPECT_NEAR(out[i].v, out[i].y / 2, 1e-6f);
    }
  }
  shadowvertex out[8];
  const float half[3] = {1, 0, 0};
  ASSERT_EQ(sim::ClipShadowPolygon(square, 4, half, 1, out, 8), 4);
  EXPECT_FLOAT_EQ(out[0].x, 1.0f);  // inserted where the bottom edge crosses x = 1
  EXPECT_FLOAT_EQ(out[0].u, 0.5f);
  const float corner[3] = {1, 1, 0};
  EXPECT_EQ(sim::ClipShadowPolygon(square, 4, corner, 1, out, 4), 0);  // five would not fit in four
}

TEST(GroundShadowTest, AFaceKeepsThePartOfTheShadowOverItAndAMovingFaceTheSame) {
  const float a[3] = {-1, -1, 0}, b[3] = {1, -1, 0}, c[3] = {0, 1, 0};
  kxcollface face{};
  kxcolledge edges[3];
  ASSERT_TRUE(kxcollbuild::MakeFace(a, b, c, &face, edges));
  const float down[3] = {0, 0, 1};
  const std::vector<float> above = Frame(0, 0, 0, 5);
  shadowvertex out[sim::kShadowPolygon];
  const int n = sim::ShadowOnFace(Quad(), above.data(), face, down, out);
  ASSERT_GE(n, 3);
  EXPECT_NEAR(Area(out, n), 2.0f, 1e-5f);  // the quad covers the triangle: the triangle is left
  for (int i = 0; i < n; ++i) EXPECT_NEAR(out[i].z, sim::kShadowLift, 1e-6f);
  const std::vector<float> aside = Frame(0, 5, 0, 5);
  EXPECT_EQ(sim::ShadowOnFace(Quad(), aside.data(), face, down, out), 0);

  // The same triangle on a moving object: built in its own frame, found by the
  // query in that frame, placed by it.
  const std::vector<float> object = Frame(90, 10, 3, 1);
  kxcollface moving = face;
  moving.frame = object.data();
  const std::vector<float> over = Frame(0, 10.5f, 3, 6);
  const int m = sim::ShadowOnFace(Quad(), over.data(), moving, down, out);
  ASSERT_GE(m, 3);
  EXPECT_GT(Area(out, m), 0.5f);
  for (int i = 0; i < m; ++i) {
    // Back in the object's frame every corner lies on the triangle's plane and inside it.
    const float local[3] = {out[i].y - 3, -(out[i].x - 10), out[i].z - 1 - sim::kShadowLift};
    EXPECT_NEAR(local[2], 0.0f, 1e-5f);
    EXPECT_TRUE(kxcollbuild::InsideEdges(&face, local)) << local[0] << ", " << local[1];
  }
}

class GroundShadowDraw : public viewstest::viewsgltest {
 protected:
  // Seen from straight above, 10 pixels a metre, x -8..8 and y -6..6.
  static void TopView() {
    glViewport(0, 0, viewstest::kWidth, viewstest::kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-8, 8, -6, 6, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
  }
  static int Grey(float x, float y) {
    return kxtest::ReadPixel(static_cast<int>((x + 8) * 10), static_cast<int>((y + 6) * 10)).g;
  }
};

TEST_F(GroundShadowDraw, TheShadowLiesOnASlopeAlongTheSunAndEndsAtTheFacesEdge) {
  // A plate rising to the east, z = 0.5 x, for x and y in -4..4.
  PutMesh("scenery/slope.tgo", kxgeomtest::Element({{-4, -4, -2}, {4, -4, 2}, {4, 4, 2}, {-4, 4, -2}},
                                                    {0, 1, 2, 0, 2, 3}, "slope"));
  world& w = Load("OBJECT slope.tgo\n");
  sim::SetupGL();
  float sun[3] = {0.2f, 0, 1};
  Normalise(sun);
  std::copy(sun, sun + 3, w.sun_direction);
  shadowquad record = Quad();
  kxtexture* white = Texture("shadow", 8, 8);
  std::fill(white->pixels, white->pixels + 8 * 8 * 4, 255);
  record.texture = white;

  // Rays from (3, 0, 10) meet the slope at x = 3 - 0.2 t with 10 - t = 0.5 (3 - 0.2 t): x about 1.1.
  struct {
    float caster, x, grey;
  } probes[] = {{3.0f, 1.1f, 115}, {3.0f, 3.0f, 255}, {3.0f, -0.5f, 255},
                {5.5f, 3.5f, 115}, {5.5f, 4.5f, 255}};  // cut at the plate's edge, x = 4
  for (const auto& p : probes) {
    const float caster[3] = {p.caster, 0, 10};
    kxcollision::ViewerCollide(&w.collision, caster, 20);
    TopView();
    kxmatrix frame = kxmatrix::Identity();
    frame.R = {caster[0], caster[1], caster[2], 1};
    sim::DrawGroundShadow(&record, frame);
    EXPECT_NEAR(Grey(p.x, 0), p.grey, 2) << p.caster << " " << p.x;
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));  // the state put back
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_TRUE(depthWrites);
}

}  // namespace
