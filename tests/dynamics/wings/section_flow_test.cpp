// The folded rows' pass (RunSegment, four rows a step in lanes) against the
// section formula worked one row at a time in scalars. The pass may round
// differently (it sums the loads lane by lane, and groups a product or two
// otherwise), so the sums agree within a few roundings of the loads' sizes;
// a wrong term, lane or mask is off by far more. The rows are a fixed-seed
// spread of awkward numbers: with and without a table, wash, moving
// surfaces and an airbrake (links finite or not), flow from ahead and
// behind, root loss, still air and a broken flow.
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "dynamics/body.h"
#include "dynamics/compiled.h"
#include "dynamics/instance.h"
#include "dynamics/wings/section_flow.h"
#include "wings_support.h"

namespace {

using kxwtest::wingstest;
using rows = kxdsectionrows;

// (a x + b y) + c z, the order of every dot product of the pass.
float Dot(float a, float b, float c, float x, float y, float z) { return (a * x + b * y) + c * z; }

// A link's value as the pass reads it: a deflection, or an airbrake's
// deployment; nothing without a link, an effect or a finite value.
float Deflection(const float* link, bool moves) {
  return link && moves && std::isfinite(*link) ? *link : 0.0f;
}
float Deployment(const float* link, bool moves) {
  return link && moves && std::isfinite(*link) ? (*link + 1.0f) * 0.5f : 0.0f;
}

struct loads {
  float f[3], t[3];
  // Bounds of the parts the force and the moment are summed from, the
  // scale of their rounding.
  float forceSize = 0.0f, torqueSize = 0.0f;
};

// Roundings of a part's size the pass's sums may differ by: one for each of
// the few operations that round otherwise, and one for each row the
// reordered sums take through.
constexpr float kRoundings = 64.0f;

// Row r's loads on the carrier, the formula of one section: its flow
// through the air less its share of the wash, the table read at the flow's
// direction, the coefficients corrected, the force and its moment about R.
// Zero for a row without a table or with a broken flow.
loads RowLoads(const rows& x, int r, const kxdcarrierframe& c, const kxvector4r& wash) {
  const float* T = c.turn;
  float vx = ((c.drift.x + T[0] * x.px[r]) + T[1] * x.py[r]) + T[2] * x.pz[r];
  float vy = ((c.drift.y + T[4] * x.px[r]) + T[5] * x.py[r]) + T[6] * x.pz[r];
  float vz = ((c.drift.z + T[8] * x.px[r]) + T[9] * x.py[r]) + T[10] * x.pz[r];
  if (const float share = x.washShare[r]; share != 0.0f) {
    vx -= share * wash.x, vy -= share * wash.y, vz -= share * wash.z;
  }
  const float speed = std::sqrt((vx * vx + vy * vy) + vz * vz);
  if (!x.airfoil[r] || !std::isfinite(speed)) return {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
  const float inverse = speed != 0.0f ? 1.0f / speed : 0.0f;
  const kxvector4r v = {vx, vy, vz, 0.0f};
  const kxvector4r d = {vx * inverse, vy * inverse, vz * inverse, 0.0f};
  const float dc = Dot(x.cx[r], x.cy[r], x.cz[r], d.x, d.y, d.z);
  const float ds = Dot(x.sx[r], x.sy[r], x.sz[r], d.x, d.y, d.z);
  const float dn = Dot(x.nx[r], x.ny[r], x.nz[r], d.x, d.y, d.z);
  float u[rows::kSurfaces];
  for (int k = 0; k < rows::kSurfaces; ++k) {
    const bool moves = x.alpha[k][r] != 0.0f || x.surfaceCl[k][r] != 0.0f || x.surfaceCd[k][r] != 0.0f ||
                       x.surfaceCm[k][r] != 0.0f;
    u[k] = Deflection(x.link[k][r], moves);
  }
  const float t = Deployment(x.brakeLink[r], x.brakeCl[r] != 0.0f || x.brakeCd[r] != 0.0f);
  kxdsectionfactors f;
  f.shift = Dot(x.alpha[0][r], x.alpha[1][r], x.alpha[2][r], u[0], u[1], u[2]);
  f.addCl = Dot(x.surfaceCl[0][r], x.surfaceCl[1][r], x.surfaceCl[2][r], u[0], u[1], u[2]);
  f.addCd = ((x.surfaceCd[0][r] * u[0] * u[0] + x.surfaceCd[1][r] * u[1] * u[1]) + x.surfaceCd[2][r] * u[2] * u[2]) +
            x.brakeCd[r] * t;
  f.addCm = Dot(x.surfaceCm[0][r], x.surfaceCm[1][r], x.surfaceCm[2][r], u[0], u[1], u[2]);
  f.scale = 1.0f - x.brakeCl[r] * t;
  f.sideslip = x.sideslip[r], f.rootSide = x.rootSide[r], f.rootLoss = x.rootLoss[r];
  f.aheadOnly = x.aheadOnly[r];
  const kxdsectioncoefficients table = kxdsectionflow::Lookup(x.airfoil[r], -(dn - f.shift), dc);
  const float induced = x.induced[r];
  const kxdsectioncoefficients k =
      kxdsectionflow::Corrected(table, f, dc, ds, [induced](float cl) { return cl * cl * induced; });
  const kxvector4r n = {x.nx[r], x.ny[r], x.nz[r], 0.0f};
  kxvector4r F;
  float m;
  kxdsectionflow::SectionForce(k, x.area[r], x.chord[r], v, d, speed, n, dn, dc, &F, &m);
  const float px = x.px[r], py = x.py[r], pz = x.pz[r];
  // Drag along v, lift along n - dn d (at most twice n long).
  const float pressure = kxdsectionflow::kHalfAirDensity * x.area[r] * speed * speed;
  const float forceSize = pressure * (std::fabs(k.cd) + 2.0f * std::fabs(k.cl) * std::sqrt(kxvector4r::Dot3(n, n)));
  const float arm = std::sqrt((px * px + py * py) + pz * pz);
  const float span = std::sqrt((x.sx[r] * x.sx[r] + x.sy[r] * x.sy[r]) + x.sz[r] * x.sz[r]);
  return {{F.x, F.y, F.z},
          {(py * F.z - pz * F.y) - m * x.sx[r], (pz * F.x - px * F.z) - m * x.sy[r],
           (px * F.y - py * F.x) - m * x.sz[r]},
          forceSize,
          2.0f * arm * forceSize + std::fabs(m) * span};
}

class sectionflow : public wingstest {
 protected:
  void SetUp() override {
    wingstest::SetUp();
    // Two tables of different numbers, every entry its own.
    for (auto& foil : foils) {
      foil.reset(new kxdairfoil);
      for (auto& e : foil->Direction) {
        for (int i = 0; i < 3; ++i) e.at[i] = Uniform(-2.0f, 2.0f), e.next[i] = Uniform(-2.0f, 2.0f);
      }
    }
    body.B.X = {0.6f, 0.8f, 1e-3f, 0.0f};
    body.B.Y = {-0.8f, 0.6f, 3.0f, 0.0f};
    body.B.Z = {1e-7f, -2.5f, 1.0f / 3.0f, 0.0f};
    carrier.body = &body;
    fold.body = &body;
    fold.carrier = &carrier;
    fold.leads = true;
    fold.rowsSet = true;  // the rows are set here, not by a wing
    segment.folds = {&fold};
    for (float& link : links) link = Uniform(-1.2f, 1.2f);
    links[0] = std::numeric_limits<float>::quiet_NaN();
    links[1] = std::numeric_limits<float>::infinity();
  }

  float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }
  kxvector4r Vector(float size) { return {Uniform(-size, size), Uniform(-size, size), Uniform(-size, size), 0.0f}; }
  const float* AnyLink() { return Chance(0.25) ? nullptr : &links[rng() % kLinks]; }

  // What AddRow may give a row: every kind of surface and the wash, or at
  // most one moving surface (in any slot), no airbrake and no wash.
  enum class rowkind { any, plain };

  // Appends a row of random section axes, factors and surfaces.
  void AddRow(rowkind kind = rowkind::any) {
    const bool plain = kind == rowkind::plain;
    rows& x = carrier.rows;
    const kxvector4r p = Vector(3.0f), c = Vector(1.0f), s = Vector(1.0f), n = Vector(1.0f);
    const int r = x.Add(p, c, s, n, Chance(0.8) ? Uniform(0.0f, 0.1f) : 0.0f);
    kxdsectionfactors f;
    f.sideslip = Chance(0.5) ? Uniform(0.0f, 1.0f) : 0.0f;
    f.rootSide = Chance(0.5) ? (Chance(0.5) ? 1.0f : -1.0f) : 0.0f;
    f.rootLoss = Uniform(0.0f, 3.0f);  // above 1 a sideways flow takes all the lift
    f.aheadOnly = Chance(0.5) ? 1.0f : 0.0f;
    const kxdairfoil* foil = Chance(0.15) ? nullptr : foils[rng() % 2].get();
    x.Set(r, foil, Uniform(0.01f, 0.5f), Uniform(0.05f, 0.4f), !plain && Chance(0.6) ? Uniform(0.0f, 1.5f) : 0.0f,
          f);
    const int only = static_cast<int>(rng() % rows::kSurfaces);
    for (int k = 0; k < rows::kSurfaces; ++k) {
      if (plain ? k != only : Chance(0.3)) continue;
      // Some surfaces have a link but no effect on the row.
      const bool moves = Chance(0.85);
      x.SetSurface(r, k, AnyLink(), moves ? Uniform(-0.5f, 0.5f) : 0.0f, moves ? Uniform(-1.0f, 1.0f) : 0.0f,
                   moves ? Uniform(0.0f, 0.2f) : 0.0f, moves ? Uniform(-0.3f, 0.3f) : 0.0f);
    }
    if (!plain && Chance(0.5)) x.SetBrake(r, AnyLink(), Uniform(0.0f, 0.8f), Uniform(0.0f, 0.5f));
  }

  // The carrier's motion through the air, the wash and the loads already on.
  void RandomFrame() {
    carrier.drift = Vector(40.0f);
    for (float& t : carrier.turn) t = Uniform(-5.0f, 5.0f);
    carrier.turn[3] = carrier.turn[7] = carrier.turn[11] = 0.0f;
    // In still air the turn is the carrier's rotation alone, without a
    // diagonal, which the pass leaves out.
    if (Chance(0.3)) carrier.turn[0] = carrier.turn[5] = carrier.turn[10] = Chance(0.5) ? 0.0f : -0.0f;
    body.Instance = Chance(0.8) ? &instance : nullptr;
    instance.Slipstream = Vector(20.0f);
  }

  // The wash in the carrier's axes, as the pass turns it.
  kxvector4r Wash() const {
    if (!body.Instance) return {0.0f, 0.0f, 0.0f, 0.0f};
    const kxvector4r& w = instance.Slipstream;
    return {(body.B.X.x * w.x + body.B.X.y * w.y) + body.B.X.z * w.z,
            (body.B.Y.x * w.x + body.B.Y.y * w.y) + body.B.Y.z * w.z,
            (body.B.Z.x * w.x + body.B.Z.y * w.y) + body.B.Z.z * w.z, 0.0f};
  }

  // Works rows [first, first + count) from the given loads and compares the
  // carrier's sums with the rows' loads added in row order, within the
  // roundings of their sizes.
  void Check(int first, int count, const loads& start, const char* what) {
    constexpr float kEpsilon = std::numeric_limits<float>::epsilon();
    segment.first = first, segment.count = count, segment.packed = false;
    carrier.force = {start.f[0], start.f[1], start.f[2], 0.0f};
    carrier.torque = {start.t[0], start.t[1], start.t[2], 0.0f};
    kxdsectionflow::RunSegment(segment);
    loads want = start;
    float forceSize = 0.0f, torqueSize = 0.0f;
    for (int i = 0; i < 3; ++i) forceSize += std::fabs(start.f[i]), torqueSize += std::fabs(start.t[i]);
    const kxvector4r wash = Wash();
    for (int r = first; r < first + count; ++r) {
      const loads row = RowLoads(carrier.rows, r, carrier, wash);
      for (int i = 0; i < 3; ++i) want.f[i] += row.f[i], want.t[i] += row.t[i];
      forceSize += row.forceSize, torqueSize += row.torqueSize;
    }
    const float got[6] = {carrier.force.x, carrier.force.y, carrier.force.z,
                          carrier.torque.x, carrier.torque.y, carrier.torque.z};
    for (int i = 0; i < 6; ++i) {
      const float w = i < 3 ? want.f[i] : want.t[i - 3];
      const float tolerance = kRoundings * kEpsilon * (i < 3 ? forceSize : torqueSize);
      ASSERT_LE(std::fabs(got[i] - w), tolerance)
          << what << ": rows " << first << ".." << first + count - 1 << ", " << (i < 3 ? "force " : "torque ")
          << "xyz"[i % 3] << " " << got[i] << " want " << w;
    }
  }

  // Each row alone from no loads, then the rows together from loads already
  // on (several groups, the last partly empty).
  void CheckRows(const char* what) {
    const int count = carrier.rows.Count();
    for (int r = 0; r < count; ++r) Check(r, 1, {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}}, what);
    Check(1, count - 1, {{3.5f, -1e3f, 0.1f}, {-7.25f, 1e-3f, 42.0f}}, what);
  }

