// The frame's layout, fades and screenshot files without OpenGL.
#include "sim/views/frame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/events.h"
#include "sim/session.h"
#include "tests/temp_dir.h"

namespace {

TEST(FrameLayout, GameTypesSplitTheWindowWithHalvesRoundedDown) {
  struct {
    sim::gametype type;
    int W, H, count;
    sim::viewrect first, second;
    float aspect;
  } rows[] = {
      {sim::kGameSingle, 800, 600, 1, {0, 0, 800, 600}, {}, 800.0f / 600},
      {sim::kGameSplitAbove, 800, 601, 2, {0, 0, 800, 300}, {0, 300, 800, 300}, 800.0f / 300},
      {sim::kGameSplitSide, 801, 600, 2, {0, 0, 400, 600}, {400, 0, 400, 600}, 400.0f / 600},
      {static_cast<sim::gametype>(13), 800, 600, 0, {}, {}, 0},
  };
  for (const auto& row : rows) {
    sim::viewrect views[2] = {};
    float aspect = 0;
    ASSERT_EQ(sim::SplitViews(row.type, row.W, row.H, views, &aspect), row.count) << static_cast<int>(row.type);
    const sim::viewrect* want[2] = {&row.first, &row.second};
    for (int i = 0; i < row.count; ++i) {
      EXPECT_EQ(views[i].x, want[i]->x) << static_cast<int>(row.type);
      EXPECT_EQ(views[i].y, want[i]->y) << static_cast<int>(row.type);
      EXPECT_EQ(views[i].w, want[i]->w) << static_cast<int>(row.type);
      EXPECT_EQ(views[i].h, want[i]->h) << static_cast<int>(row.type);
    }
    if (row.count) {
      EXPECT_FLOAT_EQ(aspect, row.aspect) << static_cast<int>(row.type);
    }
  }
}

TEST(FrameFades, TipsFadeInWhileTheirTimerRunsAndOutAfterItAndRestWithTipsOff) {
  simsession s;
  s.run.frame_time = 0.5f;
  s.run.tip_time = 1.0f;
  s.run.tip_elapsed = 0.0f;
  s.settings.show_tips = 0;
  EXPECT_LT(sim::StepTips(s), 0.0f);
  EXPECT_EQ(s.run.tip_time, 1.0f);  // timers stand still
  EXPECT_EQ(s.run.tip_elapsed, 0.0f);
  s.settings.show_tips = 1;
  const float alphas[] = {0.25f, 0.5f, 0.25f, 0.0f, 0.0f};  // two frames in, then out
  for (float a : alphas) EXPECT_FLOAT_EQ(sim::StepTips(s), a);
  EXPECT_LT(s.run.tip_time, 0.0f);
  EXPECT_LT(s.run.tip_elapsed, 0.0f);
  EXPECT_LT(sim::StepTips(s), 0.0f);  // both ran out: no box
}

// A tip shown for longer than its fade-in, then ended (its time up or its
// condition gone), goes from full strength at once instead of holding it.
TEST(FrameFades, AnEndedTipFadesOutFromFullStrengthAtOnce) {
  simsession s;
  s.settings.show_tips = 1;
  s.run.frame_time = 0.5f;
  s.run.tip_time = 6.0f;
  s.run.tip_elapsed = 0.0f;
  for (int i = 0; i < 10; ++i) sim::StepTips(s);  // 5 s: at full strength since 2 s
  EXPECT_FLOAT_EQ(sim::StepTips(s), 1.0f);
  s.run.tip_time = 0.0f;  // the tip's condition ended
  const float alphas[] = {0.75f, 0.5f, 0.25f, 0.0f, 0.0f};  // out in 2 s
  for (float a : alphas) EXPECT_FLOAT_EQ(sim::StepTips(s), a);
  EXPECT_LT(sim::StepTips(s), 0.0f);  // then no box
}

// At 640 x 480 the tips box stands where the flight information box is; it
// moves up clear of it, and of a second box stacked above that.
TEST(FrameLayout, TheTipsBoxMovesClearOfTheFlightInformation) {
  const int W = 640, H = 480, lines = 2, lh = 15, text = 320;
  const sim::viewrect info{430, 0, 210, 112}, above{430, 100, 210, 60}, elsewhere{0, 300, 200, 100};
  const int x = (W - text) / 2 - 16, w = text + 32, h = (lines + 1) * lh, y = H / 5 - lines * lh;
  struct {
    const char* name;
    std::vector<sim::viewrect> keepClear;
    int y;
  } rows[] = {
      {"no box", {}, y},
      {"a box it does not cover", {elsewhere}, y},
      {"the flight information", {info}, 112 + 4},
      {"two boxes stacked", {above, info}, 160 + 4},
  };
  for (const auto& row : rows) {
    const sim::viewrect box =
        sim::PlaceTipsBox(W, H, text, lines, lh, row.keepClear.data(), static_cast<int>(row.keepClear.size()));
    EXPECT_EQ(box.x, x) << row.name;
    EXPECT_EQ(box.w, w) << row.name;
    EXPECT_EQ(box.h, h) << row.name;
    EXPECT_EQ(box.y, row.y) << row.name;
  }
}

TEST(FrameFades, TheGuiFadesAfterTwoSecondsAtRestAndComesBackWithTheMouse) {
  kxpointer pointer;
  float rest = 0.0f;
  const float step = 0.5f;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(sim::GuiAlpha(&rest, &pointer, step, 0), 1.0f);  // 2.5 s at rest
  EXPECT_FLOAT_EQ(sim::GuiAlpha(&rest, &pointer, step, 0), 1.0f - 0.165f);
  EXPECT_EQ(sim::GuiAlpha(&rest, &pointer, step, 1), 1.0f);  // an open window keeps it
  EXPECT_FLOAT_EQ(pointer.fade, 1.0f - 0.33f);
  for (int i = 0; i < 10; ++i) sim::GuiAlpha(&rest, &pointer, step, 0);
  EXPECT_EQ(sim::GuiAlpha(&rest, &pointer, step, 0), 0.0f);
  EXPECT_EQ(pointer.fade, 0.0f);  // not below 0
  pointer.moved = 1;
  EXPECT_EQ(sim::GuiAlpha(&rest, &pointer, step, 0), 1.0f);
  EXPECT_EQ(pointer.moved, 0);
  EXPECT_EQ(rest, 0.0f);
}

TEST(FrameScreenshots, NamesCountFromZeroWithTwoDigitsAndGrowPastNinetyNine) {
  char path[128];
  struct {
    int number;
    const char* name;
  } rows[] = {{0, "screenshots/svgol-christeneagle-winzeln-00.bmp"},
              {1, "screenshots/svgol-christeneagle-winzeln-01.bmp"},
              {100, "screenshots/svgol-christeneagle-winzeln-100.bmp"}};
  for (const auto& row : rows) {
    EXPECT_EQ(sim::ScreenshotPath(path, sizeof path, "christeneagle", "winzeln", row.number), 1);
    EXPECT_STREQ(path, row.name);
  }
  EXPECT_EQ(sim::ScreenshotPath(path, 16, "christeneagle", "winzeln", 0), 0);  // cut, never overrun
  EXPECT_STREQ(path, "screenshots/svg");
}

TEST(FrameScreenshots, TheHeaderIsThe54BytesOfA24BitBottomUpPicture) {
  uint8_t h[sim::kBmpHeaderBytes];
  sim::BmpHeader(800, 600, h);
  const uint8_t want[sim::kBmpHeaderBytes] = {
      'B', 'M', 0x36, 0xF9, 0x15, 0,    0, 0, 0, 0, 54, 0, 0, 0,   // 1,440,054 bytes, pixels at 54
      40,  0,   0,    0,    0x20, 0x03, 0, 0,                      // info header, width 800
      0x58, 0x02, 0,  0,    1,    0,    24, 0,                     // height 600, 1 plane, 24 bits
      0,   0,   0,    0,    0,    0,    0, 0,                      // no compression, image size 0
      0x23, 0x2E, 0,  0,    0x23, 0x2E, 0, 0,                      // 11811 pixels per metre
      0,   0,   0,    0,    0,    0,    0, 0};
  EXPECT_EQ(std::vector<uint8_t>(h, h + sim::kBmpHeaderBytes), std::vector<uint8_t>(want, want + sim::kBmpHeaderBytes));
}

class FrameScreenshotFile : public TempDirTest {};

TEST_F(FrameScreenshotFile, TheFileHoldsTheHeaderAndTheRowsAndAFailedWriteSaysSo) {
  std::vector<uint8_t> pixels(8 * 2 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i);
  ASSERT_EQ(sim::WriteScreenshot("shot.bmp", 8, 2, pixels.data()), 1);
  const std::string bytes = Read("shot.bmp");
  ASSERT_EQ(bytes.size(), 54u + pixels.size());
  uint8_t header[sim::kBmpHeaderBytes];
  sim::BmpHeader(8, 2, header);
  EXPECT_EQ(bytes.substr(0, 54), std::string(header, header + 54));
  EXPECT_EQ(bytes.substr(54), std::string(pixels.begin(), pixels.end()));
  EXPECT_EQ(sim::WriteScreenshot("missing/shot.bmp", 8, 2, pixels.data()), 0);
  EXPECT_FALSE(std::filesystem::exists("missing/shot.bmp"));
}

}  // namespace
