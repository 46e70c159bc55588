#include "dynamics/body.h"

#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "core/reference.h"
#include "dynamics/geometry_link.h"
#include "dynamics/joint.h"
#include "dynamics/write_links.h"

kxtype kxdbody::Type("kxdbody", sizeof(kxdbody), kxcreate<kxdbody>);

namespace {

// Contact constants of a new body: a firm, well damped touch for a model of
// about a kilogram (natural frequency near 11 Hz, damping ratio 0.35).
constexpr float kDefaultKn = 5000.0f;  // N/m
constexpr float kDefaultDn = 50.0f;    // N s/m
constexpr float kDefaultDv = 2.0f;     // N s/m
constexpr float kDefaultMass = 1.0f;   // kg
constexpr float kDefaultInertia = 0.01f;  // kg m^2 about each axis

// The keys that are plain fields, in one table that drives member lookup and
// member names.
enum class keykind { kVector, kReal, kFloats16 };
struct bodykey {
  const char* key;
  keykind kind;
  float* (*field)(kxdbody* body);
};

const bodykey kBodyKeys[] = {
    {"X", keykind::kVector, [](kxdbody* b) { return &b->B.X.x; }},
    {"Y", keykind::kVector, [](kxdbody* b) { return &b->B.Y.x; }},
    {"Z", keykind::kVector, [](kxdbody* b) { return &b->B.Z.x; }},
    {"R", keykind::kVector, [](kxdbody* b) { return &b->B.R.x; }},
    {"B", keykind::kFloats16, [](kxdbody* b) { return b->B.Data(); }},
    {"L", keykind::kVector, [](kxdbody* b) { return &b->L.x; }},
    {"P", keykind::kVector, [](kxdbody* b) { return &b->P.x; }},
    {"Mass", keykind::kReal, [](kxdbody* b) { return &b->Mass; }},
    {"Inertia", keykind::kFloats16, [](kxdbody* b) { return b->Inertia; }},
    {"InertiaInv", keykind::kFloats16, [](kxdbody* b) { return b->InertiaInv; }},
    {"Kn", keykind::kReal, [](kxdbody* b) { return &b->Kn; }},
    {"Dn", keykind::kReal, [](kxdbody* b) { return &b->Dn; }},
    {"Dv", keykind::kReal, [](kxdbody* b) { return &b->Dv; }},
    {"RangeMassMax", keykind::kReal, [](kxdbody* b) { return &b->RangeMassMax; }},
    {"RangeMassMin", keykind::kReal, [](kxdbody* b) { return &b->RangeMassMin; }},
};

void VectorLine(kxout& out, const char* head, const kxvector4r& v, int w) {
  out.Printf("%s= kxvector4r( %8.4f, %8.4f, %8.4f, %d )\n", head, v.x, v.y, v.z, w);
}

}  // namespace

kxdbody* kxdbody::As(kxnode* node) { return kxnode::As<kxdbody>(node); }

kxdbody::kxdbody() {
  type = &Type;
  kxmatrix::SetIdentity(&B);
  std::memset(&D, 0, sizeof D);
  Omega = P = L = Force = Torque = {0.0f, 0.0f, 0.0f, 0.0f};
  Mass = kDefaultMass;
  for (int i = 0; i < 16; ++i) Inertia[i] = InertiaInv[i] = 0.0f;
  Inertia[0] = Inertia[5] = Inertia[10] = kDefaultInertia;
  Inertia[15] = Mass;
  InertiaInv[0] = InertiaInv[5] = InertiaInv[10] = 1.0f / kDefaultInertia;
  InertiaInv[15] = 1.0f / Mass;
  RangeMassMax = RangeMassMin = 0.0f;
  Kn = kDefaultKn;
  Dn = kDefaultDn;
  Dv = kDefaultDv;
  Contact = 1;
  for (kxvector4r& p : ContactPoints) p = {0.0f, 0.0f, 0.0f, 1.0f};
  ContactCount = 1;
  Geometry = nullptr;
  Instance = nullptr;
  ParentBody = nullptr;
  Joint = nullptr;
  kxmatrix::SetIdentity(&Relative);
  SystemMass = Mass;
  std::memcpy(SystemInertiaInv, InertiaInv, sizeof InertiaInv);
  SystemCentre = {0.0f, 0.0f, 0.0f, 0.0f};
  Held = 0;
  followPass = 0;
}

kxvalueptr kxdbody::GetMember(const char* member, const kxargs& args) {
  if (!member) return nullptr;
  for (const bodykey& k : kBodyKeys) {
    if (std::strcmp(member, k.key) != 0) continue;
    float* field = k.field(this);
    switch (k.kind) {
      case keykind::kVector: return kxvalueptr(new kxvectorref(field));
      case keykind::kReal: return kxvalueptr(new kxrealref(field));
      case keykind::kFloats16: return kxvalueptr(new kxfloatsref(field, 16));
    }
  }
  if (std::strcmp(member, "Geometry") == 0) {
    if (args.Count() == 0) return kxvalueptr(new kxnodeptrref(kxdgeometry::Field(&Geometry), kxdgeometry::Type()));
    // Geometry( "~Geometry/Name/" ): the object this body is drawn with.
    kxnode* node = kxnode::Find(args.String(0).Text(), this);
    kxgeometricobject* object = kxdgeometry::From(node);
    if (!object) return nullptr;
    Geometry = object;
    kxdgeometry::SetOwner(object, this);
    return kxvoid();
  }
  return kxdintegrable::GetMember(member, args);
}

