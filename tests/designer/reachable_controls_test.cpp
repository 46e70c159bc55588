// Controls a user reaches in a small window: every widget of every page of
// the samples' components, every open airfoil list and every page button
// lies inside the window, clear of the page bar, and a click at its middle
// lands on it; the Edit menu adds components; choosing an object lets its
// handles drag.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "designer/airfoil_list.h"
#include "gui/check_box.h"
#include "designer/check_box.h"
#include "designer/page_fit.h"
#include "designer/viewer_modes.h"
#include "designer_support.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/wing.h"
#include "gui/containers.h"
#include "gui/menu.h"
#include "platform/codes.h"
#include "gui/scroll.h"
#include "tests/temp_dir.h"

namespace {

using designertest::designerfixture;
using svdesign::fitbox;

class ReachableTest : public designerfixture {
 protected:
  // Enters the designer with the sample in a window of that size.
  void EnterAt(const char* sample, int w, int h) {
    kxsystem::display.window_width = w;
    kxsystem::display.window_height = h;
    Enter(sample);
  }
  // The widget's box on the screen.
  static fitbox OnScreen(const kxgraphic* widget) {
    fitbox b = svdesign::BoxOf(widget);
    for (const kxgraphic* p = widget->ParentWidget(); p && p != State().screen; p = p->ParentWidget()) {
      b.x += p->X;
      b.y += p->Y;
    }
    return b;
  }
  static fitbox Window() { return {0, 0, State().screen->W, State().screen->H}; }
  static fitbox Bar() {
    const kxgraphic* bar = State().pageBar;
    return {bar->X, bar->Y, bar->W, bar->H};
  }
  // Whether a click lands on the widget: on a check box's tick, in the
  // middle of anything else.
  static bool Clickable(const kxgraphic* widget, const fitbox& b) {
    constexpr int kTick = 8;  // px from a check box's left edge to its tick's middle
    int x = dynamic_cast<const kxcheckbox*>(widget) ? b.x + kTick : b.x + widget->W / 2;
    kxgui::Hot = nullptr;
    State().screen->HitTest(x, b.y + widget->H / 2);
    return kxgui::Hot && kxgui::Hot->IsWithin(widget);
  }
  static std::pair<int, int> Middle(const fitbox& b) { return {b.x + b.w / 2, b.y + b.h / 2}; }
  // A click of the left button at a pixel of the designer screen.
  void Click(std::pair<int, int> at) {
    device[0] = (static_cast<float>(at.first) + 0.5f) / static_cast<float>(State().screen->W);
    device[1] = (static_cast<float>(at.second) + 0.5f) / static_cast<float>(State().screen->H);
    kxgui::OnMouse(kxcode::kMouseLeftDown, 0);
    kxgui::OnMouse(kxcode::kMouseLeftUp, 0);
  }
  static std::string Describe(const fitbox& b) {
    return "(" + std::to_string(b.x) + ", " + std::to_string(b.y) + ") " + std::to_string(b.w) + " x " +
           std::to_string(b.h);
  }
  // Every widget of the shown page, and every airfoil list opened.
  static void ExpectShownPageReachable(const std::string& where) {
    const svdesignpage* page = State().shownPage;
    if (!page || !page->panel) return;
    for (kxnode* c = page->panel->firstChild; c; c = c->nextSibling) {
      auto* widget = dynamic_cast<kxgraphic*>(c);
      if (!widget) continue;
      fitbox b = OnScreen(widget);
      std::string what = where + " widget " + Describe(b);
      EXPECT_TRUE(b.Inside(Window())) << what;
      EXPECT_FALSE(b.Overlaps(Bar())) << what;
      bool control = dynamic_cast<svdesignfield*>(widget) || dynamic_cast<svdesigncheck*>(widget) ||
                     dynamic_cast<svdesignairfoillist*>(widget);
      if (control) {
        EXPECT_TRUE(Clickable(widget, b)) << what;
      }
      if (auto* list = dynamic_cast<svdesignairfoillist*>(widget)) {
        list->OnLeftDown();
        ASSERT_TRUE(list->IsOpen());
        fitbox open = OnScreen(list->dropDown);
        const fitbox menuBar = {0, State().screen->H - svdesign::kMenuBarHeight, State().screen->W,
                                svdesign::kMenuBarHeight};
        EXPECT_TRUE(open.Inside(Window())) << where << " open list " << Describe(open);
        EXPECT_FALSE(open.Overlaps(Bar())) << where << " open list " << Describe(open);
        EXPECT_FALSE(open.Overlaps(menuBar)) << where << " open list " << Describe(open);
        // The list's first entry, at its top.
        auto* entry = static_cast<kxgraphic*>(list->dropDown->firstChild->firstChild->firstChild);
        EXPECT_TRUE(Clickable(entry, OnScreen(entry))) << where << " first airfoil";
        list->OnLeftDown();
      }
    }
  }
};

TEST_F(ReachableTest, EveryPageWidgetAndButtonIsInsideTheWindowAndClearOfThePageBar) {
  struct size {
    int w, h;
  } sizes[] = {{640, 480}, {800, 600}, {1280, 1024}};
  for (const size& z : sizes) {
    for (const char* sample : {"trainer", "christeneagle", "jet", "heli"}) {
      EnterAt(sample, z.w, z.h);
      std::string at = std::string(sample) + " at " + std::to_string(z.w) + " x " + std::to_string(z.h);
      ExpectShownPageReachable(at + " whole aircraft");
      for (svdesignobject* o : State().objects) {
        if (o->pageCount == 0) continue;
        Run("DesignObjectActivate( \"" + o->name.Str() + "\" )");
        for (kxnode* c = State().pageBar->firstChild; c; c = c->nextSibling) {
          auto* button = static_cast<kxgraphic*>(c);
          fitbox b = OnScreen(button);
          EXPECT_TRUE(b.Inside(Window()) && Clickable(button, b)) << at << " " << o->name.Text() << " button";
        }
        for (int i = 0; i < o->pageCount; ++i) {
          Run("DesignObjectPropertyOpen( " + std::to_string(i) + " )");
          ExpectShownPageReachable(at + " " + o->name.Str() + " page " + std::to_string(i));
        }
      }
      svdesign::GoBack();
    }
  }
}

// A window made larger while a page is shown brings the page back to its
// own places, with the bar at the window's right edge.
TEST_F(ReachableTest, PagesReturnToTheirOwnPlacesInAWiderWindow) {
  EnterAt("heli", 640, 480);
  Run("DesignObjectActivate( \"Tail\" ); DesignObjectPropertyOpen( 3 )");
  kxgraphic* check = nullptr;
  for (kxnode* c = State().shownPage->panel->firstChild; c; c = c->nextSibling) {
    if (auto* box = dynamic_cast<svdesigncheck*>(c)) check = box;
  }
  ASSERT_NE(check, nullptr);
  EXPECT_NE(check->X, 540);  // "Heading hold" moved out from under the bar
  kxsystem::display.window_width = 1024;
  kxsystem::display.window_height = 768;
  svdesign::FitToWindow();  // as after the window was made again
  EXPECT_EQ(State().pageBar->X + State().pageBar->W, 1024);
  EXPECT_EQ(check->X, 540);
  EXPECT_EQ(check->Y, 34);
}

// The Edit menu on the menu bar holds the seven new-component commands;
// each entry adds its component under the first free name.
TEST_F(ReachableTest, EditMenuEntriesAddTheirComponents) {
  EnterAt("trainer", 640, 480);
  auto* title = dynamic_cast<kxmenuitem*>(State().screen->FindChild("Edit"));
  ASSERT_NE(title, nullptr);
  State().screen->Update();
  EXPECT_TRUE(OnScreen(title).Inside(Window())) << Describe(OnScreen(title));
  kxpopup* menu = State().menuEdit;
  ASSERT_NE(menu, nullptr);
  struct entry {
    const char* name;
    const char* text;
    const char* type;
    const char* added;
  } entries[] = {{"DesignNewBody", "New Body", "kxdbody", "Body00"},
                 {"DesignNewGyro00", "New Gyro", "kxdgyro00", "Gyro00"},
                 {"DesignNewJoint00", "New Joint", "kxdjoint00", "Joint00"},
                 {"DesignNewRotor00", "New Rotor", "kxdrotor00", "Rotor00"},
                 {"DesignNewSkid00", "New Skid", "kxdskid00", "Skid00"},
                 {"DesignNewTailrotor00", "New TailRotor", "kxdtailrotor00", "TailRotor00"},
                 {"DesignNewWing00", "New Wing", "kxdwing00", "Wing00"}};
  kxdaircraft* components = State().aircraft->Template;
  for (const entry& e : entries) {
    auto* item = dynamic_cast<kxpopupitem*>(menu->FindChild(e.name));
    ASSERT_NE(item, nullptr) << e.name;
    EXPECT_STREQ(item->Text.Text(), e.text);
    Click(Middle(OnScreen(title)));  // the menu opens below its title
    ASSERT_TRUE(menu->IsWithin(State().screen)) << e.name;
    fitbox at = OnScreen(item);
    EXPECT_TRUE(at.Inside(Window())) << e.name << " " << Describe(at);
    Click(Middle(at));
    kxnode* added = components->FindChild(e.added);
    ASSERT_NE(added, nullptr) << e.name;
    EXPECT_EQ(added->type, kxtype::Find(e.type));
  }
}

// Chosen from the Objects menu or picked in the viewer, an object's
// handles drag at the next press, without a page button first.
TEST_F(ReachableTest, ChoosingAnObjectLetsItsHandlesDrag) {
  Enter("trainer");
  auto* left = static_cast<kxdwing*>(Object("LeftWing")->component);
  auto* stabilizer = static_cast<kxdwing*>(Object("Stabilizer")->component);
  const float leftSpan = left->WingSpan, stabilizerSpan = stabilizer->WingSpan;

  Run("DesignObjectActivate( \"LeftWing\" )");
  EXPECT_EQ(State().currentMode, &svdesign::Modes().objectProperty);
  designertest::At("DesignMouseLeftDown", {-0.1f, 0.5f, 0.07f, 1});
  designertest::At("DesignMouseMove", {-0.1f, 0.6f, 0.07f, 1});
  designertest::At("DesignMouseLeftUp", {-0.1f, 0.6f, 0.07f, 1});
  EXPECT_GT(left->WingSpan, 1.1f * leftSpan);

  Run("DesignModeObjectSelect");
  designertest::At("DesignMouseLeftDown", {-0.72f, 0.15f, 0, 1});
  designertest::At("DesignMouseLeftUp", {-0.72f, 0.15f, 0, 1});
  EXPECT_EQ(State().currentObject, Object("Stabilizer"));
  EXPECT_EQ(State().currentMode, &svdesign::Modes().objectProperty);
  designertest::At("DesignMouseLeftDown", {-0.72f, 0.15f, 0, 1});
  designertest::At("DesignMouseMove", {-0.72f, 0.22f, 0, 1});
  designertest::At("DesignMouseLeftUp", {-0.72f, 0.22f, 0, 1});
  EXPECT_GT(stabilizer->WingSpan, 1.1f * stabilizerSpan);
}

// Every airfoil file is offered, however many there are.
TEST_F(ReachableTest, AirfoilListOffersEveryFile) {
  kxtest::tempdir folder(true);
  constexpr int kFiles = 300;
  std::filesystem::create_directories("aircraft/airfoil");
  for (int i = 0; i < kFiles; ++i) {
    char path[64];
    std::snprintf(path, sizeof path, "aircraft/airfoil/foil%03d.kxa", i);
    if (FILE* f = std::fopen(path, "wb")) {
      std::fprintf(f, "[AIRFOIL]\nName = \"Foil %03d\"\n", i);
      std::fclose(f);
    }
  }
  kxdairfoil::ForgetListing();
  svdesignairfoillist list(0, 0, 128, 32, nullptr);
  kxdairfoil::ForgetListing();
  int entries = 0;
  std::string last;
  for (kxnode* c = list.dropDown->firstChild->firstChild->firstChild; c; c = c->nextSibling) {
    ++entries;
    last = static_cast<kxtext*>(c)->Text.Str();
  }
  EXPECT_EQ(entries, kFiles);
  EXPECT_EQ(last, "Foil 299");
}

}  // namespace
