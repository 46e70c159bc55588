#include "dynamics/driver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/hooks.h"
#include "core/node.h"
#include "dynamics/air_model.h"
#include "dynamics/aircraft.h"
#include "dynamics/body.h"
#include "dynamics/compiled.h"
#include "dynamics/flight_state.h"
#include "dynamics/instance.h"
#include "dynamics/joint.h"
#include "dynamics/load.h"
#include "dynamics/registry.h"
#include "dynamics/world.h"
#include "graphics/collision_near.h"
#include "graphics/collision_world.h"
#include "platform/pinboard.h"
#include "platform/random.h"

namespace {

constexpr int kChannels = 64;
constexpr float kGradientStep = 1.0f;  // m, half width of the air gradient's differences
constexpr float kQueryReach = 10.0f;   // m around the main body, beyond its length
constexpr float kNarrowSlack = 0.25f;  // m beyond the queries' last reach and the frame's flight
constexpr float kMaxFrame = kxdynamics::kMaxSubsteps * kxdynamics::kSubstep;  // s

float heldChannels[kxdaircraftinstance::kPlayers][kChannels] = {};

// An aircraft clone whose graphics clone was rebuilt since it was made points
// into freed geometry: it sits out until Start rebuilds it.
bool Stale(kxnode* node) {
  kxdaircraft* a = kxdaircraft::As(node);
  return a && a->Instance && a->Instance->ClonesGeneration != a->Instance->Generation;
}

// A simulated node with its twin, both as bodies (null for other
// components), and whether its class hooks the time before its force pass.
struct twinpair {
  kxdintegrable* state;
  kxdintegrable* change;
  kxdbody* body;
  kxdbody* bodyChange;
  bool preChange;
};

// A node pair a walk visited, with what the walk took from it: the links it
// followed from there (first children, next siblings), its class, for an
// aircraft whether it sat out, and for a simulated node whether its class
// hooks the time before its force pass.
struct visit {
  kxnode* state;
  kxnode* change;
  kxnode* stateFirst;
  kxnode* changeFirst;
  kxnode* stateNext;
  kxnode* changeNext;
  const kxtype* stateType;
  const kxtype* changeType;
  bool aircraft, stale, integrable, hook;

  static visit Of(kxnode* s, kxnode* c, bool aircraft, kxdintegrable* si) {
    bool stale = aircraft && Stale(s);
    return {s, c, s->firstChild, c->firstChild, s->nextSibling, c->nextSibling, s->type, c->type,
            aircraft, stale, si != nullptr, si && si->preChangeHook};
  }
};

// Post-order over the tree and its twin; a node without a twin is skipped
// with its subtree (the two trees no longer match there). Every pair
// visited goes to trail, parents before children.
void Collect(kxnode* s, kxnode* c, bool aircraft, std::vector<twinpair>& out, std::vector<visit>& trail) {
  kxdintegrable* si = kxdintegrable::As(s);
  trail.push_back(visit::Of(s, c, aircraft, si));
  if (trail.back().stale) return;
  kxnode* cc = c->firstChild;
  for (kxnode* sc = s->firstChild; sc && cc; sc = sc->nextSibling, cc = cc->nextSibling) {
    Collect(sc, cc, kxdaircraft::As(sc) != nullptr, out, trail);
  }
  kxdintegrable* ci = kxdintegrable::As(c);
  if (si && ci) out.push_back({si, ci, kxdbody::As(s), kxdbody::As(c), si->preChangeHook});
}

// Whether a walk from s and c would collect what the one that left trail
// did: every pair it visited still links to the same pairs, is of the same
// classes and gives the same answers. A pair is checked after the one that
// led to it, so a node taken out of the tree is never read.
bool Retrace(kxnode* s, kxnode* c, const std::vector<visit>& trail) {
  if (trail.empty() || trail.front().state != s || trail.front().change != c) return false;
  for (const visit& v : trail) {
    const kxnode* vs = v.state;
    const kxnode* vc = v.change;
    if (vs->firstChild != v.stateFirst || vc->firstChild != v.changeFirst || vs->nextSibling != v.stateNext ||
        vc->nextSibling != v.changeNext || vs->type != v.stateType || vc->type != v.changeType) {
      return false;
    }
    if (v.aircraft && Stale(v.state) != v.stale) return false;
    if (v.integrable && static_cast<const kxdintegrable*>(vs)->preChangeHook != v.hook) return false;
  }
  return true;
}

// What the walk lists read of a body besides the walk itself: its carrier,
// its fold and, where the lists asked, whether it works while folded and
// whether it places itself (-1: not asked).
struct bodyread {
  kxdbody* body;
  kxdbody* parent;
  const kxdfold* fold;
  signed char works;
  signed char places;

