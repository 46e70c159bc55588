#include "dynamics/compiled.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <initializer_list>

#include "core/lanes.h"
#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "dynamics/joint.h"

namespace {

unsigned preparations = 0;  // kxdbody::Prepare calls so far
unsigned epochs = 0;        // caches compiled so far
unsigned openEpoch = 0;     // the cache whose substeps run; 0: none

using kxvector4ops::Cross;

// The body's frame in its free carrier's when every carrier between them
// holds it rigidly (no joint with a link), else false.
bool RigidlyCarried(const kxdbody* body, kxmatrix* relative, kxdbody** carrier) {
  if (!body->ParentBody) return false;
  kxmatrix r = body->Relative;
  const kxdbody* b = body;
  for (int depth = 0; b->ParentBody; ++depth) {
    // Prepare refuses cycles; the bound only guards a tree changed since.
    if (depth > 1024 || (b->Joint && b->Joint->Link)) return false;
    b = b->ParentBody;
    if (b->ParentBody) kxmatrix::Multiply4x4(&r, &b->Relative, &r);
  }
  *relative = r;
  *carrier = const_cast<kxdbody*>(b);
  return true;
}

}  // namespace

// ---- the carrier's frame

int kxdsectionrows::Add(const kxvector4r& p, const kxvector4r& c, const kxvector4r& s, const kxvector4r& n,
                        float inducedDrag) {
  auto put = [](std::vector<float>& x, std::vector<float>& y, std::vector<float>& z, const kxvector4r& v) {
    x.push_back(v.x), y.push_back(v.y), z.push_back(v.z);
  };
  put(px, py, pz, p);
  put(cx, cy, cz, c);
  put(sx, sy, sz, s);
  put(nx, ny, nz, n);
  for (std::vector<float>* v :
       {&area, &chord, &washShare, &sideslip, &rootSide, &rootLoss, &aheadOnly, &brakeCl, &brakeCd}) {
    v->push_back(0.0f);
  }
  for (int k = 0; k < kSurfaces; ++k) {
    for (std::vector<float>* v : {&alpha[k], &surfaceCl[k], &surfaceCd[k], &surfaceCm[k]}) v->push_back(0.0f);
    link[k].push_back(nullptr);
  }
  brakeLink.push_back(nullptr);
  induced.push_back(inducedDrag);
  airfoil.push_back(nullptr);
  return Count() - 1;
}

void kxdsectionrows::Set(int row, const kxdairfoil* foil, float sectionArea, float sectionChord, float share,
                         const kxdsectionfactors& f) {
  airfoil[row] = foil;
  area[row] = sectionArea;
  chord[row] = sectionChord;
  washShare[row] = share;
  sideslip[row] = f.sideslip;
  rootSide[row] = f.rootSide, rootLoss[row] = f.rootLoss;
  aheadOnly[row] = f.aheadOnly;
}

void kxdsectionrows::SetSurface(int row, int surface, const float* source, float shift, float cl, float cd,
                                float cm) {
  link[surface][row] = source;
  alpha[surface][row] = shift;
  surfaceCl[surface][row] = cl, surfaceCd[surface][row] = cd, surfaceCm[surface][row] = cm;
}

void kxdsectionrows::SetBrake(int row, const float* source, float cl, float cd) {
  brakeLink[row] = source;
  brakeCl[row] = cl, brakeCd[row] = cd;
}

