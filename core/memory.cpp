#include "core/memory.h"

#include "core/arena.h"
#include "core/hooks.h"

namespace kxmemory {
namespace {

/* The test build backs every block with the system allocator so overruns
   and use after free reach the sanitizers; the normal build uses chunks. The
   arena is made on first use and never destroyed, so nodes that static
   destructors free at exit still find it. */
kxarena& Arena() {
#if defined(KX_ARENA_SYSTEM) && KX_ARENA_SYSTEM
  static kxarena* arena = new kxsystemarena;
#else
  static kxarena* arena = new kxchunkarena;
#endif
  return *arena;
}

}  // namespace

void* New(size_t size) {
  void* block = Arena().New(size);
  if (!block) kxcore::Log("kxmemory:  allocating %zu bytes=fail\n", size);
  return block;
}

void Delete(void* block) {
  if (!block) return;
  int status = Arena().Delete(block);
  if (status == kExitNotABlock) {
    kxcore::Log("kxmemory:  deleting %p, no block start=fail\n", block);
    kxcore::Fatal(kExitNotABlock);
  }
  if (status == kExitAlreadyFree) {
    kxcore::Log("kxmemory:  deleting %p, block already free=fail\n", block);
    kxcore::Fatal(kExitAlreadyFree);
  }
}

size_t BlockSize(const void* block) { return Arena().BlockSize(block); }
int Owns(const void* block) { return Arena().Owns(block); }
void* BlockContaining(const void* address) { return Arena().BlockContaining(address); }
size_t UsedBlocks() { return Arena().UsedBlocks(); }
size_t UsedBytes() { return Arena().UsedBytes(); }
void SetLimit(size_t bytes) { Arena().SetLimit(bytes); }

}  // namespace kxmemory
