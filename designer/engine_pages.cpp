#include "designer/engine_pages.h"

#include <cmath>

#include "dynamics/body.h"
#include "graphics/geometric_object.h"
#include "sim/units.h"

namespace {

constexpr int kRowX = 8, kRowY = 8;                   // px
constexpr float kLimit = 5.0f * units::kDegToRad;     // rad, either way
constexpr float kLeastHorizontal = 1e-6f;             // a thrust axis closer to vertical has no heading

// The frame's Y and Z from its X: Y horizontal, to the left of X.
void CompleteFrame(kxmatrix& b) {
  b.Y = {-b.X.y, b.X.x, 0.0f, 0.0f};
  kxvector4r::Normalise(b.Y);
  kxvector4r::Cross(b.Z, b.X, b.Y);
  b.Z.w = 0.0f;
}

// The mesh from where it was placed (its object's Matrix, the frame of the
// last analysis) to the engine's new frame.
void Replace(kxgeometricobject* g, const kxmatrix& frame) {
  if (!g) return;
  g->RestoreVertices();
  kxmatrix unplaced;
  kxmatrix::Invert(g->Matrix, unplaced);
  g->Transform(unplaced);
  g->Transform(frame);
  g->StoreVertices();
}

}  // namespace

svdesignthrustanglepage::svdesignthrustanglepage(kxdbody* engine, kind kindOfAngle)
    : svdesignpage(kindOfAngle == kind::right ? pageicon::kRightThrust : pageicon::kDownThrust, engine), which(kindOfAngle) {
  const units::displayunit& unit = units::Current().angle;
  // Down thrust is shown negated: a positive entry tilts the axis down.
  float factor = which == kind::right ? unit.factor : -unit.factor;
  AddRow(which == kind::right ? "RightThrust" : "DownThrust", kRowX, kRowY,
         {svdesign::Plain(&angle, "%.0f", unit.name.Text(), factor)});
  AddLimit(&angle, svdesign::Fixed(kLimit), svdesign::Fixed(-kLimit));
}

void svdesignthrustanglepage::Refresh() {
  const kxvector4r& x = component->B.X;
  angle = which == kind::right ? -std::atan(x.y / x.x) : std::asin(x.z);
  if (!std::isfinite(angle)) angle = 0.0f;
  angle += 0.0f;  // a straight axis reads "0", not "-0"
  svdesignpage::Refresh();
}

void svdesignthrustanglepage::FollowUp() {
  RunLimits();
  kxmatrix b = component->B;
  kxvector4r& x = b.X;
  float horizontal = std::sqrt(x.x * x.x + x.y * x.y);
  if (!(horizontal > kLeastHorizontal)) return;  // no heading to keep or to set
  if (which == kind::right) {
    // The axis keeps its elevation and its sense: a pusher stays a pusher.
    float sense = x.x < 0.0f ? -1.0f : 1.0f;
    float c = std::sqrt(1.0f - x.z * x.z);
    x.x = sense * c * std::cos(angle);
    x.y = -sense * c * std::sin(angle);
    kxvector4r::Normalise(x);
  } else {
    x.z = 0.0f;
    kxvector4r::Normalise(x);
    x.z = std::tan(angle);
    kxvector4r::Normalise(x);
  }
  CompleteFrame(b);
  component->B = b;
  Replace(component->Geometry, b);
  component->Analyse();
}