void kxdsectionsegment::Pack(const kxdsectionrows& rows) {
  constexpr int kLanes = kxdrowgroup::kLanes;
  groups.assign((count + kLanes - 1) / kLanes, kxdrowgroup{});
  surfaceReads.clear();
  brakeReads.clear();
  packed = true;
  surfaces = 0;
  washed = false;
  for (int i = 0; i < count; ++i) {
    kxdrowgroup& g = groups[i / kLanes];
    const int lane = i % kLanes, r = first + i;
    g.px[lane] = rows.px[r], g.py[lane] = rows.py[r], g.pz[lane] = rows.pz[r];
    g.cx[lane] = rows.cx[r], g.cy[lane] = rows.cy[r], g.cz[lane] = rows.cz[r];
    g.sx[lane] = rows.sx[r], g.sy[lane] = rows.sy[r], g.sz[lane] = rows.sz[r];
    g.nx[lane] = rows.nx[r], g.ny[lane] = rows.ny[r], g.nz[lane] = rows.nz[r];
    constexpr std::uint32_t kYes = ~0u;
    g.washShare[lane] = rows.washShare[r], g.area[lane] = rows.area[r], g.chord[lane] = rows.chord[r];
    g.washed[lane] = rows.washShare[r] != 0.0f ? kYes : 0u;
    g.sideslip[lane] = rows.sideslip[r], g.rootSide[lane] = rows.rootSide[r], g.rootLoss[lane] = rows.rootLoss[r];
    g.aheadOnly[lane] = rows.aheadOnly[r] != 0.0f ? kYes : 0u, g.induced[lane] = rows.induced[r];
    g.airfoil[lane] = rows.airfoil[r];
    g.foiled[lane] = rows.airfoil[r] ? kYes : 0u;
    washed = washed || rows.washShare[r] != 0.0f;
    int slot = 0;
    for (int k = 0; k < kxdsectionrows::kSurfaces; ++k) {
      // A surface without a link or an effect on the row moves nothing
      // (its deflection would stay 0), so it takes no slot.
      const bool moves = rows.alpha[k][r] != 0.0f || rows.surfaceCl[k][r] != 0.0f ||
                         rows.surfaceCd[k][r] != 0.0f || rows.surfaceCm[k][r] != 0.0f;
      if (!rows.link[k][r] || !moves) continue;
      g.alpha[slot][lane] = rows.alpha[k][r];
      g.surfaceCl[slot][lane] = rows.surfaceCl[k][r];
      g.surfaceCd[slot][lane] = rows.surfaceCd[k][r];
      g.surfaceCm[slot][lane] = rows.surfaceCm[k][r];
      surfaceReads.push_back({rows.link[k][r], &g.deflection[slot][lane]});
      ++slot;
    }
    surfaces = std::max(surfaces, slot);
    g.brakeCl[lane] = rows.brakeCl[r], g.brakeCd[lane] = rows.brakeCd[r];
    if (rows.brakeLink[r] && (rows.brakeCl[r] != 0.0f || rows.brakeCd[r] != 0.0f)) {
      brakeReads.push_back({rows.brakeLink[r], &g.deployment[lane]});
    }
  }
}

void kxdsectionsegment::ReadLinks() {
  // A link without a finite value moves nothing, as on the drawn parts.
  for (const kxdlinkread& read : surfaceReads) {
    const float v = *read.source;
    *read.target = std::isfinite(v) ? v : 0.0f;
  }
  for (const kxdlinkread& read : brakeReads) {
    const float v = *read.source;
    *read.target = std::isfinite(v) ? (v + 1.0f) * 0.5f : 0.0f;
  }
}

namespace {

// A world vector in the axes of B; always inlined, as a substep's set-up
// turns several (a call cost about as much as the turn).
[[gnu::always_inline]] inline kxvector4r InAxes(const kxmatrix& B, const kxvector4r& v) {
  using namespace kxlanes;
  // Each lane summed as Dot3 sums it; w made +0.
  kxvector4r out;
  StoreU(&out.x, XYZ(Dots3(LoadU(&B.X.x), LoadU(&B.Y.x), LoadU(&B.Z.x), LoadU(&v.x))));
  return out;
}

}  // namespace

kxvector4r kxdcarrierframe::ToBody(const kxvector4r& v) const { return InAxes(body->B, v); }

kxvector4r kxdcarrierframe::ToWorld(const kxvector4r& l) const {
  // In lanes: lane k sums B.X[k] l.x + B.Y[k] l.y + B.Z[k] l.z as the
  // row-by-row formula does; w made +0.
  using namespace kxlanes;
  const kxmatrix& B = body->B;
  kxvector4r out;
  StoreU(&out.x, XYZ(Add(Add(Mul(LoadU(&B.X.x), Splat(l.x)), Mul(LoadU(&B.Y.x), Splat(l.y))),
                         Mul(LoadU(&B.Z.x), Splat(l.z)))));
  return out;
}

