// Whole frames under a real context, read back pixel by pixel: the views and
// their seam, the overlay windows, the sun's glare, the status message, the
// menu band with the GUI's fade, and screenshots compared byte by byte with
// the frame they show.
#include "sim/views/frame.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "dynamics/flight_state.h"
#include "graphics/texture_table.h"
#include "gui/gui.h"
#include "gui/graphic.h"
#include "platform/events.h"
#include "sim/views/display_lists.h"
#include "sim/views/gl_state.h"
#include "sim/views/sky.h"
#include "sim/views/view_matrices.h"
#include "sim/world/contest_record.h"
#include "sim/world/world.h"
#include "tests/platform/input_support.h"
#include "views_gl_support.h"

namespace {

using viewstest::camera;
using viewstest::kHeight;
using viewstest::kWidth;

constexpr float kZenith[3] = {0.0f, 0.4f, 0.8f};  // cloud type 80 straight up
constexpr float kBand = 0.8f;                      // the menu bar's grey

class FrameDraw : public viewstest::viewsgltest {
 protected:
  void SetUp() override {
    viewsgltest::SetUp();
    if (IsSkipped()) return;
    ASSERT_EQ(kxgl::LoadFont((ProgramData() / "texture/arial10.kxf").c_str(), &sim::small_font, 60), 1);
    lh_ = sim::small_font.lineHeight;
    sim::ResetFrame();
    saved_ = std::make_unique<simsession>(sim::session);
    input::pointer = kxpointer();
    world& w = Load("SCENERY 6000\n");
    sim::session.settings.cloud_type = sim::kCloudsNone;
    sim::SetupGL();
    sim::BuildSky(&w);
    sim::BuildSceneryLists();
    for (simplayer& p : sim::players) {
      Aim(p, up_);
      for (simcamera& c : p.camera) c.on = 0;
    }
    sim::session.run.frame_time = sim::session.run.sim_time_step = 0.02f;
  }
  void TearDown() override {
    if (kxgl::HasContext()) {
      input::pointer = kxpointer();
      kxgui::Focus = nullptr;
      kxgl::FreeFont(&sim::large_font);
      if (backlight_) kxgl::FreeTexture(backlight_);
      sim::session = *saved_;  // the frame's timers, flags and requests
      sim::ResetFrame();
    }
    viewsgltest::TearDown();
  }

  // The player's main viewer at the eye looking at target, a narrow view.
  void Aim(simplayer& p, const float target[3]) const {
    camera(eye_, target).CopyTo(p.viewer_position(), p.viewer_row_x(), p.viewer_row_y(), p.viewer_row_z());
    p.view_zoom = 1.0f;
  }
  // A black window, then one frame.
  static void Frame() {
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    sim::Draw();
  }
  static bool IsZenith(int x, int y) { return Near(kxtest::ReadPixel(x, y), kZenith[0], kZenith[1], kZenith[2]); }
  static ::testing::AssertionResult Band(int x, int y) { return Near(kxtest::ReadPixel(x, y), kBand, kBand, kBand); }
  static std::vector<uint8_t> Bgr(int w, int h) {
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }
  void LoadBacklight() {
    backlight_ = kxgl::LoadTexture((ProgramData() / "texture/backlight.bmp").c_str(), {.type = kxgl::kTypeAlpha,
                                                                                       .filter = kxgl::kFilterLinear});
    ASSERT_NE(backlight_, nullptr);
    sim::session.media.backlight_texture = backlight_;
  }

  const float eye_[3] = {0, 0, 2}, up_[3] = {0, 0, 100}, down_[3] = {0.1f, 0, -100}, side_[3] = {100, 0, 40};
  int lh_ = 0;
  kxtexture* backlight_ = nullptr;
  std::unique_ptr<simsession> saved_;
};

TEST_F(FrameDraw, OneViewFillsTheWindowUnderTheMenuBandAndTheFrameIsSwapped) {
  const int swaps = null_.swaps;
  Frame();
  EXPECT_TRUE(IsZenith(kWidth / 2, kHeight / 2));
  EXPECT_TRUE(Band(kWidth / 2, kHeight - 1));
  EXPECT_TRUE(Band(2, kHeight - 22));
  EXPECT_TRUE(IsZenith(kWidth / 2, kHeight - 23));
  EXPECT_EQ(null_.swaps, swaps + 1);
  sim::session.settings.show_log = 1;  // the log band: half dark over the top 30 lines, under the menu band
  Frame();
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth - 1, kHeight - 24), 0.5f * kZenith[0], 0.5f * kZenith[1], 0.5f * kZenith[2]));
  EXPECT_TRUE(Band(kWidth - 1, kHeight - 2));
  sim::session.settings.show_log = 0;
  sim::session.settings.game_type = static_cast<sim::gametype>(13);  // no such split: no view
  Frame();
  EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth / 2, kHeight / 2), 0, 0, 0));
}

