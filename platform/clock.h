// The microsecond timer: a 32-bit count from the start of the program. It
// wraps after about 71.6 minutes, so callers take unsigned differences.
#pragma once

#include <cstdint>

namespace kxsystem {

using ClockSource = uint32_t (*)();

// Microseconds since StartClock.
uint32_t GetTime();
// Sets the origin of GetTime to now.
void StartClock();
// Replaces the time source for tests; null restores the real clock.
void SetClockForTest(ClockSource source);

}  // namespace kxsystem
