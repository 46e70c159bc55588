// The folded rows' pass (RunSegment): a segment's sections four at a time.
//
// A substep works every row of a segment in one pass over its groups of
// four (kxdrowgroup), each field one SSE register: the flow, wash, speed
// and direction, the table read, the corrections and the loads. Written in
// explicit lanes (core/lanes.h) rather than left to the vectoriser: it
// would not take the roots, the choices or the table read into one loop,
// and with a wing's few rows separate passes spent most of their
// instructions on set-up and remainders.
//
// Each lane works the one-section formula of the own-frame pass, with
// liberties that change only roundings: sideslip ds^2 is taken as
// sideslip (ds ds); the loads use the speed's square as summed, not the
// root's; lift and drag are gathered along the direction and the normal;
// and the loads are summed lane by lane over the groups, the four lane
// sums added at the end, rather than row by row. A row without a load (no
// airfoil, still air, a broken motion or air field) is worked like the
// others with no flow: testing for it first would cost every row more
// than the work it saves.
//
// A segment takes one of eight forms of the loop, chosen by what its rows
// have (moving surfaces beyond the first or an airbrake, wash) and whether
// the air moves the flow through the carrier's frame beyond its rotation.
#include <bit>
#include <cfloat>
#include <cstdint>

#include "core/lanes.h"
#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/section_flow.h"
#include "dynamics/wings/wing.h"

