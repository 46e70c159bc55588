// Small helpers the component classes share: the Change twin of a
// component, reading a linked float, placing a local row, handing a force
// to the free body that finally carries it, and the rotors' mount on the
// fuselage.
#pragma once

#include <cmath>

#include "dynamics/body.h"
#include "dynamics/frame_transform.h"
#include "dynamics/fuselage.h"

namespace kxdcomponent {

// The Change twin of a component: the node the driver pairs with it, which
// must be of the very same class; null for anything else.
template <class T>
T* TwinOf(const T* self, kxdintegrable* change) {
  if (!change || change->type != self->type) return nullptr;
  return static_cast<T*>(change);
}

// The float a link points at; 0 without a link or for a value that is not
// a finite number.
inline float Read(const float* link) {
  if (!link) return 0.0f;
  float v = *link;
  return std::isfinite(v) ? v : 0.0f;
}

// A local row placed by a frame: its x, y, z along the frame's axes and w
// times the frame's position.
inline kxvector4r InFrame(const kxvector4r& r, const kxmatrix& frame) {
  return kxdframe::Transform(frame, r);
}

inline float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Adds a world force at a world point to the free body carrying target:
// forces added to a carried body after its own force pass would otherwise be
// cleared unseen, so driven parts act on the carrier chain's end directly.
inline void PushForce(kxdbody* target, const kxvector4r& force, const kxvector4r& point) {
  if (!target) return;
  target->RootCarrier()->AddForceAt(force, point);
}

// The rotors ride on the sibling "Fuselage" when it is exactly a
// kxdfuselage00: that body, with frame seen from it in *placement and its
// position in *hub (w 0); null, both kept, without one.
inline kxdbody* MountOnFuselage(kxnode* parent, const kxmatrix& frame, kxmatrix* placement, kxvector4r* hub) {
  kxnode* f = parent ? kxnode::Find("Fuselage", parent) : nullptr;
  if (!f || f->type != &kxdfuselage00::Type) return nullptr;
  kxdbody* body = static_cast<kxdbody*>(f);
  kxmatrix inverse;
  kxmatrix::Invert(body->B, inverse);
  kxmatrix::Multiply4x4(placement, &inverse, &frame);
  *hub = placement->R;
  hub->w = 0.0f;
  return body;
}

}  // namespace kxdcomponent
