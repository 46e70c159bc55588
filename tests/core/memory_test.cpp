#include "core/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/arena.h"
#include "core/hooks.h"

namespace {

bool IsZero(const void* block, size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(block);
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i]) return false;
  }
  return true;
}

bool IsAligned(const void* block) { return reinterpret_cast<uintptr_t>(block) % 16 == 0; }

// Both back ends must behave alike; the chunk one runs with small chunks so
// chunk edges and growth are reached quickly.
template <class Arena>
Arena* MakeArena();
template <>
kxchunkarena* MakeArena<kxchunkarena>() { return new kxchunkarena(4096); }
template <>
kxsystemarena* MakeArena<kxsystemarena>() { return new kxsystemarena; }

template <class Arena>
class ArenaTest : public ::testing::Test {
 protected:
  ArenaTest() : arena(MakeArena<Arena>()) {}
  ~ArenaTest() override { delete arena; }
  Arena* arena;
};

using ArenaTypes = ::testing::Types<kxchunkarena, kxsystemarena>;
TYPED_TEST_SUITE(ArenaTest, ArenaTypes);

TYPED_TEST(ArenaTest, BlocksAreZeroFilledAndAlignedEvenWhenReused) {
  std::vector<void*> blocks;
  for (size_t size : {1u, 7u, 16u, 24u, 100u, 333u, 1000u, 5000u}) {
    void* block = this->arena->New(size);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(IsAligned(block)) << size;
    EXPECT_TRUE(IsZero(block, size)) << size;
    std::memset(block, 0xAB, size);
    blocks.push_back(block);
  }
  for (void* block : blocks) EXPECT_EQ(this->arena->Delete(block), 0);
  for (size_t size : {1000u, 333u, 100u, 24u}) {
    void* block = this->arena->New(size);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(IsZero(block, size)) << size;
    EXPECT_EQ(this->arena->Delete(block), 0);
  }
}

TYPED_TEST(ArenaTest, QueriesAnswerForLiveBlocksOnly) {
  char* a = static_cast<char*>(this->arena->New(40));
  char* b = static_cast<char*>(this->arena->New(8));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(this->arena->BlockSize(a), 40u);
  EXPECT_EQ(this->arena->BlockSize(a + 1), 0u);
  EXPECT_EQ(this->arena->Owns(a), 1);
  EXPECT_EQ(this->arena->Owns(a + 8), 0);
  EXPECT_EQ(this->arena->BlockContaining(a), a);
  EXPECT_EQ(this->arena->BlockContaining(a + 39), a);
  EXPECT_EQ(this->arena->BlockContaining(b + 7), b);
  EXPECT_NE(this->arena->BlockContaining(a + 40), a);
  int local = 0;
  EXPECT_EQ(this->arena->BlockContaining(&local), nullptr);
  EXPECT_EQ(this->arena->UsedBlocks(), 2u);
  EXPECT_EQ(this->arena->UsedBytes(), 48u);

  ASSERT_EQ(this->arena->Delete(a), 0);
  EXPECT_EQ(this->arena->Owns(a), 0);
  EXPECT_EQ(this->arena->BlockSize(a), 0u);
  EXPECT_EQ(this->arena->BlockContaining(a + 4), nullptr);
  EXPECT_EQ(this->arena->UsedBlocks(), 1u);
  EXPECT_EQ(this->arena->UsedBytes(), 8u);
  EXPECT_EQ(this->arena->Delete(b), 0);
}

TYPED_TEST(ArenaTest, DeleteTellsWildPointersFromSecondDeletes) {
  int local = 0;
  EXPECT_EQ(this->arena->Delete(&local), kxmemory::kExitNotABlock);
  char* block = static_cast<char*>(this->arena->New(64));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(this->arena->Delete(block + 16), kxmemory::kExitNotABlock);
  EXPECT_EQ(this->arena->Owns(block), 1);  // a refused delete leaves the block alone
  EXPECT_EQ(this->arena->Delete(block), 0);
  EXPECT_EQ(this->arena->Delete(block), kxmemory::kExitAlreadyFree);
}

