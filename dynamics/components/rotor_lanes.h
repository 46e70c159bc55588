// The rotors' frame products in four-float lanes (core/lanes.h): each lane
// takes the products and sums of one component in the order the scalar
// formula has them, so the results are the same to the bit.
#pragma once

#include "core/lanes.h"
#include "core/matrix.h"
#include "dynamics/body.h"

namespace kxdrotorlanes {

namespace kl = kxlanes;
using lanes = kl::f4;
using V = kxvector4r;

inline lanes Lanes(const V& v) { return kl::LoadU(&v.x); }
inline V Vector(lanes r) {
  V v;
  kl::StoreU(&v.x, r);
  return v;
}
// M v, summed as the substeps' frame transform sums it.
inline lanes Turned(const kxmatrix& M, const V& v) {
  return kl::Add(kl::Add(kl::Add(kl::Mul(Lanes(M.X), kl::Splat(v.x)), kl::Mul(Lanes(M.Y), kl::Splat(v.y))),
                         kl::Mul(Lanes(M.Z), kl::Splat(v.z))),
                 kl::Mul(Lanes(M.R), kl::Splat(v.w)));
}
inline V InFrame(const V& r, const kxmatrix& frame) { return Vector(Turned(frame, r)); }
// M d for a direction d: the rows of the rotors' frames are axes, so their
// w (0) and M's R are never read.
inline lanes Directed(const kxmatrix& M, const V& d) {
  return kl::Add(kl::Add(kl::Mul(Lanes(M.X), kl::Splat(d.x)), kl::Mul(Lanes(M.Y), kl::Splat(d.y))),
                 kl::Mul(Lanes(M.Z), kl::Splat(d.z)));
}
inline V Axis(const V& d, const kxmatrix& frame) { return Vector(Directed(frame, d)); }
inline V Add(const V& a, const V& b) { return Vector(kl::Add(Lanes(a), Lanes(b))); }
inline V Sub(const V& a, const V& b) { return Vector(kl::Sub(Lanes(a), Lanes(b))); }
inline V Mul(const V& a, float s) { return Vector(kl::Mul(Lanes(a), kl::Splat(s))); }
// a x b in x, y and z; the fourth lane is left to chance.
inline lanes Crossed(lanes a, lanes b) {
  return kl::Sub(kl::Mul(kl::Shuffle<1, 2, 0, 3>(a, a), kl::Shuffle<2, 0, 1, 3>(b, b)),
                 kl::Mul(kl::Shuffle<2, 0, 1, 3>(a, a), kl::Shuffle<1, 2, 0, 3>(b, b)));
}
// kxdbody::AddForceAt, inline: the same sums.
inline void AddForceAt(kxdbody* body, lanes force, lanes point) {
  kl::StoreXYZ(&body->Force.x, kl::Add(Lanes(body->Force), force));
  kl::StoreXYZ(&body->Torque.x, kl::Add(Lanes(body->Torque), Crossed(kl::Sub(point, Lanes(body->B.R)), force)));
}

}  // namespace kxdrotorlanes
