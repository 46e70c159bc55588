#include "dynamics/components/gear.h"

#include <cmath>

#include "dynamics/air_model.h"
#include "dynamics/compiled.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/leg_drag.h"
#include "dynamics/components/mesh_mass.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "dynamics/joint.h"
#include "graphics/geometric_object.h"

kxtype kxdgear00::Type("kxdgear00", sizeof(kxdgear00), kxcreate<kxdgear00>);

namespace {

using kxdynamics::kHalfAirDensity;

using namespace kxdkeys;
using G = kxdgear00;

// The leg's lines before the body's. The retraction settings act through
// the joint the analysis set up; a clone does not need them.
constexpr kxdkey kRows[] = {
    KXD_KEY(G, MountingR, kVector4f, kCopy),
    KXD_KEY(G, MountingZ, kVector4f, kCopy),
    KXD_KEY(G, Retractable, kInt, kNone),
    KXD_KEY(G, RetractZ, kVector4f, kNone),
    KXD_KEY(G, RetractAngle, kReal, kNone),
    KXD_KEY(G, RetractAngleZ, kReal, kNone),
    KXD_KEY(G, RetractLink, kControl, kRemap),
    KXD_KEY(G, Cdx, kReal, kCopy),
    Field(kCopy, KXD_AT(G, Areas), KXD_SIZE(G, Areas)),
    Include(kxdbody::Keys),
};

}  // namespace

const kxdkeytable kxdgear00::Keys(kRows);

kxdgear00* kxdgear00::As(kxnode* node) { return kxnode::As<kxdgear00>(node); }

kxdgear00::kxdgear00() {
  type = &Type;
  Mass = 1.0f;
  for (int i = 0; i < 16; ++i) Inertia[i] = InertiaInv[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  MountingR = {0.0f, 0.0f, 0.0f, 1.0f};
  MountingZ = {1.0f, 0.0f, 0.0f, 0.0f};
  Retractable = 0;
  RetractZ = {1.0f, 0.0f, 0.0f, 0.0f};
  RetractAngle = RetractAngleZ = 0.0f;
  RetractLink = nullptr;
  Areas[0] = Areas[1] = Areas[2] = 0.0f;
  Cdx = 0.0f;
}

void kxdgear00::ComputeChange(kxdintegrable* change, int flag) {
  if (const kxdfold* fold = kxdcompiled::FoldOf(this)) {
    ActFoldedLeg(*fold);
    return;
  }
  if (PlacesItself()) {
    if (Instance && Instance->FrameClear && !(Joint && Joint->Link)) {
      FollowCarrierOriginAndVelocity();
    } else {
      FollowCarrier();
    }
  }
  float k = RetractLink ? 1.0f - kxdcomponent::Read(RetractLink) : 1.0f;
  const kxvector4r& v = D.R;
  float speed = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  float c = -kHalfAirDensity * Cdx * Areas[0] * speed * k;
  if (std::isfinite(c)) {
    Force.x += c * v.x;
    Force.y += c * v.y;
    Force.z += c * v.z;
  }
  kxdbody::ComputeChange(change, flag);
}

void kxdgear00::DragFactors(kxdlegdrags& legs, int lane) const {
  legs.factor[lane] = -kHalfAirDensity * Cdx * Areas[0];
  legs.share[lane] = RetractLink ? 1.0f - kxdcomponent::Read(RetractLink) : 1.0f;
}

void kxdgear00::ActFoldedLeg(const kxdfold& fold) {
  kxdlegdrags legs = {};
  legs.px[0] = fold.relative.R.x, legs.py[0] = fold.relative.R.y, legs.pz[0] = fold.relative.R.z;
  DragFactors(legs, 0);
  kxdcarrierframe& carrier = *fold.carrier;
  AddLegDrags(legs, carrier.velocity, carrier.omega, &carrier.force, &carrier.torque);
  ActFoldedIfNeeded(fold);
}

namespace {

// The driver checked each twin's class. Legs next to each other in the walk
// on one carrier go four at a time.
void ForceLegs(kxdintegrable* const* pairs, int count) {
  for (int i = 0; i < count;) {
    kxdlegdrags legs = {};
    kxdcarrierframe* carrier = nullptr;
    int lane = 0;
    for (; i < count && lane < kxdlegdrags::kLanes; ++i, ++lane) {
      auto* leg = static_cast<kxdgear00*>(pairs[2 * i]);
      const kxdfold& fold = *kxdcompiled::FoldOf(leg);
      if (carrier && fold.carrier != carrier) break;
      carrier = fold.carrier;
      const kxvector4r& p = fold.relative.R;
      legs.px[lane] = p.x, legs.py[lane] = p.y, legs.pz[lane] = p.z;
      leg->DragFactors(legs, lane);
      leg->ActFoldedWeight(fold);
    }
    AddLegDrags(legs, carrier->velocity, carrier->omega, &carrier->force, &carrier->torque);
  }
}

void StepLegs(kxdintegrable* const*, int, float) {}

const kxdbody::batch kLegBatch = {ForceLegs, StepLegs};

}  // namespace

const kxdbody::batch* kxdgear00::SubstepBatch(const kxdfold* fold) const { return fold ? &kLegBatch : nullptr; }

void kxdgear00::Analyse() {
  kxgeometricobject* g = Geometry;
  kxvector4r centroid;
  if (kxdmeshmass::Centroid(g, &centroid)) {
    B.R = {centroid.x, centroid.y, centroid.z, 1.0f};
    B.X = {1.0f, 0.0f, 0.0f, 0.0f};
    B.Y = {0.0f, 1.0f, 0.0f, 0.0f};
    B.Z = {0.0f, 0.0f, 1.0f, 0.0f};
    if (g->ApplyFrame(B)) {
      g->SetOwner(this);
      g->UpdateBounds();
      kxdmeshmass::ScaledInertia(g, Mass, Inertia);
      kxdgeometry::ProjectedAreas(g, Areas[0], Areas[1], Areas[2]);
    }
  }
  ConfigureJoint();
  kxdintegrable::Analyse();
}

kxdjoint00* kxdgear00::ConfigureJoint() {
  kxdjoint00* joint = kxdjoint00::FindByBody1(parent, this, true);
  if (!joint) return nullptr;
  joint->Body1 = this;
  joint->B.R = {MountingR.x, MountingR.y, MountingR.z, 1.0f};
  if (Retractable) {
    joint->Axis = RetractZ;
    joint->Angle = RetractAngle;
    joint->AngleZ = RetractAngleZ;
    joint->Link = RetractLink;
  } else {
    joint->Link = nullptr;
  }
  return joint;
}

