#include "core/vector.h"
#include "core/vector3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

template <class V>
class VectorTest : public ::testing::Test {};
using VectorTypes = ::testing::Types<kxvector4r, kxvector4f>;
TYPED_TEST_SUITE(VectorTest, VectorTypes);

TYPED_TEST(VectorTest, AddSubtractAndScaleCoverAllFourComponents) {
  using V = TypeParam;
  V a{1, 2, 3, 4};
  V b{10, 20, 30, 40};
  V sum{};
  V::Add(sum, a, b);
  EXPECT_EQ(sum, (V{11, 22, 33, 44}));
  V::Subtract(sum, sum, a);  // destination may be an operand
  EXPECT_EQ(sum, b);
  a *= 2.0f;
  EXPECT_EQ(a, (V{2, 4, 6, 8}));
}

TYPED_TEST(VectorTest, LengthIncludesW) {
  using V = TypeParam;
  EXPECT_EQ(V::Length(V{1, 1, 1, 1}), 2.0f);
  EXPECT_EQ(V::Length(V{0, 3, 0, 4}), 5.0f);
}

TYPED_TEST(VectorTest, DotProductsAndCross) {
  using V = TypeParam;
  V a{1, 2, 3, 4};
  V b{5, 6, 7, 8};
  EXPECT_EQ(V::Dot(a, b), 70.0f);
  EXPECT_EQ(V::Dot3(a, b), 38.0f);
  V x{1, 0, 0, 1};
  V y{0, 1, 0, 1};
  V z{};
  V::Cross(z, x, y);
  EXPECT_EQ(z, (V{0, 0, 1, 0}));
  V::Cross(x, x, y);  // aliasing the first operand
  EXPECT_EQ(x, (V{0, 0, 1, 0}));
}

TYPED_TEST(VectorTest, NormaliseReturnsOldLengthAndGivesUnitLength) {
  using V = TypeParam;
  V v{0, 3, 0, 4};
  EXPECT_EQ(V::Normalise(v), 5.0f);
  EXPECT_FLOAT_EQ(v.y, 0.6f);
  EXPECT_FLOAT_EQ(v.w, 0.8f);
  V p{3, 0, 4, 1};
  EXPECT_EQ(V::Normalise3(p), 5.0f);
  EXPECT_FLOAT_EQ(p.x, 0.6f);
  EXPECT_FLOAT_EQ(p.z, 0.8f);
  EXPECT_EQ(p.w, 1.0f);  // a point keeps its w
}

TYPED_TEST(VectorTest, NormalisingAZeroVectorLeavesItZero) {
  using V = TypeParam;
  V zero{};
  EXPECT_EQ(V::Normalise(zero), 0.0f);
  EXPECT_EQ(zero, (V{0, 0, 0, 0}));
  V point{0, 0, 0, 1};
  EXPECT_EQ(V::Normalise3(point), 0.0f);
  EXPECT_EQ(point, (V{0, 0, 0, 1}));
  V broken{std::numeric_limits<float>::infinity(), 0, 0, 0};
  V::Normalise(broken);
  EXPECT_FALSE(std::isnan(broken.x));
}

TEST(Vector, ConversionsKeepEveryComponent) {
  kxvector4r r{0.1f, -0.2f, 0.3f, 1.0f};
  kxvector4f f = static_cast<kxvector4f>(r);
  EXPECT_EQ(f, (kxvector4f{0.1f, -0.2f, 0.3f, 1.0f}));
  EXPECT_EQ(static_cast<kxvector4r>(f), r);
}

}  // namespace

// ---- float[3] rows

TEST(Vector3, CrossWritesItsOwnRow) {
  const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
  float z[3];
  kxvector3::Cross(z, x, y);
  EXPECT_EQ(z[0], 0.0f);
  EXPECT_EQ(z[1], 0.0f);
  EXPECT_EQ(z[2], 1.0f);
}

TEST(Vector3, NormaliseGivesTheOldLengthAndLeavesUnusableRowsAlone) {
  struct {
    float v[3];
    float length, unit[3];
  } rows[] = {{{3, 0, 4}, 5, {0.6f, 0, 0.8f}},
              {{0, 0, 0}, 0, {0, 0, 0}},
              {{INFINITY, 1, 0}, 0, {INFINITY, 1, 0}}};
  for (auto& r : rows) {
    EXPECT_EQ(kxvector3::Normalise(r.v), r.length);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(r.v[k], r.unit[k]) << k;
  }
  float m[16];
  kxvector3::SetIdentity(m);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}
