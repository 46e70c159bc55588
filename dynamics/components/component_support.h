// Small helpers the component classes share: member tables for plain real
// keys, the common file lines, the Change twin of a component, reading a
// linked float, placing a local row, handing a force to the free body that
// finally carries it, and the rotors' mount on the fuselage.
#pragma once

#include <cmath>
#include <cstring>

#include "core/output.h"
#include "core/reference.h"
#include "dynamics/body.h"
#include "dynamics/fuselage.h"

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

// Copies the table's keys from one object to another.
template <class T, size_t N>
void CopyReals(const T* from, T* to, const realkey<T> (&keys)[N]) {
  for (const realkey<T>& k : keys) to->*k.field = from->*k.field;
}

// Writes "key = value" lines for the table's keys, in its order.
template <class T, size_t N>
void WriteReals(kxout& out, const T* self, const realkey<T> (&keys)[N]) {
  for (const realkey<T>& k : keys) out.Printf("%s = %g\n", k.key, self->*k.field);
}

// "key = kxvector4r( x, y, z, 1 )\n": a point line, w always written as 1.
inline void WritePoint(kxout& out, const char* key, const kxvector4r& v) {
  out.Printf("%s = kxvector4r( %8.4f, %8.4f, %8.4f, 1 )\n", key, v.x, v.y, v.z);
}

// "key = \"text\"\n", the text escaped so it cannot end the string early.
inline void WriteQuoted(kxout& out, const char* key, const char* text) {
  out.Printf("%s = ", key);
  out.PrintString(text);
  out.Printf("\n");
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

// A local row placed by a frame: its x, y, z along the frame's axes and w
// times the frame's position.
inline kxvector4r InFrame(const kxvector4r& r, const kxmatrix& frame) {
  kxvector4r out;
  kxmatrix::TransformVector4(&out, &frame, &r);
  return out;
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
