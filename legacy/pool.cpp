#include "legacy/pool.h"

#include <new>

#include "core/hooks.h"

namespace dnsmodel {
namespace {

alignas(kPoolAlignment) uint8_t poolBytes[kPoolBytes];
dnspool pool;

dnsblock* BlockAt(dnspool* p, uint32_t offset) {
  return std::launder(reinterpret_cast<dnsblock*>(p->base + offset));
}

uint32_t OffsetOf(const dnspool* p, const dnsblock* b) {
  return static_cast<uint32_t>(reinterpret_cast<const uint8_t*>(b) - p->base);
}

dnsblock* Next(dnspool* p, const dnsblock* b) { return b->next ? BlockAt(p, b->next) : nullptr; }

uint8_t* End(dnsblock* b) { return reinterpret_cast<uint8_t*>(b) + b->size; }

/*
 * Free and used blocks tile the array without gaps, so walking it by block
 * size from the base meets every header. A pointer handed to PoolFree is a
 * block in use exactly when the walk lands on its header and the free list
 * does not hold it; anything else (an interior pointer, a second free, a
 * pointer from elsewhere) would corrupt the list and is refused instead.
 */
bool IsBlockInUse(dnspool* p, uintptr_t header) {
  // Compared as addresses: the pointer may come from anywhere.
  uintptr_t base = reinterpret_cast<uintptr_t>(p->base);
  if (header < base || header >= base + static_cast<uintptr_t>(p->size)) return false;
  uint32_t target = static_cast<uint32_t>(header - base);
  uint32_t at = 0;
  while (at < target) {
    int32_t size = BlockAt(p, at)->size;
    if (size < kBlockHeaderBytes) return false;  // a header overwritten by its neighbour's user
    at += static_cast<uint32_t>(size);
  }
  if (at != target) return false;
  for (dnsblock* f = p->freeList; f; f = Next(p, f)) {
    if (OffsetOf(p, f) == target) return false;
  }
  return true;
}

}  // namespace

void InitPool() {
  pool.base = poolBytes;
  pool.freeList = new (poolBytes) dnsblock{0, kPoolBytes};
  pool.size = kPoolBytes;
  pool.used = 0;
  pool.blocks = 1;
}

dnspool* CurrentPool() {
  static const bool ready = (InitPool(), true);
  (void)ready;
  return &pool;
}

void* PoolAlloc(size_t n) {
  dnspool* p = CurrentPool();
  if (n > static_cast<size_t>(p->size)) return nullptr;
  int32_t need = static_cast<int32_t>((n + kPoolAlignment - 1) & ~static_cast<size_t>(kPoolAlignment - 1)) +
                 kBlockHeaderBytes;
  dnsblock* before = nullptr;
  for (dnsblock* b = p->freeList; b; before = b, b = Next(p, b)) {
    if (b->size < need) continue;
    dnsblock* taken;
    if (b->size - need > kMaxSpareBytes) {
      // Cut from the top so the low end of a large free block stays whole.
      b->size -= need;
      taken = new (End(b)) dnsblock{0, need};
      p->blocks += 1;
    } else {
      if (before) before->next = b->next;
      else p->freeList = Next(p, b);
      b->next = 0;
      taken = b;
    }
    p->used += taken->size;
    return taken + 1;
  }
  return nullptr;
}

void PoolFree(dnspool* p, void* payload) {
  if (!p || !payload) return;
  uintptr_t header = reinterpret_cast<uintptr_t>(payload) - kBlockHeaderBytes;
  if (!IsBlockInUse(p, header)) {
    kxcore::Log("dnsmodel:  pool free of %p refused: not a block in use\n", payload);
    return;
  }
  dnsblock* b = BlockAt(p, static_cast<uint32_t>(header - reinterpret_cast<uintptr_t>(p->base)));
  dnsblock* below = nullptr;
  dnsblock* above = p->freeList;
  while (above && above < b) {
    below = above;
    above = Next(p, above);
  }
  b->next = above ? OffsetOf(p, above) : 0;
  if (below) below->next = OffsetOf(p, b);
  else p->freeList = b;
  p->used -= b->size;
  if (below && End(below) == reinterpret_cast<uint8_t*>(b)) {
    below->size += b->size;
    below->next = b->next;
    p->blocks -= 1;
    b = below;
  }
  if (above && End(b) == reinterpret_cast<uint8_t*>(above)) {
    b->size += above->size;
    b->next = above->next;
    p->blocks -= 1;
  }
}

}  // namespace dnsmodel
