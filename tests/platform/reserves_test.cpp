#include "platform/reserves.h"

#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "platform/log.h"

namespace {

class ReservesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kxsystem::ClearReserves();
    kxsystem::ClearLogHistory();
  }
  void TearDown() override { kxsystem::ClearReserves(); }
};

TEST_F(ReservesTest, ReserveIsAlignedZeroFilledAndCounted) {
  void* p = nullptr;
  ASSERT_EQ(kxsystem::Reserve(&p, 884736, "reflmaps1"), 1);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 32, 0u);
  const unsigned char* bytes = static_cast<unsigned char*>(p);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[884735], 0);
  EXPECT_EQ(kxsystem::ReserveCount(), 1);
  EXPECT_EQ(kxsystem::ReserveBytes(), 884736);
  kxsystem::Release(&p);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(kxsystem::ReserveCount(), 0);
  EXPECT_EQ(kxsystem::ReserveBytes(), 0);
}

TEST_F(ReservesTest, ReserveIntoAHeldSlotReleasesTheOldBlockFirst) {
  void* p = nullptr;
  ASSERT_EQ(kxsystem::Reserve(&p, 100, "a"), 1);
  ASSERT_EQ(kxsystem::Reserve(&p, 200, "b"), 1);
  EXPECT_EQ(kxsystem::ReserveCount(), 1);
  EXPECT_EQ(kxsystem::ReserveBytes(), 200);
  kxsystem::Release(&p);
}

TEST_F(ReservesTest, NegativeSizeFailsWithNullSlotAndLogLine) {
  void* p = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(kxsystem::Reserve(&p, -5, "bad"), 0);
  EXPECT_EQ(p, nullptr);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "kxsystem:  reserve bad=fail");
  EXPECT_EQ(kxsystem::ReserveCount(), 0);
}

TEST_F(ReservesTest, ReleaseOfAForeignPointerIsIgnoredAndLogged) {
  int local = 0;
  void* p = &local;
  kxsystem::Release(&p);
  EXPECT_EQ(p, &local);
  EXPECT_NE(std::strstr(kxsystem::GetLogLine(1), "no reserve ignored"), nullptr);
  void* none = nullptr;
  kxsystem::Release(&none);
  kxsystem::Release(nullptr);
}

TEST_F(ReservesTest, ReportNamesEveryReserveStillHeld) {
  void* p = nullptr;
  ASSERT_EQ(kxsystem::Reserve(&p, 64, "terrain"), 1);
  kxsystem::ReportReserves();
  EXPECT_STREQ(kxsystem::GetLogLine(1), "kxsystem:  reserve terrain still held (64 bytes)");
}

}  // namespace
