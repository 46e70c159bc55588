#include "dynamics/body.h"

#include <cstring>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/output.h"
#include "dynamics/compiled.h"
#include "dynamics/geometry_link.h"
#include "dynamics/joint.h"

kxtype kxdbody::Type("kxdbody", sizeof(kxdbody), kxcreate<kxdbody>);

namespace {

// Contact constants of a new body: a firm, well damped touch for a model of
// about a kilogram (natural frequency near 11 Hz, damping ratio 0.35).
constexpr float kDefaultKn = 5000.0f;  // N/m
constexpr float kDefaultDn = 50.0f;    // N s/m
constexpr float kDefaultDv = 2.0f;     // N s/m
constexpr float kDefaultMass = 1.0f;   // kg
constexpr float kDefaultInertia = 0.01f;  // kg m^2 about each axis

using namespace kxdkeys;
constexpr unsigned kHidden = kNamed | kUnwritten;

#define AT(member) KXD_AT(kxdbody, member)
#define FIELD(how, member) Field(how, AT(member), KXD_SIZE(kxdbody, member))

// In the order of the file lines; "B" after "X", so the frame's first row
// is named "X".
constexpr kxdkey kRows[] = {
    Key("X    ", kAxis, kCopy, AT(B.X), kNamed),
    KXD_KEY(kxdbody, B, kMatrix, kNone, kHidden),
    Key("Y    ", kAxis, kCopy, AT(B.Y), kNamed),
    Key("Z    ", kAxis, kCopy, AT(B.Z), kNamed),
    Key("R    ", kPoint, kCopy, AT(B.R), kNamed),
    Key("Geometry", kGeometry, kRemap, AT(Geometry)),
    KXD_KEY(kxdbody, Mass, kReal, kCopy, kNamed),
    KXD_KEY(kxdbody, RangeMassMax, kReal, kCopy, kNamed),
    KXD_KEY(kxdbody, RangeMassMin, kReal, kCopy, kNamed),
    KXD_KEY(kxdbody, Inertia, kMatrix, kCopy, kNamed),
    KXD_KEY(kxdbody, Kn, kReal, kCopy, kNamed),
    KXD_KEY(kxdbody, Dn, kReal, kCopy, kNamed),
    KXD_KEY(kxdbody, Dv, kReal, kCopy, kNamed),
    KXD_KEY(kxdbody, L, kPoint, kCopy, kHidden),
    KXD_KEY(kxdbody, P, kPoint, kCopy, kHidden),
    KXD_KEY(kxdbody, InertiaInv, kMatrix, kCopy, kHidden),
    FIELD(kCopy, D),
    FIELD(kCopy, Omega),
    FIELD(kCopy, Force),
    FIELD(kCopy, Torque),
    FIELD(kCopy, Contact),
    FIELD(kCopy, ContactPoints),
    FIELD(kCopy, ContactCount),
    FIELD(kAsIs, Instance),
    FIELD(kRemap, ParentBody),
    FIELD(kRemap, Joint),
    FIELD(kCopy, Relative),
    FIELD(kCopy, SystemMass),
    FIELD(kCopy, SystemCentre),
    FIELD(kCopy, SystemInertiaInv),
    FIELD(kCopy, Held),
};

#undef FIELD
#undef AT

}  // namespace

const kxdkeytable kxdbody::Keys(kRows);

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
  if (kxvalueptr v = kxdkeys::Member(this, KeyTable(), member, args)) return v;
  return kxdintegrable::GetMember(member, args);
}

int kxdbody::GetMemberName(const void* position, kxstring& out) {
  return kxdkeys::Name(this, KeyTable(), position, out);
}

void kxdbody::GetMemberNames(const kxtype* valueType, std::vector<kxstring>& out) {
  kxdkeys::Names(this, KeyTable(), valueType, out);
}

// A clone is of the very same class: its table's rows lie where this
// object's do.
void kxdbody::CopyTo(kxnode* other) {
  if (!other || other == this || other->type != type) return;
  kxdkeys::Copy(this, other, KeyTable());
}

void kxdbody::Write(kxout& out) { kxdkeys::Write(out, this, KeyTable()); }

void kxdbody::Prepare() {
  kxdcompiled::Prepared();
  Held = 0;
  MeasureContactReach();
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

bool kxdbody::FrameInSubsteps() const { return type != &Type; }

void kxdbody::FoldSections(kxdfold&) const {}

bool kxdbody::WorksWhenFolded() const { return type != &Type || Mass != 0.0f || (Contact && ContactCount > 0); }

float kxdbody::WingArea() const { return 0.0f; }

const kxdbody::batch* kxdbody::SubstepBatch(const kxdfold*) const { return nullptr; }

float kxdbody::AskExtent() const { return Contact ? ContactReach : -1.0f; }

int kxdbody::SubstepPasses(const kxdfold* fold) const { return type == &Type ? BodyPasses(fold) : kAllPasses; }

int kxdbody::BodyPasses(const kxdfold* fold) const {
  if (!fold) return kAllPasses;
  return (Mass != fold->weighed ? kForcePass : 0) | (Contact && fold->contactCount > 0 ? kAskPass : 0);
}

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
