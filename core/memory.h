// kxmemory: the node arena. Every node and every object a type factory makes
// comes from here as a zero-filled, 16-byte aligned block. A pointer that is
// no block start ends the program with 6661, a block already free with 6662.
#pragma once

#include <cstddef>

namespace kxmemory {

constexpr int kExitNotABlock = 6661;
constexpr int kExitAlreadyFree = 6662;

// A zero-filled block, or null after one log line when none can be had.
void* New(size_t size);
// Returns the block; null is ignored.
void Delete(void* block);

// Size asked at New, 0 when the pointer is no live block start.
size_t BlockSize(const void* block);
// 1 when the pointer is the start of a live block, else 0 (never exits).
int Owns(const void* block);
// Start of the live block that contains the address, or null.
void* BlockContaining(const void* address);

size_t UsedBlocks();
size_t UsedBytes();
// Limit on the bytes held in blocks; New fails beyond it (default 1 GiB).
void SetLimit(size_t bytes);

}  // namespace kxmemory
