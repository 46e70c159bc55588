// The lane operations against the scalar formulas they stand for, bit for
// bit, on rows that hold the awkward values (signed zeros, infinities, a
// NaN, the smallest and largest floats): a kernel written with them gives
// the results of its scalar form on every target, the portable one too.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/lanes.h"
#include "gtest/gtest.h"

namespace {

using namespace kxlanes;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kTiny = std::numeric_limits<float>::denorm_min();
constexpr float kHuge = std::numeric_limits<float>::max();

// Rows of four, each lane paired with the same lane of the next row.
const float kRows[][4] = {
    {1.5f, -2.25f, 0.0f, -0.0f},   {3.0f, 0.1f, -0.0f, 0.0f},  {kInf, -kInf, kNaN, 7.0f},
    {-kInf, kInf, 2.0f, kNaN},     {kTiny, -kTiny, kHuge, -kHuge}, {1e-30f, 1e30f, kHuge, 0.5f},
    {0.3333333f, -1e-7f, 12345.678f, -0.0f}, {3.0f, 1e7f, -0.001f, 1.0f},
};
constexpr int kRowCount = sizeof kRows / sizeof kRows[0];

uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

float FromBits(uint32_t b) {
  float v;
  std::memcpy(&v, &b, sizeof v);
  return v;
}

struct out {
  float v[4];
};

out Out(f4 v) {
  out o;
  StoreU(o.v, v);
  return o;
}

// Every lane of got holds the bits of want(a, b) for that lane's inputs.
template <class Want>
void ExpectLanes(const char* name, f4 (*op)(f4, f4), Want want) {
  for (int r = 0; r + 1 < kRowCount; ++r) {
    out got = Out(op(LoadU(kRows[r]), LoadU(kRows[r + 1])));
    for (int k = 0; k < 4; ++k) {
      const float a = kRows[r][k], b = kRows[r + 1][k];
      EXPECT_EQ(Bits(got.v[k]), Bits(want(a, b))) << name << " of " << a << " and " << b;
    }
  }
}

uint32_t MaskOf(bool holds) { return holds ? 0xffffffffu : 0u; }

TEST(LanesTest, ArithmeticRoundsAsTheScalarOperation) {
  ExpectLanes("Add", Add, [](float a, float b) { return a + b; });
  ExpectLanes("Sub", Sub, [](float a, float b) { return a - b; });
  ExpectLanes("Mul", Mul, [](float a, float b) { return a * b; });
  ExpectLanes("Div", Div, [](float a, float b) { return a / b; });
  ExpectLanes("Min", Min, [](float a, float b) { return a < b ? a : b; });
  ExpectLanes("Max", Max, [](float a, float b) { return a > b ? a : b; });
  ExpectLanes("Sqrt", [](f4 a, f4) { return Sqrt(a); }, [](float a, float) { return std::sqrt(a); });
}

TEST(LanesTest, ComparisonsGiveWholeMasksAndANaNComparesOnlyUnequal) {
  auto as = [](auto test) { return [test](float a, float b) { return FromBits(MaskOf(test(a, b))); }; };
  ExpectLanes("Less", Less, as([](float a, float b) { return a < b; }));
  ExpectLanes("LessEq", LessEq, as([](float a, float b) { return a <= b; }));
  ExpectLanes("Greater", Greater, as([](float a, float b) { return a > b; }));
  ExpectLanes("GreaterEq", GreaterEq, as([](float a, float b) { return a >= b; }));
  ExpectLanes("Equal", Equal, as([](float a, float b) { return a == b; }));
  ExpectLanes("NotEqual", NotEqual, as([](float a, float b) { return a != b; }));
}

TEST(LanesTest, BitOperationsSelectAndSignsWorkOnTheBits) {
  auto bits = [](auto op) { return [op](float a, float b) { return FromBits(op(Bits(a), Bits(b))); }; };
  ExpectLanes("And", And, bits([](uint32_t a, uint32_t b) { return a & b; }));
  ExpectLanes("AndNot", AndNot, bits([](uint32_t a, uint32_t b) { return ~a & b; }));
  ExpectLanes("Or", Or, bits([](uint32_t a, uint32_t b) { return a | b; }));
  ExpectLanes("Xor", Xor, bits([](uint32_t a, uint32_t b) { return a ^ b; }));
  ExpectLanes("Select", [](f4 a, f4 b) { return Select(Less(a, b), a, b); },
              [](float a, float b) { return a < b ? a : b; });
  ExpectLanes("Abs", [](f4 a, f4) { return Abs(a); }, bits([](uint32_t a, uint32_t) { return a & 0x7fffffffu; }));
  ExpectLanes("Negated", [](f4 a, f4) { return Negated(a); },
              bits([](uint32_t a, uint32_t) { return a ^ 0x80000000u; }));
}

TEST(LanesTest, MovesPutEachLaneWhereItsNameSays) {
  const f4 a = Set(1.0f, 2.0f, 3.0f, 4.0f), b = Set(5.0f, 6.0f, 7.0f, 8.0f);
  struct move {
    const char* name;
    f4 got;
    float want[4];
  } const kMoves[] = {
      {"Shuffle<3, 0, 2, 1>", Shuffle<3, 0, 2, 1>(a, b), {4.0f, 1.0f, 7.0f, 6.0f}},
      {"Broadcast<2>", Broadcast<2>(a), {3.0f, 3.0f, 3.0f, 3.0f}},
      {"UnpackLow", UnpackLow(a, b), {1.0f, 5.0f, 2.0f, 6.0f}},
      {"UnpackHigh", UnpackHigh(a, b), {3.0f, 7.0f, 4.0f, 8.0f}},
      {"HighLow", HighLow(a, b), {7.0f, 8.0f, 3.0f, 4.0f}},
      {"XYZ", XYZ(Set(1.0f, 2.0f, 3.0f, kNaN)), {1.0f, 2.0f, 3.0f, 0.0f}},
      {"WithW", WithW(a, -1.0f), {1.0f, 2.0f, 3.0f, -1.0f}},
      {"Splat", Splat(-0.0f), {-0.0f, -0.0f, -0.0f, -0.0f}},
      {"Zero", Zero(), {0.0f, 0.0f, 0.0f, 0.0f}},
  };
  for (const move& m : kMoves) {
    out got = Out(m.got);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Bits(got.v[k]), Bits(m.want[k])) << m.name << " lane " << k;
  }
  f4 r0 = a, r1 = b, r2 = Set(9.0f, 10.0f, 11.0f, 12.0f), r3 = Set(13.0f, 14.0f, 15.0f, 16.0f);
  Transpose(r0, r1, r2, r3);
  const f4 rows[4] = {r0, r1, r2, r3};
  for (int i = 0; i < 4; ++i) {
    out got = Out(rows[i]);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(got.v[k], static_cast<float>(1 + i + 4 * k)) << "Transpose row " << i;
  }
  EXPECT_EQ(First(b), 5.0f);
}

