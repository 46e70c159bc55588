#include "core/matrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

void ExpectNear(const kxvector4r& got, const kxvector4r& want, float tolerance = 1e-6f) {
  EXPECT_NEAR(got.x, want.x, tolerance);
  EXPECT_NEAR(got.y, want.y, tolerance);
  EXPECT_NEAR(got.z, want.z, tolerance);
  EXPECT_NEAR(got.w, want.w, tolerance);
}

void ExpectNear(const kxmatrix& got, const kxmatrix& want, float tolerance = 1e-6f) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "element " << i;
}

// A = translation by (1, 0, 0); B = 90 degrees about z.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kxmatrix::SetIdentity(&A)->R = {1, 0, 0, 1};
    B = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  }
  kxmatrix A;
  kxmatrix B;
};

TEST_F(FrameTest, MultiplyPlacesTheLocalFrameInTheParent) {
  kxmatrix out;
  kxmatrix::Multiply4x4(&out, &A, &B);
  EXPECT_EQ(out.X, (kxvector4r{0, 1, 0, 0}));
  EXPECT_EQ(out.Y, (kxvector4r{-1, 0, 0, 0}));
  EXPECT_EQ(out.R, (kxvector4r{1, 0, 0, 1}));
  // The other order turns the translation too.
  kxmatrix::Multiply4x4(&out, &B, &A);
  EXPECT_EQ(out.R, (kxvector4r{0, 1, 0, 1}));
  // The output may alias either input.
  kxmatrix expected;
  kxmatrix::Multiply4x4(&expected, &A, &B);
  kxmatrix a = A;
  kxmatrix::Multiply4x4(&a, &a, &B);
  EXPECT_EQ(std::memcmp(&a, &expected, sizeof a), 0);
  kxmatrix b = B;
  kxmatrix::Multiply4x4(&b, &A, &b);
  EXPECT_EQ(std::memcmp(&b, &expected, sizeof b), 0);
}

TEST_F(FrameTest, TransformMovesPointsAndTurnsDirections) {
  kxmatrix M;
  kxmatrix::Multiply4x4(&M, &A, &B);
  float point[4] = {1, 0, 0, 1};
  float out[4];
  kxmatrix::TransformVector4(out, &M, point);
  EXPECT_EQ((kxvector4r{out[0], out[1], out[2], out[3]}), (kxvector4r{1, 1, 0, 1}));
  kxvector4r direction{1, 0, 0, 0};
  kxmatrix::TransformVector4(&direction, &M, &direction);  // in place
  EXPECT_EQ(direction, (kxvector4r{0, 1, 0, 0}));
  kxmatrix::TransformVector4(point, &M, point);
  EXPECT_EQ(point[0], 1.0f);
  EXPECT_EQ(point[1], 1.0f);
  EXPECT_EQ(point[3], 1.0f);
}

// The products are summed in double: a small term beside two large ones
// that cancel survives, where float sums would lose it.
TEST_F(FrameTest, TransformSumsInDoubleAndRoundsOnce) {
  kxmatrix M;
  kxmatrix::SetIdentity(&M);
  M[4] = 1e8f;    // x += 1e8 y
  M[12] = -1e8f;  // x -= 1e8 w
  kxvector4r v{1, 1, 0, 1}, out;
  kxmatrix::TransformVector4(&out, &M, &v);
  EXPECT_EQ(out.x, 1.0f);
  EXPECT_EQ(out.y, 1.0f);
}

// The single-precision transform sums in float, left to right: the same
// small term is lost, and exact products agree with the double sums.
TEST_F(FrameTest, SingleTransformSumsInFloatInOrder) {
  kxmatrix M;
  kxmatrix::SetIdentity(&M);
  M[4] = 1e8f;
  M[12] = -1e8f;
  kxvector4r v{1, 1, 0, 1};
  kxvector4r single = kxmatrix::TransformSingle(M, v);
  EXPECT_EQ(single.x, 0.0f);  // (1 + 1e8) rounds to 1e8 before the -1e8
  EXPECT_EQ(single.y, 1.0f);
  kxmatrix::Multiply4x4(&M, &A, &B);
  kxvector4r point{1, 2, 3, 1}, exact;
  kxmatrix::TransformVector4(&exact, &M, &point);
  EXPECT_EQ(kxmatrix::TransformSingle(M, point), exact);
}

// Right-handed about any axis, of any length; a zero axis gives identity.
TEST_F(FrameTest, RotationFollowsTheRightHandRuleAboutAnyAxis) {
  kxmatrix R, identity;
  kxmatrix::SetIdentity(&identity);
  const float pi = std::numbers::pi_v<float>;
  const kxmatrix cycle = {{0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}};  // x -> y -> z
  const struct {
    kxvector4r axis;
    float angle;
    const kxmatrix* want;
  } cases[] = {{{0, 0, 1, 0}, pi / 2, &B}, {{0, 0, 5, 0}, pi / 2, &B}, {{1, 1, 1, 0}, 2 * pi / 3, &cycle},
               {{0, 0, 0, 1}, 1.0f, &identity}};
  for (const auto& c : cases) {
    kxmatrix::SetRotation(&R, c.axis, c.angle);
    ExpectNear(R, *c.want);
  }
}

