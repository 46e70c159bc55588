#include "dynamics/components/skid.h"

#include <cmath>

#include "core/hooks.h"
#include "dynamics/components/component_support.h"
#include "dynamics/components/ground_contact.h"
#include "dynamics/components/mesh_mass.h"
#include "dynamics/instance.h"
#include "graphics/geometric_object.h"
#include "graphics/geometry_math.h"

kxtype kxdskid00::Type("kxdskid00", sizeof(kxdskid00), kxcreate<kxdskid00>);

namespace {

constexpr float kSlidingFloor = 1e-5f;  // m/s; slower sliding keeps its length

using kxvector4ops::Dot;

using kxvector4ops::Cross;

// Unit vector, or fallback for a zero or non-finite one.
kxvector4r Unit(const kxvector4r& v, const kxvector4r& fallback) {
  float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (!(n > 0.0f) || !std::isfinite(n)) return fallback;
  return {v.x / n, v.y / n, v.z / n, 0.0f};
}

// The point (w 1) in the frame's axes; the frame is orthonormal.
kxvector4r ToLocal(const kxmatrix& B, const kxvector4r& p) {
  kxvector4r d = {p.x - B.R.x, p.y - B.R.y, p.z - B.R.z, 0.0f};
  return {d.x * B.X.x + d.y * B.X.y + d.z * B.X.z, d.x * B.Y.x + d.y * B.Y.y + d.z * B.Y.z,
          d.x * B.Z.x + d.y * B.Z.y + d.z * B.Z.z, 1.0f};
}

kxvector4r ToWorld(const kxmatrix& B, const kxvector4r& a) {
  return {a.x * B.X.x + a.y * B.Y.x + a.z * B.Z.x + a.w * B.R.x, a.x * B.X.y + a.y * B.Y.y + a.z * B.Z.y + a.w * B.R.y,
          a.x * B.X.z + a.y * B.Y.z + a.z * B.Z.z + a.w * B.R.z, a.w * B.R.w};
}

using namespace kxdkeys;
using S = kxdskid00;

// The body's lines first; the points in both forms go to a clone.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    KXD_KEY(S, CP1, kPoint, kCopy),
    KXD_KEY(S, CP2, kPoint, kCopy),
    KXD_KEY(S, Ksn, kReal, kCopy),
    KXD_KEY(S, Dsn, kReal, kCopy),
    KXD_KEY(S, Ksx, kReal, kCopy),
    Field(kCopy, KXD_AT(S, Local1), sizeof(kxvector4r)),
    Field(kCopy, KXD_AT(S, Local2), sizeof(kxvector4r)),
};

}  // namespace

const kxdkeytable kxdskid00::Keys(kRows);

kxdskid00* kxdskid00::As(kxnode* node) { return kxnode::As<kxdskid00>(node); }

