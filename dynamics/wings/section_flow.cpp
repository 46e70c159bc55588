#include "dynamics/wings/section_flow.h"

#include <algorithm>
#include <cmath>

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
  return (kInducedFactor * cl * cl) / (kPi * aspectRatio);
}

void SectionForce(const kxdsectioncoefficients& k, float area, float chord, const kxvector4r& v, const kxvector4r& d,
                  float speed, const kxvector4r& n, float dn, float dc, kxvector4r* f, float* m) {
  float q = kHalfDensity * area;
  float lift = k.cl * q * speed * speed;
  kxvector4r l = {(n.x - dn * d.x) * lift, (n.y - dn * d.y) * lift, (n.z - dn * d.z) * lift,
                  (n.w - dn * d.w) * lift};
  if (dc < 0.0f) l *= -1.0f;
  float drag = -kHalfDensity * area * k.cd * speed;
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

namespace {

// Takes the wash off the rows of a segment's wings: each wing's rows their
// share of its aircraft's wash (carrier axes).
void SubtractWashes(const kxdsectionsegment& segment, kxdsectionrows& rows) {
  const kxdcarrierframe& carrier = *segment.folds.front()->carrier;
  const kxdaircraftinstance* washed = nullptr;
  kxvector4r wash = {0.0f, 0.0f, 0.0f, 0.0f};
  bool taken = false;
  // Restricted pointers: the flow's stores cannot be taken to change the
  // shares or the wash.
  const float* __restrict shares = rows.washShare.data();
  float* __restrict vx = rows.vx.data();
  float* __restrict vy = rows.vy.data();
  float* __restrict vz = rows.vz.data();
  for (const kxdfold* fold : segment.folds) {
    const kxdaircraftinstance* instance = fold->body->Instance;
    if (!taken || instance != washed) {
      // A wing outside an aircraft feels no wash.
      wash = carrier.ToBody(instance ? instance->Slipstream : kxvector4r{0.0f, 0.0f, 0.0f, 0.0f});
      washed = instance;
      taken = true;
    }
    const float wx = wash.x, wy = wash.y, wz = wash.z;
    for (int r = fold->firstRow; r < fold->firstRow + fold->sections; ++r) {
      const float share = shares[r];
      if (share == 0.0f) continue;
      vx[r] -= share * wx;
      vy[r] -= share * wy;
      vz[r] -= share * wz;
    }
  }
}

// The loops over the rows below run several rows at a time (gcc) when a
// choice between two values may work both out, as the setting here allows
// (it changes no result); it is the functions' own, since link-time
// optimisation keeps the strictest of every file's command line. The
// helpers they call are builtins or always inlined, and the rows' arrays
// never overlap.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC push_options
#pragma GCC optimize("no-trapping-math")
#define KXD_ROWS_APART _Pragma("GCC ivdep")
#else
#define KXD_ROWS_APART
#endif

// Speeds, directions, their parts and the direction's table entry of rows
// [first, first + count).
void Directions(kxdsectionrows& rows, int first, int count) {
  // Restricted pointers: the stores below cannot alias the inputs, so the
  // loop runs several rows at a time.
  const float* __restrict ux = rows.vx.data() + first;
  const float* __restrict uy = rows.vy.data() + first;
  const float* __restrict uz = rows.vz.data() + first;
  const float* __restrict ax = rows.cx.data() + first;
  const float* __restrict ay = rows.cy.data() + first;
  const float* __restrict az = rows.cz.data() + first;
  const float* __restrict bx = rows.sx.data() + first;
  const float* __restrict by = rows.sy.data() + first;
  const float* __restrict bz = rows.sz.data() + first;
  const float* __restrict ex = rows.nx.data() + first;
  const float* __restrict ey = rows.ny.data() + first;
  const float* __restrict ez = rows.nz.data() + first;
  const float* __restrict a0 = rows.alpha[0].data() + first;
  const float* __restrict a1 = rows.alpha[1].data() + first;
  const float* __restrict a2 = rows.alpha[2].data() + first;
  const float* __restrict x0 = rows.deflection[0].data() + first;
  const float* __restrict x1 = rows.deflection[1].data() + first;
  const float* __restrict x2 = rows.deflection[2].data() + first;
  float* __restrict sp = rows.speed.data() + first;
  float* __restrict ox = rows.dx.data() + first;
  float* __restrict oy = rows.dy.data() + first;
  float* __restrict oz = rows.dz.data() + first;
  float* __restrict pc = rows.dc.data() + first;
  float* __restrict ps = rows.ds.data() + first;
  float* __restrict pn = rows.dn.data() + first;
  float* __restrict weight = rows.weight.data() + first;
  int* __restrict entry = rows.entry.data() + first;
  constexpr float kLastEntry = static_cast<float>(kxdairfoil::kDirectionUsed - 2);
  // The roots one by one: a root that may set errno keeps gcc from running
  // a loop several rows at a time. The builtin, as std::sqrt would be called
  // rather than inlined under this section's settings.
  for (int i = 0; i < count; ++i) sp[i] = __builtin_sqrtf(ux[i] * ux[i] + uy[i] * uy[i] + uz[i] * uz[i]);
  KXD_ROWS_APART
  for (int i = 0; i < count; ++i) {
    float v = sp[i];
    // Still air and a broken flow give no direction.
    bool some = __builtin_isfinite(v) && v != 0.0f;
    // The division is worked out for every row, on 1 where there is no
    // direction; a broken flow's row puts no load on, so what its parts
    // come to does not matter.
    float inverse = some ? 1.0f / (some ? v : 1.0f) : 0.0f;
    float x = ux[i] * inverse, y = uy[i] * inverse, z = uz[i] * inverse;
    ox[i] = x, oy[i] = y, oz[i] = z;
    float c = ax[i] * x + ay[i] * y + az[i] * z;
    float n = ex[i] * x + ey[i] * y + ez[i] * z;
    pc[i] = c;
    ps[i] = bx[i] * x + by[i] * y + bz[i] * z;
    pn[i] = n;
    float shift = a0[i] * x0[i] + a1[i] * x1[i] + a2[i] * x2[i];
    float index = DirectionIndex(-(n - shift), c);
    // The quadrant rules keep the index within 100..1500; the bound only
    // guards the table against rounding at the quadrant edges.
    bool found = index >= 0.0f;
    float bounded = index < kLastEntry ? index : kLastEntry;
    int k = static_cast<int>(found ? bounded : 0.0f);
    entry[i] = found ? k : -1;
    weight[i] = index - static_cast<float>(k);
  }
}

// Adds the loads of the active rows among [first, first + count) to force
// and torque (the carrier's axes), in row order: each row's table
// coefficients corrected by its factors and the surfaces' deflections,
// its force, its moment about R with its pitching moment, a block of rows
// at a time, then their sums.
void Loads(const kxdsectionrows& rows, int first, int count, kxvector4r& force, kxvector4r& torque) {
  constexpr int kBlock = 16;
  const float* __restrict l0 = rows.surfaceCl[0].data() + first;
  const float* __restrict l1 = rows.surfaceCl[1].data() + first;
  const float* __restrict l2 = rows.surfaceCl[2].data() + first;
  const float* __restrict d0 = rows.surfaceCd[0].data() + first;
  const float* __restrict d1 = rows.surfaceCd[1].data() + first;
  const float* __restrict d2 = rows.surfaceCd[2].data() + first;
  const float* __restrict m0 = rows.surfaceCm[0].data() + first;
  const float* __restrict m1 = rows.surfaceCm[1].data() + first;
  const float* __restrict m2 = rows.surfaceCm[2].data() + first;
  const float* __restrict x0 = rows.deflection[0].data() + first;
  const float* __restrict x1 = rows.deflection[1].data() + first;
  const float* __restrict x2 = rows.deflection[2].data() + first;
  const float* __restrict bl = rows.brakeCl.data() + first;
  const float* __restrict bd = rows.brakeCd.data() + first;
  const float* __restrict t = rows.deployment.data() + first;
  const float* __restrict sideslip = rows.sideslip.data() + first;
  const float* __restrict rootSide = rows.rootSide.data() + first;
  const float* __restrict rootLoss = rows.rootLoss.data() + first;
  const float* __restrict aheadOnly = rows.aheadOnly.data() + first;
  const float* __restrict induced = rows.induced.data() + first;
  const float* __restrict sa = rows.area.data() + first;
  const float* __restrict sc = rows.chord.data() + first;
  const float* __restrict qx = rows.px.data() + first;
  const float* __restrict qy = rows.py.data() + first;
  const float* __restrict qz = rows.pz.data() + first;
  const float* __restrict bx = rows.sx.data() + first;
  const float* __restrict by = rows.sy.data() + first;
  const float* __restrict bz = rows.sz.data() + first;
  const float* __restrict ex = rows.nx.data() + first;
  const float* __restrict ey = rows.ny.data() + first;
  const float* __restrict ez = rows.nz.data() + first;
  const float* __restrict ux = rows.vx.data() + first;
  const float* __restrict uy = rows.vy.data() + first;
  const float* __restrict uz = rows.vz.data() + first;
  const float* __restrict ox = rows.dx.data() + first;
  const float* __restrict oy = rows.dy.data() + first;
  const float* __restrict oz = rows.dz.data() + first;
  const float* __restrict sp = rows.speed.data() + first;
  const float* __restrict pc = rows.dc.data() + first;
  const float* __restrict ps = rows.ds.data() + first;
  const float* __restrict pn = rows.dn.data() + first;
  const float* __restrict kl = rows.cl.data() + first;
  const float* __restrict kd = rows.cd.data() + first;
  const float* __restrict km = rows.cm.data() + first;
  const unsigned char* __restrict on = rows.active.data() + first;
  // The sums start from what the carrier holds.
  float Fx = force.x, Fy = force.y, Fz = force.z, Tx = torque.x, Ty = torque.y, Tz = torque.z;
  for (int base = 0; base < count; base += kBlock) {
    const int n = count - base < kBlock ? count - base : kBlock;
    float fx[kBlock], fy[kBlock], fz[kBlock], tx[kBlock], ty[kBlock], tz[kBlock];
    KXD_ROWS_APART
    for (int j = 0; j < n; ++j) {
      const int i = base + j;
      kxdsectionfactors f;
      f.addCl = l0[i] * x0[i] + l1[i] * x1[i] + l2[i] * x2[i];
      f.addCd = d0[i] * x0[i] * x0[i] + d1[i] * x1[i] * x1[i] + d2[i] * x2[i] * x2[i] + bd[i] * t[i];
      f.addCm = m0[i] * x0[i] + m1[i] * x1[i] + m2[i] * x2[i];
      f.scale = 1.0f - bl[i] * t[i];
      f.sideslip = sideslip[i];
      f.rootSide = rootSide[i], f.rootLoss = rootLoss[i];
      f.aheadOnly = aheadOnly[i];
      const float perCl2 = induced[i];
      const kxdsectioncoefficients k =
          Corrected({kl[i], kd[i], km[i]}, f, pc[i], ps[i],
                    [perCl2](float cl) __attribute__((always_inline)) { return cl * cl * perCl2; });
      const float v = sp[i];
      const float q = kHalfDensity * sa[i];
      const float lift = k.cl * q * v * v;
      const float turnOver = pc[i] < 0.0f ? -1.0f : 1.0f;
      const float lx = (ex[i] - pn[i] * ox[i]) * lift * turnOver;
      const float ly = (ey[i] - pn[i] * oy[i]) * lift * turnOver;
      const float lz = (ez[i] - pn[i] * oz[i]) * lift * turnOver;
      const float drag = -kHalfDensity * sa[i] * k.cd * v;
      const float m = q * sc[i] * k.cm * v * v;
      const float gx = drag * ux[i] + lx, gy = drag * uy[i] + ly, gz = drag * uz[i] + lz;
      fx[j] = gx, fy[j] = gy, fz[j] = gz;
      tx[j] = (qy[i] * gz - qz[i] * gy) - m * bx[i];
      ty[j] = (qz[i] * gx - qx[i] * gz) - m * by[i];
      tz[j] = (qx[i] * gy - qy[i] * gx) - m * bz[i];
    }
    // The flags are bytes: read in the loop above they would make gcc take
    // sixteen rows at a time, and none of a wing's few.
    for (int j = 0; j < n; ++j) {
      if (!on[base + j]) continue;
      Fx += fx[j], Fy += fy[j], Fz += fz[j];
      Tx += tx[j], Ty += ty[j], Tz += tz[j];
    }
  }
  force.x = Fx, force.y = Fy, force.z = Fz;
  torque.x = Tx, torque.y = Ty, torque.z = Tz;
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC pop_options
#endif

// The table coefficients of rows [first, first + count), each row's table
// read at its direction (the only part that gathers, row by row).
void TableCoefficients(kxdsectionrows& rows, int first, int count) {
  // Restricted pointers: the flags' and coefficients' stores cannot be
  // taken to change the arrays read.
  const kxdairfoil* const* __restrict foils = rows.airfoil.data();
  const float* __restrict sp = rows.speed.data();
  const int* __restrict entry = rows.entry.data();
  const float* __restrict weight = rows.weight.data();
  unsigned char* __restrict on = rows.active.data();
  float* __restrict kl = rows.cl.data();
  float* __restrict kd = rows.cd.data();
  float* __restrict km = rows.cm.data();
  for (int r = first; r < first + count; ++r) {
    const kxdairfoil* foil = foils[r];
    // A broken motion or air field gives the section no force at all.
    const bool acts = foil && std::isfinite(sp[r]);
    on[r] = acts;
    kxdsectioncoefficients k;
    if (acts && entry[r] >= 0) k = Entry(*foil, entry[r], weight[r]);
    kl[r] = k.cl, kd[r] = k.cd, km[r] = k.cm;
  }
}

}  // namespace

void RunSegment(kxdsectionsegment& segment) {
  kxdsectionrows& rows = segment.folds.front()->carrier->rows;
  for (kxdfold* fold : segment.folds) {
    if (fold->rowsSet) continue;
    static_cast<kxdwing*>(fold->body)->FoldedRows(*fold, rows);
    fold->rowsSet = true;
  }
  rows.ReadLinks(segment.first, segment.count);
  SubtractWashes(segment, rows);
  Directions(rows, segment.first, segment.count);
  TableCoefficients(rows, segment.first, segment.count);
  kxdcarrierframe& carrier = *segment.folds.front()->carrier;
  Loads(rows, segment.first, segment.count, carrier.force, carrier.torque);
}

}  // namespace kxdsectionflow
