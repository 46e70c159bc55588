// Graph samples, click-box bars, the oscilloscope point, colour members and
// the registration of the widget types.
#include <cmath>

#include "core/type.h"
#include "gui/check_box.h"
#include "gui/images.h"
#include "gui/indicators.h"
#include "gui/screen_window.h"
#include "gui/slider.h"
#include "widget_support.h"

namespace {

using kxtest::Ran;

class IndicatorTest : public kxtest::widgettest {};

TEST_F(IndicatorTest, GraphHeightsSpanTheWidgetAndSamplesWrap) {
  kxgraph g;
  g.W = 100;
  g.H = 50;
  EXPECT_EQ(g.HeightOf(1), 50);
  EXPECT_EQ(g.HeightOf(-1), 0);
  EXPECT_EQ(g.HeightOf(0), 25);
  EXPECT_EQ(g.HeightOf(7), 50);
  EXPECT_EQ(g.HeightOf(std::nanf("")), 0);
  // Samples wrap at its width and at the ring.
  g.W = 10;
  g.H = 20;
  float a = 1, b = -1;
  g.sourceA = &a;
  g.sourceB = &b;
  kxgraph::writePosition = 0;
  for (int i = 0; i < 12; ++i) g.AddSample();
  EXPECT_EQ(kxgraph::writePosition, 2);
  EXPECT_EQ(g.ringA[2], 20);
  EXPECT_EQ(g.ringB[2], 0);
  g.W = 1000;  // wider than the ring
  kxgraph::writePosition = kxgraph::kRing - 1;
  g.AddSample();
  EXPECT_EQ(kxgraph::writePosition, 0);
}

TEST_F(IndicatorTest, ClickBoxBarIsHalfFullAtZero) {
  int n;
  float f;
  kxclickbox::Bar(0, 128, &n, &f);
  EXPECT_EQ(n, 64);
  EXPECT_FLOAT_EQ(f, 0);
  kxclickbox::Bar(0.5f, 10, &n, &f);  // 7.5 px
  EXPECT_EQ(n, 7);
  EXPECT_FLOAT_EQ(f, 0.5f);
  kxclickbox::Bar(3, 10, &n, &f);
  EXPECT_EQ(n, 10);
  EXPECT_FLOAT_EQ(f, 1);
  kxclickbox::Bar(-3, 10, &n, &f);
  EXPECT_EQ(n, 0);
  kxclickbox::Bar(std::nanf(""), 10, &n, &f);
  EXPECT_EQ(n, 0);
}

TEST_F(IndicatorTest, OscilloscopePointNeedsBothSources) {
  kxwindowosc w;
  int x, y;
  EXPECT_EQ(w.Point(&x, &y), 0);
  float sx = 0.5f, sy = 0.25f;
  w.sourceX = &sx;
  w.sourceY = &sy;
  ASSERT_EQ(w.Point(&x, &y), 1);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
}

TEST_F(IndicatorTest, ColoursAndTextureCoordinatesAreMembers) {
  kxscript::Execute("cd /Display/Invisible/; Append kxrectangle Rect; cd Rect/; "
                    "Color = kxcolor4( 0.25, 0.5, 0.75, 1 ); Color = 0.5");
  kxrectangle* r = dynamic_cast<kxrectangle*>(kxnode::Find("/Display/Invisible/Rect/"));
  ASSERT_NE(r, nullptr);
  EXPECT_FLOAT_EQ(r->Color.r, 0.25f);
  EXPECT_FLOAT_EQ(r->Color.b, 0.75f);
  EXPECT_FLOAT_EQ(r->Color.a, 0.5f);
  kxscript::Execute("cd /Display/Invisible/; Append kximagetexture Img; cd Img/; S0 = 0.25; T1 = 0.75");
  kximagetexture* img = dynamic_cast<kximagetexture*>(kxnode::Find("/Display/Invisible/Img/"));
  ASSERT_NE(img, nullptr);
  EXPECT_FLOAT_EQ(img->S0, 0.25f);
  EXPECT_FLOAT_EQ(img->T1, 0.75f);
}

// The click box runs its command, the image its own with the local pointer
// ("Note( 10, 20 )" passes the first as text), the full-screen panel its
// close command in the close box only.
TEST_F(IndicatorTest, ClicksRunTheirCommands) {
  kxclickbox* box = Add(new kxclickbox, 10, 10);
  box->name = "Box";
  kxscript::Execute("/Display/Visible/Box/OnLeftDown = \"Count\"");
  Mouse(kxcode::kMouseLeftDown, 20, 20);
  kximagepixel* img = Add(new kximagepixel, 100, 100);
  img->onLeftDown = "Note";
  Mouse(kxcode::kMouseLeftDown, 110, 120);
  ASSERT_EQ(Ran().size(), 2u);
  EXPECT_EQ(Ran()[0], "count");
  EXPECT_EQ(Ran()[1], "10");
  Ran().clear();
  kxscreenwindow* w = Add(new kxscreenwindow, 0, 0);
  w->closeCommand = "Count";
  Mouse(kxcode::kMouseLeftDown, 640 - 10, 480 - 10);
  EXPECT_EQ(Ran().size(), 1u);
  Mouse(kxcode::kMouseLeftDown, 640 - 20, 480 - 10);
  EXPECT_EQ(Ran().size(), 1u);
  EXPECT_EQ(w->InCloseBox(640 - 4, 480 - 10), 0);
}

TEST(WidgetTypes, ScriptCreatableTypesAreRegisteredWithTheirBases) {
  const char* registered[] = {"kxbutton", "kxbuttontexture", "kxcolumn", "kxcheckbox", "kxedit",
                              "kxframe", "kxgraph", "kximagepixel", "kximagetexture", "kxrow",
                              "kxrectangle", "kxscreenwindow", "kxscroll", "kxterminal", "kxtext",
                              "kxtextcombo", "kxtree", "kxwindowosc", "kxwindowterminal"};
  kxscript::Init();
  kxgui::RegisterTypes();
  for (const char* name : registered) {
    kxtype* t = kxtype::Find(name);
    ASSERT_NE(t, nullptr) << name;
    EXPECT_EQ(kxtype::IsDerivedFrom(t, &kxgraphic::Type), 1) << name;
    kxnode* n = t->Create();
    ASSERT_NE(n, nullptr) << name;
    EXPECT_EQ(n->type, t) << name;
    delete n;
  }
  EXPECT_EQ(kxtype::IsDerivedFrom(kxtype::Find("kxbuttontexture"), kxtype::Find("kxbutton")), 1);
  EXPECT_EQ(kxtype::IsDerivedFrom(kxtype::Find("kxwindowterminal"), kxtype::Find("kxwindow")), 1);
  const char* byCode[] = {"kxclickbox", "kxlabel", "kxflow", "kxiconbutton", "kxslider",
                          "kxslidervalue", "kxlistitem", "kxcombolist", "kxverticaltext"};
  for (const char* name : byCode) EXPECT_EQ(kxtype::Find(name), nullptr) << name;
  EXPECT_EQ(kxtype::IsDerivedFrom(&kxslidervalue::Type, &kxgraphic::Type), 1);
}

}  // namespace
