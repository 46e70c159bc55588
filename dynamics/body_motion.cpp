// Rigid-body motion of kxdbody: the hand-over of forces at the end of the
// force pass, the explicit Euler step of a free body and the frame of a
// carried body.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "core/hooks.h"
#include "core/lanes.h"
#include "core/vector.h"
#include "dynamics/body.h"
#include "dynamics/compiled.h"
#include "dynamics/frame_transform.h"
#include "dynamics/instance.h"
#include "dynamics/joint.h"

namespace {

constexpr kxvector4r kZero = {0.0f, 0.0f, 0.0f, 0.0f};

// Four floats worked together: each lane takes the products and sums of
// one component in the order the scalar formulas have them, so the results
// are the same to the bit. The substeps' motion runs on every body in
// every substep, and the compiler does not find these lanes by itself
// across the frames' rows.
using lanes = kxlanes::f4;
using kxlanes::Add;
using kxlanes::Mul;
using kxlanes::Splat;
using kxlanes::Sub;

lanes Lanes(const kxvector4r& v) { return kxlanes::LoadU(&v.x); }
void Store(kxvector4r& v, lanes r) { kxlanes::StoreU(&v.x, r); }
// x, y and z kept and w made 0: a direction's w, whatever the lanes held.
lanes Direction(lanes a) { return kxlanes::XYZ(a); }
// a x b as kxvector4r::Cross forms it, w 0.
lanes Crossed(lanes a, lanes b) {
  using kxlanes::Shuffle;
  return Direction(Sub(Mul(Shuffle<1, 2, 0, 3>(a, a), Shuffle<2, 0, 1, 3>(b, b)),
                       Mul(Shuffle<2, 0, 1, 3>(a, a), Shuffle<1, 2, 0, 3>(b, b))));
}

// The centre of mass c (body axes) from R in the world: (0 + x c.x + y
// c.y) + z c.z for the axes x, y and z, summed as CentreOffset sums it.
lanes CentreFrom(lanes x, lanes y, lanes z, const kxvector4r& c) {
  return Add(Add(Add(Splat(0.0f), Mul(x, Splat(c.x))), Mul(y, Splat(c.y))), Mul(z, Splat(c.z)));
}

void AddTo(kxvector4r& dst, const kxvector4r& v, float s = 1.0f) {
  dst.x += s * v.x;
  dst.y += s * v.y;
  dst.z += s * v.z;
}

}  // namespace

kxdbody* kxdbody::RootCarrier() {
  kxdbody* b = this;
  // Prepare refuses cycles; the bound only guards a tree changed since.
  for (int i = 0; b->ParentBody && i < 1024; ++i) b = b->ParentBody;
  return b;
}

void kxdbody::AddForceAt(const kxvector4r& force, const kxvector4r& point) {
  // In lanes, each summing as the scalar form would; the w lanes keep what
  // they held.
  const lanes f = Lanes(force);
  kxlanes::StoreXYZ(&Force.x, Add(Lanes(Force), f));
  kxlanes::StoreXYZ(&Torque.x, Add(Lanes(Torque), Crossed(Sub(Lanes(point), Lanes(B.R)), f)));
}

kxvector4r kxdbody::PointVelocity(const kxvector4r& point) const {
  kxvector4r v = kxvector4ops::Cross(Omega, kxvector4ops::Difference3(point, B.R));
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
  // Not folded, as asked above: a carried body's loads go on as they stand.
  if (ParentBody && HasLoad()) HandOverToRoot();
}

void kxdbody::HandOver() {
  if (!ParentBody) return;  // FinishChange hands the totals over
  // Most bodies have handed everything over already when the driver asks
  // again; adding nothing would change nothing. The bits tell at once (a
  // negative zero goes the long way and adds nothing either).
  if (!HasLoad()) return;
  if (const kxdfold* fold = kxdcompiled::FoldOf(this)) {
    HandOverFolded(*fold);
    return;
  }
  HandOverToRoot();
}

void kxdbody::HandOverToRoot() {
  // A carried body's forces act on the free body that carries it (most
  // often its carrier itself); the root's w lanes keep what they held.
  kxdbody* root = ParentBody->ParentBody ? RootCarrier() : ParentBody;
  lanes force = Direction(Lanes(Force));
  Store(root->Force, Add(Lanes(root->Force), force));
  lanes torque = Add(Lanes(root->Torque), Direction(Lanes(Torque)));
  Store(root->Torque, Add(torque, Crossed(Sub(Lanes(B.R), Lanes(root->B.R)), force)));
  Force = Torque = kZero;
}