TEST_F(FrameDraw, SplitScreensPutPlayerOneBelowOrLeftWithAWhiteSeam) {
  Aim(sim::players[1], down_);
  sim::session.settings.game_type = sim::kGameSplitAbove;
  Frame();
  EXPECT_TRUE(IsZenith(kWidth / 2, kHeight / 4));
  EXPECT_FALSE(IsZenith(kWidth / 2, kHeight / 2 + 10));
  for (int x : {0, kWidth / 3, kWidth - 1}) EXPECT_TRUE(Near(kxtest::ReadPixel(x, kHeight / 2), 1, 1, 1)) << x;
  EXPECT_FALSE(Near(kxtest::ReadPixel(kWidth / 3, kHeight / 2 - 1), 1, 1, 1));

  sim::session.settings.game_type = sim::kGameSplitSide;
  Frame();
  EXPECT_TRUE(IsZenith(kWidth / 4, kHeight / 2));
  EXPECT_FALSE(IsZenith(kWidth / 2 + 10, kHeight / 2));
  for (int y : {0, kHeight / 3}) EXPECT_TRUE(Near(kxtest::ReadPixel(kWidth / 2, y), 1, 1, 1)) << y;
}

TEST_F(FrameDraw, OverlayWindowsShowASecondSceneTheFlightInformationAndNothingForAMissingContest) {
  simplayer& p = sim::players[0];
  Aim(p, side_);
  Frame();
  const std::vector<uint8_t> plain = Bgr(kWidth, kHeight);
  p.camera[1] = simcamera{1, sim::kCameraContest, 10, 10, 60, 50};  // no contest: nothing at all
  Frame();
  EXPECT_EQ(Bgr(kWidth, kHeight), plain);

  // Camera 2 looks straight up from the eye with a narrow view.
  simcamera& second = p.camera[2];
  second = simcamera{1, sim::kViewFollow, 10, 10, 60, 50};
  camera(eye_, up_).CopyTo(second.position, second.axis_x, second.axis_y, second.axis_z);
  second.fov = 1.0f;
  p.camera[0] = simcamera{1, sim::kCameraFlightInfo, 90, 10, 60, 0};
  Frame();
  EXPECT_TRUE(IsZenith(40, 20));                  // the second scene inside its window
  EXPECT_FALSE(IsZenith(80, 20));                 // the main view beside it
  EXPECT_TRUE(Near(kxtest::ReadPixel(10, 59), 1, 1, 1));  // the outline's upper-left corner
  EXPECT_TRUE(Near(kxtest::ReadPixel(69, 30), 1, 1, 1));  // its right edge
  const kxtest::pixel title = kxtest::ReadPixel(12, 10 + 50 - 3);
  EXPECT_GT(title.b, title.r + 40);               // the blue title bar
  EXPECT_EQ(p.camera[0].height, 23 + 6 * lh_);    // every display flag on
  // The flight information's content: black at 0.6 over the main view.
  const kxtest::pixel info = kxtest::ReadPixel(147, 12);
  const uint8_t* under = &plain[(12 * kWidth + 147) * 3];  // blue, green, red
  EXPECT_GT(under[0], 100);
  EXPECT_NEAR(info.b, 0.4 * under[0], 3);
  EXPECT_NEAR(info.g, 0.4 * under[1], 3);
}

// Camera 2 is drawn first and camera 0 last, on top: the flight information
// (camera 1) darkens camera 2's sky, and camera 0's opaque variometer bar
// covers both.
TEST_F(FrameDraw, OverlappingOverlayWindowsStackWithCameraZeroOnTop) {
  simplayer& p = sim::players[0];
  auto state = std::make_unique<kxdflightstate>();
  p.flight_state = state.get();
  p.hud.show_velocity = 1;
  p.hud.show_height = p.hud.show_heightmsl = p.hud.show_heading = p.hud.show_rpm = p.hud.show_fps = 0;
  simcamera& sky = p.camera[2];
  sky = simcamera{1, sim::kViewFollow, 10, 10, 100, 70};
  camera(eye_, up_).CopyTo(sky.position, sky.axis_x, sky.axis_y, sky.axis_z);
  sky.fov = 1.0f;
  p.camera[1] = simcamera{1, sim::kCameraFlightInfo, 20, 20, 100, 0};  // its content: y 20 to 39
  p.camera[0] = simcamera{1, sim::kCameraWind, 30, 15, 100, 60};       // its bar: x 94 to 114 from y 31
  Frame();
  const kxtest::pixel infoOverSky = kxtest::ReadPixel(25, 25);
  EXPECT_TRUE(Near(infoOverSky, 0.4f * kZenith[0], 0.4f * kZenith[1], 0.4f * kZenith[2]));
  EXPECT_TRUE(Near(kxtest::ReadPixel(100, 33), 0.5f, 0.5f, 0.5f));
  p.flight_state = nullptr;
}

