// Sections: keys and copies; blade measurement and tables; simulation.
#include "dynamics/components/propeller.h"

#include <cmath>
#include <vector>

#include "core/hooks.h"
#include "core/lanes.h"
#include "core/maths.h"
#include "dynamics/air_model.h"
#include "dynamics/compiled.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/engine.h"
#include "dynamics/components/ground_contact.h"
#include "dynamics/geometry_link.h"
#include "dynamics/instance.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"

kxtype kxdpropeller00::Type("kxdpropeller00", sizeof(kxdpropeller00), kxcreate<kxdpropeller00>);

float kxdpropeller00::GlobalSlipstreamSpeed = 0.0f;

namespace {

using kxdynamics::kAirDensity;
using kxmaths::kPi;
constexpr float kWashPi = 3.1415f;          // the wash formula's own value of pi
constexpr float kRpmFactor = 9.58f;         // shaft speed to the published rpm value
constexpr float kMaxJ = 9.0f;
constexpr float kJStep = 0.1f;
constexpr float kPeakEfficiency = 0.85f;    // the power curve is scaled to peak here
constexpr float kPitchTurn = 0.75f * kxmaths::kTwoPi;  // the circle of the 0.75 section per m of radius
constexpr float kSectionAt = 0.75f;         // of the radius
constexpr float kShrunk = 0.001f;           // scale of a broken blade's matrix

using kxvector4ops::Difference3;
using kxvector4ops::Finite3;
using kxvector4ops::Length3;

// A frame's rows times a point's four broadcast coordinates, summed in the
// order of the frame transform's scalar formula, so the results are the
// same to the bit.
kxlanes::f4 Placed(const kxmatrix& M, kxlanes::f4 x, kxlanes::f4 y, kxlanes::f4 z, kxlanes::f4 w) {
  using namespace kxlanes;
  f4 r = Add(Mul(LoadU(&M.X.x), x), Mul(LoadU(&M.Y.x), y));
  r = Add(r, Mul(LoadU(&M.Z.x), z));
  return Add(r, Mul(LoadU(&M.R.x), w));
}

// Chord direction of a section given as cut segments: from the leading to
// the trailing edge, the two section points farthest apart. The principal
// axis of the outline was considered too; on a cambered, flat-bottomed
// section it tilts away from the chord line by a degree or more, which
// shows as several percent of pitch. 0 when the section has no extent.
int ChordDirection(const std::vector<kxvector4r>& segments, kxvector4r* out) {
  float best = 0.0f;
  kxvector4r longest{};
  size_t n = segments.size();
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = i + 1; j < n; ++j) {
      kxvector4r d = Difference3(segments[j], segments[i]);
      float l = kxvector4r::Dot3(d, d);
      if (l > best && std::isfinite(l)) {
        best = l;
        longest = d;
      }
    }
  }
  if (!(best > 0.0f)) return 0;
  float l = std::sqrt(best);
  *out = {longest.x / l, longest.y / l, longest.z / l, 0.0f};
  return 1;
}

// The blade objects below a geometric object, in order.
std::vector<kxgeometricobject*> BladesOf(kxgeometricobject* g) {
  std::vector<kxgeometricobject*> blades;
  for (kxnode* c = g ? g->firstChild : nullptr; c; c = c->nextSibling) {
    if (kxgeometricobject* blade = kxnode::As<kxgeometricobject>(c)) blades.push_back(blade);
  }
  return blades;
}

using namespace kxdkeys;
using P = kxdpropeller00;

// The body's lines first. Phase, shaft speed, rpm and wash live only in the
// simulated copies; the ranges are the designer's.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(P, Radius, kReal, kCopy),
    KXD_KEY(P, RangeRadiusMax, kReal, kNone),
    KXD_KEY(P, RangeRadiusMin, kReal, kNone),
    Key("Pitch  ", kReal, kCopy, KXD_AT(P, Pitch)),
    Key("DragLateral  ", kReal, kCopy, KXD_AT(P, DragLateral)),
    KXD_KEY(P, Engine, kEngine, kRemap),
    Field(kCopy, KXD_AT(P, Blades), sizeof(int)),
    Field(kCopy, KXD_AT(P, HubRadius), sizeof(float)),
    Field(kCopy, KXD_AT(P, Placement), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(P, Broken), sizeof(int)),
    Field(kCopy, KXD_AT(P, CT), KXD_SIZE(P, CT)),
    Field(kCopy, KXD_AT(P, CP), KXD_SIZE(P, CP)),
};

}  // namespace

