#include "legacy/pool.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "tests/legacy/legacy_support.h"

namespace {

using namespace dnsmodel;

class PoolTest : public kxltest::legacytest {
 protected:
  dnspool* pool_ = CurrentPool();
  uint8_t* Header(void* p) const { return static_cast<uint8_t*>(p) - kBlockHeaderBytes; }
};

TEST_F(PoolTest, SpareOfSixteenBytesHandsOutTheWholeBlockAndMoreSplitsFromTheTop) {
  struct row {
    int32_t spare;   // bytes the free block would keep
    bool split;
  } rows[] = {{0, false}, {8, false}, {16, false}, {24, true}, {1024, true}};
  for (const row& r : rows) {
    InitPool();
    size_t request = static_cast<size_t>(kPoolBytes - r.spare - kBlockHeaderBytes);
    void* p = PoolAlloc(request);
    ASSERT_NE(p, nullptr) << r.spare;
    if (r.split) {
      EXPECT_EQ(Header(p), pool_->base + r.spare) << "the block lies at the free block's upper end";
      EXPECT_EQ(pool_->blocks, 2);
      EXPECT_EQ(pool_->used, kPoolBytes - r.spare);
      ASSERT_NE(pool_->freeList, nullptr);
      EXPECT_EQ(pool_->freeList->size, r.spare);
    } else {
      EXPECT_EQ(Header(p), pool_->base) << r.spare;
      EXPECT_EQ(pool_->blocks, 1);
      EXPECT_EQ(pool_->used, kPoolBytes);
      EXPECT_EQ(pool_->freeList, nullptr);
    }
    PoolFree(pool_, p);
    EXPECT_EQ(pool_->used, 0);
    EXPECT_EQ(pool_->blocks, 1);
  }
}

TEST_F(PoolTest, RequestsAreRoundedToEightAndAligned) {
  for (size_t n : {0, 1, 7, 8, 9, 13, 100}) {
    int32_t usedBefore = pool_->used;
    void* p = PoolAlloc(n);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % kPoolAlignment, 0u) << n;
    EXPECT_EQ(pool_->used - usedBefore, static_cast<int32_t>((n + 7) / 8 * 8) + kBlockHeaderBytes) << n;
  }
}

TEST_F(PoolTest, FreeingInAnyOrderMergesBackToOneBlock) {
  std::array<int, 3> order = {0, 1, 2};
  do {
    InitPool();
    void* blocks[3] = {PoolAlloc(40), PoolAlloc(64), PoolAlloc(24)};  // top down
    ASSERT_EQ(pool_->blocks, 4);
    // The first two freed: merged with each other when neighbours, and with
    // the free space below when the lowest block is among them.
    PoolFree(pool_, blocks[order[0]]);
    PoolFree(pool_, blocks[order[1]]);
    int remaining = order[2];
    int expected = remaining == 0 ? 2 : 3;  // only the top block left splits nothing off
    EXPECT_EQ(pool_->blocks, expected) << order[0] << order[1];
    PoolFree(pool_, blocks[remaining]);
    EXPECT_EQ(pool_->blocks, 1);
    EXPECT_EQ(pool_->used, 0);
    ASSERT_NE(pool_->freeList, nullptr);
    EXPECT_EQ(pool_->freeList->size, kPoolBytes);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(PoolTest, FirstFitTakesTheLowestFreeBlockThatIsLargeEnough) {
  // Two free blocks around one in use: a small one at the base, a large one above.
  void* top = PoolAlloc(kPoolBytes - 3 * 1024);
  void* middle = PoolAlloc(512);
  void* keep = PoolAlloc(2048);
  ASSERT_TRUE(top && middle && keep);
  PoolFree(pool_, top);
  PoolFree(pool_, middle);
  void* fits = PoolAlloc(256);
  EXPECT_LT(fits, keep) << "the lower block fits and is taken";
  void* large = PoolAlloc(4096);
  EXPECT_GT(large, keep) << "too large for the hole: the block above";
}

TEST_F(PoolTest, RequestLargerThanEveryFreeBlockChangesNothing) {
  void* a = PoolAlloc(1000);
  ASSERT_NE(a, nullptr);
  dnspool before = *pool_;
  EXPECT_EQ(PoolAlloc(kPoolBytes), nullptr);
  EXPECT_EQ(PoolAlloc(static_cast<size_t>(kPoolBytes) * 4), nullptr);
  EXPECT_EQ(pool_->used, before.used);
  EXPECT_EQ(pool_->blocks, before.blocks);
  EXPECT_EQ(pool_->freeList, before.freeList);
  EXPECT_EQ(pool_->freeList->size, kPoolBytes - 1008);
}

TEST_F(PoolTest, FreeOfAPointerThatIsNoBlockInUseIsRefused) {
  void* a = PoolAlloc(64);
  void* b = PoolAlloc(64);
  PoolFree(pool_, b);
  static int outside[4];
  void* bad[] = {b, static_cast<uint8_t*>(a) + 8, &outside[2]};
  for (void* p : bad) {
    capture_.Clear();
    dnspool before = *pool_;
    PoolFree(pool_, p);
    EXPECT_EQ(pool_->used, before.used);
    EXPECT_EQ(pool_->blocks, before.blocks);
    EXPECT_NE(Log().find("dnsmodel:  pool free of"), std::string::npos);
  }
  PoolFree(pool_, nullptr);
  PoolFree(pool_, a);
  EXPECT_EQ(pool_->used, 0);
  EXPECT_EQ(pool_->blocks, 1);
}

}  // namespace