namespace {

// Whether every element of the air's gradient G is a zero and the body
// turns about each of its axes (no component of omega a zero or not finite).
bool StillAndTurning(const float* G, const kxvector4r& omega) {
  using namespace kxlanes;
  const f4 zero = Zero();
  if (Mask(Equal(LoadU(G), zero)) != 15u || Mask(Equal(LoadU(G + 4), zero)) != 15u || G[8] != 0.0f) return false;
  // x, y and z each neither a zero nor beyond the largest float (a NaN
  // fails the comparison).
  const f4 w = LoadU(&omega.x);
  const f4 turning = And(NotEqual(w, zero), LessEq(Abs(w), Splat(FLT_MAX)));
  return (Mask(turning) & 7u) == 7u;
}

// The air's gradient turned into the axes of B, rows as kxdcarrierframe's
// gradient: row i, column j is axis_i . (G axis_j). Worked a column at a
// time in lanes, each lane summing in the order of the dot products it
// stands for, then turned into rows.
void TurnGradient(const kxmatrix& B, const float* G, float* gradient) {
  using namespace kxlanes;
  f4 column[4] = {Zero(), Zero(), Zero(), Zero()};
  // Lane r of G's columns: row r of G; lane i of the axes' columns: axis i.
  const f4 g0 = Set(G[0], G[3], G[6], 0.0f), g1 = Set(G[1], G[4], G[7], 0.0f), g2 = Set(G[2], G[5], G[8], 0.0f);
  const f4 bx = Set(B.X.x, B.Y.x, B.Z.x, 0.0f), by = Set(B.X.y, B.Y.y, B.Z.y, 0.0f),
           bz = Set(B.X.z, B.Y.z, B.Z.z, 0.0f);
  const kxvector4r* axes[3] = {&B.X, &B.Y, &B.Z};
  for (int j = 0; j < 3; ++j) {
    const kxvector4r& a = *axes[j];
    // G a: lane r is (G[3r] a.x + G[3r + 1] a.y) + G[3r + 2] a.z.
    const f4 ga = Add(Add(Mul(g0, Splat(a.x)), Mul(g1, Splat(a.y))), Mul(g2, Splat(a.z)));
    // Lane i: axis_i . (G a), as Dot3 sums it.
    column[j] = Add(Add(Mul(bx, Broadcast<0>(ga)), Mul(by, Broadcast<1>(ga))), Mul(bz, Broadcast<2>(ga)));
  }
  Transpose(column[0], column[1], column[2], column[3]);
  for (int i = 0; i < 3; ++i) StoreU(gradient + 4 * i, column[i]);
}

}  // namespace

void kxdcarrierframe::Prime() {
  const kxmatrix& B = body->B;
  velocity = InAxes(B, body->D.R);
  omega = InAxes(B, body->Omega);
  const kxdaircraftinstance* instance = body->Instance;
  // At the main body's own R the gradient moves the air by nothing: the
  // air there is the instance's (a frame is always finite, the held body's
  // too, so the offset is an exact zero).
  kxvector4r here;
  if (instance && instance->SimMainBody == body) {
    here = instance->AirVelocity;
    here.w = 0.0f;
  } else {
    here = kxdaircraftinstance::AirVelocityAt(instance, B.R);
  }
  air = InAxes(B, here);
  gravity = InAxes(B, {0.0f, 0.0f, -kGravity, 0.0f});
  // The flow of a fixed point: its velocity omega x p less the air's
  // gradient G p, as one matrix for the sections.
  drift = {velocity.x - air.x, velocity.y - air.y, velocity.z - air.z, 0.0f};
  using namespace kxlanes;
  const f4 cross[3] = {Set(0.0f, -omega.z, omega.y, 0.0f), Set(omega.z, 0.0f, -omega.x, 0.0f),
                       Set(-omega.y, omega.x, 0.0f, 0.0f)};
  // The air's gradient; none without a main body, as AirVelocityAt.
  const float* G = instance && instance->SimMainBody ? instance->AirGradient : nullptr;
  // Without a main body, or in still air while the body turns about every
  // axis, the turned gradient is all zeros, and taking them from the turn
  // changes none of its entries: off the diagonal none is a zero (whose
  // sign the zeros' signs would decide), and on it 0 - 0 is +0.
  const bool turned = G && !StillAndTurning(G, omega);
  if (turned) {
    TurnGradient(B, G, gradient);
  } else {
    for (int i = 0; i < 3; ++i) StoreU(gradient + 4 * i, Zero());
  }
  for (int i = 0; i < 3; ++i) StoreU(turn + 4 * i, turned ? Sub(cross[i], LoadU(gradient + 4 * i)) : cross[i]);
  force = torque = {0.0f, 0.0f, 0.0f, 0.0f};
  if (foldedMass != 0.0f) {
    force = {gravity.x * foldedMass, gravity.y * foldedMass, gravity.z * foldedMass, 0.0f};
    torque = Cross(foldedMoment, gravity);
  }
  // One clear test for all the folds' contact points: the farthest of them
  // bounds the rest.
  contactsClear = contactInstance && contactExtent >= 0.0f && contactInstance->ClearAround(B.R, contactExtent);
}

