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
      HingeParts(Geometry, {LeftAileron, RightAileron, Flap}, kFacingUpright, false);
    }
  }
  FinishAnalysis();
}