// The table remembers the newest freed starts only, so it does not grow with
// every address ever freed: the oldest second delete reads as a wild one.
TEST(BlockTableTest, RemembersTheNewestFreedStartsOnly) {
  kxblocktable table;
  std::vector<char> memory(16 * (kxblocktable::kFreedKept + 1));
  for (size_t i = 0; i <= kxblocktable::kFreedKept; ++i) {
    table.Insert(&memory[16 * i], 16);
    ASSERT_EQ(table.Remove(&memory[16 * i]), 0);
  }
  EXPECT_EQ(table.Remove(&memory[0]), kxmemory::kExitNotABlock);
  EXPECT_EQ(table.Remove(&memory[16]), kxmemory::kExitAlreadyFree);
  EXPECT_EQ(table.Remove(&memory[16 * kxblocktable::kFreedKept]), kxmemory::kExitAlreadyFree);
  table.Reuse(&memory[16], 32);  // handed out again: no longer "already free"
  EXPECT_EQ(table.Remove(&memory[16]), kxmemory::kExitNotABlock);
  EXPECT_EQ(table.Remove(&memory[32]), kxmemory::kExitNotABlock);
  EXPECT_EQ(table.Remove(&memory[48]), kxmemory::kExitAlreadyFree);
}

TYPED_TEST(ArenaTest, LimitRefusesBlocksBeyondItUntilSpaceIsReturned) {
  this->arena->SetLimit(1000);
  void* first = this->arena->New(600);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(this->arena->New(500), nullptr);
  EXPECT_EQ(this->arena->UsedBlocks(), 1u);
  EXPECT_EQ(this->arena->Delete(first), 0);
  void* second = this->arena->New(1000);
  EXPECT_NE(second, nullptr);
  EXPECT_EQ(this->arena->Delete(second), 0);
}

TYPED_TEST(ArenaTest, RandomUseKeepsEveryBlockIntact) {
  struct Live {
    unsigned char* block;
    size_t size;
    unsigned char fill;
  };
  std::mt19937 random(7);
  std::vector<Live> live;
  for (int step = 0; step < 4000; ++step) {
    if (live.empty() || random() % 3 != 0) {
      size_t size = random() % 700;
      if (random() % 50 == 0) size = 5000 + random() % 5000;  // past a chunk
      unsigned char* block = static_cast<unsigned char*>(this->arena->New(size));
      ASSERT_NE(block, nullptr);
      ASSERT_TRUE(IsZero(block, size));
      unsigned char fill = static_cast<unsigned char>(1 + random() % 255);
      std::memset(block, fill, size);
      live.push_back({block, size, fill});
    } else {
      size_t index = random() % live.size();
      Live victim = live[index];
      live[index] = live.back();
      live.pop_back();
      for (size_t i = 0; i < victim.size; ++i) ASSERT_EQ(victim.block[i], victim.fill);
      ASSERT_EQ(this->arena->Delete(victim.block), 0);
    }
  }
  EXPECT_EQ(this->arena->UsedBlocks(), live.size());
  for (const Live& item : live) {
    for (size_t i = 0; i < item.size; ++i) ASSERT_EQ(item.block[i], item.fill);
    ASSERT_EQ(this->arena->BlockContaining(item.block + item.size / 2), item.block);
    ASSERT_EQ(this->arena->Delete(item.block), 0);
  }
  EXPECT_EQ(this->arena->UsedBlocks(), 0u);
  EXPECT_EQ(this->arena->UsedBytes(), 0u);
}

TYPED_TEST(ArenaTest, ZeroSizeBlocksAreDistinct) {
  void* a = this->arena->New(0);
  void* b = this->arena->New(0);
  ASSERT_TRUE(a && b);
  EXPECT_NE(a, b);
  EXPECT_EQ(this->arena->Owns(a), 1);
  EXPECT_EQ(this->arena->BlockSize(a), 0u);
  EXPECT_EQ(this->arena->Delete(a), 0);
  EXPECT_EQ(this->arena->Delete(b), 0);
}

class ChunkArenaTest : public ::testing::Test {
 protected:
  static constexpr size_t kChunk = 4096;
  static constexpr size_t kUsable = kChunk - 32;  // edge tags of a chunk
  kxchunkarena arena{kChunk};
};

TEST_F(ChunkArenaTest, FreeNeighboursMergeBackIntoOneBlock) {
  void* a = arena.New(1000);
  void* b = arena.New(1000);
  void* c = arena.New(1000);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(arena.ChunkCount(), 1u);
  // Free both sides first, then the middle: it must merge with both.
  ASSERT_EQ(arena.Delete(a), 0);
  ASSERT_EQ(arena.Delete(c), 0);
  ASSERT_EQ(arena.Delete(b), 0);
  EXPECT_EQ(arena.FreeBytes(), kUsable);
  void* whole = arena.New(kUsable - 24);  // header and footer
  EXPECT_NE(whole, nullptr);
  EXPECT_EQ(arena.ChunkCount(), 1u);
  EXPECT_EQ(arena.FreeBytes(), 0u);
  EXPECT_EQ(arena.Delete(whole), 0);
}