kxdskid00::kxdskid00() {
  type = &Type;
  Mass = 1.0f;
  for (int i = 0; i < 16; ++i) Inertia[i] = InertiaInv[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  Contact = 0;
  CP1 = CP2 = {0.0f, 0.0f, 0.0f, 0.0f};
  Local1 = Local2 = {0.0f, 0.0f, 0.0f, 0.0f};
  Ksn = 10000.0f;
  Ksx = 0.0f;
  Dsn = 10.0f;
}

void kxdskid00::ComputeChange(kxdintegrable* change, int flag) {
  if (PlacesItself()) FollowForForcePass();
  if (Geometry) {
    kxdcontact contacts[kxdground::kMaxContacts];
    int n = kxdground::ShapeContacts(Geometry, B, 0, contacts, kxdground::kMaxContacts, Instance);
    if (n <= 0) {  // in the air: nothing to push
      kxdbody::ComputeChange(change, flag);
      return;
    }
    kxvector4r p1 = ToWorld(B, Local1), p2 = ToWorld(B, Local2);
    float depth1 = 0.0f, depth2 = 0.0f;
    kxvector4r n1 = {0.0f, 0.0f, 0.0f, 0.0f}, n2 = n1;
    for (int i = 0; i < n; ++i) {
      const kxdcontact& c = contacts[i];
      kxvector4r d1 = {c.point.x - p1.x, c.point.y - p1.y, c.point.z - p1.z, -p1.w};
      kxvector4r d2 = {c.point.x - p2.x, c.point.y - p2.y, c.point.z - p2.z, -p2.w};
      float s1 = Dot(d1, c.normal), s2 = Dot(d2, c.normal);
      if (s1 > depth1) {
        depth1 = s1;
        n1 = c.normal;
      }
      if (s2 > depth2) {
        depth2 = s2;
        n2 = c.normal;
      }
    }
    if (depth1 > 0.0f) PushPoint(p1, depth1, n1);
    if (depth2 > 0.0f) PushPoint(p2, depth2, n2);
  }
  kxdbody::ComputeChange(change, flag);
}

float kxdskid00::AskExtent() const {
  if (!Geometry) return kxdbody::AskExtent();
  return kxdground::WiderAsk(kxdbody::AskExtent(), kxdground::BoxAskExtent(Geometry->box, B));
}

void kxdskid00::PushPoint(const kxvector4r& point, float depth, const kxvector4r& normal) {
  float spring = Ksn * depth;
  kxvector4r r = {point.x - B.R.x, point.y - B.R.y, point.z - B.R.z, 0.0f};
  float rx = r.x * B.X.x + r.y * B.X.y + r.z * B.X.z;
  float ry = r.x * B.Y.x + r.y * B.Y.y + r.z * B.Y.z;
  float rz = r.x * B.Z.x + r.y * B.Z.y + r.z * B.Z.z;
  kxvector4r u = {rx * D.X.x + ry * D.Y.x + rz * D.Z.x + D.R.x, rx * D.X.y + ry * D.Y.y + rz * D.Z.y + D.R.y,
                  rx * D.X.z + ry * D.Y.z + rz * D.Z.z + D.R.z, rx * D.X.w + ry * D.Y.w + rz * D.Z.w + D.R.w};
  float vn = Dot(u, normal);
  kxvector4r t = {u.x - vn * normal.x, u.y - vn * normal.y, u.z - vn * normal.z, u.w - vn * normal.w};
  if (std::sqrt(t.x * t.x + t.y * t.y + t.z * t.z) > kSlidingFloor) {
    float length = std::sqrt(Dot(t, t));
    t = {t.x / length, t.y / length, t.z / length, t.w / length};
  }
  float load = spring - Dsn * vn;
  kxvector4r f = {load * normal.x - Ksx * spring * t.x, load * normal.y - Ksx * spring * t.y,
                  load * normal.z - Ksx * spring * t.z, 0.0f};
  if (!std::isfinite(f.x) || !std::isfinite(f.y) || !std::isfinite(f.z)) return;
  AddForceAt(f, point);
  if (kxdaircraftinstance* instance = kxdground::InstanceOf(this, Instance)) instance->GroundContact = 1;
}

void kxdskid00::FrameFromMesh() {
  kxgeometricobject* g = Geometry;
  g->Rebuild();
  if (!g->ApplyFrame(B)) return;
  g->SetOwner(this);
  g->UpdateBounds();
  kxdmeshmass::ScaledInertia(g, Mass, Inertia);
}

void kxdskid00::Analyse() {
  kxgeometricobject* g = Geometry;
  kxvector4r centroid;
  if (kxdmeshmass::Centroid(g, &centroid)) {
    B.X = {1.0f, 0.0f, 0.0f, 0.0f};
    B.Y = {0.0f, 1.0f, 0.0f, 0.0f};
    B.Z = {0.0f, 0.0f, 1.0f, 0.0f};
    B.R = {centroid.x, centroid.y, centroid.z, 1.0f};
    FrameFromMesh();
    // Z along the axis of the largest moment, X kept along the aircraft.
    kxvector4r first = {0.0f, 0.0f, 1.0f, 0.0f}, second, third;
    if (!geometry::PrincipalAxis(&third, &second, Inertia, &first)) {
      kxcore::Log("kxdynamics:  skid %s: principal axis did not settle\n", name.Text());
    }
    kxvector4r z = {first.x * B.X.x + first.y * B.Y.x + first.z * B.Z.x,
                    first.x * B.X.y + first.y * B.Y.y + first.z * B.Z.y,
                    first.x * B.X.z + first.y * B.Y.z + first.z * B.Z.z, 0.0f};
    kxvector4r x = {1.0f, 0.0f, 0.0f, 0.0f};
    kxvector4r y = Unit(Cross(z, x), {0.0f, 1.0f, 0.0f, 0.0f});
    B.X = x;
    B.Y = y;
    B.Z = Unit(Cross(x, y), {0.0f, 0.0f, 1.0f, 0.0f});
    FrameFromMesh();
  }
  if (g) {
    // The points are points whatever w a new or a read skid holds.
    Local1 = ToLocal(B, CP1);
    Local2 = ToLocal(B, CP2);
  }
  kxdintegrable::Analyse();
}

