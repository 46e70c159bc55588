#include "core/arena.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/memory.h"

// ---- block table -----------------------------------------------------------

kxblocktable::kxblocktable() : freedOrder_(kFreedKept, 0) { freed_.reserve(kFreedKept); }

void kxblocktable::Forget(uintptr_t start) {
  auto it = std::lower_bound(freed_.begin(), freed_.end(), start);
  if (it != freed_.end() && *it == start) freed_.erase(it);
}

void kxblocktable::Insert(const void* block, size_t size) {
  live_[reinterpret_cast<uintptr_t>(block)] = size;
  bytes_ += size;
}

int kxblocktable::Remove(const void* block) {
  uintptr_t start = reinterpret_cast<uintptr_t>(block);
  auto it = live_.find(start);
  if (it == live_.end()) {
    return std::binary_search(freed_.begin(), freed_.end(), start) ? kxmemory::kExitAlreadyFree
                                                                  : kxmemory::kExitNotABlock;
  }
  bytes_ -= it->second;
  live_.erase(it);
  // The oldest remembered start makes room for this one.
  uintptr_t& slot = freedOrder_[freedNext_];
  if (slot) Forget(slot);
  slot = start;
  freedNext_ = (freedNext_ + 1) % kFreedKept;
  auto at = std::lower_bound(freed_.begin(), freed_.end(), start);
  if (at == freed_.end() || *at != start) freed_.insert(at, start);
  return 0;
}

void kxblocktable::Reuse(const void* start, size_t bytes) {
  uintptr_t first = reinterpret_cast<uintptr_t>(start);
  freed_.erase(std::lower_bound(freed_.begin(), freed_.end(), first),
               std::lower_bound(freed_.begin(), freed_.end(), first + bytes));
}

size_t kxblocktable::BlockSize(const void* block) const {
  auto it = live_.find(reinterpret_cast<uintptr_t>(block));
  return it == live_.end() ? 0 : it->second;
}

int kxblocktable::Owns(const void* block) const {
  return live_.count(reinterpret_cast<uintptr_t>(block)) ? 1 : 0;
}

void* kxblocktable::BlockContaining(const void* address) const {
  uintptr_t at = reinterpret_cast<uintptr_t>(address);
  auto it = live_.upper_bound(at);
  if (it == live_.begin()) return nullptr;
  --it;
  // A block of size 0 still owns its start address.
  size_t extent = it->second ? it->second : 1;
  if (at - it->first >= extent) return nullptr;
  return reinterpret_cast<void*>(it->first);
}

std::vector<void*> kxblocktable::LiveBlocks() const {
  std::vector<void*> blocks;
  blocks.reserve(live_.size());
  for (const auto& [start, size] : live_) blocks.push_back(reinterpret_cast<void*>(start));
  return blocks;
}

int kxarena::WithinLimit(size_t size) const {
  return size <= limit_ && table_.Bytes() <= limit_ - size;
}

// ---- chunk arena -----------------------------------------------------------
//
// Block layout: a 16-byte header (tag, size asked), the payload, and the tag
// again in the last 8 bytes. A tag is the whole block size in bytes (a
// multiple of 16) with bit 0 set while the block is in use. A free block keeps
// its free-list links at the start of its payload.

namespace {

constexpr size_t kAlign = 16;
constexpr size_t kHeaderBytes = 16;
constexpr size_t kFooterBytes = 8;
constexpr size_t kTagOverhead = kHeaderBytes + kFooterBytes;
constexpr size_t kMinBlockBytes = 48;  // header, two links, footer, rounded
constexpr size_t kChunkEdgeBytes = 32; // prologue tag before, end tag after
constexpr size_t kUsedBit = 1;

size_t RoundUp(size_t bytes) { return (bytes + kAlign - 1) & ~(kAlign - 1); }

size_t& Tag(char* block) { return *reinterpret_cast<size_t*>(block); }
size_t& Asked(char* block) { return *reinterpret_cast<size_t*>(block + 8); }
size_t SizeOf(char* block) { return Tag(block) & ~kUsedBit; }
int IsUsed(char* block) { return (Tag(block) & kUsedBit) ? 1 : 0; }

void SetTags(char* block, size_t bytes, int used) {
  size_t tag = bytes | (used ? kUsedBit : 0);
  Tag(block) = tag;
  *reinterpret_cast<size_t*>(block + bytes - kFooterBytes) = tag;
}

}  // namespace

kxchunkarena::kxchunkarena(size_t chunkBytes)
    : chunkBytes_(RoundUp(chunkBytes < 4 * kMinBlockBytes ? 4 * kMinBlockBytes : chunkBytes)) {}

kxchunkarena::~kxchunkarena() {
  for (const Chunk& chunk : chunks_) std::free(chunk.memory);
}