const kxdkeytable kxdpropeller00::Keys(kRows);

kxdpropeller00* kxdpropeller00::As(kxnode* node) { return kxnode::As<kxdpropeller00>(node); }

kxdpropeller00::kxdpropeller00() {
  type = &Type;
  // The blades' touch is a strike, never a supporting contact.
  Contact = 0;
  Engine = nullptr;
  Blades = 0;
  Radius = 0.15f;
  Pitch = 0.2f;
  HubRadius = 0.0f;
  Placement = {0.0f, 0.0f, 0.0f, 0.0f};
  RangeRadiusMax = RangeRadiusMin = 0.0f;
  Phase = ShaftSpeed = RPMValue = 0.0f;
  DragLateral = 0.025f;
  Broken = 0;
  Wash = 0.0f;
  BuildTables();
}

kxdengine* kxdpropeller00::Shaft() const {
  if (Engine != shaftNode || (Engine && Engine->type != shaftType)) {
    shaftNode = Engine;
    shaftType = Engine ? Engine->type : nullptr;
    shaft = kxdengine::As(Engine);
  }
  return shaft;
}

float kxdpropeller00::GetRPM() { return RPMValue; }

// ---- blade measurement and tables

int kxdpropeller00::MeasureBlades() {
  kxgeometricobject* g = Geometry;
  if (!g) return 0;
  // From the rest shape, so the analysis can run again after every edit.
  g->Rebuild();
  g->SetOwner(this);
  const kxmatrix identity = kxmatrix::Identity();
  kxvector4r whole;
  if (!(g->SurfaceCentroid(&whole, identity) > 0.0f)) return 0;  // no mesh
  std::vector<kxgeometricobject*> blades = BladesOf(g);
  if (blades.size() > static_cast<size_t>(kMaxBlades)) {
    kxcore::Log("kxdpropeller00:  %s has %d blades; only up to %d are measured, keys kept\n", name.Text(),
                static_cast<int>(blades.size()), kMaxBlades);
    return 0;
  }
  int n = static_cast<int>(blades.size());
  kxvector4r centroid[kMaxBlades];
  kxvector4r hub = {0.0f, 0.0f, 0.0f, 0.0f};
  for (int i = 0; i < n; ++i) {
    blades[i]->SurfaceCentroid(&centroid[i], identity);
    hub.x += centroid[i].x / n;
    hub.y += centroid[i].y / n;
    hub.z += centroid[i].z / n;
  }
  if (n == 0) hub = whole;
  hub.w = 1.0f;
  if (!Finite3(hub)) return 0;
  Blades = n;
  B.R = hub;

  float radius = 0.0f, hubRadius = 1000.0f;
  kxvector4r tip[kMaxBlades];
  for (int i = 0; i < n; ++i) {
    kxvector4r out = Difference3(centroid[i], hub);
    kxvector4r in = {-out.x, -out.y, -out.z, 0.0f};
    kxvector4r root = hub;
    tip[i] = hub;
    blades[i]->FarthestVertex(out, &tip[i], identity);
    blades[i]->FarthestVertex(in, &root, identity);
    radius = std::fmax(radius, Length3(Difference3(tip[i], hub)));
    hubRadius = std::fmin(hubRadius, Length3(Difference3(root, hub)));
  }
  if (n > 0 && radius > 0.0f) Radius = radius;
  HubRadius = n > 0 ? hubRadius : 0.0f;

  // The shaft along the aircraft's X axis.
  B.X = {0.0f, 1.0f, 0.0f, 0.0f};
  B.Y = {0.0f, 0.0f, 1.0f, 0.0f};
  B.Z = {1.0f, 0.0f, 0.0f, 0.0f};
  if (!kxdgeometry::ApplyFrame(g, B)) return 0;
  kxmatrix inverse;
  kxmatrix::Invert(B, inverse);
  for (int i = 0; i < n; ++i) {
    // Blade frame: X along the shaft, Y toward the tip (its shaft component
    // removed, so the frame stays a rotation), R at the blade's centroid.
    kxvector4r y = Difference3(tip[i], hub);
    y.x = 0.0f;
    float len = Length3(y);
    if (!(len > 0.0f)) continue;
    kxmatrix m;
    m.X = {1.0f, 0.0f, 0.0f, 0.0f};
    m.Y = {y.x / len, y.y / len, y.z / len, 0.0f};
    kxvector4r::Cross(m.Z, m.X, m.Y);
    m.R = {centroid[i].x, centroid[i].y, centroid[i].z, 1.0f};
    kxmatrix mInverse;
    if (kxmatrix::Invert(m, mInverse) != 0) continue;
    blades[i]->Transform(mInverse);
    kxmatrix::Multiply4x4(&blades[i]->Matrix, &inverse, &m);
  }
  if (n == 0) return 1;

  // Pitch from the chord of the 75 % section of the first blade.
  kxvector4r u = Difference3(centroid[0], hub);
  float ulen = Length3(u);
  if (!(ulen > 0.0f)) return 1;
  u = {u.x / ulen, u.y / ulen, u.z / ulen, 0.0f};
  kxvector4r p = {hub.x + kSectionAt * Radius * u.x, hub.y + kSectionAt * Radius * u.y,
                  hub.z + kSectionAt * Radius * u.z, 1.0f};
  std::vector<kxvector4r> segments;
  int cuts = g->CutByPlane(p, u, segments, g->Matrix);
  if (cuts <= 0) return 1;
  kxvector4r t;
  if (!ChordDirection(segments, &t)) return 1;
  float across = t.y * u.z - t.z * u.y;
  float pitch = std::fabs(kPitchTurn * Radius * t.x / across);
  if (std::isfinite(pitch) && across != 0.0f) Pitch = pitch;
  return 1;
}

