#include "dynamics/components/wheel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dynamics/air_model.h"
#include "dynamics/compiled.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/ground_contact.h"
#include "dynamics/components/mesh_mass.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "graphics/geometric_object.h"

kxtype kxdwheel00::Type("kxdwheel00", sizeof(kxdwheel00), kxcreate<kxdwheel00>);

namespace {

constexpr float kNearest = 1000.0f;     // m^2, bound of the nearest-contact search
constexpr float kReach = 1.0f;          // m^2, a contact farther than 1 m carries no load
constexpr float kStopDamping = 20.0f;   // N s/m, holds a wheel in water or on damage
constexpr float kSpinDecay = 2.0f;      // 1/s, a free wheel's spin decay
constexpr float kSpinShare = 0.9f;      // spin per rolling speed over radius
constexpr float kBrakeShare = 0.2f;     // friction per unit of (signal + 1)
constexpr float kSideLinear = 0.1f;     // m/s, side speed of full side friction
constexpr float kExtentStart = 1e30f;

struct bump {
  float height;  // share of the bump height
  float slope;   // share of the bump's normal offset
};

// Bump shares of a surface code; zero for smooth ground.
bump BumpOf(int surface) {
  switch (surface) {
    case kxdground::kSurfaceGrass: return {0.5f, 0.5f};
    case kxdground::kSurfaceHighGrass: return {0.7f, 0.5f};
    case kxdground::kSurfaceDirt:
    case kxdground::kSurfaceMeadow: return {1.0f, 1.0f};
    case kxdground::kSurfaceHardRoll: return {1.5f, 2.0f};
    default: return {0.0f, 0.0f};
  }
}

using kxvector4ops::Dot;

// The unit direction of a in the plane normal to the unit vector n; zero
// when a stands (nearly) along n.
kxvector4r Along(const kxvector4r& a, const kxvector4r& n) {
  float an = Dot(a, n);
  kxvector4r p = {a.x - an * n.x, a.y - an * n.y, a.z - an * n.z, a.w - an * n.w};
  if (!(kxvector4r::Normalise(p) > 1e-3f)) return {0.0f, 0.0f, 0.0f, 0.0f};
  return p;
}

// The contact query tests the centres of the box faces. A tyre is round
// about its axle, so the query frame is the wheel's turned about Y until
// its -Z face centre is the tyre's lowest point; with the wheel's own
// frame a tilted wheel (a tail-dragger standing nose-up) would sink by
// Radius (1 - cos tilt) before any contact were found.
kxmatrix TyreFrame(const kxmatrix& b) {
  float uy = b.Y.z;  // world up along the axle
  kxmatrix frame = b;
  frame.Z = {-uy * b.Y.x, -uy * b.Y.y, 1.0f - uy * b.Y.z, 0.0f};
  if (!(kxvector4r::Normalise(frame.Z) > 1e-3f)) return b;  // the wheel lies flat
  kxvector4r::Cross(frame.X, b.Y, frame.Z);
  return frame;
}

using namespace kxdkeys;
using W = kxdwheel00;

// The body's lines first. The radius is measured again on every load, so
// the file does not carry it; a clone gets it with the areas, the angle
// and the spin.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(W, SignalIn, kSignalIn, kRemap),
    KXD_KEY(W, Kxr, kReal, kCopy),
    KXD_KEY(W, Kyr, kReal, kCopy),
    Key("Kr  ", kReal, kCopy, KXD_AT(W, Kr)),
    Key("Dr  ", kReal, kCopy, KXD_AT(W, Dr)),
    KXD_KEY(W, RotationEnable, kInt, kCopy),
    KXD_KEY(W, Radius, kReal, kCopy, kUnwritten),
    Field(kCopy, KXD_AT(W, Areas), KXD_SIZE(W, Areas)),
    Field(kCopy, KXD_AT(W, Angle), sizeof(float)),
    Field(kCopy, KXD_AT(W, Spin), sizeof(float)),
};

}  // namespace

const kxdkeytable kxdwheel00::Keys(kRows);

kxdwheel00* kxdwheel00::As(kxnode* node) { return kxnode::As<kxdwheel00>(node); }

