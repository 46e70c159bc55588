// The selection window drawn under a real OpenGL context (a hidden window;
// skipped without a display): thumbnails in the tile area, the preview of
// the chosen aircraft, and the marked tile in the display's selection colour.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gui/display.h"
#include "gui/gui.h"
#include "gui/images.h"
#include "sim/session.h"
#include "tests/config_ui/selection_support.h"
#include "tests/gui/gl_gui_support.h"

namespace {

constexpr int kWidth = 700, kHeight = 600;  // px
// The sky behind the generated pictures of the samples, and the frame of
// the no-preview picture.
constexpr int kSky[3] = {158, 198, 242};
constexpr int kNoPreviewFrame = 110;

using kxtest::ReadPixel;
using kxtest::pixel;

class AircraftSelectionDrawTest : public kxtest::glguitest<configtest::selectiontest, kWidth, kHeight> {
 protected:
  // Pixels of the tile area that match a colour within 2 levels.
  int CountInTiles(const int rgb[3]) {
    std::vector<pixel> pixels(static_cast<size_t>(kWidth) * kHeight);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int count = 0;
    for (int y = window->Y + 52; y < window->Y + window->H - 24; ++y) {
      for (int x = window->X + 2; x < window->X + 386; ++x) {
        const pixel& p = pixels[static_cast<size_t>(y) * kWidth + x];
        if (std::abs(p.r - rgb[0]) <= 2 && std::abs(p.g - rgb[1]) <= 2 && std::abs(p.b - rgb[2]) <= 2) ++count;
      }
    }
    return count;
  }
  pixel PreviewPixel(int x, int y) { return ReadPixel(window->X + window->preview->X + x, window->Y + window->preview->Y + y); }
};

TEST_F(AircraftSelectionDrawTest, ThumbnailsPreviewAndSelectionAreDrawn) {
  std::strcpy(sim::session.settings.aircraft0, "jet");
  Run("Open(0)");
  kxgui::Frame();
  // Every sample but "bare" and "older" has a thumbnail with a sky around
  // the model; each shows well over a quarter of its 64 x 64 pixels.
  EXPECT_GT(CountInTiles(kSky), 8 * 64 * 64 / 4);
  pixel corner = PreviewPixel(4, 4);
  EXPECT_NEAR(corner.r, kSky[0], 2);
  EXPECT_NEAR(corner.g, kSky[1], 2);
  EXPECT_NEAR(corner.b, kSky[2], 2);

  const kxcolor4& c = kxgui::Palette(kxgui::kColorSelection);
  const int selection[3] = {static_cast<int>(std::lround(c.r * 255)), static_cast<int>(std::lround(c.g * 255)),
                            static_cast<int>(std::lround(c.b * 255))};
  int before = CountInTiles(selection);
  Run("Select( \"older\" )");
  glClear(GL_COLOR_BUFFER_BIT);
  kxgui::Frame();
  // The marked tile: 90 x 90 less its name line and thumbnail button.
  EXPECT_GT(CountInTiles(selection) - before, 90 * 70 - 64 * 64 - 200);
  EXPECT_NEAR(PreviewPixel(2, 2).r, kNoPreviewFrame, 2);
  EXPECT_NEAR(PreviewPixel(2, 2).b, kNoPreviewFrame, 2);
}

}  // namespace