void kxdpropeller00::BuildTables() {
  float d = 2.0f * Radius;
  float a = 1.3f * Pitch / d;
  float b = a + 0.02f;
  float e = 0.08f * Pitch / d;
  float c = 0.75f * a, dd = 0.75f * b;
  float kT = 0.75f * 0.1f / (c / (c * c * c * c + 1.0f));
  float kP = 0.75f * e / (dd / (dd * dd * dd * dd + 1.0f));
  auto ct = [&](float J) {
    float x = 0.75f * (a - J);
    return kT * (a - J) / (x * x * x * x + 1.0f);
  };
  auto cp = [&](float J) {
    float x = 0.75f * (b - J);
    return kP * (b - J) / (x * x * x * x + 1.0f);
  };
  float etaMax = 0.0f, jMax = 0.0f;
  for (int i = 0; i < kTable; ++i) {
    float J = kJStep * static_cast<float>(i);
    if (!(J < a)) continue;
    float eta = ct(J) * J / cp(J);
    if (eta > etaMax) {
      etaMax = eta;
      jMax = J;
    }
  }
  // Without a J of positive efficiency (pitch / diameter below about 0.077)
  // the scaling has no peak to scale to: CP stays as it is.
  bool scale = jMax > 0.0f && etaMax > 0.0f && std::isfinite(etaMax);
  for (int i = 0; i < kTable; ++i) {
    float J = kJStep * static_cast<float>(i);
    float t = ct(J), p = cp(J);
    if (scale && p > 0.0f) p *= ((etaMax / kPeakEfficiency - 1.0f) / jMax) * J + 1.0f;
    CT[i] = std::isfinite(t) ? t : 0.0f;
    CP[i] = std::isfinite(p) ? p : 0.0f;
  }
}

void kxdpropeller00::Analyse() {
  MeasureBlades();
  strikeReach = std::numeric_limits<float>::quiet_NaN();  // the blades moved
  BuildTables();
  if (RangeRadiusMax < 0.001f) {
    RangeRadiusMax = 2.0f * Radius;
    RangeRadiusMin = 0.5f * Radius;
  }
  FillMassRange();
  kxdintegrable::Analyse();
}

// ---- simulation

void kxdpropeller00::Coefficients(float J, float* ct, float* cp) const {
  J = kxdcomponent::Clamp(std::isfinite(J) ? J : 0.0f, 0.0f, kMaxJ);
  int i = static_cast<int>(10.0f * J);
  if (i > kTable - 2) i = kTable - 2;
  float f = (J - kJStep * static_cast<float>(i)) * 10.0f;
  *ct = CT[i] * (1.0f - f) + CT[i + 1] * f;
  *cp = CP[i] * (1.0f - f) + CP[i + 1] * f;
}

void kxdpropeller00::Prepare() {
  Broken = 0;
  if (kxdengine* e = Shaft()) {
    e->RotatingInertia += Inertia[10];
    kxmatrix inverse;
    kxmatrix::Invert(e->B, inverse);
    kxvector4r r = B.R;
    r.w = 1.0f;
    kxmatrix::TransformVector4(&Placement, &inverse, &r);
    Placement.w = 1.0f;
  }
  kxdbody::Prepare();
  MeasureStrikeReach();
}