namespace {

// ToWorld(local) added to x, y, z of total (w left as it is), in lanes:
// lane k sums B.X[k] l.x + B.Y[k] l.y + B.Z[k] l.z as ToWorld does.
[[gnu::always_inline]] inline void AddInWorld(const kxmatrix& B, const kxvector4r& l, kxvector4r& total) {
  using namespace kxlanes;
  const f4 turned =
      Add(Add(Mul(LoadU(&B.X.x), Splat(l.x)), Mul(LoadU(&B.Y.x), Splat(l.y))), Mul(LoadU(&B.Z.x), Splat(l.z)));
  StoreXYZ(&total.x, Add(LoadU(&total.x), turned));
}

}  // namespace

void kxdcarrierframe::Flush() {
  AddInWorld(body->B, force, body->Force);
  AddInWorld(body->B, torque, body->Torque);
}

kxvector4r kxdcarrierframe::Flow(const kxvector4r& p) const {
  // In lanes, a column of the turn at a time: lane i sums drift_i + M[4i]
  // p.x + M[4i + 1] p.y + M[4i + 2] p.z in that order; w made +0.
  using namespace kxlanes;
  f4 c0 = LoadU(turn), c1 = LoadU(turn + 4), c2 = LoadU(turn + 8), c3 = Zero();
  Transpose(c0, c1, c2, c3);
  kxvector4r out;
  StoreU(&out.x, XYZ(Add(Add(Add(LoadU(&drift.x), Mul(c0, Splat(p.x))), Mul(c1, Splat(p.y))), Mul(c2, Splat(p.z)))));
  return out;
}

void kxdcarrierframe::AddLoad(const kxvector4r& f, const kxvector4r& p) {
  // In lanes, each as the scalar p x f and sums form it; w is left as it is.
  using namespace kxlanes;
  const f4 fl = LoadU(&f.x), pl = LoadU(&p.x);
  const f4 t = Sub(Mul(Shuffle<1, 2, 0, 3>(pl, pl), Shuffle<2, 0, 1, 3>(fl, fl)),
                   Mul(Shuffle<2, 0, 1, 3>(pl, pl), Shuffle<1, 2, 0, 3>(fl, fl)));
  StoreXYZ(&force.x, Add(LoadU(&force.x), fl));
  StoreXYZ(&torque.x, Add(LoadU(&torque.x), t));
}

// ---- the cache

void kxdcompiled::Prepared() { ++preparations; }

const kxdfold* kxdcompiled::FoldOf(const kxdbody* body) {
  // A body outside every cache has no fold (Compile sets Fold and
  // FoldEpoch together, and never to epoch 0), so with no cache open
  // (openEpoch 0) the test needs no case of its own.
  return body->FoldEpoch == openEpoch ? body->Fold : nullptr;
}

bool kxdcompiled::Matches(const std::vector<kxdbody*>& bodies, const std::vector<bool>& breaks) const {
  if (epoch_ == 0 || prepared_ != preparations || walk_ != bodies || breaks_ != breaks) return false;
  // A tree made anew at the same addresses without being prepared does not
  // carry the folds.
  for (const auto& fold : folds_) {
    if (fold->body->Fold != fold.get() || fold->body->FoldEpoch != epoch_) return false;
  }
  return true;
}