  bool Same() const {
    return body->ParentBody == parent && body->Fold == fold && (works < 0 || works == body->WorksWhenFolded()) &&
           (places < 0 || places == body->PlacesItself());
  }
};

// The record of a body's reads, added when the body has none yet.
bodyread& Read(std::vector<bodyread>& reads, kxdbody* b) {
  for (bodyread& r : reads) {
    if (r.body == b) return r;
  }
  reads.push_back({b, b->ParentBody, b->Fold, -1, -1});
  return reads.back();
}

// The frame's walk as each pass needs it: the force pass and the
// integration leave out folded bodies with nothing to do, the hand-over
// asks the carried bodies with a force pass, the follow pass only those not folded and the
// carriers between them and their free bodies, carrier first.
struct walklists {
  std::vector<twinpair> twins, working, free;
  // A substep's force pass: the entries of working with work in it, those
  // of them whose class hooks PreChange, and the carried bodies among them
  // that do not hand on their loads themselves (kOwnHandOver), in the
  // order of carried: only they may hold loads at the hand-over, since no
  // part loads another's carried body (kxdcomponent::PushForce).
  struct forcepass {
    std::vector<twinpair> forcing;
    std::vector<size_t> hooked;
    std::vector<kxdbody*> handing;
  };
  // The force pass of any substep, and of one whose culled aircraft are
  // all clear, and the entries with work in the integrations: taken anew
  // each frame (see Passes).
  forcepass any, clear;
  std::vector<twinpair> integrating;
  // The folded bodies worked by their class's batch, body and twin side by
  // side: one run per batch, taken anew each frame.
  struct batchrun {
    const kxdbody::batch* batch;
    std::vector<kxdintegrable*> pairs;
  };
  std::vector<batchrun> batches;
  size_t batchesUsed = 0;
  std::vector<kxdbody*> bodies, carried, following;
  std::vector<bool> breaks;  // a component that is not a body runs before the body
  // The lists hold from frame to frame while the walk, the compiled cache
  // and every value in reads are what they were made from; a tree changed
  // without preparing it (a tow rope, a carrier or a mass set in flight)
  // differs in one of them.
  std::vector<visit> trail;
  std::vector<bodyread> reads;
  bool made = false;
  std::vector<kxdbody*> chain, leftOut;  // room for Lists
  std::vector<kxdaircraftinstance*> culled;  // the aircraft whose asks are bounded this frame
};

// Fills the lists anew from w.twins; the vectors keep their room from
// frame to frame.
void Lists(walklists& w, kxdcompiled& compiled) {
  const std::vector<twinpair>& twins = w.twins;
  std::vector<bool>& breaks = w.breaks;
  w.working.clear(), w.free.clear();
  w.bodies.clear(), w.carried.clear(), w.following.clear();
  w.reads.clear();
  breaks.clear();
  bool other = false;
  for (const twinpair& t : twins) {
    if (!t.body) {
      other = true;
      continue;
    }
    w.bodies.push_back(t.body);
    breaks.push_back(other);
    other = false;
  }
  if (!compiled.Matches(w.bodies, breaks)) compiled.Compile(w.bodies, breaks);
  for (const twinpair& t : twins) {
    if (!t.body) {
      w.working.push_back(t);
      continue;
    }
    signed char works = -1;
    if (t.body->Fold) works = t.body->WorksWhenFolded();
    w.reads.push_back({t.body, t.body->ParentBody, t.body->Fold, works, -1});
    if (works != 0) w.working.push_back(t);
  }
  for (const twinpair& t : w.working) {
    if (t.body && !t.body->ParentBody) w.free.push_back(t);
  }
  for (kxdbody* b : w.bodies) {
    if (b->ParentBody) w.carried.push_back(b);
  }
  // Each body once, after its carrier: the order a recursive follow of the
  // unfolded bodies would take.
  unsigned listed = kxdbody::NewPass();
  std::vector<kxdbody*>& chain = w.chain;
  for (kxdbody* b : compiled.Unfolded) {
    chain.clear();
    // Prepare refuses cycles; the bound only guards a tree changed since.
    kxdbody* c = b;
    for (; c->ParentBody && c->followPass != listed && chain.size() < 1024; c = c->ParentBody) {
      c->followPass = listed;
      chain.push_back(c);
      Read(w.reads, c).places = c->PlacesItself();
    }
    // The chain may end at a body outside the walk.
    Read(w.reads, c);
    w.following.insert(w.following.end(), chain.rbegin(), chain.rend());
  }
  // A body that places itself in its force pass need not follow, unless a
  // body that follows is carried by it. Carriers are marked first.
  std::vector<kxdbody*>& f = w.following;
  unsigned carrying = kxdbody::NewPass();
  for (kxdbody* b : f) b->ParentBody->followPass = carrying;
  std::vector<kxdbody*>& leftOut = w.leftOut;
  leftOut.clear();
  for (kxdbody* b : f) {
    if (b->PlacesItself() && b->followPass != carrying) leftOut.push_back(b);
  }
  if (leftOut.empty()) return;
  std::erase_if(f, [&leftOut](kxdbody* b) { return std::find(leftOut.begin(), leftOut.end(), b) != leftOut.end(); });
}

// Keeps the walk and its lists while nothing they were made from has
// changed, else takes them anew.
void Update(walklists& w, kxdcompiled& compiled, kxnode* state, kxnode* change) {
  // The walk is retraced first: the bodies in reads are then still there.
  bool same = w.made && Retrace(state, change, w.trail) && compiled.Matches(w.bodies, w.breaks);
  for (size_t i = 0; same && i < w.reads.size(); ++i) same = w.reads[i].Same();
  if (same) return;
  w.twins.clear();
  w.trail.clear();
  Collect(state, change, false, w.twins, w.trail);
  Lists(w, compiled);
  w.made = true;
}

// The frame's force and integration lists: a body whose class has nothing
// to do in a pass this frame (a folded part already weighed, a non-leading
// folded wing, a carried body's integration) is left out of it. Asked once
// a frame, with the cache open, so that a mass set between frames is
// weighed again in the next.
void Passes(walklists& w) {
  for (walklists::forcepass* p : {&w.any, &w.clear}) p->forcing.clear(), p->hooked.clear(), p->handing.clear();
  w.integrating.clear();
  auto add = [](walklists::forcepass& p, const twinpair& t) {
    if (t.preChange) p.hooked.push_back(p.forcing.size());
    p.forcing.push_back(t);
  };
  for (walklists::batchrun& run : w.batches) run.pairs.clear();
  w.batchesUsed = 0;
  const unsigned forced = kxdbody::NewPass();
  const unsigned clearForced = kxdbody::NewPass();  // forced in clear substeps too
  for (const twinpair& t : w.working) {
    // An aircraft node's passes are the empty defaults: nothing to call.
    if (t.state->type == &kxdaircraft::Type && !t.preChange) continue;
    const kxdfold* fold = t.body ? kxdcompiled::FoldOf(t.body) : nullptr;
    // Weighed before its passes are asked: a plain part then has none.
    if (fold) t.body->WeighFolded(*fold);
    // The twin of a batched body is of its very class: the batch reads it so.
    if (const kxdbody::batch* b = fold && !t.preChange && t.change->type == t.state->type
                                      ? t.body->SubstepBatch(fold) : nullptr) {
      size_t i = 0;
      while (i < w.batchesUsed && w.batches[i].batch != b) ++i;
      if (i == w.batchesUsed) {
        if (i == w.batches.size()) w.batches.emplace_back();
        w.batches[i].batch = b;
        ++w.batchesUsed;
      }
      w.batches[i].pairs.push_back(t.state);
      w.batches[i].pairs.push_back(t.change);
      continue;
    }
    const int passes = t.body ? t.body->SubstepPasses(fold) : kxdbody::kAllPasses;
    const bool forces = t.preChange || (passes & kxdbody::kForcePass);
    if (forces || (passes & kxdbody::kAskPass)) {
      add(w.any, t);
      if (t.body && !(passes & kxdbody::kOwnHandOver)) t.body->followPass = forced;
    }
    const bool culled = t.body && std::find(w.culled.begin(), w.culled.end(), t.body->Instance) != w.culled.end();
    if (forces || ((passes & kxdbody::kAskPass) && !culled)) {
      add(w.clear, t);
      if (t.body && !(passes & kxdbody::kOwnHandOver)) t.body->followPass = clearForced;
    }
    if (passes & kxdbody::kIntegratePass) w.integrating.push_back(t);
  }
  for (size_t i = 0; i < w.batchesUsed; ++i) {
    const walklists::batchrun& run = w.batches[i];
    if (run.batch->frame) run.batch->frame(run.pairs.data(), static_cast<int>(run.pairs.size() / 2));
  }
  for (kxdbody* b : w.carried) {
    if (b->followPass == forced || b->followPass == clearForced) w.any.handing.push_back(b);
    if (b->followPass == clearForced) w.clear.handing.push_back(b);
  }
}

// Whether b's frame stays fixed in main's for the frame: b is main, or
// carried by it through bodies whose joints turn nothing.
bool RigidOn(const kxdbody* b, const kxdbody* main) {
  // Prepare refuses cycles; the bound only guards a tree changed since.
  for (int depth = 0; b != main && depth < 1024; ++depth) {
    if (!b->ParentBody || (b->Joint && b->Joint->Link)) return false;
    b = b->ParentBody;
  }
  return b == main;
}

// The frame's reach cull. Every ask a part makes lies within its extent of
// a point fixed on its aircraft's main body; their distances from the main
// body's R do not change during the frame, so one sphere about that R as
// wide as the farthest (AskReach) holds them all. While that sphere is
// clear in a substep, so is every ask, and the parts skip them at once
// (FrameClear). An aircraft with an ask that is not fixed to its main body,
// or of unknown extent, is not culled.
void MeasureAsks(walklists& w) {
  w.culled.clear();
  for (kxdbody* b : w.bodies) {
    kxdaircraftinstance* in = b->Instance;
    if (!in || !in->SimMainBody || !(in->ClearRadius > 0.0f)) continue;
    if (std::find(w.culled.begin(), w.culled.end(), in) == w.culled.end()) {
      w.culled.push_back(in);
      in->AskReach = 0.0f;
    }
  }
  for (kxdbody* b : w.bodies) {
    kxdaircraftinstance* in = b->Instance;
    if (!in || !(in->AskReach >= 0.0f)) continue;
    // A folded body asks about its carrier's R: for its contact points the
    // carrier's test for all its folds' points first, for a class's own
    // asks as far as they reach from its own R, which lies that far off.
    const kxdfold* fold = kxdcompiled::FoldOf(b);
    const kxdbody* at = fold ? fold->carrier->body : b;
    float extent = b->AskExtent();
    if (fold && b->Contact) {
      extent = fold->contactCount > 0 ? fold->carrier->contactExtent : -1.0f;
    } else if (fold && extent >= 0.0f) {
      extent += std::sqrt(kxvector4r::Dot3(fold->relative.R, fold->relative.R));
    }
    if (extent < 0.0f) continue;
    if (!(extent >= 0.0f) || !RigidOn(at, in->SimMainBody)) {
      in->AskReach = -1.0f;
      continue;
    }
    const kxvector4r& p = at->B.R;
    const kxvector4r& m = in->SimMainBody->B.R;
    const float dx = p.x - m.x, dy = p.y - m.y, dz = p.z - m.z;
    in->AskReach = std::max(in->AskReach, std::sqrt(dx * dx + dy * dy + dz * dz) + extent);
  }
  std::erase_if(w.culled, [](const kxdaircraftinstance* in) { return !(in->AskReach >= 0.0f); });
}

// The substep's answer for each culled aircraft: a sphere at least as wide
// as the asks' (the margin covers the rounding of the parts' fixed
// distances as their frames are worked anew) found clear. Whether every
// culled aircraft is.
bool Cull(const walklists& w) {
  constexpr float kMargin = 1e-3f;  // m
  bool all = true;
  for (kxdaircraftinstance* in : w.culled) {
    in->FrameClear = in->ClearOf(in->SimMainBody->B.R, in->AskReach + kMargin);
    all = all && in->FrameClear;
  }
  return all;
}

// Every force pass before any integration; the folded loads reach their
// free bodies before those take their totals.
void Substep(const walklists& w, kxdcompiled& compiled) {
  const bool clear = Cull(w);
  compiled.Prime();
  const walklists::forcepass& pass = clear ? w.clear : w.any;
  const std::vector<twinpair>& forcing = pass.forcing;
  for (size_t i = 0; i < w.batchesUsed; ++i) {
    const walklists::batchrun& run = w.batches[i];
    run.batch->force(run.pairs.data(), static_cast<int>(run.pairs.size() / 2));
  }
  // Each hook runs just before its own force pass; the runs between the
  // hooked entries need no test.
  const twinpair* t = forcing.data();
  for (size_t h : pass.hooked) {
    const twinpair* hook = forcing.data() + h;
    for (; t != hook; ++t) t->state->ComputeChange(t->change, 0);
    t->state->PreChange(t->change);
  }
  for (const twinpair* end = forcing.data() + forcing.size(); t != end; ++t) {
    t->state->ComputeChange(t->change, 0);
  }
  for (kxdbody* b : pass.handing) {
    if (b->HasLoad()) b->HandOver();
  }
  compiled.Flush();
  // A carried body has handed everything on by now.
  for (const twinpair& t : w.free) t.body->FinishChange(t.bodyChange);
  for (size_t i = 0; i < w.batchesUsed; ++i) {
    const walklists::batchrun& run = w.batches[i];
    run.batch->integrate(run.pairs.data(), static_cast<int>(run.pairs.size() / 2), kxdynamics::kSubstep);
  }
  for (const twinpair& t : w.integrating) t.state->Integrate(t.change, 0, kxdynamics::kSubstep);
  for (kxdbody* b : w.following) b->FollowCarrier();
}

// Near the ground the frame's gather reaches well beyond the aircraft; its
// queries read only the faces about as far as the last frame's reached, and
// as far again as the aircraft flies in this one. A query beyond asks the
// whole gather, and is counted for the next frame.
void NarrowFor(kxdaircraftinstance* instance, float frameTime) {
  if (!instance->Near.valid || !(instance->QueryReach > 0.0f)) return;
  const kxvector4r& v = instance->SimMainBody->D.R;
  float flown = std::sqrt(kxvector4r::Dot3(v, v)) * std::clamp(frameTime, 0.0f, kMaxFrame);
  float r = instance->QueryReach + flown + kNarrowSlack;
  if (!(r < instance->Near.radius)) return;
  kxcollision::NarrowNear(&instance->Near, instance->Near.centre, r, &instance->Close);
}

void UpdateInput() {
  input::Update();
  float* slots = kxdaircraft::PinboardSlots();
  if (!slots) return;
  // An unreliable transmitter loses frames: then both players' channels
  // keep the previous frame's values.
  float r = kxdynamics::Environment().transmitter_reliability;
  bool lost = std::isfinite(r) && r < 1.0f && kxsystem::Random() < (1.0f - r) * 0.5f;
  for (int p = 0; p < kxdaircraftinstance::kPlayers; ++p) {
    float* channels = kxdaircraft::PlayerChannels(slots, p);
    if (lost) {
      std::memcpy(channels, heldChannels[p], sizeof heldChannels[p]);
    } else {
      std::memcpy(heldChannels[p], channels, sizeof heldChannels[p]);
    }
  }
}

}  // namespace

