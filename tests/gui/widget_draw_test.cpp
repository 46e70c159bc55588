// The widget library drawn under a real OpenGL context (the platform's
// window; skipped without a display), checked by reading pixels back.
#include <GL/gl.h>

#include <cstdlib>

#include "graphics/font.h"
#include "graphics/gl_frame.h"
#include "graphics/texture_table.h"
#include "gui/button.h"
#include "gui/edit.h"
#include "gui/tree.h"
#include "gui/images.h"
#include "gui/indicators.h"
#include "gui/screen_window.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "gui_support.h"
#include "platform/window.h"
#include "tests/platform/gl_support.h"

namespace {

constexpr int kWidth = 320;   // px
constexpr int kHeight = 240;  // px

using kxtest::ReadPixel;
using kxtest::pixel;

class WidgetDrawTest : public kxtest::guitest {
 protected:
  static void SetUpTestSuite() {
    guitest::SetUpTestSuite();
    kxtest::PrepareGlDriver();
    backend_ = kxsystem::SdlWindowBackend();
    if (!backend_->Start()) {
      backend_ = nullptr;
      return;
    }
    kxsystem::display = kxdisplaysettings();
    kxsystem::display.window_width = kWidth;
    kxsystem::display.window_height = kHeight;
    created_ = backend_->Create(kxsystem::display) != 0;
    if (created_) fontLoaded_ = kxgl::LoadFont("texture/arial10.kxf", &font_, kxgl::kFilterNearest) != 0;
  }
  static void TearDownTestSuite() {
    kxgui::SetGuiFont(nullptr);
    kxgl::SetFont(nullptr);
    if (fontLoaded_) kxgl::FreeFont(&font_);
    fontLoaded_ = false;
    kxgl::ContextLost();
    if (created_) backend_->Destroy();
    if (backend_) backend_->Stop();
    created_ = false;
    backend_ = nullptr;
    guitest::TearDownTestSuite();
  }

