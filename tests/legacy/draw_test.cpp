// Drawing a legacy model under a real OpenGL context (a hidden window;
// skipped without a display), looked at from above with world x to the
// right: which pass draws which part, in which frame, with which texture
// and how often bound, the blur discs, and the state each pass leaves
// behind.
#include <GL/gl.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "legacy/drawing.h"
#include "legacy/loader.h"
#include "platform/gl_context.h"
#include "tests/legacy/model_support.h"
#include "tests/platform/gl_support.h"

namespace {

// Calls into OpenGL counted on their way to the driver (below).
struct glcalls {
  int binds = 0, pushes = 0;
} calls;

template <class F>
F Next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// The test program defines these two entry points itself, so the drawing's
// calls reach them first; each counts and passes the call on to the driver.
extern "C" void glBindTexture(GLenum target, GLuint texture) {
  static auto next = Next<void (*)(GLenum, GLuint)>("glBindTexture");
  ++calls.binds;
  if (next) next(target, texture);
}
extern "C" void glPushMatrix() {
  static auto next = Next<void (*)()>("glPushMatrix");
  ++calls.pushes;
  if (next) next();
}

namespace {

using namespace dnsmodel;
using kxtest::ReadPixel;

constexpr int kSize = 64;   // px; the view spans -1 .. 1 m

// A plate at the origin, a propeller and a rotor on either side of it, and
// a part of Type 2 that is no propeller.
constexpr const char* kModel =
    "// DNS FILE\n"
    "dummy Mass;\nMass.Type = 6\nMass.M = 1\n"
    "graphic Plate;\nPlate.X = ( 1 0 0 )\nPlate.Z = ( 0 0 1 )\n"
    "propeller Prop;\nProp.Type = 2\nProp.X = ( 1 0 0 )\nProp.Z = ( 0 0 1 )\nProp.R = ( 0.5 0 0 )\n"
    "Prop.Radius = 0.3\n"
    "rotor Rot;\nRot.Type = 10\nRot.X = ( 1 0 0 )\nRot.Y = ( 0 1 0 )\nRot.Z = ( 0 0 1 )\nRot.R = ( -0.5 0 0 )\nRot.Radius = 0.3\n"
    "graphic Odd;\nOdd.Type = 2\nOdd.R = ( 0 0.6 0 )\n";

class LegacyDrawTest : public kxltest::modeltest {
 protected:
  static void SetUpTestSuite() {
    if (std::getenv("DISPLAY") && Window().Open("legacy draw test", kSize, kSize)) kxsystem::SetHasContext(1);
  }
  static void TearDownTestSuite() {
    kxgl::ContextLost();
    kxsystem::SetHasContext(0);
    Window().Close();
  }
  static kxtest::hiddenglwindow& Window() {
    static kxtest::hiddenglwindow window;
    return window;
  }

  void SetUp() override {
    modeltest::SetUp();
    if (!kxgl::HasContext()) GTEST_SKIP() << "no OpenGL context (no display)";
    kxgl::ClearTextureTable();
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    Clear();
  }
  void TearDown() override {
    modeltest::TearDown();
    kxgl::ClearTextureTable();
  }

  // Writes the model and its mesh (a plate and a box at the propeller, in
  // body coordinates) and loads it.
  void LoadModel() {
    Write("airlark/aircraft/parts.dns", kModel);
    meshgen::mesh plate = meshgen::Box(0.3f, 0.3f, 0.01f);
    meshgen::mesh hub = meshgen::Box(0.1f, 0.1f, 0.05f);
    meshgen::Translate(hub, 0.5f, 0.0f, 0.0f);
    kxgeometry* elements[] = {meshgen::ToElement(plate, "Plate", "", GL_N3F_V3F),
                              meshgen::ToElement(hub, "Prop", "", GL_N3F_V3F)};
    kxgeometry* mesh = meshgen::Chain(elements, 2);
    ASSERT_EQ(kxgeometry::WriteText("airlark/aircraft/parts.obj", mesh), 1);
    kxgeometry::Free(&mesh);
    int kind = -1;
    ASSERT_EQ(LoadWithPropBlur("parts", 1, &kind), 1);
    EXPECT_EQ(kind, kKindHelicopter);
  }
  static void Clear() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
  }
  // The red of the pixel over world (x, y).
  static int At(float x, float y) {
    return ReadPixel(static_cast<int>((x + 1.0f) * kSize / 2), static_cast<int>((y + 1.0f) * kSize / 2)).r;
  }
  template <class T>
  static T* Part(const char* name) {
    for (object* p = state().parts; p; p = p->next) {
      if (std::strcmp(p->Name, name) == 0) return As<T>(p);
    }
    return nullptr;
  }
  static int Depth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
  }
};