int kxdbody::GetMemberName(const void* position, kxstring& out) {
  for (const bodykey& k : kBodyKeys) {
    if (position == k.field(this)) {
      out = k.key;
      return 1;
    }
  }
  return 0;
}

void kxdbody::CopyTo(kxnode* other) {
  kxdbody* b = As(other);
  if (!b || b == this) return;
  b->B = B;
  b->D = D;
  b->Omega = Omega;
  b->P = P;
  b->L = L;
  b->Force = Force;
  b->Torque = Torque;
  b->Mass = Mass;
  std::memcpy(b->Inertia, Inertia, sizeof Inertia);
  std::memcpy(b->InertiaInv, InertiaInv, sizeof InertiaInv);
  b->RangeMassMax = RangeMassMax;
  b->RangeMassMin = RangeMassMin;
  b->Kn = Kn;
  b->Dn = Dn;
  b->Dv = Dv;
  b->Contact = Contact;
  std::memcpy(b->ContactPoints, ContactPoints, sizeof ContactPoints);
  b->ContactCount = ContactCount;
  b->Geometry = kxnode::Remap(Geometry);
  b->Instance = Instance;
  b->ParentBody = kxnode::Remap(ParentBody);
  b->Joint = kxnode::Remap(Joint);
  b->Relative = Relative;
  b->SystemMass = SystemMass;
  b->SystemCentre = SystemCentre;
  std::memcpy(b->SystemInertiaInv, SystemInertiaInv, sizeof SystemInertiaInv);
  b->Held = Held;
}

void kxdbody::Write(kxout& out) {
  VectorLine(out, "X    ", B.X, 0);
  VectorLine(out, "Y    ", B.Y, 0);
  VectorLine(out, "Z    ", B.Z, 0);
  VectorLine(out, "R    ", B.R, 1);
  if (Geometry) {
    kxstring path;
    if (kxnode::PointerToPath(Geometry, kxdwrite::GeometryRoot(), path)) {
      out.Printf("Geometry( \"~Geometry/%s/\" )\n", path.Text());
    } else {
      kxcore::Log("kxdynamics:  geometry of %s lies outside ~Geometry; not written\n", name.Text());
    }
  }
  out.Printf("Mass = %g\n", Mass);
  out.Printf("RangeMassMax = %g\n", RangeMassMax);
  out.Printf("RangeMassMin = %g\n", RangeMassMin);
  out.Printf("Inertia = { %8.4f", Inertia[0]);
  for (int i = 1; i < 16; ++i) out.Printf(", %8.4f", Inertia[i]);
  out.Printf(" }\n");
  out.Printf("Kn = %g\n", Kn);
  out.Printf("Dn = %g\n", Dn);
  out.Printf("Dv = %g\n", Dv);
}

void kxdbody::Prepare() {
  Held = 0;
  double in[9], inv[9];
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) in[3 * r + c] = Inertia[4 * r + c];
  }
  int singular = kxmatrix::Invert(in, inv, 3) != 0;
  for (int i = 0; i < 16; ++i) InertiaInv[i] = 0.0f;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) InertiaInv[4 * r + c] = singular ? 0.0f : static_cast<float>(inv[3 * r + c]);
  }
  InertiaInv[15] = Mass > 0.0f ? 1.0f / Mass : 0.0f;
  SystemMass = Mass;
  std::memcpy(SystemInertiaInv, InertiaInv, sizeof InertiaInv);
  SystemCentre = {0.0f, 0.0f, 0.0f, 0.0f};
  if (ParentBody) {
    kxmatrix inverse;
    kxmatrix::Invert(ParentBody->B, inverse);
    kxmatrix::Multiply4x4(&Relative, &inverse, &B);
  } else if (!(Mass > 0.0f) || singular) {
    // A free body without mass or with a singular inertia would divide by
    // zero in every step; it is held where it is instead (kxdattach::Aggregate
    // frees it again when the bodies it carries give it mass).
    Held = 1;
  }
  kxdintegrable::Prepare();
}

void kxdbody::Analyse() {
  kxdgeometry::AnalyseBody(this);
  FillMassRange();
  kxdintegrable::Analyse();
}

void kxdbody::FillMassRange() {
  if (RangeMassMax < 0.001f) {
    RangeMassMax = 2.0f * Mass;
    RangeMassMin = 0.5f * Mass;
  }
}

void kxdbody::UpdateVisual() {
  SyncGeometry();
  kxdgeometry::PlaceChildren(this);
  kxdintegrable::UpdateVisual();
}

void kxdbody::SyncGeometry() { kxdgeometry::SetMatrix(Geometry, B); }

void kxdbody::UpdateGraphics() {
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = As(c)) b->UpdateGraphics();
  }
  kxdgeometry::RebaseMesh(Geometry);
}

float kxdbody::GetRPM() { return -1.0f; }

float kxdbody::WingArea() const { return 0.0f; }

void kxdbody::ResetState() {
  std::memset(&D, 0, sizeof D);
  Omega = P = L = Force = Torque = {0.0f, 0.0f, 0.0f, 0.0f};
  kxdintegrable::ResetState();
}

void kxdbody::ApplyMatrix(const kxmatrix& M) {
  kxmatrix::Multiply4x4(&B, &M, &B);
  kxmatrix::TransformVector4(&P, &M, &P);
  kxmatrix::TransformVector4(&L, &M, &L);
  kxdintegrable::ApplyMatrix(M);
}
