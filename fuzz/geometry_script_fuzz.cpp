// Geometry scripts (".kxg") run against a geometric object tree, followed by
// the mesh edits and integrals that aircraft loading runs on such a tree:
// no input may crash them or write a non-finite number into the mesh.
#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "core/interpreter.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"

namespace {

kxgeometry* Square() {
  kxgeometry* el = kxgeometry::Create(GL_N3F_V3F, 4, 2);
  const float p[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const kxvector4r n = {0, 0, 1, 0};
  for (int i = 0; i < 4; ++i) {
    kxgeometry::SetVertexPosition(el, i, p[i]);
    kxgeometry::SetVertexNormal(el, i, n);
  }
  const uint32_t t[6] = {0, 1, 2, 0, 2, 3};
  for (int i = 0; i < 6; ++i) el->triangles[i] = t[i];
  kxgeometry::UpdateBounds(el);
  kxgeometry::Store(el);
  return el;
}

void Walk(kxgeometricobject* o, const kxmatrix& identity) {
  o->ApplyFrame(o->Matrix);
  o->Transform(o->MatrixObj);
  o->VertexInFrame(1, o->Matrix.R, o->Matrix);
  for (kxgeometry* el = o->mesh; el; el = el->next) {
    for (int i = 0; i < el->vertexCount; ++i) {
      float p[3];
      kxgeometry::GetVertexPosition(el, i, p);
      if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) std::abort();
    }
  }
  for (kxnode* c = o->firstChild; c; c = c->nextSibling) {
    if (kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) Walk(static_cast<kxgeometricobject*>(c), identity);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    kxcore::SetLogHandler([](const char*) {});
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxgeometricobject::SetScriptFolder("/nonexistent-skyvane-fuzz");
    return true;
  }();
  (void)ready;
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.find("Mesh") != std::string::npos) return 0;  // file loading has its own fuzzers
  kxgeometricobject* root = new kxgeometricobject;
  root->name = "Geometry";
  kxscript::Root()->AppendChild(root);
  root->SetMesh(Square());
  kxscript::Execute(text.c_str(), root);
  kxmatrix identity;
  kxmatrix::SetIdentity(&identity);
  Walk(root, identity);
  kxvector4r c;
  float inertia[16];
  std::vector<kxvector4r> cut;
  root->SurfaceCentroid(&c, identity);
  root->SurfaceInertia(inertia, identity);
  root->CutByPlane({0.5f, 0, 0, 1}, {1, 0, 0, 0}, cut, identity);
  float dist;
  root->Pick({0.5f, 0.5f, 10, 1}, {0.5f, 0.5f, -10, 1}, &dist, identity);
  root->Rebuild();
  delete root;
  kxscript::SetCurrent(kxscript::Root());
  return 0;
}
