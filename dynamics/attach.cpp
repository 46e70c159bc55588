#include "dynamics/attach.h"

#include <vector>

#include "core/hooks.h"
#include "dynamics/body.h"
#include "dynamics/joint.h"

namespace {

void Collect(kxnode* node, std::vector<kxdbody*>& bodies) {
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = kxdbody::As(c)) bodies.push_back(b);
    Collect(c, bodies);
  }
}

// 1 when carrier is body or is (through the carriers set so far) carried by it.
int WouldCycle(const kxdbody* body, const kxdbody* carrier) {
  for (int i = 0; carrier && i < 4096; ++i) {
    if (carrier == body) return 1;
    carrier = carrier->ParentBody;
  }
  return 0;
}

}  // namespace

namespace kxdattach {

void Resolve(kxnode* root, kxdbody* mainBody) {
  if (!root) return;
  std::vector<kxdbody*> bodies;
  Collect(root, bodies);
  for (kxdbody* b : bodies) {
    b->ParentBody = nullptr;
    b->Joint = nullptr;
  }
  for (kxdbody* b : bodies) {
    if (b != mainBody) b->ParentBody = kxdbody::As(b->parent);
  }
  for (kxdbody* b : bodies) {
    kxdjoint00* joint = kxdjoint00::As(b);
    if (!joint || !joint->Body1 || joint->Body1->ParentBody || joint->Body1 == mainBody) continue;
    kxdbody* carrier = joint->Body0 ? joint->Body0 : mainBody;
    if (!carrier) continue;
    if (WouldCycle(joint->Body1, carrier)) {
      kxcore::Log("kxdynamics:  joint %s would make %s carry itself; ignored\n", joint->name.Text(),
                  joint->Body1->name.Text());
      continue;
    }
    joint->Body1->ParentBody = carrier;
    joint->Body1->Joint = joint;
  }
  if (!mainBody) return;
  for (kxdbody* b : bodies) {
    if (b != mainBody && !b->ParentBody) b->ParentBody = mainBody;
  }
}

}  // namespace kxdattach

namespace kxdattach {

void Aggregate(kxnode* root) {
  if (!root) return;
  std::vector<kxdbody*> bodies;
  Collect(root, bodies);
  struct sum {
    double mass = 0;
    double moment[3] = {};   // kg m, world
    double inertia[9] = {};  // world axes, about the centre of mass
  };
  std::vector<sum> sums(bodies.size());
  auto indexOf = [&](kxdbody* b) {
    size_t at = 0;
    while (at < bodies.size() && bodies[at] != b) ++at;
    return at;
  };
  // Each body's mass sits at its R (the analysis puts R on the centroid).
  for (kxdbody* b : bodies) {
    size_t at = indexOf(b->RootCarrier());
    if (at == bodies.size()) continue;
    sums[at].mass += b->Mass;
    sums[at].moment[0] += b->Mass * b->B.R.x;
    sums[at].moment[1] += b->Mass * b->B.R.y;
    sums[at].moment[2] += b->Mass * b->B.R.z;
  }
  for (kxdbody* b : bodies) {
    kxdbody* free = b->RootCarrier();
    size_t at = indexOf(free);
    if (at == bodies.size()) continue;
    sum& s = sums[at];
    double centre[3] = {free->B.R.x, free->B.R.y, free->B.R.z};
    if (s.mass > 0) {
      for (int k = 0; k < 3; ++k) centre[k] = s.moment[k] / s.mass;
    }
    // Own inertia turned into world axes: A I A^T.
    const kxvector4r* axes[3] = {&b->B.X, &b->B.Y, &b->B.Z};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) {
        double v = 0;
        for (int i = 0; i < 3; ++i) {
          for (int j = 0; j < 3; ++j) {
            v += static_cast<double>((&axes[i]->x)[r]) * b->Inertia[4 * i + j] * (&axes[j]->x)[c];
          }
        }
        s.inertia[3 * r + c] += v;
      }
    }
    // Parallel axes: m (|d|^2 E - d d^T).
    double d[3] = {b->B.R.x - centre[0], b->B.R.y - centre[1], b->B.R.z - centre[2]};
    double dd = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) s.inertia[3 * r + c] += b->Mass * ((r == c ? dd : 0.0) - d[r] * d[c]);
    }
  }
  for (size_t k = 0; k < bodies.size(); ++k) {
    kxdbody* b = bodies[k];
    if (b->ParentBody) continue;
    const sum& s = sums[k];
    const kxvector4r* axes[3] = {&b->B.X, &b->B.Y, &b->B.Z};
    double offset[3] = {0, 0, 0};
    if (s.mass > 0) {
      offset[0] = s.moment[0] / s.mass - b->B.R.x;
      offset[1] = s.moment[1] / s.mass - b->B.R.y;
      offset[2] = s.moment[2] / s.mass - b->B.R.z;
    }
    float local[3];
    for (int i = 0; i < 3; ++i) {
      local[i] = static_cast<float>((&axes[i]->x)[0] * offset[0] + (&axes[i]->x)[1] * offset[1] +
                                    (&axes[i]->x)[2] * offset[2]);
    }
    b->SystemCentre = {local[0], local[1], local[2], 0.0f};
    // Back into the body's axes: A^T I A.
    double inertia[9], inverse[9];
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        double v = 0;
        for (int r = 0; r < 3; ++r) {
          for (int c = 0; c < 3; ++c) v += (&axes[i]->x)[r] * s.inertia[3 * r + c] * (&axes[j]->x)[c];
        }
        inertia[3 * i + j] = v;
      }
    }
    int singular = kxmatrix::Invert(inertia, inverse, 3) != 0;
    b->SystemMass = static_cast<float>(s.mass);
    for (int i = 0; i < 16; ++i) b->SystemInertiaInv[i] = 0.0f;
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) b->SystemInertiaInv[4 * i + j] = singular ? 0.0f : static_cast<float>(inverse[3 * i + j]);
    }
    b->SystemInertiaInv[15] = s.mass > 0 ? static_cast<float>(1.0 / s.mass) : 0.0f;
    int held = !(s.mass > 0) || singular;
    if (held) {
      kxcore::Log("kxdynamics:  body %s has mass %g or a singular inertia; held still\n", b->name.Text(),
                  static_cast<double>(s.mass));
    }
    b->Held = held;
  }
}

}  // namespace kxdattach