void kxchunkarena::Link(char* block) {
  FreeLinks* links = reinterpret_cast<FreeLinks*>(block + kHeaderBytes);
  links->next = freeList_;
  links->prev = nullptr;
  if (freeList_) reinterpret_cast<FreeLinks*>(freeList_ + kHeaderBytes)->prev = block;
  freeList_ = block;
}

void kxchunkarena::Unlink(char* block) {
  FreeLinks* links = reinterpret_cast<FreeLinks*>(block + kHeaderBytes);
  if (links->prev) {
    reinterpret_cast<FreeLinks*>(links->prev + kHeaderBytes)->next = links->next;
  } else {
    freeList_ = links->next;
  }
  if (links->next) reinterpret_cast<FreeLinks*>(links->next + kHeaderBytes)->prev = links->prev;
}

char* kxchunkarena::AddChunk(size_t blockBytes) {
  size_t bytes = chunkBytes_;
  if (blockBytes > chunkBytes_ - kChunkEdgeBytes) bytes = blockBytes + kChunkEdgeBytes;
  char* memory = static_cast<char*>(std::aligned_alloc(kAlign, bytes));
  if (!memory) return nullptr;
  chunks_.push_back({memory, bytes});
  // Used tags at both edges stop the merge at the chunk's ends.
  *reinterpret_cast<size_t*>(memory + 8) = kHeaderBytes | kUsedBit;
  Tag(memory + bytes - kHeaderBytes) = kUsedBit;
  char* block = memory + kHeaderBytes;
  SetTags(block, bytes - kChunkEdgeBytes, 0);
  Link(block);
  return block;
}

void* kxchunkarena::New(size_t size) {
  if (!WithinLimit(size) || size > SIZE_MAX / 2) return nullptr;
  size_t need = RoundUp(size + kTagOverhead);
  if (need < kMinBlockBytes) need = kMinBlockBytes;

  char* block = freeList_;
  while (block && SizeOf(block) < need) {
    block = reinterpret_cast<FreeLinks*>(block + kHeaderBytes)->next;
  }
  if (!block) block = AddChunk(need);
  if (!block) return nullptr;

  Unlink(block);
  size_t have = SizeOf(block);
  if (have - need >= kMinBlockBytes) {
    char* rest = block + need;
    SetTags(rest, have - need, 0);
    Link(rest);
  } else {
    need = have;
  }
  SetTags(block, need, 1);
  Asked(block) = size;
  char* payload = block + kHeaderBytes;
  std::memset(payload, 0, need - kTagOverhead);
  table_.Reuse(block, need);
  table_.Insert(payload, size);
  return payload;
}

int kxchunkarena::Delete(void* pointer) {
  int status = table_.Remove(pointer);
  if (status) return status;
  char* block = static_cast<char*>(pointer) - kHeaderBytes;
  size_t bytes = SizeOf(block);

  char* next = block + bytes;
  if (!IsUsed(next)) {
    Unlink(next);
    bytes += SizeOf(next);
  }
  size_t prevTag = *reinterpret_cast<size_t*>(block - kFooterBytes);
  if (!(prevTag & kUsedBit)) {
    char* prev = block - prevTag;
    Unlink(prev);
    block = prev;
    bytes += prevTag;
  }
  SetTags(block, bytes, 0);
  Link(block);
  ReleaseChunkOf(block);
  return 0;
}

void kxchunkarena::ReleaseChunkOf(char* block) {
  for (size_t i = 0; i < chunks_.size(); ++i) {
    Chunk& chunk = chunks_[i];
    if (chunk.memory + kHeaderBytes != block) continue;
    // Only a chunk made for one oversized block goes back whole; standard
    // chunks stay so a tree built and destroyed repeatedly does not churn.
    if (chunk.bytes == chunkBytes_ || SizeOf(block) != chunk.bytes - kChunkEdgeBytes) return;
    Unlink(block);
    std::free(chunk.memory);
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(i));
    return;
  }
}

size_t kxchunkarena::FreeBytes() const {
  size_t bytes = 0;
  for (char* block = freeList_; block;
       block = reinterpret_cast<FreeLinks*>(block + kHeaderBytes)->next) {
    bytes += SizeOf(block);
  }
  return bytes;
}

// ---- system arena ----------------------------------------------------------

kxsystemarena::~kxsystemarena() {
  for (void* block : table_.LiveBlocks()) std::free(block);
}

void* kxsystemarena::New(size_t size) {
  if (!WithinLimit(size)) return nullptr;
  // The exact size, not rounded, so the sanitizer flags the first byte past it.
  size_t bytes = size ? size : 1;
  void* block = nullptr;
  if (posix_memalign(&block, kAlign, bytes) != 0) return nullptr;
  std::memset(block, 0, bytes);
  table_.Reuse(block, bytes);
  table_.Insert(block, size);
  return block;
}

int kxsystemarena::Delete(void* block) {
  int status = table_.Remove(block);
  if (status) return status;
  std::free(block);
  return 0;
}
