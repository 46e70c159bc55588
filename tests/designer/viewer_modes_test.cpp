// The viewer modes' rates as the user drags: a known pointer move gives an
// exact displacement or angle of the designer camera, not only a direction.
#include <cmath>
#include <string>

#include "designer_support.h"

namespace {

using designertest::designerfixture;
using designertest::kWindowHeight;
using designertest::kWindowWidth;
using v4 = kxvector4r;

// A drag of 51 px right and 38 px up from (500, 400), in the pointer's
// normalised units (the screen spans -1..1 both ways).
constexpr int kFromX = 500, kFromY = 400, kRight = 51, kUp = 38;
constexpr float kDx = 2.0f * kRight / kWindowWidth, kDy = 2.0f * kUp / kWindowHeight;

void ExpectVector(const v4& got, const v4& expected, const char* what) {
  EXPECT_NEAR(got.x, expected.x, 1e-6f) << what;
  EXPECT_NEAR(got.y, expected.y, 1e-6f) << what;
  EXPECT_NEAR(got.z, expected.z, 1e-6f) << what;
  EXPECT_NEAR(got.w, expected.w, 1e-6f) << what;
}

// From the view straight down at height 3 (screen up +x, screen left +y):
// shift moves the eye 0.4 per unit of pointer travel across and 0.3 up,
// dolly 10 along the sight per unit up, turn 0.4 rad per unit across and
// 0.3 rad per unit up about the camera's own axes.
TEST_F(designerfixture, DragsMoveAndTurnTheCameraAtTheirRates) {
  Enter("trainer");
  const float a = 0.4f * kDx, b = 0.3f * kDy;  // rad
  const float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
  struct probe {
    const char* mode;
    int right, up;  // px
    v4 pos, view, left, upward;
  } probes[] = {
      {"DesignModeViewerShift", kRight, kUp, {-0.3f * kDy, 0.4f * kDx, 3, 1}, {0, 0, -1, 0}, {0, 1, 0, 0},
       {1, 0, 0, 0}},
      {"DesignModeViewerMove", kRight, kUp, {0, 0, 3 + 10 * kDy, 1}, {0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}},
      // Across: about the screen's up axis, the sight turning to the left.
      {"DesignModeViewerTurn", kRight, 0, {0, 0, 3, 1}, {0, sa, -ca, 0}, {0, ca, sa, 0}, {1, 0, 0, 0}},
      // Up: about the screen's left axis, the sight turning down the screen.
      {"DesignModeViewerTurn", 0, kUp, {0, 0, 3, 1}, {-sb, 0, -cb, 0}, {0, 1, 0, 0}, {cb, 0, -sb, 0}},
  };
  svdesigncamera& c = State().camera;
  for (const probe& p : probes) {
    SCOPED_TRACE(std::string(p.mode) + " " + std::to_string(p.right) + " " + std::to_string(p.up));
    c.PlaceTop(3);
    Run(p.mode);
    Run("DesignMouseLeftDown( " + std::to_string(kFromX) + ", " + std::to_string(kFromY) + " )");
    const std::string to = std::to_string(kFromX + p.right) + ", " + std::to_string(kFromY + p.up);
    Run("DesignMouseMove( " + to + " )");
    Run("DesignMouseLeftUp( " + to + " )");
    ExpectVector(c.pos, p.pos, "eye");
    ExpectVector(c.view, p.view, "sight");
    ExpectVector(c.left, p.left, "left");
    ExpectVector(c.up, p.upward, "up");
  }
  // Both at once: one turn by the two angles' root sum of squares.
  c.PlaceTop(3);
  Run("DesignMouseLeftDown( " + std::to_string(kFromX) + ", " + std::to_string(kFromY) + " )");
  Run("DesignMouseMove( " + std::to_string(kFromX + kRight) + ", " + std::to_string(kFromY + kUp) + " )");
  EXPECT_NEAR(std::acos(-c.view.z), std::sqrt(a * a + b * b), 1e-4f);
  // The sight leans to the screen's left and bottom in the two angles' ratio.
  EXPECT_NEAR(std::atan2(c.view.y, -c.view.x), std::atan2(a, b), 1e-3f);
}

}  // namespace