  static constexpr int kLinks = 8;
  std::mt19937 rng{20261208};
  std::unique_ptr<kxdairfoil> foils[2];
  kxdbody body;
  kxdaircraftinstance instance;
  kxdcarrierframe carrier{};
  kxdfold fold{};
  kxdsectionsegment segment;
  float links[kLinks];
};

TEST_F(sectionflow, FoldedRowsGiveTheSectionFormula) {
  for (int r = 0; r < 23; ++r) AddRow();
  for (int trial = 0; trial < 60; ++trial) {
    RandomFrame();
    CheckRows("spread");
    if (HasFatalFailure()) return;
  }
  // A wash too strong to square, or not finite: the rows that take a share
  // of it have a broken flow and no load; the others keep theirs.
  body.Instance = &instance;
  for (float strength : {3e30f, std::numeric_limits<float>::infinity()}) {
    instance.Slipstream = {strength, -1e30f, 2e30f, 0.0f};
    CheckRows("broken wash");
  }
  // Still air through a still carrier: no direction, no load.
  body.Instance = nullptr;
  carrier.drift = {0.0f, 0.0f, 0.0f, 0.0f};
  std::fill(std::begin(carrier.turn), std::end(carrier.turn), 0.0f);
  CheckRows("still");
}

// Rows with one moving surface at most, no airbrake and no wash are worked
// by the pass's shorter form: the same loads.
TEST_F(sectionflow, PlainRowsGiveTheSectionFormula) {
  for (int r = 0; r < 11; ++r) AddRow(rowkind::plain);
  for (int trial = 0; trial < 60; ++trial) {
    RandomFrame();
    CheckRows("plain");
    if (HasFatalFailure()) return;
  }
  ASSERT_LE(segment.surfaces, 1);
  ASSERT_TRUE(segment.brakeReads.empty());
  ASSERT_FALSE(segment.washed);
}

// A flow along the chord that the surface shifts onto the diagonal of the
// direction quadrants reads no table; one shifted a little less reads it.
TEST_F(sectionflow, FoldedRowsOnAQuadrantDiagonalReadNoTable) {
  rows& x = carrier.rows;
  links[2] = 0.5f;  // shift / 0.5 is exact
  for (float shift : {1.0f, 0.75f, -1.0f}) {
    const int r = x.Add({0.5f, 1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f},
                        {0.0f, 0.0f, 1.0f, 0.0f}, 0.05f);
    x.Set(r, foils[0].get(), 0.2f, 0.25f, 0.0f, kxdsectionfactors{});
    x.SetSurface(r, 0, &links[2], shift / links[2], 0.3f, 0.1f, -0.1f);
  }
  carrier.drift = {12.0f, 0.0f, 0.0f, 0.0f};  // the flow along the chord
  CheckRows("diagonal");
}

}  // namespace