TEST_F(ChunkArenaTest, FirstFitReusesAFreedBlockOfTheSameSize) {
  void* a = arena.New(200);
  void* b = arena.New(200);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(arena.Delete(a), 0);
  EXPECT_EQ(arena.New(200), a);
  // The reused start is live again, so deleting it is no second delete.
  EXPECT_EQ(arena.Delete(a), 0);
  EXPECT_EQ(arena.Delete(b), 0);
}

TEST_F(ChunkArenaTest, FullChunkAddsAnotherOfTheStandardSize) {
  void* a = arena.New(3000);
  void* b = arena.New(3000);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(arena.ChunkCount(), 2u);
  EXPECT_EQ(arena.Delete(b), 0);
  EXPECT_EQ(arena.ChunkCount(), 2u);  // standard chunks are kept
  EXPECT_EQ(arena.Delete(a), 0);
}

TEST_F(ChunkArenaTest, OversizedBlockHasItsOwnChunkUntilDeleted) {
  void* small = arena.New(10);
  char* big = static_cast<char*>(arena.New(3 * kChunk));
  ASSERT_TRUE(small && big);
  EXPECT_EQ(arena.ChunkCount(), 2u);
  EXPECT_TRUE(IsZero(big, 3 * kChunk));
  EXPECT_EQ(arena.BlockContaining(big + 3 * kChunk - 1), big);
  EXPECT_EQ(arena.Delete(big), 0);
  EXPECT_EQ(arena.ChunkCount(), 1u);
  EXPECT_EQ(arena.Delete(big), kxmemory::kExitAlreadyFree);
  EXPECT_EQ(arena.Delete(small), 0);
}

TEST_F(ChunkArenaTest, HugeRequestFailsCleanly) {
  EXPECT_EQ(arena.New(SIZE_MAX - 8), nullptr);
  arena.SetLimit(SIZE_MAX);
  EXPECT_EQ(arena.New(SIZE_MAX - 8), nullptr);
  EXPECT_EQ(arena.UsedBlocks(), 0u);
}

// ---- the process-wide arena --------------------------------------------------

std::string logged;
void Capture(const char* text) { logged += text; }

class MemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logged.clear();
    kxcore::SetLogHandler(Capture);
  }
  void TearDown() override {
    kxcore::SetLogHandler(nullptr);
    kxmemory::SetLimit(size_t{1} << 30);
  }
};

TEST_F(MemoryTest, NewGivesZeroedAlignedBlockThatDeleteReturns) {
  size_t before = kxmemory::UsedBlocks();
  char* block = static_cast<char*>(kxmemory::New(72));
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(IsAligned(block));
  EXPECT_TRUE(IsZero(block, 72));
  EXPECT_EQ(kxmemory::BlockSize(block), 72u);
  EXPECT_EQ(kxmemory::BlockContaining(block + 50), block);
  EXPECT_EQ(kxmemory::UsedBlocks(), before + 1);
  kxmemory::Delete(block);
  EXPECT_EQ(kxmemory::UsedBlocks(), before);
  kxmemory::Delete(nullptr);
  EXPECT_EQ(logged, "");
}

TEST_F(MemoryTest, NewBeyondTheLimitLogsOnceAndReturnsNull) {
  kxmemory::SetLimit(kxmemory::UsedBytes() + 4096);
  EXPECT_EQ(kxmemory::New(5000), nullptr);
  EXPECT_EQ(logged, "kxmemory:  allocating 5000 bytes=fail\n");
}

using MemoryDeathTest = MemoryTest;

// A wild pointer exits with 6661, a second delete with 6662 (the low byte
// reaches the parent).
TEST_F(MemoryDeathTest, WildAndSecondDeletesExitWithTheirCodes) {
  int local = 0;
  EXPECT_EXIT(kxmemory::Delete(&local), ::testing::ExitedWithCode(6661 & 255), "");
  void* block = kxmemory::New(32);
  ASSERT_NE(block, nullptr);
  kxmemory::Delete(block);
  EXPECT_EXIT(kxmemory::Delete(block), ::testing::ExitedWithCode(6662 & 255), "");
}

}  // namespace