void kxdcompiled::Compile(const std::vector<kxdbody*>& bodies, const std::vector<bool>& breaks) {
  walk_ = bodies;
  breaks_ = breaks;
  prepared_ = preparations;
  if (++epochs == 0) ++epochs;  // 0 means no cache
  epoch_ = epochs;
  carriers_.clear();
  folds_.clear();
  segments_.clear();
  Unfolded.clear();
  kxdsectionsegment* open = nullptr;  // the segment a next folded wing on its carrier joins
  auto carrierFrame = [this](kxdbody* body) {
    for (auto& c : carriers_) {
      if (c->body == body) return c.get();
    }
    carriers_.push_back(std::make_unique<kxdcarrierframe>());
    carriers_.back()->body = body;
    return carriers_.back().get();
  };
  for (size_t index = 0; index < bodies.size(); ++index) {
    kxdbody* b = bodies[index];
    if (index < breaks.size() && breaks[index]) open = nullptr;
    b->Fold = nullptr;
    b->FoldEpoch = 0;
    kxmatrix relative;
    kxdbody* carrier = nullptr;
    if (b->FrameInSubsteps() || !RigidlyCarried(b, &relative, &carrier)) {
      Unfolded.push_back(b);
      open = nullptr;
      continue;
    }
    auto fold = std::make_unique<kxdfold>();
    fold->body = b;
    fold->carrier = carrierFrame(carrier);
    fold->relative = relative;
    fold->contactCount = b->Contact ? std::clamp(b->ContactCount, 0, kxdfold::kMaxPoints) : 0;
    fold->contactExtent = 0.0f;
    for (int i = 0; i < fold->contactCount; ++i) {
      kxvector4r p = b->ContactPoints[i];
      p.w = 1.0f;
      kxmatrix::TransformVector4(&fold->contactPoints[i], &relative, &p);
      fold->contactPoints[i].w = 1.0f;
      fold->contactExtent = std::max(fold->contactExtent, std::sqrt(kxvector4r::Dot3(fold->contactPoints[i],
                                                                                      fold->contactPoints[i])));
    }
    fold->weighed = 0.0f;
    if (fold->contactCount > 0) {
      kxdcarrierframe& c = *fold->carrier;
      if (!c.contactInstance) c.contactInstance = b->Instance;
      c.contactExtent = std::max(c.contactExtent, fold->contactExtent);
    }
    fold->sections = 0;
    fold->acrossChord = false;
    fold->segment = nullptr;
    fold->leads = false;
    fold->rowsSet = false;
    b->FoldSections(*fold);
    fold->firstRow = 0;
    kxdsectionrows& rows = fold->carrier->rows;
    for (int i = 0; i < fold->sections; ++i) {
      int row = rows.Add(fold->point[i], fold->acrossChord ? fold->across[i] : fold->chord[i], fold->span[i],
                         fold->normal[i], fold->induced);
      if (i == 0) fold->firstRow = row;
    }
    if (fold->sections > 0) {
      // Rows of one carrier follow each other in the walk's order, so a
      // segment's rows are contiguous; its wings take one aircraft's wash.
      const kxdbody* last = open ? open->folds.back()->body : nullptr;
      if (!open || open->folds.back()->carrier != fold->carrier || last->Instance != b->Instance) {
        segments_.push_back(std::make_unique<kxdsectionsegment>());
        open = segments_.back().get();
        open->first = fold->firstRow;
        fold->leads = true;
      }
      open->folds.push_back(fold.get());
      open->count += fold->sections;
      fold->segment = open;
    } else if (b->WorksWhenFolded()) {
      // Its force pass stands between the wings before and after it.
      open = nullptr;
    }
    b->Fold = fold.get();
    b->FoldEpoch = epoch_;
    folds_.push_back(std::move(fold));
  }
}

void kxdcompiled::Prime() {
  for (auto& c : carriers_) c->Prime();
}

void kxdcompiled::Flush() {
  for (auto& c : carriers_) c->Flush();
}

void kxdcompiled::Enter() { openEpoch = epoch_; }

void kxdcompiled::Leave() { openEpoch = 0; }
