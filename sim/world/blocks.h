// Typed arrays in named reserves for the scenery records, so the records'
// pointers keep their own types.
#pragma once

#include "platform/reserves.h"

namespace sim {

// A zeroed block of count + 1 entries (the last never filled), or null for
// a count of 0 or less or a failed reserve.
template <class T>
T* ReserveEntries(int count, const char* name) {
  void* block = nullptr;
  if (count <= 0 || !kxsystem::Reserve(&block, static_cast<long>(sizeof(T)) * (count + 1), name)) return nullptr;
  return static_cast<T*>(block);
}

// Releases the block and nulls the pointer; null is ignored.
template <class T>
void ReleaseBlock(T*& entries) {
  void* block = entries;
  if (block) kxsystem::Release(&block);
  entries = nullptr;
}

}  // namespace sim