struct kxdsubstepper::caches {
  kxdcompiled compiled;  // the folds stay while the walk and the prepared state are the same
  walklists walk;
};

kxdsubstepper::kxdsubstepper() : caches_(std::make_unique<caches>()) {}
kxdsubstepper::~kxdsubstepper() = default;

void kxdsubstepper::Run(kxnode* state, kxnode* change, int n) {
  if (!state || !change || n <= 0) return;
  kxdcompiled& compiled = caches_->compiled;
  walklists& walk = caches_->walk;
  Update(walk, compiled, state, change);
  compiled.Enter();
  MeasureAsks(walk);
  Passes(walk);
  for (int k = 0; k < n; ++k) Substep(walk, compiled);
  compiled.Leave();
  for (kxdaircraftinstance* in : walk.culled) {
    in->FrameClear = false;
    in->AskReach = -1.0f;
  }
  // The folded bodies take their world frames once, for what reads them
  // between frames: the air update, the visual update, the publication.
  // The last substep's follow pass has placed the bodies it lists from
  // their carriers' final frames already; the rest (folded, or placed in
  // their force pass before their carrier moved) are placed here.
  unsigned pass = kxdbody::NewPass();
  for (kxdbody* b : walk.following) b->followPass = pass;
  for (kxdbody* b : walk.bodies) b->Follow(pass);
}