// The wind window's variometer: green from the middle tick upwards in a
// climb, downwards in a sink, a quarter of the bar per m/s.
TEST_F(FrameDraw, TheVariometerBarRisesInAClimbAndFallsInASink) {
  simplayer& p = sim::players[0];
  auto state = std::make_unique<kxdflightstate>();
  p.flight_state = state.get();
  p.camera[0] = simcamera{1, sim::kCameraWind, 30, 15, 100, 60};
  const int L = lh_ + 3, middle = 15 + (60 - L) / 2, top = 15 + 60 - L - 16, bottom = 15 + 16;
  const int above = (middle + top) / 2, below = (middle + bottom) / 2, x = 30 + 100 - 26;
  struct {
    float variometer;
    bool greenAbove, greenBelow;
  } rows[] = {{0.0f, false, false}, {4.0f, true, false}, {-4.0f, false, true}, {1.0f, false, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.variometer);
    state->variometer = row.variometer;
    Frame();
    EXPECT_EQ(static_cast<bool>(Near(kxtest::ReadPixel(x, above), 0, 1, 0)), row.greenAbove);
    EXPECT_EQ(static_cast<bool>(Near(kxtest::ReadPixel(x, below), 0, 1, 0)), row.greenBelow);
  }
  p.flight_state = nullptr;
}

TEST_F(FrameDraw, AContestWindowListsItsLinesAndTheCountdownStandsInTheMiddle) {
  ASSERT_EQ(kxgl::LoadFont((ProgramData() / "texture/arial20b.kxf").c_str(), &sim::large_font, 60), 1);
  auto contest = std::make_unique<contestrec>();
  contest->kind = kContestDragRace;
  contest->running = 1;
  contest->best_time = -1;
  sim::session.run.current_contest = contest.get();
  simplayer& p = sim::players[0];
  p.contest.phase = sim::kContestFlying;
  p.contest.time = -2500;
  p.camera[1] = simcamera{1, sim::kCameraContest, 10, 10, 80, 50};
  auto litIn = [](int x0, int y0, int x1, int y1) {
    int lit = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        kxtest::pixel px = kxtest::ReadPixel(x, y);
        lit += px.r > 200 && px.g > 200 && px.b > 200;
      }
    return lit;
  };
  Frame();
  EXPECT_GT(litIn(115, kHeight / 4, 155, kHeight / 4 + 14), 10);  // "3 seconds to go"
  EXPECT_GT(litIn(13, 30, 89, 44), 5);  // "record: none yet", the first line
  sim::session.run.pause = 1;
  Frame();
  EXPECT_EQ(litIn(115, kHeight / 4, 155, kHeight / 4 + 14), 0);
}

TEST_F(FrameDraw, TheSunGlaresWithTheSettingOnAndTheAircraftNearTheSun) {
  LoadBacklight();
  auto state = std::make_unique<kxdflightstate>();
  state->position()[2] = 100.0f;  // right overhead, where the default sun stands
  sim::players[0].flight_state = state.get();
  sim::TheWorld()->has_shadow = 1;
  sim::session.settings.gl_sun_blend = 0;
  Frame();
  EXPECT_TRUE(IsZenith(kWidth / 2, kHeight / 2));
  sim::session.settings.gl_sun_blend = 1;
  Frame();
  const kxtest::pixel glare = kxtest::ReadPixel(kWidth / 2, kHeight / 2);
  EXPECT_GT(glare.r, 150);
  EXPECT_GT(glare.g, 180);
  sim::TheWorld()->has_shadow = 0;  // a scenery without a sun
  Frame();
  EXPECT_TRUE(IsZenith(kWidth / 2, kHeight / 2));
  sim::players[0].flight_state = nullptr;
}

