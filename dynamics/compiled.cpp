#include "dynamics/compiled.h"

#include <algorithm>
#include <cmath>

#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "dynamics/joint.h"

namespace {

unsigned preparations = 0;  // kxdbody::Prepare calls so far
unsigned epochs = 0;        // caches compiled so far
unsigned openEpoch = 0;     // the cache whose substeps run; 0: none

kxvector4r Cross(const kxvector4r& a, const kxvector4r& b) {
  kxvector4r c;
  kxvector4r::Cross(c, a, b);
  c.w = 0.0f;
  return c;
}

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

kxvector4r kxdcarrierframe::ToBody(const kxvector4r& v) const {
  const kxmatrix& B = body->B;
  return {kxvector4r::Dot3(B.X, v), kxvector4r::Dot3(B.Y, v), kxvector4r::Dot3(B.Z, v), 0.0f};
}

kxvector4r kxdcarrierframe::ToWorld(const kxvector4r& l) const {
  const kxmatrix& B = body->B;
  return {B.X.x * l.x + B.Y.x * l.y + B.Z.x * l.z, B.X.y * l.x + B.Y.y * l.y + B.Z.y * l.z,
          B.X.z * l.x + B.Y.z * l.y + B.Z.z * l.z, 0.0f};
}

void kxdcarrierframe::Prime() {
  const kxmatrix& B = body->B;
  velocity = ToBody(body->D.R);
  omega = ToBody(body->Omega);
  const kxdaircraftinstance* instance = body->Instance;
  air = ToBody(kxdaircraftinstance::AirVelocityAt(instance, B.R));
  // The air's gradient turned into body axes: row i, column j is
  // axis_i . (G axis_j); none without a main body, as AirVelocityAt.
  std::fill(gradient, gradient + 9, 0.0f);
  if (instance && instance->SimMainBody) {
    const float* G = instance->AirGradient;
    const kxvector4r* axes[3] = {&B.X, &B.Y, &B.Z};
    for (int j = 0; j < 3; ++j) {
      const kxvector4r& a = *axes[j];
      kxvector4r ga = {G[0] * a.x + G[1] * a.y + G[2] * a.z, G[3] * a.x + G[4] * a.y + G[5] * a.z,
                       G[6] * a.x + G[7] * a.y + G[8] * a.z, 0.0f};
      for (int i = 0; i < 3; ++i) gradient[3 * i + j] = kxvector4r::Dot3(*axes[i], ga);
    }
  }
  gravity = ToBody({0.0f, 0.0f, -kGravity, 0.0f});
  // The flow of a fixed point: its velocity omega x p less the air's
  // gradient G p, as one matrix for the sections.
  drift = {velocity.x - air.x, velocity.y - air.y, velocity.z - air.z, 0.0f};
  const float cross[9] = {0.0f, -omega.z, omega.y, omega.z, 0.0f, -omega.x, -omega.y, omega.x, 0.0f};
  for (int i = 0; i < 9; ++i) turn[i] = cross[i] - gradient[i];
  force = torque = {0.0f, 0.0f, 0.0f, 0.0f};
}

void kxdcarrierframe::Flush() {
  kxvector4r f = ToWorld(force), t = ToWorld(torque);
  body->Force.x += f.x, body->Force.y += f.y, body->Force.z += f.z;
  body->Torque.x += t.x, body->Torque.y += t.y, body->Torque.z += t.z;
}

kxvector4r kxdcarrierframe::Flow(const kxvector4r& p) const {
  const float* M = turn;
  return {drift.x + M[0] * p.x + M[1] * p.y + M[2] * p.z, drift.y + M[3] * p.x + M[4] * p.y + M[5] * p.z,
          drift.z + M[6] * p.x + M[7] * p.y + M[8] * p.z, 0.0f};
}

void kxdcarrierframe::AddLoad(const kxvector4r& f, const kxvector4r& p) {
  kxvector4r t = Cross(p, f);
  force.x += f.x, force.y += f.y, force.z += f.z;
  torque.x += t.x, torque.y += t.y, torque.z += t.z;
}

// ---- the cache

void kxdcompiled::Prepared() { ++preparations; }

const kxdfold* kxdcompiled::FoldOf(const kxdbody* body) {
  return openEpoch != 0 && body->FoldEpoch == openEpoch ? body->Fold : nullptr;
}

bool kxdcompiled::Matches(const std::vector<kxdbody*>& bodies) const {
  if (epoch_ == 0 || prepared_ != preparations || walk_ != bodies) return false;
  // A tree made anew at the same addresses without being prepared does not
  // carry the folds.
  for (const auto& fold : folds_) {
    if (fold->body->Fold != fold.get() || fold->body->FoldEpoch != epoch_) return false;
  }
  return true;
}

void kxdcompiled::Compile(const std::vector<kxdbody*>& bodies) {
  walk_ = bodies;
  prepared_ = preparations;
  if (++epochs == 0) ++epochs;  // 0 means no cache
  epoch_ = epochs;
  carriers_.clear();
  folds_.clear();
  Unfolded.clear();
  auto carrierFrame = [this](kxdbody* body) {
    for (auto& c : carriers_) {
      if (c->body == body) return c.get();
    }
    carriers_.push_back(std::make_unique<kxdcarrierframe>());
    carriers_.back()->body = body;
    return carriers_.back().get();
  };
  for (kxdbody* b : bodies) {
    b->Fold = nullptr;
    b->FoldEpoch = 0;
    kxmatrix relative;
    kxdbody* carrier = nullptr;
    if (b->FrameInSubsteps() || !RigidlyCarried(b, &relative, &carrier)) {
      Unfolded.push_back(b);
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
    fold->sections = 0;
    b->FoldSections(*fold);
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
