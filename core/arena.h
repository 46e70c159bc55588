// The two back ends of the node arena. kxchunkarena carves blocks out of large
// chunks with boundary tags; kxsystemarena takes each block from the system
// allocator so the sanitizers see overruns. Both keep a table of live blocks
// for the address queries and remember freed block starts, so a second
// Delete is told apart from a wild pointer. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

// Live blocks by start address, and the starts of the most recent blocks
// freed whose memory has not been handed out again.
class kxblocktable {
 public:
  // Freed starts remembered, the newest: a second Delete of an older block
  // reads as a wild pointer. Both are fatal; the bound keeps the table from
  // growing with every distinct address ever freed (which would also make
  // every run look like a leak to a leak checker counting allocations).
  static constexpr size_t kFreedKept = 1024;

  kxblocktable();
  void Insert(const void* block, size_t size);
  // Returns 0 when removed, else kxmemory::kExitNotABlock or kExitAlreadyFree.
  int Remove(const void* block);
  // The range [start, start + bytes) is in use again: its old starts are no
  // longer "already free".
  void Reuse(const void* start, size_t bytes);

  size_t BlockSize(const void* block) const;
  int Owns(const void* block) const;
  void* BlockContaining(const void* address) const;
  size_t Count() const { return live_.size(); }
  std::vector<void*> LiveBlocks() const;
  size_t Bytes() const { return bytes_; }

 private:
  void Forget(uintptr_t start);

  std::map<uintptr_t, size_t> live_;  // start -> size asked at New
  // Sorted freed starts and the same in the order freed (a ring, 0 empty);
  // both sized once, so remembering never allocates.
  std::vector<uintptr_t> freed_;
  std::vector<uintptr_t> freedOrder_;
  size_t freedNext_ = 0;  // the ring's oldest entry, overwritten next
  size_t bytes_ = 0;  // sum of the sizes asked of live blocks
};

// The interface both back ends share; Delete reports instead of exiting so
// tests can drive either one directly.
class kxarena {
 public:
  static constexpr size_t kDefaultLimit = size_t{1} << 30;  // bytes in blocks

  virtual ~kxarena() = default;
  // A zero-filled 16-byte aligned block, or null (no log here).
  virtual void* New(size_t size) = 0;
  // 0 when returned, else kxmemory::kExitNotABlock or kExitAlreadyFree.
  virtual int Delete(void* block) = 0;

  size_t BlockSize(const void* block) const { return table_.BlockSize(block); }
  int Owns(const void* block) const { return table_.Owns(block); }
  void* BlockContaining(const void* address) const { return table_.BlockContaining(address); }
  size_t UsedBlocks() const { return table_.Count(); }
  size_t UsedBytes() const { return table_.Bytes(); }
  void SetLimit(size_t bytes) { limit_ = bytes; }

 protected:
  // 1 when a block of this size stays within the limit.
  int WithinLimit(size_t size) const;

  kxblocktable table_;
  size_t limit_ = kDefaultLimit;
};

/* First fit over one free list, boundary tags at both ends of every block so
   a freed block merges with free neighbours in constant time. A chunk keeps a
   used tag before its first block and after its last, so the merge never
   looks outside the chunk. Chunks of the standard size stay for reuse; a
   chunk made for one oversized request goes back when that block does. */
class kxchunkarena : public kxarena {
 public:
  static constexpr size_t kChunkBytes = size_t{8} << 20;

  explicit kxchunkarena(size_t chunkBytes = kChunkBytes);
  ~kxchunkarena() override;
  kxchunkarena(const kxchunkarena&) = delete;
  kxchunkarena& operator=(const kxchunkarena&) = delete;

  void* New(size_t size) override;
  int Delete(void* block) override;

  size_t ChunkCount() const { return chunks_.size(); }
  size_t FreeBytes() const;  // bytes in free blocks, tags included

 private:
  struct Chunk {
    char* memory;
    size_t bytes;
  };
  struct FreeLinks {
    char* next;  // block start (header) of the next free block, or null
    char* prev;
  };

  char* AddChunk(size_t blockBytes);
  void Link(char* block);
  void Unlink(char* block);
  void ReleaseChunkOf(char* block);

  size_t chunkBytes_;
  std::vector<Chunk> chunks_;
  char* freeList_ = nullptr;
};

// Every block from posix_memalign; freed memory goes straight back.
class kxsystemarena : public kxarena {
 public:
  kxsystemarena() = default;
  ~kxsystemarena() override;
  kxsystemarena(const kxsystemarena&) = delete;
  kxsystemarena& operator=(const kxsystemarena&) = delete;

  void* New(size_t size) override;
  int Delete(void* block) override;
};