namespace kxdynamics {

int SubstepsFor(float frameTime) {
  if (!std::isfinite(frameTime) || frameTime <= 0.0f) return 0;
  // The small allowance keeps an exact multiple (0.036 s) from losing a
  // substep to rounding.
  double n = std::floor(static_cast<double>(frameTime) / kSubstep + 1e-4);
  return n >= kMaxSubsteps ? kMaxSubsteps : static_cast<int>(n);
}

void ResetDriver() { std::memset(heldChannels, 0, sizeof heldChannels); }

void RunSubsteps(kxnode* state, kxnode* change, int n) {
  static kxdsubstepper program;
  program.Run(state, change, n);
}

void UpdateAir(kxdaircraftinstance* instance, kxdworld* world) {
  if (!instance || !instance->SimMainBody) return;
  kxvector4r p = instance->SimMainBody->B.R;
  auto at = [world](kxvector4r q) {
    float ground = world ? world->GroundHeight(q) : 0.0f;
    return AirVelocity(q, ground);
  };
  instance->AirVelocity = at(p);
  for (int j = 0; j < 3; ++j) {
    kxvector4r plus = p, minus = p;
    (&plus.x)[j] += kGradientStep;
    (&minus.x)[j] -= kGradientStep;
    kxvector4r a = at(plus), b = at(minus);
    for (int i = 0; i < 3; ++i) {
      instance->AirGradient[3 * i + j] = ((&a.x)[i] - (&b.x)[i]) / (2.0f * kGradientStep);
    }
  }
}

int Step(float frameTime, kxdworld* world, float sceneryExtent, float cloudHeight) {
  SetCurrentWorld(world);
  UpdateInput();
  for (int p = 0; p < kxdaircraftinstance::kPlayers; ++p) {
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(p);
    if (!instance) continue;
    // Wheels and skids report their contact anew in every frame.
    instance->GroundContact = instance->WheelContact = 0;
    // The faces near each aircraft, gathered once for the frame's substeps.
    instance->ClearRadius = 0.0f;
    instance->Close.valid = 0;
    instance->Near.reached = instance->Close.reached = 0.0f;
    if (world && instance->SimMainBody) {
      kxvector4r centre = instance->SimMainBody->B.R;
      float radius = kQueryReach + instance->MainBodyLength;
      world->FrameQuery(centre, radius, &instance->Near);
      // High in the air nothing is near: the contact queries of the frame
      // are passed over while they stay inside the empty sphere.
      if (world->Empty(centre, radius, &instance->Near)) {
        instance->ClearCentre = centre;
        instance->ClearRadius = radius;
      } else {
        NarrowFor(instance, frameTime);
      }
    }
  }
  int n = SubstepsFor(frameTime);
  RunSubsteps(Tree(kxdtree::kState), Tree(kxdtree::kChange), n);
  // Outside the substeps an aircraft may be moved or the world changed.
  for (int p = 0; p < kxdaircraftinstance::kPlayers; ++p) {
    if (kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(p)) {
      instance->QueryReach = std::max(instance->Near.reached, instance->Close.reached);
      instance->Near.valid = instance->Close.valid = 0;
      instance->ClearRadius = 0.0f;
    }
  }
  float simulated = n * kSubstep;
  for (int p = 0; p < kxdaircraftinstance::kPlayers; ++p) UpdateAir(kxdaircraftinstance::Loaded(p), world);
  AdvanceField(simulated, sceneryExtent, cloudHeight);
  UpdateVisuals();
  for (int p = 0; p < kxdaircraftinstance::kPlayers; ++p) {
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(p);
    if (instance && instance->Clone && instance->ClonesGeneration == instance->Generation) Publish(instance, simulated);
  }
  return n;
}

void UpdateVisuals() {
  kxnode* state = Tree(kxdtree::kState);
  if (!state) return;
  for (kxnode* c = state->firstChild; c; c = c->nextSibling) {
    if (Stale(c)) continue;
    if (kxdintegrable* i = kxdintegrable::As(c)) {
      i->UpdateVisual();
      i->PostVisual();
    }
  }
}

void RebuildChangeTree() {
  kxnode* state = Tree(kxdtree::kState);
  kxnode* change = Tree(kxdtree::kChange);
  if (!state || !change) return;
  std::vector<kxnode*> old;
  while (kxnode* c = change->firstChild) {
    old.push_back(c);
    c->Unlink();
  }
  for (kxnode* c = state->firstChild; c; c = c->nextSibling) {
    kxdaircraft* a = kxdaircraft::As(c);
    kxdaircraftinstance* instance = a && a->Instance && a->Instance->Clone == a ? a->Instance : nullptr;
    kxnode* twin = nullptr;
    auto kept = instance ? std::find(old.begin(), old.end(), instance->Twin) : old.end();
    if (Stale(c) && kept != old.end()) {
      // An aircraft that sits out points into freed geometry and is not
      // cloned; its twin goes with it when Start rebuilds it.
      twin = *kept;
      old.erase(kept);
      change->AppendChild(twin);
    } else if (!Stale(c)) {
      twin = c->Clone(change);
    }
    // The walk pairs the trees by position; a stand-in keeps the later
    // pairs in step.
    if (!twin && (twin = new kxnode) != nullptr) {
      twin->name = c->name;
      change->AppendChild(twin);
    }
    if (!twin) kxcore::Log("kxdynamics:  change tree=fail\n");
    if (instance) instance->Twin = kxdaircraft::As(twin);
    if (!twin) break;
  }
  for (kxnode* n : old) delete n;
}

void Start(kxdworld* world) {
  SetCurrentWorld(world);
  for (int p = 0; p < kxdaircraftinstance::kPlayers; ++p) {
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(p);
    if (!instance) continue;
    kxdaircraftinstance::RebuildClones(instance);
    instance->ClearShared();
    kxdaircraftinstance::PrepareClone(instance);
    if (instance->Clone) instance->Clone->ResetState();
  }
  InitField(Environment());
  kxcore::Log("kxdynamics:  start\n");
}

void Stop() {
  kxcore::Log("kxdynamics:  stop\n");
  // The world may go with the scenery once the simulation stops.
  SetCurrentWorld(nullptr);
  for (int p = 0; p < kxdaircraftinstance::kPlayers; ++p) {
    kxdaircraftinstance::UpdateTemplateGraphics(kxdaircraftinstance::Slot(p));
  }
}

}  // namespace kxdynamics
