// Geometry analysis of the aileron wing kxdwing20: the mesh is laid out in
// the body frame as it stands (nothing is measured) and both ailerons and the
// flap get the hinge frames their visual turns use.
#include "dynamics/wings/aileron_wing.h"
#include "dynamics/wings/wing_analysis.h"
#include "graphics/geometric_object.h"

using namespace kxdwinganalysis;

void kxdwing20::Analyse() {
  if (Geometry && Geometry->mesh) {
    Geometry->Rebuild();
    B.R.w = 1.0f;
    if (Geometry->ApplyFrame(B)) {
      Geometry->SetOwner(this);
      const kxmatrix& W = Geometry->Matrix;
      const kxvector4r up = {0.0f, 0.0f, 1.0f, 0.0f};
      for (kxnode* c = Geometry->firstChild; c; c = c->nextSibling) {
        if (c != LeftAileron && c != RightAileron && c != Flap) continue;
        kxgeometricobject* part = static_cast<kxgeometricobject*>(c);
        kxmatrix H, inverse;
        if (!part->mesh || !FindHingeFrame(part, kFacingUpright, up, &H) || !HingeInverse(W, H, &inverse)) continue;
        RebaseMesh(part, inverse);
        part->Matrix = H;
      }
    }
  }
  FinishAnalysis();
}