// The solid pass leaves the propeller out, the rotating pass draws only it,
// the plain pass both; the View passes move them by the model's frame.
TEST_F(LegacyDrawTest, EachPassDrawsItsParts) {
  LoadModel();
  struct pass {
    void (*draw)();
    bool plate, hub, moved;
  };
  for (pass p : {pass{DrawSolidParts, true, false, false}, pass{DrawRotorParts, false, true, false},
                 pass{DrawPartsGeometry, true, true, false}, pass{DrawSolidPartsView, true, false, true},
                 pass{DrawRotorPartsView, false, true, true}, pass{DrawPartsPlain, true, true, true},
                 pass{DrawFlaggedParts, false, false, false}}) {
    // The model's frame lifts it 0.25 m along world y.
    state().transform[13] = 0.25f;
    Clear();
    p.draw();
    float dy = p.moved ? 0.25f : 0.0f;
    EXPECT_EQ(At(0.0f, dy) > 200, p.plate);
    EXPECT_EQ(At(0.5f, dy) > 200, p.hub);
    if (p.moved) {
      EXPECT_EQ(At(0.0f, -0.12f), 0);
    }
    EXPECT_EQ(Depth(), 1);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Six plates in a row and one above: A, B and D share a grey texture, C has
// none, E is transparent and textured, Z's strip list begins with a count
// of 0. The solid pass binds the texture for A, keeps it for B, drops it
// for C and binds it again for D; it passes E over and draws nothing of Z
// but still places it. The transparent pass draws E alone, untextured.
TEST_F(LegacyDrawTest, PassesBindEachTextureOnceAndDrawTransparentPartsUntextured) {
  Write("airlark/aircraft/plates.dns",
        "// DNS FILE\ngraphic A;\ngraphic B;\ngraphic C;\ngraphic D;\ngraphic Z;\ngraphic E;\n");
  const char* names = "ABCDZE";
  const float at[6][2] = {{-0.75f, 0}, {-0.45f, 0}, {-0.15f, 0}, {0.15f, 0}, {0.45f, 0}, {0, 0.6f}};
  kxgeometry* elements[6];
  for (int i = 0; i < 6; ++i) {
    meshgen::mesh plate = meshgen::Box(0.2f, 0.2f, 0.01f);
    meshgen::Translate(plate, at[i][0], at[i][1], 0.0f);
    const char name[2] = {names[i], 0};
    elements[i] = meshgen::ToElement(plate, name, "", GL_N3F_V3F);
  }
  kxgeometry* mesh = meshgen::Chain(elements, 6);
  ASSERT_EQ(kxgeometry::WriteText("airlark/aircraft/plates.obj", mesh), 1);
  kxgeometry::Free(&mesh);
  int kind = -1;
  ASSERT_EQ(LoadWithPropBlur("plates", 1, &kind), 1);

  kxtexture* grey = kxgl::CreateTexture("grey", kxgl::kTypeRGB, 2, 2, kxgl::kFilterNearest, kxgl::kWrapClamp,
                                        kxgl::kWrapClamp, 0);
  ASSERT_NE(grey, nullptr);
  std::memset(grey->pixels, 128, 2 * 2 * 3);
  ASSERT_EQ(kxgl::UploadTexture(grey), 1);
  for (kxgeometry* el = state().geometry; el; el = el->next) {
    if (std::strchr("ABDE", el->name[0])) el->texture = grey;
    if (el->name[0] == 'E') el->transparent = 1;
    // Z's list is its own runs behind a leading count of 0, which ends it.
    if (el->name[0] == 'Z') {
      auto* runs = static_cast<uint32_t*>(std::malloc((el->stripWords + 1) * sizeof(uint32_t)));
      ASSERT_NE(runs, nullptr);
      runs[0] = 0;
      std::memcpy(runs + 1, el->strips, el->stripWords * sizeof(uint32_t));
      std::free(el->strips);
      el->strips = runs;
      ++el->stripWords;
    }
  }
  struct pass {
    void (*draw)();
    const char* seen;   // per plate: g textured grey, w untextured white, - nothing
    int binds, pushes;
  };
  for (pass p : {pass{DrawSolidParts, "ggwg--", 2, 5}, pass{DrawFlaggedParts, "-----w", 0, 1}}) {
    Clear();
    // As a caller may leave it: texturing on.
    glBindTexture(GL_TEXTURE_2D, grey->glName);
    glEnable(GL_TEXTURE_2D);
    calls = {};
    p.draw();
    for (int i = 0; i < 6; ++i) {
      int red = At(at[i][0], at[i][1]);
      char seen = red > 240 ? 'w' : red > 100 && red < 150 ? 'g' : red == 0 ? '-' : '?';
      EXPECT_EQ(seen, p.seen[i]) << names[i] << " " << p.seen << ": red " << red;
    }
    EXPECT_EQ(calls.binds, p.binds) << p.seen;
    EXPECT_EQ(calls.pushes, p.pushes) << p.seen;
    EXPECT_EQ(Depth(), 1);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Discs only for propellers and rotors, in the uploaded blur texture and
// as strong as their blur, with depth writes back on afterwards.
TEST_F(LegacyDrawTest, DiscsShowTheBlurOfPropellersAndRotors) {
  LoadModel();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  Part<propeller>("Prop")->blur = 1.0f;
  Part<rotor>("Rot")->blur = 0.0f;
  DrawRotorDiscs();
  // Propeller grey 0.3 at 0.7 of the texel (0.45 at the centre) over black.
  EXPECT_NEAR(At(0.5f, 0.0f), 0.3f * 0.7f * 0.45f * 255.0f, 4.0f);
  EXPECT_EQ(At(-0.5f, 0.0f), 0);
  EXPECT_EQ(At(0.0f, 0.6f), 0);
  EXPECT_EQ(At(0.5f + 0.28f, 0.28f), 0);  // the quad's corner lies outside the disc
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<uint32_t>(bound), state().blurTexture->glName);
  EXPECT_NE(bound, 0);
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_TRUE);
  Part<rotor>("Rot")->blur = 0.5f;
  Clear();
  DrawRotorDiscs();
  EXPECT_GT(At(-0.5f, 0.0f), 0);
  glDisable(GL_BLEND);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A model without parts still balances the matrix stack, leaves lighting
// off after the transparent View pass and depth writes on after the discs.
TEST_F(LegacyDrawTest, AnEmptyModelKeepsTheStateBalanced) {
  int kind = -1;
  ASSERT_EQ(LoadWithPropBlur("missing", 1, &kind), 1);
  ASSERT_EQ(state().parts, nullptr);
  glEnable(GL_LIGHTING);
  DrawFlaggedPartsView();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  for (void (*draw)() : {DrawSolidPartsView, DrawRotorPartsView, DrawPartsPlain, DrawRotorDiscs}) {
    glDepthMask(GL_FALSE);
    draw();
    EXPECT_EQ(Depth(), 1);
  }
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_TRUE);
  // After the unload no pass draws or changes anything.
  Unload();
  glEnable(GL_LIGHTING);
  DrawFlaggedPartsView();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  glDisable(GL_LIGHTING);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
