// Small helpers the component classes share: member tables for plain real
// keys, the Change twin of a component, reading a linked float, and handing
// a force to the free body that finally carries it.
#pragma once

#include <cmath>
#include <cstring>

#include "core/reference.h"
#include "dynamics/body.h"

namespace kxdcomponent {

// One real key of a class: the key text and the member it names.
template <class T>
struct realkey {
  const char* key;
  float T::*field;
};

// A real reference for the key among the table, else null.
template <class T, size_t N>
kxvalueptr FindReal(T* self, const realkey<T> (&keys)[N], const char* member) {
  for (const realkey<T>& k : keys) {
    if (std::strcmp(member, k.key) == 0) return kxvalueptr(new kxrealref(&(self->*k.field)));
  }
  return nullptr;
}

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

inline float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Adds a world force at a world point to the free body carrying target:
// forces added to a carried body after its own force pass would otherwise be
// cleared unseen, so driven parts act on the carrier chain's end directly.
inline void PushForce(kxdbody* target, const kxvector4r& force, const kxvector4r& point) {
  if (!target) return;
  target->RootCarrier()->AddForceAt(force, point);
}

}  // namespace kxdcomponent
