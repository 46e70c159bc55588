#include "dynamics/summary.h"

#include <cmath>

#include "core/hooks.h"
#include "dynamics/aircraft.h"
#include "dynamics/fuselage.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"

namespace {

// Moves the rest shapes of the body's geometry and of the bodies nested
// below it (unless drawn inside the fuselage's own geometry) and re-bases
// them on the moved frames.
void MoveParts(kxdbody* body, kxgeometricobject* fuselageGeometry, const kxmatrix& shift) {
  kxnode* g = kxdgeometry::AsNode(body->Geometry);
  kxnode* fg = kxdgeometry::AsNode(fuselageGeometry);
  if (g && (g == fg || !g->IsDescendantOf(fg))) kxdgeometry::MoveBy(body->Geometry, shift);
  if (g) kxdgeometry::AnalyseBody(body);
  for (kxnode* c = body->firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = kxdbody::As(c)) MoveParts(b, fuselageGeometry, shift);
  }
}

// A body other than the fuselage drawn inside the fuselage's geometry: its
// rest shape moves with the fuselage's, so its frame has to follow.
bool MovesAlong(kxdbody* body, kxdfuselage00* fuselage) {
  kxnode* g = body ? kxdgeometry::AsNode(body->Geometry) : nullptr;
  kxnode* fg = kxdgeometry::AsNode(fuselage->Geometry);
  return body != fuselage && g && fg && g->IsDescendantOf(fg);
}

}  // namespace

namespace kxdsystem {

void Summary(kxdaircraftinstance* instance) {
  if (!instance || !instance->Template) return;
  kxdaircraft* root = instance->Template;
  root->Analyse();
  double mass = 0.0, moment[3] = {};
  kxdfuselage00* fuselage = nullptr;
  for (kxnode* c = root->firstChild; c; c = c->nextSibling) {
    kxdbody* b = kxdbody::As(c);
    if (!b) continue;
    if (!fuselage) fuselage = kxdfuselage00::As(c);
    mass += b->Mass;
    moment[0] += b->Mass * b->B.R.x;
    moment[1] += b->Mass * b->B.R.y;
    moment[2] += b->Mass * b->B.R.z;
  }
  kxempty("kxdsystem: mass %.4f\n", mass);
  // Without mass or a fuselage to move there is nothing to balance on.
  if (!(mass > 0.0) || !fuselage || !(fuselage->Mass > 0.0f)) return;
  double cg[3] = {moment[0] / mass, moment[1] / mass, moment[2] / mass};
  kxempty("kxdsystem: cg ( %.4f, %.4f, %.4f )\n", cg[0], cg[1], cg[2]);
  // Moving the fuselage by d moves the centre by d * moving / mass: the
  // fuselage moves, and so do the bodies drawn inside it.
  double moving = fuselage->Mass;
  for (kxnode* c = root->firstChild; c; c = c->nextSibling) {
    if (MovesAlong(kxdbody::As(c), fuselage)) moving += kxdbody::As(c)->Mass;
  }
  double share = mass / moving;
  kxmatrix shift;
  kxmatrix::SetIdentity(&shift);
  shift.R = {static_cast<float>((fuselage->CG.x - cg[0]) * share), static_cast<float>((fuselage->CG.y - cg[1]) * share),
             static_cast<float>((fuselage->CG.z - cg[2]) * share), 1.0f};
  if (!std::isfinite(shift.R.x) || !std::isfinite(shift.R.y) || !std::isfinite(shift.R.z)) return;
  fuselage->ApplyMatrix(shift);
  MoveParts(fuselage, fuselage->Geometry, shift);
  for (kxnode* c = root->firstChild; c; c = c->nextSibling) {
    kxdbody* b = kxdbody::As(c);
    if (!MovesAlong(b, fuselage)) continue;
    b->ApplyMatrix(shift);
    MoveParts(b, fuselage->Geometry, shift);
  }
  kxempty("kxdsystem: fuselage( %.4f, %.4f, %.4f )\n", fuselage->B.R.x, fuselage->B.R.y, fuselage->B.R.z);
}

}  // namespace kxdsystem
