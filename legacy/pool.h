// The legacy runtime's own memory: one fixed pool of 256 KB handed out first
// fit from a free list kept in address order. Every part, record and reader
// buffer of a legacy model comes from here, never from the general
// allocator, so a model's footprint is bounded and is returned in one walk.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dnsmodel {

constexpr int32_t kPoolBytes = 262144;     // 0x40000
constexpr int32_t kBlockHeaderBytes = 8;
constexpr int32_t kPoolAlignment = 8;      // every block and payload starts on it
constexpr int32_t kMaxSpareBytes = 16;     // a free block left with more is split

// A block's header, just before the bytes handed out. next is the offset of
// the next free block from the pool's base; 0 means none, because the list
// runs upward and the block at offset 0 can only ever be its head.
struct dnsblock {
  uint32_t next;
  int32_t size;   // bytes, header included; a multiple of kPoolAlignment
};

struct dnspool {
  uint8_t* base;        // the kPoolBytes array
  dnsblock* freeList;   // lowest free block; null when nothing is free
  int32_t size;         // kPoolBytes
  int32_t used;         // bytes of the blocks in use, headers included
  int32_t blocks;       // free and in use together; 1 after InitPool
};

// Makes the whole array one free block. Runs on first use of the pool; a
// test calls it to start afresh, which forgets every block handed out.
void InitPool();
// The one pool of the runtime.
dnspool* CurrentPool();

// A block of at least n bytes from the current pool, 8-byte aligned, not
// cleared; null when no free block is large enough. Requests are rounded up
// to a multiple of 8, so a request of n makes a block of round8(n) + 8.
void* PoolAlloc(size_t n);
// Returns the block of p to the pool and merges it with free neighbours.
// Null is ignored; a pointer that is not a block in use of the pool is
// refused with a log line and changes nothing.
void PoolFree(dnspool* pool, void* p);

}  // namespace dnsmodel