void kxdpropeller00::Place() {
  kxdengine* e = Shaft();
  if (!e) return;
  if (!(Phase == placedPhase)) {
    placedPhase = Phase;
    placedCos = std::cos(Phase);
    placedSin = std::sin(Phase);
  }
  float c = placedCos, s = placedSin;
  const kxmatrix& F = e->B;
  const kxmatrix& V = e->D;
  auto spin = [&](kxmatrix& out, const kxmatrix& in) {
    out.Z = in.X;
    out.X = {in.Y.x * c + in.Z.x * s, in.Y.y * c + in.Z.y * s, in.Y.z * c + in.Z.z * s, 0.0f};
    out.Y = {in.Z.x * c - in.Y.x * s, in.Z.y * c - in.Y.y * s, in.Z.z * c - in.Y.z * s, 0.0f};
  };
  spin(B, F);
  spin(D, V);
  B.R = kxdcomponent::InFrame(Placement, F);
  D.R = kxdcomponent::InFrame(Placement, V);
  B.R.w = 1.0f;
  D.R.w = 0.0f;
  B.X.w = B.Y.w = B.Z.w = 0.0f;
  D.X.w = D.Y.w = D.Z.w = 0.0f;
}

float kxdpropeller00::AskExtent() const {
  // The strike test asks about the hub with the engine's axes.
  const kxdengine* e = Shaft();
  if (!e) return kxdbody::AskExtent();
  return kxdground::WiderAsk(kxdbody::AskExtent(), kxdground::StrikeAskExtent(strikeReach, e->B));
}

void kxdpropeller00::MeasureStrikeReach() { strikeReach = kxdground::StrikeReach(Geometry); }

void kxdpropeller00::StrikeTest() {
  kxdcontact hit;
  if (!kxdground::StruckChild(Geometry, B, &hit, Instance)) return;
  if (Instance) {
    Instance->Crash = 1;
    if ((hit.surface & kxdground::kSurfaceMask) == kSurfaceWater) Instance->SurfaceCode = kSurfaceWater;
  }
  Broken = 1;
  if (kxdengine* e = Shaft()) e->Strike = 1;
}

bool kxdpropeller00::Thrust(kxdengine* e, const kxvector4r& v, const kxvector4r& a, kxvector4r* force) {
  ShaftSpeed = e->W;
  float n = ShaftSpeed * 0.5f / kPi;
  float d = 2.0f * Radius;
  if (!(n > 0.0f) || Broken || !(d > 0.0f)) {
    Wash = 0.0f;
    return false;
  }
  float va = kxvector4r::Dot3(v, a);
  float ct, cp;
  Coefficients(va / n / d, &ct, &cp);
  float d2 = d * d, d4 = d2 * d2;
  float thrust = ct * kAirDensity * n * n * d4;
  e->Load -= cp * kAirDensity * n * n * 0.5f / kPi * d4 * d;
  float lateral = DragLateral * thrust;
  *force = {thrust * a.x - lateral * (v.x - va * a.x), thrust * a.y - lateral * (v.y - va * a.y),
            thrust * a.z - lateral * (v.z - va * a.z), 0.0f};
  float w2 = va * va + 0.5f * thrust / kAirDensity / Radius / Radius / kWashPi;
  if (!(w2 > 0.0f)) w2 = 0.0f;
  Wash = std::sqrt(w2) - va;
  if (!std::isfinite(Wash)) Wash = 0.0f;
  return Finite3(*force);
}

void kxdpropeller00::ThrustFolded(kxdengine* e, const kxdfold& engineFold) {
  // The engine's frame in its carrier's axes: the hub is placed by it, the
  // shaft runs along its X axis, and the hub's flow is the carrier's
  // (the same air gradient AirVelocityAt applies).
  kxdcarrierframe& carrier = *engineFold.carrier;
  const kxmatrix& E = engineFold.relative;
  const kxvector4r& a = E.X;
  // The hub stays where it is in the carrier's axes while the fold does.
  if (foldedHubEpoch != e->FoldEpoch) {
    foldedHub = kxdframe::Transform(E, Placement);
    foldedHubEpoch = e->FoldEpoch;
  }
  const kxvector4r& hub = foldedHub;
  kxvector4r force;
  if (Thrust(e, carrier.Flow(hub), a, &force)) carrier.AddLoad(force, E.R);
  shaftAxis = carrier.ToWorld(a);
  // The propeller's weight at the hub, where its own frame would put it.
  const kxvector4r& g = carrier.gravity;
  carrier.AddLoad({g.x * Mass, g.y * Mass, g.z * Mass, 0.0f}, hub);
}

