// Sections: the row table; the window; the five layouts.
#include "sim/windows/option_windows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "dynamics/air_model.h"
#include "gui/group_frame.h"
#include "gui/gui.h"
#include "gui/slider.h"
#include "gui/text.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/windows/window_functions.h"

namespace sim {

namespace {

// --- the row table

// How a slider shows its setting and stores it back.
enum rowkind {
  kValue,      // float as it is
  kPercent,    // float x 100
  kFog,        // float through FogSlider / FogDensity
  kRounded,    // int, the slider value rounded as its "%.0f" shows it
};

struct sliderrow {
  int group;             // index into the layout's groups
  int fromTop;           // px: the row lies at group height - fromTop
  const char* textName;
  const char* text;
  void* setting;         // float or int by kind; null: a text without slider
  rowkind kind;
  float minimum, maximum, centre;
  int detent;
  const char* format;
  int sends;             // the slider runs "../../OnChange" when moved
  int live;              // "OnChange" stores it at once
  int textWidth;         // px; 0: the layout's
};

struct group {
  const char* caption;
  const char* name;
  int x, y, w, h;
};

struct layout {
  const char* window;
  const char* title;
  int w, h;
  const char* okName;
  const char* cancelName;
  int textX, textWidth, sliderX, sliderWidth;
  std::vector<group> groups;
  std::vector<sliderrow> rows;
  void (*afterOk)();  // null: nothing
};

constexpr int kSliderHeight = 10;  // px
constexpr float kPercentScale = 100.0f;

float Shown(const sliderrow& r) {
  switch (r.kind) {
    case kPercent: return *static_cast<float*>(r.setting) * kPercentScale;
    case kFog: return FogSlider(*static_cast<float*>(r.setting));
    case kRounded: return static_cast<float>(*static_cast<int*>(r.setting));
    default: return *static_cast<float*>(r.setting);
  }
}

void Store(const sliderrow& r, float v) {
  switch (r.kind) {
    case kPercent: *static_cast<float*>(r.setting) = v / kPercentScale; break;
    case kFog: *static_cast<float*>(r.setting) = FogDensity(v); break;
    // The number the slider shows is the one kept: printf rounds a half to
    // the even neighbour, as nearbyint does in the default rounding mode.
    case kRounded: *static_cast<int*>(r.setting) = static_cast<int>(std::nearbyint(v)); break;
    default: *static_cast<float*>(r.setting) = v; break;
  }
}

// The bytes of a setting, for the copy that Cancel puts back.
struct kept {
  float number = 0;
  int whole = 0;
};

kept Keep(const sliderrow& r) {
  kept k;
  if (r.kind == kRounded) k.whole = *static_cast<int*>(r.setting);
  else k.number = *static_cast<float*>(r.setting);
  return k;
}

void Restore(const sliderrow& r, const kept& k) {
  if (r.kind == kRounded) *static_cast<int*>(r.setting) = k.whole;
  else *static_cast<float*>(r.setting) = k.number;
}

// --- the window

class wndoptions : public simwindow {
 public:
  explicit wndoptions(layout l) : layout_(std::move(l)) {
    Fixed(layout_.window, layout_.title, layout_.w, layout_.h, "Hide");
    AddOkCancel(layout_.okName, layout_.cancelName);
    std::vector<kxlabel*> frames;
    for (const group& g : layout_.groups) frames.push_back(AddLabel(this, g.caption, g.x, g.y, g.w, g.h, g.name));
    // The first group, the top one, keeps its distance from the window's top
    // edge, so a window made lower to fit the screen takes the room from it;
    // its rows keep their places from its bottom edge.
    if (!frames.empty() && frames.front()) {
      const group& top = layout_.groups.front();
      frames.front()->Hr = layout_.h - top.y - top.h;
    }
    for (const sliderrow& r : layout_.rows) {
      kxlabel* frame = frames[static_cast<size_t>(r.group)];
      sliders_.push_back(frame ? AddRow(frame, r) : nullptr);
    }
    kept_.resize(layout_.rows.size());
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) Open();
    else if (std::strcmp(member, "Ok") == 0) Ok();
    else if (std::strcmp(member, "Hide") == 0) Cancel();
    else if (std::strcmp(member, "OnChange") == 0) StoreRows(true);
    else return kxwindow::GetMember(member, args);
    return kxvoid();
  }

 private:
  kxslidervalue* AddRow(kxlabel* frame, const sliderrow& r) {
    int y = frame->H - r.fromTop;
    AddText(frame, r.textName, r.text, layout_.textX, y, r.textWidth ? r.textWidth : layout_.textWidth);
    if (!r.setting) return nullptr;
    kxslidervalue* s = new kxslidervalue(layout_.sliderX, y, layout_.sliderWidth, kSliderHeight);
    if (!s) return nullptr;
    s->minimum = r.minimum;
    s->maximum = r.maximum;
    s->centre = r.centre;
    s->snapEnable = r.detent;
    s->format = r.format;
    if (r.sends) s->command = "../../OnChange";
    frame->AppendChild(s);
    return s;
  }