namespace kxdsectionflow {

namespace {

using lanes = kxlanes::f4;
using namespace kxlanes;

// What a lane without an airfoil reads: a record of zeros.
alignas(16) const kxdairfoil::directionpair kNoEntry = {};

// The carrier's motion and the wash for one substep, as every group takes
// them: a point p moves through the air at drift + M p, less its share of
// the wash.
struct flowframe {
  lanes M[9];
  lanes driftX, driftY, driftZ;
  lanes washX, washY, washZ;
};

// The loads of a segment's rows so far, lane k of each the sum of the rows
// worked in lane k.
struct lanesums {
  lanes fx, fy, fz, tx, ty, tz;
};

// (a x + b y) + c z, in that order.
KXD_ROW_INLINE lanes Dot(lanes a, lanes b, lanes c, lanes x, lanes y, lanes z) {
  return Add(Add(Mul(a, x), Mul(b, y)), Mul(c, z));
}

// DirectionIndex, lane by lane, for finite parts: index holds the index
// where some (|a| != |b|) is set, where DirectionIndex does not give -1.
struct direction {
  lanes index, some;
};
KXD_ROW_INLINE direction DirectionIndices(lanes a, lanes b) {
  const lanes fa = Abs(a), fb = Abs(b);
  const lanes chordwise = Less(fa, fb);
  // num = chordwise ? a : -b and den = chordwise ? b : a, as the parts
  // swapped where chordwise and the sign of the other quarters flipped.
  const lanes swap = And(chordwise, Xor(a, b));
  const lanes den = Xor(a, swap);
  const lanes num = Xor(Xor(b, swap), AndNot(chordwise, Splat(-0.0f)));
  // 200 ahead (b > 0), 1000 behind, 600 below (a > 0), 1400 above: 1400
  // less 400 for the chordwise quarters, less 800 where the denominator is
  // positive (whole numbers, so exact).
  const lanes centre =
      Sub(Sub(Splat(1400.0f), And(chordwise, Splat(400.0f))), And(Greater(den, Zero()), Splat(800.0f)));
  // On a diagonal the quotient may be a NaN (0 / 0); some drops it.
  return {Add(Mul(Div(num, den), Splat(100.0f)), centre), NotEqual(fa, fb)};
}

// The shift of the normal flow and the increments of the moving surfaces
// and the airbrake for a group's deflections, cl and cm scaled by scale.
struct surfaceeffects {
  lanes shift, addCl, addCd, addCm, scale;
};

// Every slot and the airbrake.
KXD_ROW_INLINE surfaceeffects AllSurfaces(const kxdrowgroup& g, lanes one) {
  const lanes x0 = Load(g.deflection[0]), x1 = Load(g.deflection[1]), x2 = Load(g.deflection[2]);
  const lanes t = Load(g.deployment);
  return {Dot(Load(g.alpha[0]), Load(g.alpha[1]), Load(g.alpha[2]), x0, x1, x2),
          Dot(Load(g.surfaceCl[0]), Load(g.surfaceCl[1]), Load(g.surfaceCl[2]), x0, x1, x2),
          Add(Add(Add(Mul(Mul(Load(g.surfaceCd[0]), x0), x0), Mul(Mul(Load(g.surfaceCd[1]), x1), x1)),
                  Mul(Mul(Load(g.surfaceCd[2]), x2), x2)),
              Mul(Load(g.brakeCd), t)),
          Dot(Load(g.surfaceCm[0]), Load(g.surfaceCm[1]), Load(g.surfaceCm[2]), x0, x1, x2),
          Sub(one, Mul(Load(g.brakeCl), t))};
}

// The first slot alone, for segments with at most one moving surface a
// row and no airbrake: the terms of the others are zeros, so the sums and
// the scale by 1 change nothing but a zero's sign.
KXD_ROW_INLINE surfaceeffects FirstSurface(const kxdrowgroup& g, lanes one) {
  const lanes x0 = Load(g.deflection[0]);
  return {Mul(Load(g.alpha[0]), x0), Mul(Load(g.surfaceCl[0]), x0), Mul(Mul(Load(g.surfaceCd[0]), x0), x0),
          Mul(Load(g.surfaceCm[0]), x0), one};
}

// Works the rows of one group and adds their loads to the lane sums.
// kAllSurfaces: the group's rows have more than one moving surface or an
// airbrake; kWashed: some of them take a share of the wash; kDiagonal: the
// turn has a diagonal (in still air it is the carrier's rotation alone,
// whose diagonal is zeros: leaving out their products changes at most a
// zero's sign).
template <bool kAllSurfaces, bool kWashed, bool kDiagonal>
KXD_ROW_INLINE void WorkGroup(const kxdrowgroup& g, const flowframe& f, lanesums& sum) {
  const lanes zero = Zero(), one = Splat(1.0f);
  const lanes px = Load(g.px), py = Load(g.py), pz = Load(g.pz);
  // The flow of the point, the carrier's drift and turn, less its share of
  // the wash where it has one: rows without a share take off nothing,
  // whatever the wash.
  lanes vx = f.driftX, vy = f.driftY, vz = f.driftZ;
  if constexpr (kDiagonal) vx = Add(vx, Mul(f.M[0], px));
  vx = Add(Add(vx, Mul(f.M[1], py)), Mul(f.M[2], pz));
  vy = Add(vy, Mul(f.M[3], px));
  if constexpr (kDiagonal) vy = Add(vy, Mul(f.M[4], py));
  vy = Add(vy, Mul(f.M[5], pz));
  vz = Add(Add(vz, Mul(f.M[6], px)), Mul(f.M[7], py));
  if constexpr (kDiagonal) vz = Add(vz, Mul(f.M[8], pz));
  if constexpr (kWashed) {
    const lanes share = Load(g.washShare), washed = LoadMask(g.washed);
    vx = Sub(vx, And(washed, Mul(share, f.washX)));
    vy = Sub(vy, And(washed, Mul(share, f.washY)));
    vz = Sub(vz, And(washed, Mul(share, f.washZ)));
  }
  // Still air has no direction, and a broken flow (a speed that is not
  // finite, or its square) gives no load at all: the lanes of either, and
  // those without an airfoil, go on with no flow (a direction and speed of
  // zero), which makes every load below a product with a zero.
  lanes squared = Add(Add(Mul(vx, vx), Mul(vy, vy)), Mul(vz, vz));  // speed^2
  const lanes active = And(LoadMask(g.foiled), And(Greater(squared, zero), LessEq(squared, Splat(FLT_MAX))));
  const lanes inverse = Div(one, Sqrt(squared));
  squared = And(active, squared);
  const lanes dx = And(active, Mul(vx, inverse)), dy = And(active, Mul(vy, inverse)),
              dz = And(active, Mul(vz, inverse));
  const lanes dc = Dot(Load(g.cx), Load(g.cy), Load(g.cz), dx, dy, dz);
  const lanes ds = Dot(Load(g.sx), Load(g.sy), Load(g.sz), dx, dy, dz);
  const lanes dn = Dot(Load(g.nx), Load(g.ny), Load(g.nz), dx, dy, dz);
  const surfaceeffects e = kAllSurfaces ? AllSurfaces(g, one) : FirstSurface(g, one);
  // The table entry and weight of the direction (-(dn - shift) is
  // shift - dn, a zero's sign aside, which the index does not read); the
  // quadrant rules keep the index within 100..1500, the bound only guards
  // the table against rounding at the quadrant edges. A lane that reads no
  // table reads its first record with both weights 0; one without an
  // airfoil reads no other (its record of zeros is alone).
  constexpr float kLastEntry = static_cast<float>(kxdairfoil::kDirectionUsed - 2);
  const direction dir = DirectionIndices(Sub(e.shift, dn), dc);
  const lanes found = And(LoadMask(g.foiled), dir.some);
  const i4 entry = Truncated(And(found, Min(dir.index, Splat(kLastEntry))));
  const lanes weight = And(found, Sub(dir.index, ToFloats(entry)));
  const lanes u = And(found, Sub(one, weight));
  alignas(16) int offsets[kxdrowgroup::kLanes];
  StoreInts(offsets, ShiftedLeft<3>(entry));  // eight floats a record
  lanes at[kxdrowgroup::kLanes], next[kxdrowgroup::kLanes];
  for (int lane = 0; lane < kxdrowgroup::kLanes; ++lane) {
    const float* e = g.table[lane] + offsets[lane];
    at[lane] = LoadU(e);
    next[lane] = LoadU(e + 4);
  }
  Transpose(at[0], at[1], at[2], at[3]);
  Transpose(next[0], next[1], next[2], next[3]);
  const lanes tableCl = Add(Mul(at[0], u), Mul(next[0], weight));
  const lanes tableCd = Add(Mul(at[1], u), Mul(next[1], weight));
  const lanes tableCm = Add(Mul(at[2], u), Mul(next[2], weight));
  // The coefficients corrected by the surfaces, the airbrake and the
  // row's factors.
  const lanes ds2 = Mul(ds, ds);
  lanes cl = Add(tableCl, e.addCl), cm = Add(tableCm, e.addCm);
  if constexpr (kAllSurfaces) cl = Mul(cl, e.scale), cm = Mul(cm, e.scale);
  lanes cd = Add(tableCd, e.addCd);
  cl = Mul(cl, Sub(one, Mul(Load(g.sideslip), ds2)));
  // The root loss where rootSide ds < 0: max(1 - |ds| rootLoss, 0), and 1
  // (max(1 - 0, 0)) elsewhere.
  const lanes rootward = Less(Mul(Load(g.rootSide), ds), zero);
  cl = Mul(cl, Max(Sub(one, And(rootward, Mul(Abs(ds), Load(g.rootLoss)))), zero));
  const lanes ahead = LoadMask(g.aheadOnly);
  const lanes withInduced = Mul(Add(cd, Mul(Mul(cl, cl), Load(g.induced))), Sub(one, And(ahead, ds2)));
  cd = Select(AndNot(Greater(dc, zero), ahead), cd, withInduced);
  // The loads: lift across the flow on the normal's side, turned over for a
  // flow from behind (the sign flipped, as a product with -1 would); drag
  // against the flow; the moment about the span. Lift l (n - dn d) and drag
  // D d gathered as (D - dn l) d + l n, so the flow itself is no longer
  // needed.
  const lanes turnOver = And(Less(dc, zero), Splat(-0.0f));
  const lanes lift = Xor(Mul(Mul(cl, Load(g.liftFactor)), squared), turnOver);
  const lanes along = Sub(Mul(Mul(Load(g.dragFactor), cd), squared), Mul(dn, lift));
  const lanes m = Mul(Mul(Load(g.momentFactor), cm), squared);
  const lanes fx = Add(Mul(along, dx), Mul(Load(g.nx), lift));
  const lanes fy = Add(Mul(along, dy), Mul(Load(g.ny), lift));
  const lanes fz = Add(Mul(along, dz), Mul(Load(g.nz), lift));
  sum.fx = Add(sum.fx, fx);
  sum.fy = Add(sum.fy, fy);
  sum.fz = Add(sum.fz, fz);
  sum.tx = Add(sum.tx, Sub(Sub(Mul(py, fz), Mul(pz, fy)), Mul(m, Load(g.sx))));
  sum.ty = Add(sum.ty, Sub(Sub(Mul(pz, fx), Mul(px, fz)), Mul(m, Load(g.sy))));
  sum.tz = Add(sum.tz, Sub(Sub(Mul(px, fy), Mul(py, fx)), Mul(m, Load(g.sz))));
}

// The rows set by their wings, packed, and what the loop reads made once.
// Out of line: inlined, its calls would make every substep's pass save
// and restore registers.
[[gnu::noinline]] void Prepare(kxdsectionsegment& segment, kxdcarrierframe& carrier) {
  for (kxdfold* fold : segment.folds) {
    if (fold->rowsSet) continue;
    static_cast<kxdwing*>(fold->body)->FoldedRows(*fold, carrier.rows);
    fold->rowsSet = true;
  }
  segment.Pack(carrier.rows);
  for (kxdrowgroup& g : segment.groups) {
    for (int lane = 0; lane < kxdrowgroup::kLanes; ++lane) {
      // The products SectionForce starts its loads with.
      const float q = kHalfAirDensity * g.area[lane];
      g.liftFactor[lane] = q;
      g.dragFactor[lane] = -kHalfAirDensity * g.area[lane];
      g.momentFactor[lane] = q * g.chord[lane];
      g.table[lane] = g.airfoil[lane] ? g.airfoil[lane]->Direction[0].at : kNoEntry.at;
    }
  }
}

// The substep's flow frame: the carrier's drift and turn, and the wash in
// the carrier's axes (none for a wing outside an aircraft).
flowframe Frame(const kxdcarrierframe& carrier, const kxdaircraftinstance* instance) {
  flowframe f;
  for (int i = 0; i < 3; ++i) {
    const lanes row = LoadU(carrier.turn + 4 * i);
    f.M[3 * i] = Broadcast<0>(row);
    f.M[3 * i + 1] = Broadcast<1>(row);
    f.M[3 * i + 2] = Broadcast<2>(row);
  }
  f.driftX = Splat(carrier.drift.x), f.driftY = Splat(carrier.drift.y), f.driftZ = Splat(carrier.drift.z);
  kxvector4r wash = {0.0f, 0.0f, 0.0f, 0.0f};
  if (instance) {
    // ToBody, written out: called, it cost more than it does.
    const kxmatrix& B = carrier.body->B;
    const kxvector4r& w = instance->Slipstream;
    wash = {kxvector4r::Dot3(B.X, w), kxvector4r::Dot3(B.Y, w), kxvector4r::Dot3(B.Z, w), 0.0f};
  }
  f.washX = Splat(wash.x), f.washY = Splat(wash.y), f.washZ = Splat(wash.z);
  return f;
}

// The lanes of x, y and z each added across, and the three totals added to
// v's x, y and z (its w plus -0, which leaves it as it is).
void AddSums(lanes x, lanes y, lanes z, kxvector4r& v) {
  const lanes w = Splat(-0.0f);
  // (x0 + x2, y0 + y2, x1 + x3, y1 + y3) and the same of z and w; then
  // the halves added.
  const lanes xy = Add(UnpackLow(x, y), UnpackHigh(x, y));
  const lanes zw = Add(UnpackLow(z, w), UnpackHigh(z, w));
  const lanes total = Add(Shuffle<0, 1, 0, 1>(xy, zw), Shuffle<2, 3, 2, 3>(xy, zw));
  StoreU(&v.x, Add(LoadU(&v.x), total));
}

// Works a segment's groups: the flow frame made, the rows' loads summed
// lane by lane (held here rather than in memory the compiler cannot keep
// apart from the groups), then added across onto the carrier's.
template <bool kAllSurfaces, bool kWashed, bool kDiagonal>
[[gnu::noinline]] void Work(const kxdsectionsegment& segment, kxdcarrierframe& carrier) {
  // Without a row that takes wash the wash is never read.
  const flowframe f = Frame(carrier, kWashed ? segment.folds.front()->body->Instance : nullptr);
  lanesums sum = {Zero(), Zero(), Zero(), Zero(), Zero(), Zero()};
  for (const kxdrowgroup& g : segment.groups) WorkGroup<kAllSurfaces, kWashed, kDiagonal>(g, f, sum);
  AddSums(sum.fx, sum.fy, sum.fz, carrier.force);
  AddSums(sum.tx, sum.ty, sum.tz, carrier.torque);
}

}  // namespace

void RunSegment(kxdsectionsegment& segment) {
  kxdcarrierframe& carrier = *segment.folds.front()->carrier;
  if (!segment.packed) Prepare(segment, carrier);
  segment.ReadLinks();
  // The forms of the loop, by what the rows and the carrier's turn have:
  // moving surfaces beyond the first or an airbrake (4), wash (2), a
  // diagonal (1).
  using form = void (*)(const kxdsectionsegment&, kxdcarrierframe&);
  static constexpr form kForms[8] = {
      Work<false, false, false>, Work<false, false, true>, Work<false, true, false>, Work<false, true, true>,
      Work<true, false, false>,  Work<true, false, true>,  Work<true, true, false>,  Work<true, true, true>};
  const bool all = segment.surfaces > 1 || !segment.brakeReads.empty();
  // A diagonal element other than a zero of either sign, tested on the
  // bits (cheaper than three float comparisons, NaNs included).
  const float* turn = carrier.turn;
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(turn[0]) | std::bit_cast<std::uint32_t>(turn[5]) |
                             std::bit_cast<std::uint32_t>(turn[10]);
  const bool diagonal = (bits & 0x7fffffffu) != 0;
  kForms[(all ? 4 : 0) + (segment.washed ? 2 : 0) + (diagonal ? 1 : 0)](segment, carrier);
}

}  // namespace kxdsectionflow
