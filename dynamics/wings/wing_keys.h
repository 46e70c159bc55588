// The key tables of the wing classes: one row per key (its text, its kind
// and where its field lies) drives a class's member lookup, member names and
// file lines, in the order the lines are written, so the three can never
// drift apart.
#pragma once

#include <cstring>

#include "core/node.h"

class kxout;
class kxdwing;

enum class kxdwingkind {
  kSections,  // "%d", clamped to 0..8
  kVector,    // "kxvector4f( %8.4f, %8.4f, %8.4f, %8.4f )"
  kReal,      // "%g"
  kPart,      // a kxgeometricobject*, "~Geometry/path"
  kLink,      // a kxdmechlink*, "~Aircraft/path"
};

template <class W>
struct kxdwingkey {
  const char* key;
  kxdwingkind kind;
  void* (*field)(W* wing);
};

// A row whose key is the field's own name.
#define KXD_WING_KEY(W, field, kind) \
  { #field, kind, [](W* w) -> void* { return &w->field; } }

namespace kxdwingkeys {

kxvalueptr Member(kxdwing* wing, kxdwingkind kind, void* field);
void Write(kxout& out, const char* key, kxdwingkind kind, const void* field);

template <class W, size_t N>
kxvalueptr Lookup(W* wing, const kxdwingkey<W> (&table)[N], const char* member) {
  for (const kxdwingkey<W>& k : table) {
    if (std::strcmp(member, k.key) == 0) return Member(wing, k.kind, k.field(wing));
  }
  return nullptr;
}

template <class W, size_t N>
int Name(W* wing, const kxdwingkey<W> (&table)[N], const void* position, kxstring& out) {
  for (const kxdwingkey<W>& k : table) {
    if (position == k.field(wing)) {
      out = k.key;
      return 1;
    }
  }
  return 0;
}

template <class W, size_t N>
void WriteAll(kxout& out, W* wing, const kxdwingkey<W> (&table)[N]) {
  for (const kxdwingkey<W>& k : table) Write(out, k.key, k.kind, k.field(wing));
}

}  // namespace kxdwingkeys