  void Open() {
    for (size_t i = 0; i < layout_.rows.size(); ++i) {
      const sliderrow& r = layout_.rows[i];
      if (!r.setting) continue;
      kept_[i] = Keep(r);
      if (sliders_[i]) {
        sliders_[i]->value = Shown(r);
        sliders_[i]->PlaceKnob();
      }
    }
    // Taller than the program's smallest screen (General Options is 490 px
    // high): there it takes the screen's height, with Ok and Cancel in reach.
    if (const kxgraphic* screen = kxgui::Visible) H = std::min(layout_.h, screen->H);
    ShowWindow(this);
  }

  // Every row's slider into its setting; with liveOnly the rows that act at once.
  void StoreRows(bool liveOnly) {
    for (size_t i = 0; i < layout_.rows.size(); ++i) {
      const sliderrow& r = layout_.rows[i];
      if (r.setting && sliders_[i] && (!liveOnly || r.live)) Store(r, sliders_[i]->value);
    }
  }

  void Ok() {
    StoreRows(false);
    Hide();
    if (layout_.afterOk) layout_.afterOk();
  }

  void Cancel() {
    for (size_t i = 0; i < layout_.rows.size(); ++i)
      if (layout_.rows[i].setting) Restore(layout_.rows[i], kept_[i]);
    Hide();
  }

  layout layout_;
  std::vector<kxslidervalue*> sliders_;  // by row; null for a text row
  std::vector<kept> kept_;
};

void NewWindField() { kxdynamics::InitField(kxdynamics::Environment()); }

}  // namespace

float FogSlider(float density) { return density > 0 ? std::sqrt(10.0f * density) : 0.0f; }
float FogDensity(float slider) { return slider * slider * 0.1f; }

// --- the five layouts

kxwindow* CreateGeneralOptionsWindow() {
  sessionsettings& s = session.settings;
  kxdenvironment& e = kxdynamics::Environment();
  layout l{"wndOptionsGeneral", "General Options", 400, 490, "wndoptgenok", "wndoptgencancel", 10, 180, 200, 120,
           {{"Environment", "wndoptgenenv", 10, 270, 380, 190},
            {"Simulation", "wndoptgensim", 10, 130, 380, 130},
            {"Transmitter", "wndoptgentrns", 10, 50, 380, 70}},
           {
               {0, 50, "wenvspeed", "Windspeed", &e.wind_speed, kValue, 0, 12, -1, 0, "%.1f m/s", 0, 0, 0},
               {0, 80, "wenvturbulence", "Turbulence", &e.wind_turbulence, kValue, 0, 5, -1, 0, "%.1f m/s", 0, 0, 0},
               {0, 110, "wenvthermic", "Thermic", &e.wind_thermic, kValue, 0, 5, -1, 0, "%.1f m/s", 0, 0, 0},
               {0, 140, "wenvdirection", "Direction", &e.wind_direction, kValue, 0, 360, -1, 0, "%.1f \xB0", 0, 0,
                0},
               {0, 170, "wenvsurface", "Surface Roughness", &e.surface_roughness, kPercent, 0, 100, 0, 1, "%.0f %%",
                0, 0, 0},
               {1, 50, "wsimsspeed", "Simulation Speed", &s.simulation_speed, kPercent, 30, 200, 100, 1, "%.0f %%", 1,
                1, 0},
               {1, 80, "wsimpspeed", "Playback Speed", &s.playback_speed, kPercent, 30, 200, 100, 1, "%.0f %%", 1, 1,
                0},
               {1, 110, "wsimctime", "Restart time after Crash", &s.crashtime, kValue, 1, 60, 100, 0, "%.0f sec", 1,
                1, 0},
               {2, 50, "wtrmreliability", "Transmitter reliability", &e.transmitter_reliability, kPercent, 60, 100, 0,
                0, "%.0f %%", 0, 0, 0},
           },
           NewWindField};
  return new wndoptions(std::move(l));
}