// Three rows and a vector from the awkward rows, each lane's sum against
// the scalar (x x' + y y') + z z'; the w lanes are never read, so a NaN
// there changes nothing, and w repeats the third sum.
TEST(LanesTest, Dots3SumsEachRowAsTheScalarDotProduct) {
  for (int r = 0; r + 3 < kRowCount; ++r) {
    const float* row[3] = {kRows[r], kRows[r + 1], kRows[r + 2]};
    const float* v = kRows[r + 3];
    auto withNaNW = [](const float* p) { return Set(p[0], p[1], p[2], kNaN); };
    out got = Out(Dots3(withNaNW(row[0]), withNaNW(row[1]), withNaNW(row[2]), withNaNW(v)));
    for (int k = 0; k < 3; ++k) {
      const float want = (row[k][0] * v[0] + row[k][1] * v[1]) + row[k][2] * v[2];
      EXPECT_EQ(Bits(got.v[k]), Bits(want)) << "row " << r + k << " lane " << k;
    }
    EXPECT_EQ(Bits(got.v[3]), Bits(got.v[2])) << "w of rows from " << r;
  }
}

TEST(LanesTest, StoresMasksAndWholeNumbersKeepTheirLanes) {
  float row[4] = {-1.0f, -1.0f, -1.0f, 42.0f};
  StoreXYZ(row, Set(1.0f, 2.0f, 3.0f, 4.0f));
  EXPECT_EQ(row[0], 1.0f);
  EXPECT_EQ(row[2], 3.0f);
  EXPECT_EQ(row[3], 42.0f);  // w left as it was
  EXPECT_EQ(Mask(Less(Set(0.0f, 2.0f, -1.0f, kNaN), Splat(1.0f))), 0b0101u);
  alignas(16) float aligned[4] = {2.5f, -2.5f, 1e9f, -0.75f};
  int whole[4];
  StoreInts(whole, Truncated(Load(aligned)));
  const int wantWhole[4] = {2, -2, 1000000000, 0};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(whole[k], wantWhole[k]) << "Truncated lane " << k;
  out back = Out(ToFloats(Truncated(Load(aligned))));
  EXPECT_EQ(back.v[1], -2.0f);
  // Times eight, lane by lane.
  StoreInts(whole, ShiftedLeft<3>(Truncated(Set(2.5f, -2.5f, 1599.0f, 0.0f))));
  const int wantShifted[4] = {16, -16, 12792, 0};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(whole[k], wantShifted[k]) << "ShiftedLeft lane " << k;
  Store(aligned, Splat(0.5f));
  EXPECT_EQ(aligned[3], 0.5f);
  // A mask stored as bits reads back as the comparison that made it.
  alignas(16) const uint32_t bits[4] = {~0u, 0u, 0u, ~0u};
  EXPECT_EQ(Mask(LoadMask(bits)), 0b1001u);
  EXPECT_EQ(Bits(First(And(LoadMask(bits), Splat(-3.5f)))), Bits(-3.5f));
}

}  // namespace
