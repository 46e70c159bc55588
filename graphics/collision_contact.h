// The collision shape of a geometric object (its box record) and the contact
// records that a contact query fills into it. The contact record's layout is
// read by the landing gear: normal first, then the point, and the surface
// code at byte 48.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/vector.h"

struct kxcollface;

struct kxcontact {
  kxvector4r normal;        // unit surface normal, w 0
  kxvector4r point;         // foot of the tested frame's origin on the face plane, w 1
  float depth;              // m, how far the deepest tested point lies below the face (>= 0)
  const kxcollface* face;   // the face touched
  int32_t surface;          // surface code, low five bits (1 water ... 8 damage)
};

static_assert(offsetof(kxcontact, surface) == 48, "the surface code sits at byte 48");

struct kxboxrecord {
  static constexpr int kMaxContacts = 16;

  float min[3];             // mesh bounds in the object's own frame, m
  float max[3];
  kxvector4r six[6];        // face centres -x, +x, -y, +y, -z, +z (w 1): wheels, blades, rotors
  kxvector4r eight[8];      // corners, x fastest then y then z (w 1): skids
  kxcontact contacts[kMaxContacts];
  kxcontact* list[kMaxContacts + 1];  // contacts of the last query, null-terminated

  // Points and corners from min and max; the contact list is emptied.
  static void Set(kxboxrecord* box, const float min[3], const float max[3]);
};
