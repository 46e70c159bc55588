#include "dynamics/wings/section_flow.h"

#include <algorithm>
#include <cmath>

#include "core/lanes.h"
#include "dynamics/body.h"
#include "dynamics/frame_transform.h"
#include "dynamics/instance.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/wing.h"

namespace kxdsectionflow {

namespace {

// The table's coefficients a share t of the way from entry k to k + 1.
kxdsectioncoefficients Entry(const kxdairfoil& airfoil, int k, float t) {
  const kxdairfoil::directionpair& e = airfoil.Direction[k];
  float u = 1.0f - t;
  return {e.at[0] * u + e.next[0] * t, e.at[1] * u + e.next[1] * t, e.at[2] * u + e.next[2] * t};
}

}  // namespace

kxdsectioncoefficients Lookup(const kxdairfoil* airfoil, float a, float b) {
  float x = DirectionIndex(a, b);
  if (!airfoil || x < 0.0f) return {};
  // The quadrant rules keep x within 100..1500; the clamp only guards the
  // table against rounding at the quadrant edges.
  int k = std::clamp(static_cast<int>(x), 0, kxdairfoil::kDirectionUsed - 2);
  return Entry(*airfoil, k, x - static_cast<float>(k));
}

kxvector4r PointFlow(const kxdbody* body, const kxvector4r& p, kxvector4r* world) {
  kxvector4r u = kxdframe::Transform(body->D, p);
  *world = kxdframe::Transform(body->B, p);
  kxvector4r air = kxdaircraftinstance::AirVelocityAt(body->Instance, *world);
  kxvector4r v;
  kxvector4r::Subtract(v, u, air);
  return v;
}

void SubtractWash(kxvector4r& v, const kxvector4r& wash, float share) {
  v.x -= share * wash.x;
  v.y -= share * wash.y;
  v.z -= share * wash.z;
  v.w -= share * wash.w;
}

float SpeedAndDirection(const kxvector4r& v, kxvector4r* d) {
  float speed = std::sqrt(kxvector4r::Dot(v, v));
  *d = {0.0f, 0.0f, 0.0f, 0.0f};
  if (std::isfinite(speed) && speed != 0.0f) {
    *d = v;
    *d *= 1.0f / speed;
  }
  return speed;
}

float InducedDrag(float cl, float aspectRatio) {
  if (!(aspectRatio > 0.0f) || !std::isfinite(aspectRatio)) return 0.0f;
  return (kInducedFactor * cl * cl) / (kInducedAspectFactor * aspectRatio);
}

void SectionForce(const kxdsectioncoefficients& k, float area, float chord, const kxvector4r& v, const kxvector4r& d,
                  float speed, const kxvector4r& n, float dn, float dc, kxvector4r* f, float* m) {
  float q = kHalfAirDensity * area;
  float lift = k.cl * q * speed * speed;
  kxvector4r l = {(n.x - dn * d.x) * lift, (n.y - dn * d.y) * lift, (n.z - dn * d.z) * lift,
                  (n.w - dn * d.w) * lift};
  if (dc < 0.0f) l *= -1.0f;
  float drag = -kHalfAirDensity * area * k.cd * speed;
  *m = q * chord * k.cm * speed * speed;
  *f = {drag * v.x + l.x, drag * v.y + l.y, drag * v.z + l.z, drag * v.w + l.w};
}

void AddSectionLoads(kxdbody* body, const kxdsectioncoefficients& k, float area, float chord, const kxvector4r& p,
                     const kxvector4r& v, const kxvector4r& d, float speed, const kxvector4r& n, float dn, float dc,
                     const kxvector4r& s) {
  kxvector4r f;
  float m;
  SectionForce(k, area, chord, v, d, speed, n, dn, dc, &f, &m);
  kxvector4r arm = p;
  arm.w = 0.0f;
  kxvector4r r = kxdframe::Transform(body->B, arm);
  kxvector4r::Add(body->Force, body->Force, f);
  kxvector4r rf;
  kxvector4r::Cross(rf, r, f);
  body->Torque.x += rf.x - m * s.x;
  body->Torque.y += rf.y - m * s.y;
  body->Torque.z += rf.z - m * s.z;
  body->Torque.w += -m * s.w;
}

kxvector4r ownframe::Turned(const kxvector4r& v) const {
  kxvector4r out;
  out = kxdframe::Transform(body->B, v);
  return out;
}

// ---- the folded rows, four at a time
//
// A substep works every row of a segment in one pass over its groups of
// four (kxdrowgroup), each field one SSE register: the flow, wash, speed
// and direction, the table read, the corrections and the loads, summed in
// row order. Written in explicit lanes (core/lanes.h) rather than left to the
// vectoriser: it would not take the roots, the choices or the table read
// into one loop, and with a wing's few rows separate passes spent most of
// their instructions on set-up and remainders. Every lane does what the
// own-frame pass does for one section, operation for operation (no fused
// multiply-add on this target), so the results are the same.

namespace {

using lanes = kxlanes::f4;
using namespace kxlanes;

// All bits set where v is finite (a NaN compares false).
KXD_ROW_INLINE lanes Finite(lanes v) { return LessEq(Abs(v), Splat(FLT_MAX)); }
// (a x + b y) + c z, in that order.
KXD_ROW_INLINE lanes Dot(lanes a, lanes b, lanes c, lanes x, lanes y, lanes z) {
  return Add(Add(Mul(a, x), Mul(b, y)), Mul(c, z));
}

// DirectionIndex, lane by lane.
KXD_ROW_INLINE lanes DirectionIndices(lanes a, lanes b) {
  const lanes zero = Zero();
  const lanes fa = Abs(a), fb = Abs(b);
  const lanes chordwise = Less(fa, fb);
  const lanes num = Select(chordwise, a, Negated(b));
  const lanes den = Select(chordwise, b, a);
  // 200 ahead (b > 0), 1000 behind, 600 below (a > 0), 1400 above: 1400
  // less 400 for the chordwise quarters, less 800 where the denominator is
  // positive (whole numbers, so exact).
  const lanes centre = Sub(Sub(Splat(1400.0f), And(chordwise, Splat(400.0f))),
                           And(Greater(den, zero), Splat(800.0f)));
  const lanes some = And(And(NotEqual(fa, fb), LessEq(fa, Splat(FLT_MAX))),
                                LessEq(fb, Splat(FLT_MAX)));
  const lanes index = Add(Mul(Div(num, Select(some, den, Splat(1.0f))), Splat(100.0f)), centre);
  return Select(some, index, Splat(-1.0f));
}

// What a row without a table entry reads: all zero.
alignas(16) const kxdairfoil::directionpair kNoEntry = {};

// Works rows of one group and adds their loads to the sums: acc holds
// (Fx, Fy, Fz, Tx), rest (Ty, Tz, -, -).
KXD_ROW_INLINE void WorkGroup(const kxdrowgroup& g, const lanes (&M)[9], lanes driftX, lanes driftY, lanes driftZ,
                              lanes washX, lanes washY, lanes washZ, lanes& acc, lanes& rest) {
  const lanes zero = Zero(), one = Splat(1.0f);
  const lanes px = Load(g.px), py = Load(g.py), pz = Load(g.pz);
  // The flow of the point, the carrier's drift and turn, less its share of
  // the wash where it has one.
  lanes vx = Add(Add(Add(driftX, Mul(M[0], px)), Mul(M[1], py)), Mul(M[2], pz));
  lanes vy = Add(Add(Add(driftY, Mul(M[3], px)), Mul(M[4], py)), Mul(M[5], pz));
  lanes vz = Add(Add(Add(driftZ, Mul(M[6], px)), Mul(M[7], py)), Mul(M[8], pz));
  // Rows without a share take off an exact zero (whatever the wash).
  const lanes share = Load(g.washShare);
  const lanes washed = NotEqual(share, zero);
  vx = Sub(vx, And(washed, Mul(share, washX)));
  vy = Sub(vy, And(washed, Mul(share, washY)));
  vz = Sub(vz, And(washed, Mul(share, washZ)));
  // Speed and direction; still air and a broken flow give none.
  const lanes speed = Sqrt(Add(Add(Mul(vx, vx), Mul(vy, vy)), Mul(vz, vz)));
  const lanes finite = Finite(speed);
  const lanes some = And(finite, NotEqual(speed, zero));
  // The lanes without a direction divide 1 by 1 (speed 0) or by what is
  // not finite, so no division by zero; the mask drops what they give.
  const lanes inverse = And(some, Div(one, Add(speed, AndNot(some, one))));
  const lanes dx = Mul(vx, inverse), dy = Mul(vy, inverse), dz = Mul(vz, inverse);
  const lanes dc = Dot(Load(g.cx), Load(g.cy), Load(g.cz), dx, dy, dz);
  const lanes ds = Dot(Load(g.sx), Load(g.sy), Load(g.sz), dx, dy, dz);
  const lanes dn = Dot(Load(g.nx), Load(g.ny), Load(g.nz), dx, dy, dz);
  const lanes shift = Dot(Load(g.alpha[0]), Load(g.alpha[1]), Load(g.alpha[2]), Load(g.deflection[0]),
                          Load(g.deflection[1]), Load(g.deflection[2]));
  // The table entry and weight of the direction; the quadrant rules keep
  // the index within 100..1500, the bound only guards the table against
  // rounding at the quadrant edges.
  constexpr float kLastEntry = static_cast<float>(kxdairfoil::kDirectionUsed - 2);
  const lanes index = DirectionIndices(Negated(Sub(dn, shift)), dc);
  const lanes found = GreaterEq(index, zero);
  const i4 entry = Truncated(And(found, Min(index, Splat(kLastEntry))));
  const lanes weight = Sub(index, ToFloats(entry));
  // A broken motion or air field gives the row no force at all.
  const lanes active = And(NotEqual(Load(g.foiled), zero), finite);
  const unsigned read = Mask(And(active, found));
  int entries[kxdrowgroup::kLanes];
  StoreInts(entries, entry);
  lanes at[kxdrowgroup::kLanes], next[kxdrowgroup::kLanes];
  for (int lane = 0; lane < kxdrowgroup::kLanes; ++lane) {
    const kxdairfoil::directionpair& e =
        read & (1 << lane) ? g.airfoil[lane]->Direction[entries[lane]] : kNoEntry;
    at[lane] = LoadU(e.at);
    next[lane] = LoadU(e.next);
  }
  Transpose(at[0], at[1], at[2], at[3]);
  Transpose(next[0], next[1], next[2], next[3]);
  const lanes u = Sub(one, weight);
  const lanes tableCl = Add(Mul(at[0], u), Mul(next[0], weight));
  const lanes tableCd = Add(Mul(at[1], u), Mul(next[1], weight));
  const lanes tableCm = Add(Mul(at[2], u), Mul(next[2], weight));
  // The row's fields are read again below rather than held: with sixteen
  // registers, holding them costs more (stores and loads of spilled values)
  // than reading them. An empty statement that may change memory keeps the
  // compiler from holding the values read above.
  asm volatile("" ::: "memory");
  const lanes x0 = Load(g.deflection[0]), x1 = Load(g.deflection[1]), x2 = Load(g.deflection[2]);
  const lanes t = Load(g.deployment);
  // Corrected, lane by lane.
  const lanes addCl = Dot(Load(g.surfaceCl[0]), Load(g.surfaceCl[1]), Load(g.surfaceCl[2]), x0, x1, x2);
  const lanes addCd =
      Add(Add(Add(Mul(Mul(Load(g.surfaceCd[0]), x0), x0), Mul(Mul(Load(g.surfaceCd[1]), x1), x1)),
              Mul(Mul(Load(g.surfaceCd[2]), x2), x2)),
          Mul(Load(g.brakeCd), t));
  const lanes addCm = Dot(Load(g.surfaceCm[0]), Load(g.surfaceCm[1]), Load(g.surfaceCm[2]), x0, x1, x2);
  const lanes scale = Sub(one, Mul(Load(g.brakeCl), t));
  lanes cl = Mul(Add(tableCl, addCl), scale);
  const lanes cm = Mul(Add(tableCm, addCm), scale);
  lanes cd = Add(tableCd, addCd);
  cl = Mul(cl, Sub(one, Mul(Mul(Load(g.sideslip), ds), ds)));
  const lanes root = Max(Sub(one, Mul(Abs(ds), Load(g.rootLoss))), zero);
  cl = Mul(cl, Select(Less(Mul(Load(g.rootSide), ds), zero), root, one));
  const lanes ahead = NotEqual(Load(g.aheadOnly), zero);
  const lanes withInduced =
      Mul(Add(cd, Mul(Mul(cl, cl), Load(g.induced))), Select(ahead, Sub(one, Mul(ds, ds)), one));
  cd = Select(AndNot(Greater(dc, zero), ahead), cd, withInduced);
  const lanes ax = Load(g.px), ay = Load(g.py), az = Load(g.pz);
  const lanes sx = Load(g.sx), sy = Load(g.sy), sz = Load(g.sz);
  const lanes nx = Load(g.nx), ny = Load(g.ny), nz = Load(g.nz);
  // The loads: lift across the flow on the normal's side, turned over for a
  // flow from behind; drag against the flow; the moment about the span.
  const lanes lift = Mul(Mul(Mul(cl, Load(g.liftFactor)), speed), speed);
  // Turned over: the sign flipped, as a product with -1 would.
  const lanes turnOver = And(Less(dc, zero), Splat(-0.0f));
  const lanes lx = Xor(Mul(Sub(nx, Mul(dn, dx)), lift), turnOver);
  const lanes ly = Xor(Mul(Sub(ny, Mul(dn, dy)), lift), turnOver);
  const lanes lz = Xor(Mul(Sub(nz, Mul(dn, dz)), lift), turnOver);
  const lanes drag = Mul(Mul(Load(g.dragFactor), cd), speed);
  const lanes m = Mul(Mul(Mul(Load(g.momentFactor), cm), speed), speed);
  // Rows without a load add zeros.
  const lanes fx = And(active, Add(Mul(drag, vx), lx));
  const lanes fy = And(active, Add(Mul(drag, vy), ly));
  const lanes fz = And(active, Add(Mul(drag, vz), lz));
  lanes tx = And(active, Sub(Sub(Mul(ay, fz), Mul(az, fy)), Mul(m, sx)));
  const lanes ty = And(active, Sub(Sub(Mul(az, fx), Mul(ax, fz)), Mul(m, sy)));
  const lanes tz = And(active, Sub(Sub(Mul(ax, fy), Mul(ay, fx)), Mul(m, sz)));
  // The sums in row order: the lanes turned into rows, then added one by one.
  lanes rx = fx, ry = fy, rz = fz;
  Transpose(rx, ry, rz, tx);
  acc = Add(Add(Add(Add(acc, rx), ry), rz), tx);
  const lanes low = UnpackLow(ty, tz), high = UnpackHigh(ty, tz);
  rest = Add(Add(Add(Add(rest, low), HighLow(low, low)), high), HighLow(high, high));
}

}  // namespace

void RunSegment(kxdsectionsegment& segment) {
  kxdcarrierframe& carrier = *segment.folds.front()->carrier;
  if (!segment.packed) {
    for (kxdfold* fold : segment.folds) {
      if (fold->rowsSet) continue;
      static_cast<kxdwing*>(fold->body)->FoldedRows(*fold, carrier.rows);
      fold->rowsSet = true;
    }
    segment.Pack(carrier.rows);
    // The products SectionForce starts its loads with, made once.
    for (kxdrowgroup& g : segment.groups) {
      for (int lane = 0; lane < kxdrowgroup::kLanes; ++lane) {
        const float q = kHalfAirDensity * g.area[lane];
        g.liftFactor[lane] = q;
        g.dragFactor[lane] = -kHalfAirDensity * g.area[lane];
        g.momentFactor[lane] = q * g.chord[lane];
      }
    }
  }
  segment.ReadLinks();
  // The wash in the carrier's axes; a wing outside an aircraft feels none.
  const kxdaircraftinstance* instance = segment.folds.front()->body->Instance;
  kxvector4r wash = {0.0f, 0.0f, 0.0f, 0.0f};
  if (instance) {
    // ToBody, written out: called, it cost more than it does.
    const kxmatrix& B = carrier.body->B;
    const kxvector4r& w = instance->Slipstream;
    wash = {kxvector4r::Dot3(B.X, w), kxvector4r::Dot3(B.Y, w), kxvector4r::Dot3(B.Z, w), 0.0f};
  }
  lanes M[9];
  for (int i = 0; i < 3; ++i) {
    const lanes row = LoadU(carrier.turn + 4 * i);
    M[3 * i] = Broadcast<0>(row);
    M[3 * i + 1] = Broadcast<1>(row);
    M[3 * i + 2] = Broadcast<2>(row);
  }
  const lanes driftX = Splat(carrier.drift.x), driftY = Splat(carrier.drift.y), driftZ = Splat(carrier.drift.z);
  const lanes washX = Splat(wash.x), washY = Splat(wash.y), washZ = Splat(wash.z);
  lanes acc = Set(carrier.force.x, carrier.force.y, carrier.force.z, carrier.torque.x);
  lanes rest = Set(carrier.torque.y, carrier.torque.z, 0.0f, 0.0f);
  for (const kxdrowgroup& g : segment.groups) WorkGroup(g, M, driftX, driftY, driftZ, washX, washY, washZ, acc, rest);
  alignas(16) float sums[8];
  Store(sums, acc);
  Store(sums + 4, rest);
  carrier.force.x = sums[0], carrier.force.y = sums[1], carrier.force.z = sums[2];
  carrier.torque.x = sums[3], carrier.torque.y = sums[4], carrier.torque.z = sums[5];
}

}  // namespace kxdsectionflow