void kxdpropeller00::ComputeChange(kxdintegrable* change, int flag) {
  kxdengine* e = Shaft();
  // In a clear frame no strike is asked for, and with the engine folded the
  // thrust and the weight need no world frame at all (a propeller with a
  // ground contact of its own takes the long way).
  const kxdfold* engineFold = e ? kxdcompiled::FoldOf(e) : nullptr;
  if (engineFold && ParentBody && !Contact && Instance && Instance->FrameClear) {
    ThrustFolded(e, *engineFold);
    return;
  }
  // Else the engine's world frame first: a folded engine takes it from its
  // carrier's. The thrust needs only the hub and the shaft axis, which the
  // blade angle leaves alone; the turning frame is taken from the engine
  // for the strike test, and only while the blades are not clear of
  // everything at once.
  if (engineFold) e->PlaceFolded(*engineFold);
  if (e) {
    // The hub placed by the engine's frame and moved by its rates: the
    // placement's broadcasts serve both products.
    using namespace kxlanes;
    const f4 px = Splat(Placement.x), py = Splat(Placement.y), pz = Splat(Placement.z), pw = Splat(Placement.w);
    const kxmatrix& F = e->B;
    const kxmatrix& V = e->D;
    StoreU(&B.R.x, Placed(F, px, py, pz, pw));
    StoreU(&D.R.x, Placed(V, px, py, pz, pw));
    B.R.w = 1.0f;
    D.R.w = 0.0f;
    B.Z = F.X;
    D.Z = V.X;
    B.Z.w = D.Z.w = 0.0f;
  }
  // At any blade angle the turning frame's origin and axis lengths are the
  // engine's: all blades are clear at once while a query about the hub as
  // wide as their reach is.
  if (!(e && kxdground::ClearWithin(strikeReach, e->B, B.R, Instance))) {
    Place();
    StrikeTest();
  }
  if (e) {
    kxvector4r air = kxdaircraftinstance::AirVelocityAt(Instance, B.R);
    kxvector4r force;
    if (Thrust(e, Difference3(D.R, air), B.Z, &force)) kxdcomponent::PushForce(e, force, e->B.R);
    shaftAxis = e->B.X;
  }
  // The propeller's weight is part of the aircraft's mass, so it pulls too.
  kxdbody::ComputeChange(change, flag);
}

void kxdpropeller00::Integrate(kxdintegrable*, int, float dt) {
  Phase += dt * ShaftSpeed;
  // Kept within one turn so the float keeps its resolution.
  if (Phase > 2.0f * kPi || Phase < -2.0f * kPi) Phase = std::fmod(Phase, 2.0f * kPi);
  RPMValue = ShaftSpeed * kRpmFactor;
  kxdengine* e = Shaft();
  if (!e) return;
  // A carried propeller takes its carrier's frame in the driver's follow
  // pass and turns it anew in the force pass; a free one turns it here.
  if (!ParentBody) Place();
  if (Instance) {
    // The wash blows back along the shaft: the engine's x axis, the turning
    // frame's z.
    const kxvector4r& a = shaftAxis;
    Instance->Slipstream = {-Wash * a.x, -Wash * a.y, -Wash * a.z, 0.0f};
    Instance->RPMValue = RPMValue;
    GlobalSlipstreamSpeed = Length3(Instance->Slipstream);
  }
  // The drawn geometry follows once a frame, in UpdateVisual.
}

void kxdpropeller00::UpdateVisual() {
  Place();
  if (Broken) {
    for (kxgeometricobject* blade : BladesOf(Geometry)) {
      kxmatrix& m = blade->Matrix;
      m.X = {kShrunk, 0.0f, 0.0f, 0.0f};
      m.Y = {0.0f, kShrunk, 0.0f, 0.0f};
      m.Z = {0.0f, 0.0f, kShrunk, 0.0f};
      m.R = {0.0f, 0.0f, 0.0f, 1.0f};
    }
    RPMValue = 0.0f;
  }
  kxdbody::UpdateVisual();
  MeasureStrikeReach();
}
