// Rigid-body motion of kxdbody: the hand-over of forces at the end of the
// force pass, the explicit Euler step of a free body and the frame of a
// carried body.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "core/hooks.h"
#include "dynamics/body.h"
#include "dynamics/compiled.h"
#include "dynamics/frame_transform.h"
#include "dynamics/instance.h"
#include "dynamics/joint.h"

namespace {

constexpr kxvector4r kZero = {0.0f, 0.0f, 0.0f, 0.0f};

kxvector4r Minus(const kxvector4r& a, const kxvector4r& b) { return {a.x - b.x, a.y - b.y, a.z - b.z, 0.0f}; }

kxvector4r CrossOf(const kxvector4r& a, const kxvector4r& b) {
  kxvector4r c;
  kxvector4r::Cross(c, a, b);
  return c;
}

void AddTo(kxvector4r& dst, const kxvector4r& v, float s = 1.0f) {
  dst.x += s * v.x;
  dst.y += s * v.y;
  dst.z += s * v.z;
}

// Whether every element of the rows is finite: x - x is 0 for a finite x
// and NaN otherwise, so one sum per lane tells (and runs four at a time).
bool Finite(std::initializer_list<const kxvector4r*> rows) {
  float sum[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  for (const kxvector4r* r : rows) {
    const float* f = &r->x;
    for (int j = 0; j < 4; ++j) sum[j] += f[j] - f[j];
  }
  return sum[0] == 0.0f && sum[1] == 0.0f && sum[2] == 0.0f && sum[3] == 0.0f;
}

}  // namespace

kxdbody* kxdbody::RootCarrier() {
  kxdbody* b = this;
  // Prepare refuses cycles; the bound only guards a tree changed since.
  for (int i = 0; b->ParentBody && i < 1024; ++i) b = b->ParentBody;
  return b;
}

void kxdbody::AddForceAt(const kxvector4r& force, const kxvector4r& point) {
  AddTo(Force, force);
  AddTo(Torque, CrossOf(Minus(point, B.R), force));
}

kxvector4r kxdbody::PointVelocity(const kxvector4r& point) const {
  kxvector4r v = CrossOf(Omega, Minus(point, B.R));
  AddTo(v, D.R);
  v.w = 0.0f;
  return v;
}

void kxdbody::ComputeChange(kxdintegrable*, int) {
  if (const kxdfold* fold = kxdcompiled::FoldOf(this)) {
    ActFolded(*fold);
    return;
  }
  Force.z -= kGravity * Mass;
  if (Contact) AddOwnContact();
  HandOver();
}

void kxdbody::HandOver() {
  if (!ParentBody) return;  // FinishChange hands the totals over
  // Most bodies have handed everything over already when the driver asks
  // again; adding nothing would change nothing. The bits tell at once (a
  // negative zero goes the long way and adds nothing either).
  if (!HasLoad()) return;
  if (const kxdfold* fold = kxdcompiled::FoldOf(this)) {
    // A folded body's frame is not kept in the substeps: what a component
    // put on it goes on in its carrier's axes.
    kxdcarrierframe& carrier = *fold->carrier;
    carrier.AddLoad(carrier.ToBody(Force), fold->relative.R);
    kxvector4r t = carrier.ToBody(Torque);
    AddTo(carrier.torque, t);
    Force = Torque = kZero;
    return;
  }
  // A carried body's forces act on the free body that carries it.
  kxdbody* root = RootCarrier();
  AddTo(root->Force, Force);
  AddTo(root->Torque, Torque);
  AddTo(root->Torque, CrossOf(Minus(B.R, root->B.R), Force));
  Force = Torque = kZero;
}

void kxdbody::ActFolded(const kxdfold& fold) {
  kxdcarrierframe& carrier = *fold.carrier;
  if (Mass != fold.weighed) {
    // Not yet in the carrier's folded weight (or changed): this substep
    // the body adds it, from the next on the carrier does.
    float m = Mass - fold.weighed;
    const kxvector4r& g = carrier.gravity;
    const kxvector4r& p = fold.relative.R;
    carrier.AddLoad({g.x * m, g.y * m, g.z * m, 0.0f}, p);
    carrier.foldedMass += m;
    carrier.foldedMoment = {carrier.foldedMoment.x + m * p.x, carrier.foldedMoment.y + m * p.y,
                            carrier.foldedMoment.z + m * p.z, 0.0f};
    fold.weighed = Mass;
  }
  // The carrier's one test for all its folds' contacts first.
  if (Contact && fold.contactCount > 0 &&
      !(Instance && ((carrier.contactsClear && Instance == carrier.contactInstance) ||
                     Instance->ClearAround(carrier.body->B.R, fold.contactExtent)))) {
    kxvector4r points[kxdfold::kMaxPoints];
    for (int i = 0; i < fold.contactCount; ++i) {
      points[i] = kxdframe::Transform(carrier.body->B, fold.contactPoints[i]);
      points[i].w = 1.0f;
    }
    carrier.body->AddContactForces(points, fold.contactCount, Kn, Dn, Dv, Instance);
  }
  // What the class put on the body itself goes on in the driver's
  // hand-over pass.
}

kxvector4r kxdbody::CentreOffset() const {
  kxvector4r c = {0.0f, 0.0f, 0.0f, 0.0f};
  AddTo(c, B.X, SystemCentre.x);
  AddTo(c, B.Y, SystemCentre.y);
  AddTo(c, B.Z, SystemCentre.z);
  return c;
}

void kxdbody::FinishChange(kxdbody* change) {
  if (!ParentBody && change) {
    // The momenta are taken about the centre of mass, so a body carrying
    // others off its R neither spins nor drifts under gravity alone.
    change->P = Force;
    change->L = Torque;
    AddTo(change->L, CrossOf(CentreOffset(), Force), -1.0f);
    change->D = kxmatrix{};
    change->B = D;
  }
  Force = Torque = kZero;
}

void kxdbody::DeriveMotion() {
  // Omega = A I^-1 A^T L with A's columns the body axes; I and the mass
  // include the bodies this one carries.
  const kxvector4r* axes[3] = {&B.X, &B.Y, &B.Z};
  float lb[3];
  for (int j = 0; j < 3; ++j) lb[j] = kxvector4r::Dot3(*axes[j], L);
  Omega = kZero;
  for (int i = 0; i < 3; ++i) {
    float wi = 0.0f;
    for (int j = 0; j < 3; ++j) wi += SystemInertiaInv[4 * i + j] * lb[j];
    AddTo(Omega, *axes[i], wi);
  }
  D.X = CrossOf(Omega, B.X);
  D.Y = CrossOf(Omega, B.Y);
  D.Z = CrossOf(Omega, B.Z);
  float inverseMass = SystemMass > 0.0f ? 1.0f / SystemMass : 0.0f;
  // P / M is the centre's velocity; R moves with it and turns about it.
  D.R = {P.x * inverseMass, P.y * inverseMass, P.z * inverseMass, 0.0f};
  AddTo(D.R, CrossOf(Omega, CentreOffset()), -1.0f);
  D.R.w = 0.0f;
}

void kxdbody::Integrate(kxdintegrable* change, int, float dt) {
  // Carried bodies take their frame in the driver's follow pass, once their
  // carrier has moved.
  if (ParentBody || Held) return;
  kxdbody* c = As(change);
  if (!c) return;
  kxmatrix oldB = B;
  AddTo(P, c->P, dt);
  AddTo(L, c->L, dt);
  for (int i = 0; i < 16; ++i) B[i] += dt * c->B[i];
  B.X.w = B.Y.w = B.Z.w = 0.0f;
  B.R.w = 1.0f;
  // Gram-Schmidt keeps the axes a right-handed orthonormal set.
  kxvector4r::Normalise3(B.X);
  AddTo(B.Y, B.X, -kxvector4r::Dot3(B.Y, B.X));
  kxvector4r::Normalise3(B.Y);
  B.Z = CrossOf(B.X, B.Y);
  DeriveMotion();
  if (!Finite({&B.X, &B.Y, &B.Z, &B.R, &P, &L, &D.X, &D.Y, &D.Z, &D.R})) {
    // A state gone non-finite would be drawn and published as garbage: the
    // body stops where it last was valid and the aircraft counts as crashed.
    B = oldB;
    P = L = kZero;
    DeriveMotion();
    Held = 1;
    if (Instance) Instance->Crash = 1;
    kxcore::Log("kxdynamics:  body %s left the finite range; held\n", name.Text());
  }
}

unsigned kxdbody::NewPass() {
  static unsigned pass = 0;
  if (++pass == 0) ++pass;  // 0 is what a new body holds
  return pass;
}

void kxdbody::Follow(unsigned pass) {
  if (followPass == pass) return;
  followPass = pass;
  if (!ParentBody) return;
  ParentBody->Follow(pass);
  FollowCarrier();
}

void kxdbody::FollowCarrier() {
  const kxdbody& carrier = *ParentBody;
  // A body turns with its carrier: D = Omega x B row by row, and the
  // carrier's D is Omega x its own rows, so the relative frame places D as
  // it places B (R's row adds the carrier's velocity).
  auto place = [this, &carrier](const kxmatrix& relative) {
    B = kxdframe::Place(carrier.B, relative);
    const kxmatrix& V = carrier.D;
    const kxvector4r& x = relative.X;
    const kxvector4r& y = relative.Y;
    const kxvector4r& z = relative.Z;
    const kxvector4r& r = relative.R;
    D = {kxdframe::Transform(V, {x.x, x.y, x.z, 0.0f}), kxdframe::Transform(V, {y.x, y.y, y.z, 0.0f}),
         kxdframe::Transform(V, {z.x, z.y, z.z, 0.0f}), kxdframe::Transform(V, {r.x, r.y, r.z, 1.0f})};
  };
  if (Joint) {
    kxmatrix relative;
    Joint->TurnRelative(Relative, relative);
    place(relative);
  } else {
    place(Relative);
  }
  Omega = carrier.Omega;
  P = {D.R.x * Mass, D.R.y * Mass, D.R.z * Mass, 0.0f};
}
