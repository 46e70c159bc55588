// Convex collision bodies: the hull of a rotating aircraft part or of a
// balloon, following a frame, and the pairs whose signed distance tells the
// balloon contest when a part touches a balloon.
#pragma once

#include <cstdint>

struct kxgeometry;

struct kxcbody {
  double* hull;             // hullCount * 3, the element's hull in its own frame, m
  int32_t hullCount;
  const float* frame;       // 16 floats, column-major; the body follows it (null: identity)
  double radius;            // m, largest hull point distance from the frame origin

  // A body from the element's hull following frame. 1, or 0 with the slot
  // null when the element has no hull. reserved: 0. A body already in the
  // slot is freed first.
  static int Init(kxcbody** slot, const kxgeometry* el, const float* frame, int reserved);
  // Frees the body and nulls the slot; null is ignored.
  static void Free(kxcbody** slot);
};

struct kxcpair {
  kxcbody* a;
  kxcbody* b;
  double distance;          // m, signed: negative = touching (minus the penetration depth)
  double direction[3];      // last separating direction: the next evaluation starts from it

  // 1, or 0 when either body is missing.
  static int Init(kxcpair* pair, kxcbody* a, kxcbody* b);
};
