// The prototypes the factory copies: each type's is zero in every field but
// a part class's identity, and a wheel's Retract of kWheelAlwaysDown. A
// prototype is built the first time its type is made and lives for the run.
#pragma once

#include <new>
#include <type_traits>

#include "legacy/parts.h"
#include "legacy/records.h"

namespace dnsmodel {

template <class T>
T MakePrototype() {
  T prototype{};
  if constexpr (std::is_same_v<T, object>) prototype.cls = &object::kClass;
  else if constexpr (requires { prototype.base; }) prototype.base.cls = &T::kClass;
  if constexpr (std::is_same_v<T, wheel>) prototype.Retract = kWheelAlwaysDown;
  return prototype;
}

// Copy-constructs the prototype into block (at least sizeof(T) bytes,
// 8-byte aligned) and returns it.
template <class T>
void* CopyPrototype(void* block) {
  static const T prototype = MakePrototype<T>();
  return new (block) T(prototype);
}

}  // namespace dnsmodel