void kxdbody::HandOverFolded(const kxdfold& fold) {
  // A folded body's frame is not kept in the substeps: what a component
  // put on it goes on in its carrier's axes.
  kxdcarrierframe& carrier = *fold.carrier;
  carrier.AddLoad(carrier.ToBody(Force), fold.relative.R);
  kxvector4r t = carrier.ToBody(Torque);
  AddTo(carrier.torque, t);
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

bool kxdbody::FrameClear() const { return Instance && Instance->FrameClear; }

void kxdbody::WeighFolded(const kxdfold& fold) const {
  if (Mass == fold.weighed) return;
  float m = Mass - fold.weighed;
  kxdcarrierframe& carrier = *fold.carrier;
  const kxvector4r& p = fold.relative.R;
  carrier.foldedMass += m;
  carrier.foldedMoment = {carrier.foldedMoment.x + m * p.x, carrier.foldedMoment.y + m * p.y,
                          carrier.foldedMoment.z + m * p.z, 0.0f};
  fold.weighed = Mass;
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
    // In lanes, as CentreOffset, Cross and the negated sum form it (L's w
    // keeps Torque's, less a +0).
    change->P = Force;
    const lanes centre = CentreFrom(Lanes(B.X), Lanes(B.Y), Lanes(B.Z), SystemCentre);
    Store(change->L, Sub(Lanes(Torque), Crossed(centre, Lanes(Force))));
    change->D = kxmatrix{};
    change->B = D;
  }
  Force = Torque = kZero;
}

namespace {

// A free body's frame and momenta, and the motion they give.
struct state {
  lanes x, y, z, r;  // B's rows
  lanes p, l;        // P and L
  lanes omega, dx, dy, dz, dr;  // Omega and D's rows
};

float Dot3(lanes a, lanes b) {
  float q[4];
  kxlanes::StoreU(q, Mul(a, b));
  return (q[0] + q[1]) + q[2];
}

// (a.v, b.v, c.v) in x, y and z, each summed as Dot3 sums it.
lanes Dots(lanes a, lanes b, lanes c, lanes v) { return kxlanes::Dots3(a, b, c, v); }

lanes Row(const float* m, int i) { return kxlanes::LoadU(m + 4 * i); }

// Normalise3 on lanes: a vector without a usable length is left as it is.
lanes Normalised(lanes v) {
  float length = std::sqrt(Dot3(v, v));
  return length > 0.0f && std::isfinite(length) ? kxlanes::Div(v, Splat(length)) : v;
}

// Omega = A I^-1 A^T L with A's columns the body axes; I and the mass
// include the bodies the body carries. Each w_i's sum leaves out the 0 the
// scalar form starts from: a zero's sign cannot reach Omega, whose own sums
// start from +0. Inlined into the integration, the state stays in
// registers instead of going through memory twice.
[[gnu::always_inline]] inline void Derive(const kxdbody& b, state& s) {
  lanes lb = Dots(s.x, s.y, s.z, s.l);
  const float* inverse = b.SystemInertiaInv;
  lanes w = Dots(Row(inverse, 0), Row(inverse, 1), Row(inverse, 2), lb);
  using kxlanes::Broadcast;
  s.omega = Add(Add(Add(Splat(0.0f), Mul(s.x, Broadcast<0>(w))), Mul(s.y, Broadcast<1>(w))), Mul(s.z, Broadcast<2>(w)));
  s.dx = Crossed(s.omega, s.x);
  s.dy = Crossed(s.omega, s.y);
  s.dz = Crossed(s.omega, s.z);
  float inverseMass = b.SystemMass > 0.0f ? 1.0f / b.SystemMass : 0.0f;
  // P / M is the centre's velocity; R moves with it and turns about it.
  lanes centre = CentreFrom(s.x, s.y, s.z, b.SystemCentre);
  s.dr = Sub(Direction(Mul(s.p, Splat(inverseMass))), Crossed(s.omega, centre));
}

}  // namespace

void kxdbody::DeriveMotion() {
  state s;
  s.x = Lanes(B.X), s.y = Lanes(B.Y), s.z = Lanes(B.Z), s.p = Lanes(P), s.l = Lanes(L);
  Derive(*this, s);
  Store(Omega, s.omega);
  Store(D.X, s.dx);
  Store(D.Y, s.dy);
  Store(D.Z, s.dz);
  Store(D.R, s.dr);
}