TEST_F(FrameTest, InverseOfRotatedTranslatedFrame) {
  kxmatrix frame = B;
  frame.R = {1, 2, 3, 1};
  kxmatrix inverse;
  ASSERT_EQ(kxmatrix::Invert(frame, inverse), 0);
  ExpectNear(inverse.R, {-2, 1, -3, 1});
  ExpectNear(inverse.X, {0, -1, 0, 0});
  kxmatrix product;
  kxmatrix identity;
  kxmatrix::Multiply4x4(&product, &frame, &inverse);
  ExpectNear(product, *kxmatrix::SetIdentity(&identity));
}

TEST(MatrixInvert, SingularMatrixFailsAndGivesIdentity) {
  kxmatrix zero;
  kxmatrix::SetScalar(&zero, 0.0f);
  kxmatrix out;
  kxmatrix::Scale(&out, 7.0f, kxmatrix::SetIdentity(&out));
  EXPECT_EQ(kxmatrix::Invert(zero, out), -1);
  kxmatrix identity;
  EXPECT_EQ(std::memcmp(&out, kxmatrix::SetIdentity(&identity), sizeof out), 0);

  double rankTwo[9] = {1, 2, 3, 2, 4, 6, 0, 1, 1};  // second row = 2 * first
  double dst[9] = {};
  EXPECT_EQ(kxmatrix::Invert(rankTwo, dst, 3), -1);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(dst[i], (i % 4 == 0) ? 1.0 : 0.0);

  double broken[4] = {NAN, 0, 0, 1};
  EXPECT_EQ(kxmatrix::Invert(broken, dst, 2), -1);
  EXPECT_EQ(dst[0], 1.0);
}

TEST(MatrixInvert, SizeOutsideOneToFourFailsAndLeavesDestination) {
  double src[25] = {1};
  double dst[25];
  for (double& d : dst) d = 9.0;
  EXPECT_EQ(kxmatrix::Invert(src, dst, 0), -1);
  EXPECT_EQ(kxmatrix::Invert(src, dst, 5), -1);
  for (double d : dst) EXPECT_EQ(d, 9.0);
}

TEST(MatrixInvert, PivotingHandlesZeroOnTheDiagonal) {
  double src[9] = {0, 2, 0, 1, 0, 0, 0, 0, 4};
  double dst[9];
  ASSERT_EQ(kxmatrix::Invert(src, dst, 3), 0);
  const double want[9] = {0, 1, 0, 0.5, 0, 0, 0, 0, 0.25};
  for (int i = 0; i < 9; ++i) EXPECT_DOUBLE_EQ(dst[i], want[i]) << i;
  double one = 4.0;
  ASSERT_EQ(kxmatrix::Invert(&one, &one, 1), 0);  // in place
  EXPECT_EQ(one, 0.25);
}

TEST(MatrixInvert, ScaledMatricesAreNotMistakenForSingular) {
  kxmatrix small;
  kxmatrix::SetScalar(&small, 1e-6f);
  kxmatrix inverse;
  ASSERT_EQ(kxmatrix::Invert(small, inverse), 0);
  EXPECT_NEAR(inverse[0], 1e6f, 1.0f);
}

// The float frame inverse agrees with elimination in doubles rounded once,
// whether the frame is rigid, nearly so, or neither.
TEST(MatrixInvert, FrameInverseMatchesEliminationInDoubles) {
  kxmatrix turned;
  kxmatrix::SetRotation(&turned, {0.3f, -0.8f, 0.5f, 0.0f}, 2.1f);
  turned.R = {812.25f, -431.5f, 1003.75f, 1.0f};
  kxmatrix drifted = turned;  // axes a few roundings off orthonormal
  drifted.X.x += 3e-7f, drifted.Y.z -= 2e-7f, drifted.Z.y += 4e-7f;
  kxmatrix skewed = turned;  // beyond what a rounding does: not rigid
  skewed.X.y += 0.01f;
  kxmatrix scaled;
  kxmatrix::Scale(&scaled, 2.5f, &turned);
  scaled.R = turned.R;
  kxmatrix projective = turned;
  projective.X.w = 0.25f;
  for (const kxmatrix* m : {&turned, &drifted, &skewed, &scaled, &projective}) {
    double in[16], out[16];
    for (int i = 0; i < 16; ++i) in[i] = (*m)[i];
    ASSERT_EQ(kxmatrix::Invert(in, out, 4), 0);
    kxmatrix inverse;
    ASSERT_EQ(kxmatrix::Invert(*m, inverse), 0);
    for (int i = 0; i < 16; ++i) {
      float want = static_cast<float>(out[i]);
      EXPECT_NEAR(inverse[i], want, 1.2e-7 * std::max(1.0, std::fabs(out[i]))) << "element " << i;
    }
  }
}

TEST(MatrixBasics, ScalarAndScale) {
  kxmatrix m;
  kxmatrix::SetScalar(&m, 2.0f);
  EXPECT_EQ(m.X, (kxvector4r{2, 0, 0, 0}));
  EXPECT_EQ(m.R, (kxvector4r{0, 0, 0, 2}));
  kxmatrix::Scale(&m, 0.5f, &m);
  EXPECT_EQ(m.Z, (kxvector4r{0, 0, 1, 0}));
  EXPECT_EQ(m[15], 1.0f);
}

}  // namespace
