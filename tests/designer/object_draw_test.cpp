// A design object's meshes three levels down (children of the geometry's
// children) as the viewer shows them, read back pixel by pixel under a real
// OpenGL context (skipped without a display): in their parent's frame, in
// every pass, in the object's highlight, and only when opaque.
#include <GL/gl.h>

#include <string>

#include "designer/viewer.h"
#include "designer_gl_support.h"
#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"

namespace {

using kxtest::pixel;
using kxtest::ReadPixel;

class ObjectDrawTest : public designertest::designerglfixture {
 protected:
  // A box on the aircraft's centre plane at (x, y), hung below the parent
  // so that the parent's frame places it there; its own frame would move it
  // 0.4 m to the left.
  static kxgeometricobject* HangBox(kxgeometricobject* parent, float x, float y, int transparent) {
    meshgen::mesh box = meshgen::Box(0.12f, 0.12f, 0.02f);
    meshgen::Translate(box, x, y, 0.0f);
    auto* g = new kxgeometricobject;
    g->SetMesh(meshgen::ToElement(box, "paint", "Box", GL_N3F_V3F));
    for (kxgeometry* el = g->mesh; el; el = el->next) el->transparent = transparent;
    kxmatrix placed, unplaced;
    kxgeometricobject* geometry = static_cast<kxgeometricobject*>(parent->parent);
    kxmatrix::Multiply4x4(&placed, &geometry->Matrix, &parent->Matrix);
    kxmatrix::Invert(placed, unplaced);
    g->Transform(unplaced);
    kxmatrix::SetIdentity(&g->Matrix);
    g->Matrix.R = {0.0f, 0.4f, 0.0f, 1.0f};
    parent->AppendChild(g);
    return g;
  }
  // 'b' blue, 'w' white (lit grey), 's' the viewer's sky, else '?', where
  // the viewer shows the world point (x, y, 0).
  static char Seen(float x, float y) {
    float px, py;
    designertest::Project(State().camera, {x, y, 0, 1}, &px, &py);
    pixel p = ReadPixel(static_cast<int>(px), static_cast<int>(py));
    if (p.r == 102 && p.g == 153 && p.b == 204) return 's';
    if (p.r == 0 && p.g == 0 && p.b > 40) return 'b';
    return p.r == p.g && p.g == p.b && p.r > 40 ? 'w' : '?';
  }
};

TEST_F(ObjectDrawTest, MeshesThreeLevelsDownShowOpaqueInTheirParentsFrameInEveryPass) {
  Enter("trainer");
  svdesignobject* wing = Object("LeftWing");
  auto* aileron = dynamic_cast<kxgeometricobject*>(wing->component->Geometry->firstChild);
  ASSERT_NE(aileron, nullptr);
  HangBox(aileron, 0.6f, 0.6f, 0);
  HangBox(aileron, 0.6f, -0.6f, 1);
  struct probe {
    const char* current;  // null: the whole aircraft
    char box;
  } probes[] = {{nullptr, 'w'}, {"LeftWing", 'b'}};
  for (const probe& p : probes) {
    svdesign::SwitchObject(p.current ? Object(p.current) : nullptr);
    svdesign::Draw();
    // The opaque box where its parent's frame puts it, not 0.4 m on; the
    // transparent one nowhere.
    EXPECT_EQ(std::string({Seen(0.6f, 0.6f), Seen(0.6f, 1.0f), Seen(0.6f, -0.6f), Seen(0.6f, -0.2f)}),
              std::string({p.box, 's', 's', 's'}));
  }
  // The transparent pass alone: the box, but not the wing's own opaque mesh.
  svdesign::DrawScene();
  const svdesigncamera& c = State().camera;
  glViewport(c.viewportX, c.viewportY, c.viewportWidth, c.viewportHeight);
  glClearColor(0.4f, 0.6f, 0.8f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDepthMask(GL_FALSE);
  wing->Draw(1);
  glDepthMask(GL_TRUE);
  EXPECT_EQ(std::string({Seen(0.6f, 0.6f), Seen(-0.05f, 0.4f), Seen(0.6f, -0.6f)}), "bss");
}

}  // namespace
