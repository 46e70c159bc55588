#include "platform/random.h"

#include <cstdint>
#include <cstdlib>

namespace kxsystem {
namespace {

/*
 * L'Ecuyer's combination of two multiplicative generators (period about
 * 2.3e18) with a Bays-Durham shuffle, stepped by Schrage's method so no
 * product overflows 32 bits.
 */
constexpr int32_t kModulus1 = 2147483563;
constexpr int32_t kModulus2 = 2147483399;
constexpr int32_t kMultiplier1 = 40014;
constexpr int32_t kMultiplier2 = 40692;
constexpr int32_t kQuotient1 = 53668;  // kModulus1 / kMultiplier1
constexpr int32_t kQuotient2 = 52774;
constexpr int32_t kRemainder1 = 12211; // kModulus1 % kMultiplier1
constexpr int32_t kRemainder2 = 3791;
constexpr int kTableSize = 32;
constexpr int32_t kTableDivisor = 1 + (kModulus1 - 1) / kTableSize;
constexpr int kWarmUp = 8;
constexpr double kScale = 1.0 / kModulus1;
constexpr float kLargestResult = 1.0f - 1.2e-7f;

struct Generator {
  int32_t state1 = 1;
  int32_t state2 = 123456789;
  int32_t last = 0;
  int32_t table[kTableSize] = {};

  static int32_t Step(int32_t value, int32_t multiplier, int32_t quotient, int32_t remainder,
                      int32_t modulus) {
    int32_t k = value / quotient;
    value = multiplier * (value - k * quotient) - k * remainder;
    if (value < 0) value += modulus;
    return value;
  }

  void Seed(int seed) {
    int64_t magnitude = std::llabs(static_cast<int64_t>(seed));
    if (magnitude == 0) magnitude = 1;
    state1 = static_cast<int32_t>(magnitude % kModulus1);
    if (state1 == 0) state1 = 1;
    state2 = state1;
    for (int j = kTableSize + kWarmUp - 1; j >= 0; --j) {
      state1 = Step(state1, kMultiplier1, kQuotient1, kRemainder1, kModulus1);
      if (j < kTableSize) table[j] = state1;
    }
    last = table[0];
  }

  float Next() {
    state1 = Step(state1, kMultiplier1, kQuotient1, kRemainder1, kModulus1);
    state2 = Step(state2, kMultiplier2, kQuotient2, kRemainder2, kModulus2);
    int j = last / kTableDivisor;
    last = table[j] - state2;
    table[j] = state1;
    if (last < 1) last += kModulus1 - 1;
    float value = static_cast<float>(kScale * last);
    return value > kLargestResult ? kLargestResult : value;
  }
};

Generator generator = [] {
  Generator g;
  g.Seed(1);
  return g;
}();

}  // namespace

float Random() { return generator.Next(); }

void SeedRandom(int seed) { generator.Seed(seed); }

}  // namespace kxsystem
