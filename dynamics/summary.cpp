#include "dynamics/summary.h"

#include <cmath>

#include "core/hooks.h"
#include "dynamics/aircraft.h"
#include "dynamics/fuselage.h"
#include "dynamics/instance.h"

namespace kxdsystem {

/* The fuselage's mass is placed, not its mesh: moving the mesh (and the
   parts drawn inside it) would tear it from the parts it is built with,
   the propeller ahead of it and the tail behind, and every save would keep
   the tear. Its frame, where its mass lies, moves off the mesh's centre
   instead, and the mesh is drawn where it was. */
void Summary(kxdaircraftinstance* instance) {
  if (!instance || !instance->Template) return;
  kxdaircraft* root = instance->Template;
  kxdfuselage00* fuselage = nullptr;
  for (kxnode* c = root->firstChild; c && !fuselage; c = c->nextSibling) fuselage = kxdfuselage00::As(c);
  if (fuselage) fuselage->PlaceMass({0.0f, 0.0f, 0.0f, 0.0f});
  root->Analyse();
  double mass = 0.0, moment[3] = {};
  for (kxnode* c = root->firstChild; c; c = c->nextSibling) {
    kxdbody* b = kxdbody::As(c);
    if (!b) continue;
    mass += b->Mass;
    moment[0] += b->Mass * b->B.R.x;
    moment[1] += b->Mass * b->B.R.y;
    moment[2] += b->Mass * b->B.R.z;
  }
  kxempty("kxdsystem: mass %.4f\n", mass);
  // Without mass or a fuselage to place there is nothing to balance on.
  if (!(mass > 0.0) || !fuselage || !(fuselage->Mass > 0.0f)) return;
  double cg[3] = {moment[0] / mass, moment[1] / mass, moment[2] / mass};
  kxempty("kxdsystem: cg ( %.4f, %.4f, %.4f )\n", cg[0], cg[1], cg[2]);
  // Moving the fuselage's mass by d moves the centre by d * fuselage / mass.
  double share = mass / fuselage->Mass;
  kxvector4r balance = {static_cast<float>((fuselage->CG.x - cg[0]) * share),
                        static_cast<float>((fuselage->CG.y - cg[1]) * share),
                        static_cast<float>((fuselage->CG.z - cg[2]) * share), 0.0f};
  if (!std::isfinite(balance.x) || !std::isfinite(balance.y) || !std::isfinite(balance.z)) return;
  fuselage->PlaceMass(balance);
  kxempty("kxdsystem: fuselage( %.4f, %.4f, %.4f )\n", fuselage->B.R.x, fuselage->B.R.y, fuselage->B.R.z);
}

}  // namespace kxdsystem
