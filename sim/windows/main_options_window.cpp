// Sections: wndOptionsMain (build, fill, apply); wndRestart.
#include "sim/windows/main_options_window.h"

#include <algorithm>
#include <cstring>

#include "graphics/texture_table.h"
#include "gui/check_box.h"
#include "gui/group_frame.h"
#include "gui/gui.h"
#include "gui/text.h"
#include "platform/callbacks.h"
#include "platform/codes.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "sim/language_switch.h"
#include "sim/menu_state.h"
#include "sim/scenery.h"
#include "sim/windows/menu_windows.h"
#include "sim/windows/window_functions.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr int kOptionSize = 20;           // px, every option button
constexpr int kModesPerColumn = 15;
constexpr int kModeColumnWidth = 130;     // px
constexpr int kModeTop = 319;             // px, the first mode button's y
constexpr int kModeStep = 22;             // px between mode buttons
// Narrower than kWidth there is no room for a fourth column of modes beside
// the language and texture groups: the modes stand in three columns of 20,
// closer together, below the window mode button.
constexpr int kNarrowModesPerColumn = 20;
constexpr int kNarrowModeTop = 327;       // px
constexpr int kNarrowModeStep = 16;       // px: a text line and a little
constexpr int kWindowedWidth = 640, kWindowedHeight = 480;  // px, the window a return from full screen opens
constexpr int kWidth = 700, kHeight = 475;  // px, where the screen has room
constexpr int kGroupRight = 10;           // px from the right edge to the language and texture groups
constexpr int kResolutionRight = 150;     // px from the right edge to the resolution group
constexpr int kLanguages = 3;             // English, German, French
constexpr int kQualities = 3;             // high, medium, low

// --- wndOptionsMain

class wndoptionsmain : public simwindow {
 public:
  kxiconbutton* windowMode = nullptr;
  kxiconbutton* modes[kModeButtons] = {};
  kxiconbutton* quality[kQualities] = {};
  kxiconbutton* languages[kLanguages] = {};
  kxcheckbox* compression = nullptr;
  kxtext* compressionTexts[2] = {};
  int languageAtOpening = 0;  // 1..3; 0 when the current one has no button