TEST_F(FrameDraw, TheStatusMessageStandsInADarkBoxWhileItsTimeRuns) {
  std::snprintf(sim::session.run.status_text, sizeof sim::session.run.status_text, "Pause on");
  sim::session.run.status_time = 0.03f;
  Frame();
  const int tw = kxgl::TextWidth("Pause on");
  const kxtest::pixel box = kxtest::ReadPixel((kWidth - tw) / 2 - 8, kHeight / 5);
  EXPECT_TRUE(Near(box, 0.2f * kZenith[0], 0.2f * kZenith[1], 0.2f * kZenith[2]));
  EXPECT_FLOAT_EQ(sim::session.run.status_time, 0.01f);
  Frame();
  Frame();  // the time ran out: no box
  EXPECT_TRUE(IsZenith((kWidth - tw) / 2 - 8, kHeight / 5));
}

TEST_F(FrameDraw, TheMenuBandFadesAfterTheMouseRestsUnlessAWindowHasTheFocus) {
  sim::session.run.sim_time_step = 1.0f;
  for (int i = 0; i < 8; ++i) Frame();  // 3 s at rest, then 3 s of fading
  EXPECT_TRUE(IsZenith(kWidth / 2, kHeight - 2));
  kxgraphic window;
  window.name = "wndOptionsGeneral";
  kxgui::Focus = &window;
  Frame();
  EXPECT_TRUE(Band(kWidth / 2, kHeight - 2));
  window.name = "Visible";  // the menu background is no window
  Frame();
  EXPECT_TRUE(IsZenith(kWidth / 2, kHeight - 2));
  kxgui::Focus = nullptr;
  input::pointer.moved = 1;
  Frame();
  EXPECT_TRUE(Band(kWidth / 2, kHeight - 2));
}

TEST_F(FrameDraw, ScreenshotsAreExactBitmapsOfTheFrameNumberedFromZero) {
  kxsystem::display.window_width = kWidth + 3;  // cut down to multiples of 4
  kxsystem::display.window_height = kHeight + 3;
  std::snprintf(sim::session.settings.aircraft0, sizeof sim::session.settings.aircraft0, "plane");
  std::snprintf(sim::TheWorld()->name, sizeof sim::TheWorld()->name, "field");
  for (int shot = 0; shot < 2; ++shot) {
    sim::session.run.screenshot_request = 1;
    Frame();
    EXPECT_EQ(sim::session.run.screenshot_request, 0);
    const std::string name = shot == 0 ? "screenshots/svgol-plane-field-00.bmp" : "screenshots/svgol-plane-field-01.bmp";
    EXPECT_TRUE(inputtest::Logged(("sim:  writing screenshot " + name + "=done").c_str())) << name;
    std::ifstream in(name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 54u + kWidth * kHeight * 3) << name;
    uint8_t header[sim::kBmpHeaderBytes];
    sim::BmpHeader(kWidth, kHeight, header);
    EXPECT_EQ(bytes.substr(0, 54), std::string(header, header + 54));
    const std::vector<uint8_t> frame = Bgr(kWidth, kHeight);  // the frame as it was written
    EXPECT_TRUE(bytes.substr(54) == std::string(frame.begin(), frame.end()));
  }
  // The next run numbers from zero again and passes every name taken, by
  // the last run or by the user, in any case: a picture, a link, a folder.
  sim::ResetFrame();
  Put("screenshots/SVGOL-plane-field-02.BMP", "mine");
  std::filesystem::create_symlink("nowhere", "screenshots/svgol-plane-field-03.bmp");
  std::filesystem::create_directory("screenshots/svgol-plane-field-04.Bmp");
  sim::session.run.screenshot_request = 1;
  Frame();
  EXPECT_TRUE(inputtest::Logged("sim:  writing screenshot screenshots/svgol-plane-field-05.bmp=done"));
  EXPECT_EQ(std::filesystem::file_size("screenshots/svgol-plane-field-00.bmp"), 54u + kWidth * kHeight * 3);
  EXPECT_EQ(std::filesystem::file_size("screenshots/svgol-plane-field-05.bmp"), 54u + kWidth * kHeight * 3);
  EXPECT_EQ(std::filesystem::file_size("screenshots/SVGOL-plane-field-02.BMP"), 4u);
  // A file where the folder should be: the write fails and says so.
  std::filesystem::remove_all("screenshots");
  std::ofstream("screenshots") << "x";
  sim::session.run.screenshot_request = 1;
  Frame();
  EXPECT_TRUE(inputtest::Logged("sim:  writing screenshot screenshots/svgol-plane-field-06.bmp=fail"));
}

}  // namespace
