// A design object's component in the viewer: its geometry in its frame, the
// opaque meshes in the current object's colour (blue) or white, the
// transparent ones with their own materials; then the shown page's drawing.
#include <GL/gl.h>

#include "designer/design_object.h"
#include "designer/page.h"
#include "designer/state.h"
#include "dynamics/body.h"
#include "graphics/draw.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"

namespace {

constexpr float kCurrentColour[4] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr float kOtherColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// The current object; while the whole aircraft is current, the object of
// its main body stands for it.
bool Highlighted(const svdesignobject* object) {
  const svdesign::designstate& s = svdesign::State();
  if (s.currentObject == object) return true;
  return s.currentObject && s.currentObject == s.aircraftObject && object->component &&
         s.aircraftObject->component == object->component;
}

void DrawOpaque(const kxgeometry* mesh, const float colour[4]) {
  for (const kxgeometry* el = mesh; el; el = el->next) {
    if (el->transparent) continue;
    // A transparent element before this one set its own colour.
    glColor4fv(colour);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
    glMaterialfv(GL_FRONT, GL_AMBIENT, colour);
    kxgl::DrawElementTextured(el);
  }
}

// Opaque elements in pass 0, transparent ones in the others.
void DrawMesh(const kxgeometry* mesh, int pass, const float colour[4]) {
  if (pass == 0) {
    DrawOpaque(mesh, colour);
    return;
  }
  for (const kxgeometry* el = mesh; el; el = el->next) {
    if (el->transparent) kxgl::DrawElement(el);
  }
}

}  // namespace

void svdesignobject::Draw(int pass) {
  kxgeometricobject* geometry = component ? component->Geometry : nullptr;
  if (geometry) {
    const float* colour = Highlighted(this) ? kCurrentColour : kOtherColour;
    glPushMatrix();
    glMultMatrixf(geometry->Matrix.Data());
    for (kxnode* n = geometry->firstChild; n; n = n->nextSibling) {
      kxgeometricobject* child = kxnode::As<kxgeometricobject>(n);
      if (!child) continue;
      glPushMatrix();
      glMultMatrixf(child->Matrix.Data());
      // The third level lies in its parent's frame and shows in every pass.
      for (kxnode* g = child->firstChild; g; g = g->nextSibling) {
        if (kxgeometricobject* grandchild = kxnode::As<kxgeometricobject>(g)) DrawOpaque(grandchild->mesh, colour);
      }
      DrawMesh(child->mesh, pass, colour);
      glPopMatrix();
    }
    DrawMesh(geometry->mesh, pass, colour);
    glPopMatrix();
  }
  if (currentPage) currentPage->Draw(pass);
}