void kxdbody::IntegrateFree(kxdintegrable* change, float dt) {
  // The twin is a clone of the same class.
  kxdbody* c = change && change->type == type ? static_cast<kxdbody*>(change) : As(change);
  if (!c) return;
  lanes step = Splat(dt);
  state s;
  s.p = Add(Lanes(P), Mul(step, Direction(Lanes(c->P))));
  s.l = Add(Lanes(L), Mul(step, Direction(Lanes(c->L))));
  // Gram-Schmidt keeps the axes a right-handed orthonormal set.
  s.x = Normalised(Direction(Add(Lanes(B.X), Mul(step, Lanes(c->B.X)))));
  s.y = Direction(Add(Lanes(B.Y), Mul(step, Lanes(c->B.Y))));
  s.y = Normalised(Add(s.y, Mul(Splat(-Dot3(s.y, s.x)), s.x)));
  s.z = Crossed(s.x, s.y);
  lanes r = Add(Lanes(B.R), Mul(step, Lanes(c->B.R)));
  s.r = kxlanes::WithW(r, 1.0f);
  Derive(*this, s);
  // Whether every element is finite: x - x is 0 for a finite x and NaN
  // otherwise, so one sum per lane tells.
  lanes sum = Splat(0.0f);
  for (lanes v : {s.x, s.y, s.z, s.r, s.p, s.l, s.dx, s.dy, s.dz, s.dr}) sum = Add(sum, Sub(v, v));
  if (kxlanes::Mask(kxlanes::Equal(sum, Splat(0.0f))) == 15u) {
    Store(B.X, s.x), Store(B.Y, s.y), Store(B.Z, s.z), Store(B.R, s.r);
    Store(P, s.p), Store(L, s.l);
    Store(Omega, s.omega);
    Store(D.X, s.dx), Store(D.Y, s.dy), Store(D.Z, s.dz), Store(D.R, s.dr);
    return;
  }
  // A state gone non-finite would be drawn and published as garbage: the
  // body stops where it last was valid and the aircraft counts as crashed.
  P = L = kZero;
  DeriveMotion();
  Held = 1;
  if (Instance) Instance->Crash = 1;
  kxcore::Log("kxdynamics:  body %s left the finite range; held\n", name.Text());
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

// Inlined into the follow pass: it is most of the pass.
[[gnu::always_inline]] inline void kxdbody::Place(const kxdbody& carrier, const kxmatrix& relative) {
  // A body turns with its carrier: D = Omega x B row by row, and the
  // carrier's D is Omega x its own rows, so the relative frame places D as
  // it places B (R's row adds the carrier's place and velocity). Both take
  // the same weights from the relative frame; its axes are directions (w 0)
  // and its R a point (w 1).
  lanes ax = Lanes(carrier.B.X), ay = Lanes(carrier.B.Y), az = Lanes(carrier.B.Z);
  lanes vx = Lanes(carrier.D.X), vy = Lanes(carrier.D.Y), vz = Lanes(carrier.D.Z);
  const kxvector4r* rows[4] = {&relative.X, &relative.Y, &relative.Z, &relative.R};
  kxvector4r* placed[4] = {&B.X, &B.Y, &B.Z, &B.R};
  kxvector4r* moving[4] = {&D.X, &D.Y, &D.Z, &D.R};
  lanes d;
  for (int k = 0; k < 4; ++k) {
    lanes r = Lanes(*rows[k]);
    lanes x = kxlanes::Broadcast<0>(r);
    lanes y = kxlanes::Broadcast<1>(r);
    lanes z = kxlanes::Broadcast<2>(r);
    lanes b = Add(Add(Mul(ax, x), Mul(ay, y)), Mul(az, z));
    d = Add(Add(Mul(vx, x), Mul(vy, y)), Mul(vz, z));
    if (k == 3) {
      b = Add(b, Lanes(carrier.B.R));
      d = Add(d, Lanes(carrier.D.R));
    }
    Store(*placed[k], b);
    Store(*moving[k], d);
  }
  Omega = carrier.Omega;
  Store(P, Direction(Mul(d, Splat(Mass))));
}

void kxdbody::FollowCarrier() {
  // A joint without a link turns nothing: the relative frame is placed as
  // it stands (a fixed landing gear's leg, every substep).
  if (Joint && Joint->Link) {
    FollowTurned();
  } else {
    Place(*ParentBody, Relative);
  }
}

namespace {

// The row Place makes of a relative point r from a carrier's frame F (B for
// the place, D for its velocity).
[[gnu::always_inline]] inline lanes PlacedPoint(const kxmatrix& F, lanes r) {
  lanes x = kxlanes::Broadcast<0>(r);
  lanes y = kxlanes::Broadcast<1>(r);
  lanes z = kxlanes::Broadcast<2>(r);
  lanes b = Add(Add(Mul(Lanes(F.X), x), Mul(Lanes(F.Y), y)), Mul(Lanes(F.Z), z));
  return Add(b, Lanes(F.R));
}

}  // namespace

void kxdbody::FollowCarrierOrigin() { Store(B.R, PlacedPoint(ParentBody->B, Lanes(Relative.R))); }

void kxdbody::FollowCarrierOriginAndVelocity() {
  const lanes r = Lanes(Relative.R);
  Store(B.R, PlacedPoint(ParentBody->B, r));
  Store(D.R, PlacedPoint(ParentBody->D, r));
}

void kxdbody::FollowForForcePass() {
  if (!Joint && Instance && Instance->FrameClear) {
    FollowCarrierOrigin();
  } else {
    FollowCarrier();
  }
}

void kxdbody::PlaceFolded(const kxdfold& fold) { Place(*fold.carrier->body, fold.relative); }

void kxdbody::FollowTurned() {
  kxmatrix turned;
  Joint->TurnRelative(Relative, turned);
  Place(*ParentBody, turned);
}