  wndoptionsmain() {
    Fixed("wndOptionsMain", "Options", kWidth, kHeight, "Hide");
    AddOkCancel("wndoptmainok", "wndoptmaincancel");
    // The groups hold to the right edge, so the window can narrow.
    if (kxlabel* g = AddLabel(this, "Language", 560, 250, 130, 195, "wndoptmainlang")) {
      g->Xr = kGroupRight;
      languages[0] = Option(g, 145, "English", "wndoptmainlen");
      languages[1] = Option(g, 120, "German", "wndoptmainlde");
      languages[2] = Option(g, 95, "French", "wndoptmainlfr");
    }
    if (kxlabel* g = AddLabel(this, "Texture quality", 560, 50, 130, 195, "wndoptmainftex")) {
      g->Xr = kGroupRight;
      quality[0] = Option(g, 145, " High", "wndoptmainfhigh");
      quality[1] = Option(g, 120, " Medium", "wndoptmainfmedium");
      quality[2] = Option(g, 95, " Low", "wndoptmainflow");
      compression = new kxcheckbox(10, 55, 20, 20);
      if (compression) g->AppendChild(compression);
      compressionTexts[0] = AddText(g, "wndoptmainfcomp1", "Texture", 26, 57, 240);
      compressionTexts[1] = AddText(g, "wndoptmainfcomp2", "compression", 26, 42, 240);
    }
    if (kxlabel* g = AddLabel(this, "Resolution", 10, 50, 540, 395, "wndoptmainres")) {
      g->Wr = kResolutionRight;
      windowMode = Option(g, 350, " Window mode", "wndoptmainwin");
      for (int k = 0; k < kModeButtons; ++k)
        modes[k] = AddIconButton(g, 0, 0, kOptionSize, kOptionSize, "9999x9999 (999Hz)", 0, "");
      PlaceModes(false);
    }
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) ShowWindow(this);
    else if (std::strcmp(member, "Ok") == 0) Ok();
    else return kxwindow::GetMember(member, args);
    return kxvoid();
  }

  void Fill() {
    const kxdisplaysettings& d = kxsystem::display;
    int hasCompression = kxgl::caps.compressed_textures ? 1 : 0;
    if (compression) compression->hidden = !hasCompression;
    for (kxtext* t : compressionTexts)
      if (t) t->hidden = !hasCompression;
    if (windowMode) windowMode->selected = d.window_fullscreen == 0 ? 1 : 0;
    int count = ModeCount();
    for (int k = 0; k < kModeButtons; ++k) {
      kxiconbutton* b = modes[k];
      if (!b) continue;
      b->hidden = k >= count ? 1 : 0;
      if (k >= count) continue;
      const kxdisplaymode* m = kxsystem::GetDisplayMode(k + 1);
      // One mark in the group: a window of a mode's size is window mode.
      b->selected = d.window_fullscreen != 0 && IsCurrent(*m) ? 1 : 0;
      b->Text.Format(" %dx%d (%dHz)", m->width, m->height, m->refresh);
    }
    for (int q = 0; q < kQualities; ++q)
      if (quality[q]) quality[q]->selected = q == kxgl::textureQuality ? 1 : 0;
    if (compression) compression->checked = kxgl::textureCompression ? 1 : 0;
    int language = static_cast<int>(Menu().language);
    languageAtOpening = 0;
    for (int i = 0; i < kLanguages; ++i)
      if (languages[i]) languages[i]->selected = 0;
    if (language >= 1 && language <= kLanguages) {
      if (languages[language - 1]) languages[language - 1]->selected = 1;
      languageAtOpening = language;
    }
    // Wider than the program's smallest screen (640 x 480): there it takes
    // the screen's width, so Cancel, the close box and the groups on the
    // right stay in reach.
    if (const kxgraphic* screen = kxgui::Visible) {
      W = std::min(kWidth, screen->W);
      H = std::min(kHeight, screen->H);
    }
    PlaceModes(W < kWidth);
    ShowWindow(this);
  }

 private:
  void PlaceModes(bool narrow) {
    const int perColumn = narrow ? kNarrowModesPerColumn : kModesPerColumn;
    const int top = narrow ? kNarrowModeTop : kModeTop, step = narrow ? kNarrowModeStep : kModeStep;
    for (int k = 0; k < kModeButtons; ++k) {
      if (!modes[k]) continue;
      modes[k]->X = 10 + kModeColumnWidth * (k / perColumn);
      modes[k]->Y = top - step * (k % perColumn);
      modes[k]->H = std::min(kOptionSize, step);
    }
  }

  kxiconbutton* Option(kxgraphic* group, int y, const char* text, const char* buttonName) {
    return AddIconButton(group, 10, y, kOptionSize, kOptionSize, text, 0, buttonName);
  }

  static int ModeCount() {
    int n = static_cast<int>(kxsystem::display.modes.size());
    return n < kModeButtons ? n : kModeButtons;
  }

  static bool IsCurrent(const kxdisplaymode& m) {
    const kxdisplaysettings& d = kxsystem::display;
    return m.width == d.window_width && m.height == d.window_height && m.refresh == d.monitor_frequency;
  }

  static bool Set(const kxiconbutton* b) { return b && b->selected; }

  void ApplyDisplayMode(int& request) {
    kxdisplaysettings& d = kxsystem::display;
    if (Set(windowMode)) {
      if (d.window_fullscreen != 1) return;
      d.window_width = kWindowedWidth;
      d.window_height = kWindowedHeight;
      d.monitor_frequency = d.desktop_frequency;
      d.window_fullscreen = 0;
      request = kxcode::kRequestRecreate;
      return;
    }
    for (int k = 0; k < ModeCount(); ++k) {
      if (!Set(modes[k])) continue;
      const kxdisplaymode* m = kxsystem::GetDisplayMode(k + 1);
      if (IsCurrent(*m) && d.window_fullscreen == 1) continue;
      d.window_width = m->width;
      d.window_height = m->height;
      d.monitor_frequency = m->refresh;
      d.window_fullscreen = 1;
      request = kxcode::kRequestRecreate;
    }
  }

  void ApplyTextures(int& request) {
    int q = kxgl::textureQuality;
    for (int i = 0; i < kQualities; ++i)
      if (Set(quality[i])) q = i;
    if (q != kxgl::textureQuality) {
      kxgl::textureQuality = q;
      request = kxcode::kRequestRecreate;
    }
    int c = compression && compression->checked ? 1 : 0;
    if (c != kxgl::textureCompression) {
      kxgl::textureCompression = c;
      // The scenery's textures are read again with the new setting before
      // the new context uploads them.
      if (world* w = TheWorld()) {
        char name[world::kNameChars];
        std::memcpy(name, w->name, sizeof name);
        LoadSceneryOrDefault(name, w);
      }
      request = kxcode::kRequestRecreate;
    }
  }

  void ApplyLanguage() {
    for (int k = 0; k < kLanguages; ++k) {
      if (!Set(languages[k])) continue;
      if (k + 1 != languageAtOpening && SwitchLanguage(k)) ShowWindow2(RestartWindow());
      return;
    }
  }

  void Ok() {
    Hide();
    int request = kxsystem::callbacks.request;
    ApplyDisplayMode(request);
    ApplyTextures(request);
    kxsystem::callbacks.request = request;
    ApplyLanguage();
  }
};

// --- wndRestart

class wndrestart : public simwindow {
 public:
  wndrestart() {
    Fixed("wndRestart", "Restart required!", 260, 160, "Hide");
    background = {0.8f, 0.8f, 0.8f, 1.0f};
    AddListItem(this, 10, 60, 240, 55, 0, "wrestart",
                "Please restart Skyvane Gold Edition to enable the new language.");
    AddButton(this, 0, 10, 0, 0, 90, 0, "Ok", "../Ok", "wrestartok");
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) ShowWindow2(this);
    else if (std::strcmp(member, "Ok") == 0) Hide();
    else return kxwindow::GetMember(member, args);
    return kxvoid();
  }
};

}  // namespace

kxwindow* CreateMainOptionsWindow() { return new wndoptionsmain; }
kxwindow* CreateRestartWindow() { return new wndrestart; }

void FillDisplayModeList(kxwindow* window) {
  if (wndoptionsmain* w = dynamic_cast<wndoptionsmain*>(window)) w->Fill();
}

}  // namespace sim