  void SetUp() override {
    guitest::SetUp();
    if (!created_ || !kxgl::HasContext()) GTEST_SKIP() << "no OpenGL context (no display)";
    kxgui::SetGuiFont(fontLoaded_ ? &font_ : nullptr);
    screen->W = kWidth;
    screen->H = kHeight;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void TearDown() override {
    kxgui::SetGuiFont(nullptr);
    kxgl::SetFont(nullptr);
    guitest::TearDown();
  }
  template <class T>
  T* Place(T* widget, int x, int y) {
    widget->X = x;
    widget->Y = y;
    screen->AppendChild(widget);
    return widget;
  }

  static windowbackend* backend_;
  static bool created_;
  static bool fontLoaded_;
  static kxglfont font_;
};

windowbackend* WidgetDrawTest::backend_ = nullptr;
bool WidgetDrawTest::created_ = false;
bool WidgetDrawTest::fontLoaded_ = false;
kxglfont WidgetDrawTest::font_ = {};

TEST_F(WidgetDrawTest, ButtonBevelSwapsWhilePressed) {
  kxbutton* b = Place(new kxbutton("", 0, 0, 80, 26), 20, 20);
  kxgui::Frame();
  EXPECT_NEAR(ReadPixel(60, 30).r, 204, 2);  // face, entry 10
  EXPECT_EQ(ReadPixel(20, 30).r, 255);       // left edge light
  EXPECT_EQ(ReadPixel(60, 20).r, 0);         // bottom edge dark
  b->state = kxbutton::kPressed;
  glClear(GL_COLOR_BUFFER_BIT);
  kxgui::Draw();
  EXPECT_EQ(ReadPixel(20, 30).r, 0);
  EXPECT_EQ(ReadPixel(60, 20).r, 255);
}

TEST_F(WidgetDrawTest, VerticalLabelReadsUpwardsInsideItsRectangle) {
  if (!fontLoaded_) GTEST_SKIP() << "no GUI font";
  kxverticaltext* label = Place(new kxverticaltext("Throttle channel assignment", 0, 0, 20, 100), 100, 60);
  label->textColor = {1, 1, 1, 1};
  kxgui::Frame();
  int lit = 0, minX = 1000, maxX = -1, minY = 1000, maxY = -1;
  for (int y = 40; y < 180; ++y) {
    for (int x = 80; x < 140; ++x) {
      if (ReadPixel(x, y).r < 128) continue;
      ++lit;
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  ASSERT_GT(lit, 20);
  EXPECT_GE(minX, 100);
  EXPECT_LT(maxX, 120);
  EXPECT_GE(minY, 60);
  EXPECT_LT(maxY, 160);
  EXPECT_GT(maxY - minY, 3 * (maxX - minX));  // the text runs up, not across
}

TEST_F(WidgetDrawTest, ClickBoxFillsItsValueInBarColour) {
  float value = 0;
  kxclickbox* box = Place(new kxclickbox, 20, 100);
  box->value = &value;
  kxgui::Frame();
  pixel bar = ReadPixel(20 + 30, 108);
  EXPECT_EQ(bar.g, 255);
  EXPECT_EQ(bar.r, 0);
  pixel rest = ReadPixel(20 + 100, 108);  // background
  EXPECT_EQ(rest.r, 255);
  EXPECT_EQ(ReadPixel(20 + 63, 108).g, 255);
  EXPECT_EQ(ReadPixel(20 + 65, 108).r, 255);
}

TEST_F(WidgetDrawTest, GraphDrawsItsTracesOverBlack) {
  kxgraph* graph = Place(new kxgraph, 20, 100);
  graph->W = 50;
  graph->H = 40;
  for (int i = 0; i < 50; ++i) graph->ringA[i] = 30, graph->ringB[i] = 10;
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  kxgui::Draw();
  pixel red = ReadPixel(25, 130);
  EXPECT_EQ(red.r, 255);
  EXPECT_EQ(red.g, 0);
  pixel green = ReadPixel(25, 110);
  EXPECT_EQ(green.g, 255);
  EXPECT_EQ(green.r, 0);
  EXPECT_EQ(ReadPixel(25, 120).r, 0);  // black between
  EXPECT_EQ(ReadPixel(25, 120).g, 0);
}

TEST_F(WidgetDrawTest, ImagePixelsAndRectanglesDraw) {
  static float blue[4 * 4 * 3];
  for (int i = 0; i < 16; ++i) blue[3 * i + 2] = 1;
  kximagepixel* img = Place(new kximagepixel, 10, 10);
  img->W = 4;
  img->H = 4;
  img->pixels = blue;
  kxrectangle* rect = Place(new kxrectangle(0, 0, 10, 10), 50, 10);
  rect->Color = {1, 0, 0, 1};
  kxgui::Frame();
  pixel p = ReadPixel(12, 12);
  EXPECT_EQ(p.b, 255);
  EXPECT_EQ(p.r, 0);
  EXPECT_EQ(ReadPixel(55, 15).r, 255);
  EXPECT_EQ(ReadPixel(55, 15).b, 0);
}

TEST_F(WidgetDrawTest, FullScreenPanelDrawsTitleBarAndBorder) {
  kxscreenwindow* panel = Place(new kxscreenwindow, 0, 0);
  panel->W = kWidth;
  panel->H = kHeight;
  kxgui::Frame();
  EXPECT_EQ(panel->drawn, 1);
  pixel bar = ReadPixel(150, kHeight - 10);  // entry 13, dark blue
  EXPECT_NEAR(bar.b, 128, 2);
  EXPECT_EQ(bar.r, 0);
  EXPECT_EQ(ReadPixel(1, 100).r, 255);             // light border
  EXPECT_EQ(ReadPixel(150, 0).r, 0);               // dark bottom edge
}

TEST_F(WidgetDrawTest, ScrollBarTrackAndKnobDraw) {
  kxscroll* scroll = Place(new kxscroll(0, 0, 100, 100), 20, 20);
  scroll->AppendChild(new kxgraphic(0, 0, 80, 400));
  kxgui::Frame();
  ASSERT_EQ(scroll->barV, 16);
  pixel track = ReadPixel(20 + 92, 20 + 60);  // above the knob at the bottom, entry 8
  EXPECT_NEAR(track.r, 229, 2);
  int knobMiddle = 20 + scroll->knobY + scroll->knobH / 2;
  EXPECT_NEAR(ReadPixel(20 + 92, knobMiddle).r, 204, 2);  // knob, entry 11
}

TEST_F(WidgetDrawTest, EditDrawsItsBackgroundAndTheCaretWithTheFocus) {
  kxedit* edit = Place(new kxedit(0, 0, 100, 20), 20, 50);
  edit->background = {1, 1, 1, 1};
  edit->textColor = {1, 0, 0, 1};
  kxgui::Focus = edit;
  kxgui::Frame();
  EXPECT_EQ(ReadPixel(60, 60).g, 255);  // background
  pixel caret = ReadPixel(20 + 1, 60);  // empty text: caret at x 1
  EXPECT_EQ(caret.r, 255);
  EXPECT_EQ(caret.g, 0);
  kxgui::Focus = screen;
  kxgui::Draw();
  EXPECT_EQ(ReadPixel(20 + 1, 60).g, 255);  // no caret without the focus
}

TEST_F(WidgetDrawTest, TreeHighlightsTheSelectedRow) {
  kxnode* data = new kxnode;
  data->name = "Data";
  kxnode* child = new kxnode;
  child->name = "Child";
  data->AppendChild(child);
  kxscript::Root()->AppendChild(data);
  kxtree* tree = Place(new kxtree, 20, 20);
  tree->root = data;
  tree->Select(child);
  kxgui::Frame();
  // Second row: x 4 + 19, y H - 20 - 16; the highlight runs right of the icon.
  int rowX = 20 + 4 + 19, rowY = 20 + tree->H - 36;
  EXPECT_NEAR(ReadPixel(rowX + 18, rowY + 8).r, 204, 2);
  EXPECT_EQ(ReadPixel(20 + 4 + 18, 20 + tree->H - 20 + 8).r, 0);  // the root row is not highlighted
  delete data;
  EXPECT_EQ(tree->root, nullptr);
}

}  // namespace