kxdwheel00::kxdwheel00() {
  type = &Type;
  Mass = 1.0f;
  for (int i = 0; i < 16; ++i) Inertia[i] = InertiaInv[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  Contact = 0;
  SignalIn = nullptr;
  Spin = Angle = 0.0f;
  RotationEnable = 0;
  Kxr = 0.08f;
  Kyr = 0.72f;
  Kr = 10000.0f;
  Dr = 0.0f;
  Radius = 0.0f;
  Areas[0] = Areas[1] = Areas[2] = 0.0f;
}

float kxdwheel00::RollingFriction() const {
  float k = Kxr;
  if (SignalIn) k += (kxdcomponent::Read(SignalIn) + 1.0f) * kBrakeShare;
  return k;
}

void kxdwheel00::ComputeChange(kxdintegrable* change, int flag) {
  kxdwheel00* twin = kxdcomponent::TwinOf(this, change);
  if (const kxdfold* fold = kxdcompiled::FoldOf(this)) {
    ActFoldedWheel(*fold, twin);
    return;
  }
  if (PlacesItself()) FollowForForcePass();
  if (Geometry && Clear()) {
    if (twin) twin->Spin = -kSpinDecay * Spin;  // a query would find nothing
  } else if (Geometry) {
    Touch(twin);
  }
  if (twin) twin->Angle = Spin;
  kxdbody::ComputeChange(change, flag);
}

void kxdwheel00::ActFoldedWheel(const kxdfold& fold, kxdwheel00* twin) {
  if (Geometry && !(Instance && Instance->FrameClear)) {
    FollowCarrier();
    if (Clear()) {
      if (twin) twin->Spin = -kSpinDecay * Spin;
    } else {
      Touch(twin);
      if (HasLoad()) HandOverToRoot();
    }
  } else if (Geometry && twin) {
    twin->Spin = -kSpinDecay * Spin;
  }
  if (twin) twin->Angle = Spin;
  ActFoldedIfNeeded(fold);
}

// Kept out of line: its contact buffer and saved registers would otherwise
// be paid on the clear path too, the one taken in every substep in the air.
[[gnu::noinline]] void kxdwheel00::Touch(kxdwheel00* twin) {
  kxdcontact contacts[kxdground::kMaxContacts];
  int n = kxdground::ShapeContacts(Geometry, TyreFrame(B), 1, contacts, kxdground::kMaxContacts, Instance);
  kxdaircraftinstance* instance = kxdground::InstanceOf(this, Instance);
  bool stopped = false;
  float q = kNearest;
  kxvector4r d = {0.0f, 0.0f, 0.0f, 0.0f};
  kxvector4r normal = {0.0f, 0.0f, 0.0f, 0.0f};
  for (int i = 0; i < n; ++i) {
    const kxdcontact& c = contacts[i];
    int surface = c.surface & kxdground::kSurfaceMask;
    kxvector4r p = c.point;
    kxvector4r offset = {0.0f, 0.0f, 0.0f, 0.0f};
    if (surface == kSurfaceWater || surface == kSurfaceDamage) {
      if (instance) {
        instance->SurfaceCode = surface;
        instance->Crash = 1;
      }
      stopped = true;
    } else if (bump b = BumpOf(surface); b.height != 0.0f) {
      kxvector4r slope = {0.0f, 0.0f, 0.0f, 0.0f};
      float h = kxdynamics::SampleField(p.x, p.y, &slope);
      p.z += b.height * h;
      offset = {b.slope * slope.x, b.slope * slope.y, 0.0f, 0.0f};
    }
    kxvector4r dd = {p.x - B.R.x, p.y - B.R.y, p.z - B.R.z, p.w - B.R.w};
    float qq = dd.x * dd.x + dd.y * dd.y + dd.z * dd.z;
    if (qq < q) {
      q = qq;
      d = dd;
      normal = {c.normal.x + offset.x, c.normal.y + offset.y, c.normal.z, c.normal.w};
    }
  }
  if (stopped) {
    Force.x -= kStopDamping * D.R.x;
    Force.y -= kStopDamping * D.R.y;
    Force.z -= kStopDamping * D.R.z;
  } else {
    // A contact without a usable normal carries no load.
    float length = std::sqrt(Dot(normal, normal));
    float load = 0.0f;
    kxvector4r u = {0.0f, 0.0f, 0.0f, 0.0f};
    if (length > 0.0f && std::isfinite(length)) {
      u = {normal.x / length, normal.y / length, normal.z / length, normal.w / length};
      float s = Dot(d, u);
      if (q < kReach && -s < Radius) load = (s + Radius) * Kr;
    }
    if (!(load > 0.0f) || !std::isfinite(load)) {
      if (twin) twin->Spin = -kSpinDecay * Spin;
    } else {
      const kxvector4r& v = D.R;
      // Rolling acts along the ground: the wheel's X row with its part
      // along the contact normal taken out (a nose-up tail-dragger's
      // wheels point into the air).
      kxvector4r x = Along(B.X, u);
      float vx = Dot(v, x), vy = Dot(v, B.Y), vz = Dot(v, B.Z);
      float k = RollingFriction();
      float fx = vx > 0.0f ? -k * load : k * load;
      float fy;
      if (vy > kSideLinear) {
        fy = -Kyr * load;
      } else if (vy < -kSideLinear) {
        fy = Kyr * load;
      } else {
        fy = -Kyr * vy / kSideLinear * load;
      }
      float fn = load - Dr * vz;
      Force.x += fx * x.x + fy * B.Y.x + fn * u.x;
      Force.y += fx * x.y + fy * B.Y.y + fn * u.y;
      Force.z += fx * x.z + fy * B.Y.z + fn * u.z;
      // A wheel without a measured radius cannot turn at any speed.
      Spin = Radius > 0.0f ? kSpinShare * vx / Radius : 0.0f;
      if (!std::isfinite(Spin)) Spin = 0.0f;
      if (twin) twin->Spin = 0.0f;
      if (instance) instance->WheelContact = instance->GroundContact = 1;
    }
  }
}

bool kxdwheel00::Clear() const {
  // The tyre frame the query uses is the wheel's turned about its axle: no
  // axis of it is longer than the longest of the wheel's and a unit one,
  // so that bound covers every point the query would ask without turning
  // the frame or calling on the world.
  if (Instance && Instance->FrameClear) return true;
  if (!Instance || !(Instance->ClearRadius > 0.0f)) return false;
  float longest = std::max({1.0f, kxvector4r::Dot3(B.X, B.X), kxvector4r::Dot3(B.Y, B.Y), kxvector4r::Dot3(B.Z, B.Z)});
  return Instance->ClearAround(B.R, std::sqrt(longest) * boxReach);
}

float kxdwheel00::AskExtent() const {
  if (!Geometry) return kxdbody::AskExtent();
  float longest = std::max({1.0f, kxvector4r::Dot3(B.X, B.X), kxvector4r::Dot3(B.Y, B.Y), kxvector4r::Dot3(B.Z, B.Z)});
  return kxdground::WiderAsk(kxdbody::AskExtent(), std::sqrt(longest) * boxReach);
}

void kxdwheel00::MeasureBoxReach() {
  boxReach = Geometry ? kxdground::BoxReach(Geometry->box) : std::numeric_limits<float>::quiet_NaN();
}

void kxdwheel00::Prepare() {
  kxdbody::Prepare();
  MeasureBoxReach();
}

int kxdwheel00::SubstepPasses(const kxdfold* fold) const {
  if (fold) return kAskPass | kIntegratePass | kOwnHandOver;
  return ParentBody ? kAllPasses | kOwnHandOver : kAllPasses;
}

void kxdwheel00::Integrate(kxdintegrable* change, int flag, float dt) {
  if (kxdwheel00* twin = kxdcomponent::TwinOf(this, change)) {
    // A folded wheel's force pass is left out of a clear frame's substeps;
    // what it would have set is set here, before it is read.
    if (Instance && Instance->FrameClear && kxdcompiled::FoldOf(this)) {
      if (Geometry) twin->Spin = -kSpinDecay * Spin;
      twin->Angle = Spin;
    }
    Spin += dt * twin->Spin;
    Angle += dt * twin->Angle;
  }
  kxdbody::Integrate(change, flag, dt);
}

void kxdwheel00::Analyse() {
  kxgeometricobject* g = Geometry;
  kxvector4r centroid;
  if (kxdmeshmass::Centroid(g, &centroid)) {
    B.R = {centroid.x, centroid.y, centroid.z, 1.0f};
    if (g->ApplyFrame(B)) {
      g->UpdateBounds();
      // The mesh now lies in the wheel's frame: its X and Z extents are the
      // tyre's diameter in the wheel plane.
      float minX = kExtentStart, maxX = -kExtentStart, minZ = kExtentStart, maxZ = -kExtentStart;
      g->ExtentAlong({1.0f, 0.0f, 0.0f, 0.0f}, &minX, &maxX, kxmatrix::Identity());
      g->ExtentAlong({0.0f, 0.0f, 1.0f, 0.0f}, &minZ, &maxZ, kxmatrix::Identity());
      float radius = 0.25f * (maxX - minX) + 0.25f * (maxZ - minZ);
      if (std::isfinite(radius) && radius > 0.0f) Radius = radius;
      kxdgeometry::ProjectedAreas(g, Areas[0], Areas[1], Areas[2]);
    }
  }
  kxdintegrable::Analyse();
}

void kxdwheel00::UpdateVisual() {
  if (Geometry) {
    kxmatrix frame = B;
    if (RotationEnable) {
      float c = std::cos(Angle), s = std::sin(Angle);
      frame.X = {B.X.x * c - B.Z.x * s, B.X.y * c - B.Z.y * s, B.X.z * c - B.Z.z * s, B.X.w * c - B.Z.w * s};
      frame.Z = {B.X.x * s + B.Z.x * c, B.X.y * s + B.Z.y * c, B.X.z * s + B.Z.z * c, B.X.w * s + B.Z.w * c};
    }
    kxdgeometry::SetMatrix(Geometry, frame);
    kxdgeometry::PlaceChildren(this);
  }
  MeasureBoxReach();
  kxdintegrable::UpdateVisual();
}