kxwindow* CreateViewOptionsWindow() {
  simplayer& p = players[0];
  layout l{"wndOptionsView", "Viewing Options", 430, 420, "wndoptviewok", "wndoptviewcancel", 10, 230, 260, 100,
           {{"Fixed viewing Position", "wndoptfixed", 10, 250, 410, 130},
            {"Follow mode", "wndoptfollow", 10, 140, 410, 100},
            {"Cockpit mode", "wndoptcockpit", 10, 50, 410, 80}},
           {
               {0, 50, "woptfovr", "Field Of View:", &p.fov_fixed, kValue, 0, 1, -1, 0, "%.2f", 1, 1, 0},
               {0, 80, "woptdelayry", "Height dependant vertical camera:", &p.pilot_view_delayy, kPercent, 0, 100, -1,
                0, "%.0f %%", 1, 0, 240},
               {0, 110, "woptdelayrx", "Delayed Horizontal camera:", &p.pilot_view_delayx, kPercent, -100, 100, 0, 1,
                "%.0f %%", 1, 0, 0},
               {1, 50, "woptfovf", "Field Of View:", &p.fov_follow, kValue, 0, 1, -1, 0, "%.2f", 1, 1, 0},
               {1, 80, "woptfolstrength", "Follow strength:", &p.follow_time_distance, kValue, 0, 1, -1, 0, "%.2f", 0,
                1, 0},
               {2, 50, "woptfovc", "Field Of View:", &p.fov_cockpit, kValue, 0, 1, -1, 0, "%.2f", 1, 1, 0},
           },
           nullptr};
  return new wndoptions(std::move(l));
}

kxwindow* CreateContestOptionsWindow() {
  sessionsettings& s = session.settings;
  layout l{"wndOptionsContest", "Contest Options", 310, 210, "wndoptctstok", "wndoptctstcancel", 10, 80, 120, 110,
           {{"Pylon racing", "wndoptctstpylon", 10, 120, 290, 60},
            {"Balloon popping", "wndoptctstballoon", 10, 50, 290, 60}},
           {
               {0, 40, "wndoptctstrounds", "Rounds:", &s.contest_pylon_rounds, kRounded, 1, 16, -1, 0, "%.0f", 0, 0,
                0},
               {1, 40, "wndoptctstbtime", "Time:", &s.contest_balloonpop_time, kRounded, 30, 600, -1, 0,
                "%.0f sec", 0, 0, 0},
           },
           nullptr};
  return new wndoptions(std::move(l));
}

kxwindow* CreateTowOptionsWindow() {
  sessionsettings& s = session.settings;
  layout l{"wndOptionsFSchlepp", "F-Schlepp Options", 360, 220, "wndoptfschok", "wndoptfschcancel", 10, 110, 150, 100,
           {{"Rope Adjustment", "wndoptfschrope", 10, 50, 340, 130}},
           {
               {0, 50, "wfschllength", "Rope Length:", &s.fschlepp_rope_length, kValue, 2, 8, -1, 0, "%.1f m", 0, 0,
                0},
               {0, 80, "wfschlstrength", "Rope Strength:", &s.fschlepp_rope_strength, kValue, 0, 1, -1, 0,
                "%.1f m/s", 0, 0, 0},
               {0, 110, "xxx", "Rope Strength:", nullptr, kValue, 0, 0, 0, 0, "", 0, 0, 0},
           },
           nullptr};
  return new wndoptions(std::move(l));
}

kxwindow* CreateGraphicsOptionsWindow() {
  sessionsettings& s = session.settings;
  auto row = [](int g, int fromTop, const char* n, const char* text, float* setting, rowkind kind, float minimum) {
    return sliderrow{g, fromTop, n, text, setting, kind, minimum, 1, -1, 0, "%.2f", 1, 1, 0};
  };
  layout l{"wndOptionsGrfx", "Graphic Options", 310, 430, "wndoptgrfxok", "wndoptgrfxcancel", 10, 110, 140, 100,
           {{"Smoke Color", "wndoptgrfxsmoke", 10, 290, 290, 110},
            {"Exhaust", "wndoptgrfxexhaust", 10, 210, 290, 60},
            {"Fog", "wndoptgrfxfog", 10, 130, 290, 60},
            {"General", "wndoptgrfxgen", 10, 50, 290, 60}},
           {
               row(0, 40, "wndoptgrfxsmokered", "Red", &s.smoke_color_red, kValue, 0),
               row(0, 60, "wndoptgrfxsmokegreen", "Green", &s.smoke_color_green, kValue, 0),
               row(0, 80, "wndoptgrfxsmokeblue", "Blue", &s.smoke_color_blue, kValue, 0),
               row(0, 100, "wndoptgrfxsmokedens", "Density", &s.smoke_density, kValue, 0.2f),
               row(1, 40, "wndoptgrfxexhaustd", "Density", &s.exhaust_density, kValue, 0),
               row(2, 40, "wndoptgrfxfogdens", "Fog Density", &s.fog_density, kFog, 0),
               row(3, 40, "wndoptgrfxtreedens", "Tree Density", &s.tree_density, kValue, 0),
           },
           nullptr};
  return new wndoptions(std::move(l));
}

}  // namespace sim
