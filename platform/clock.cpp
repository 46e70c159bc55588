#include "platform/clock.h"

#include <time.h>

namespace kxsystem {
namespace {

uint64_t MonotonicMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

uint64_t origin = MonotonicMicroseconds();
ClockSource testSource = nullptr;

}  // namespace

uint32_t GetTime() {
  if (testSource) return testSource();
  return static_cast<uint32_t>(MonotonicMicroseconds() - origin);
}

void StartClock() { origin = MonotonicMicroseconds(); }

void SetClockForTest(ClockSource source) { testSource = source; }

}  // namespace kxsystem
