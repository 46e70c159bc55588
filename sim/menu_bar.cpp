// Sections: builders; the entry table; CreateMenu and DestroyMenu;
// ActivateMenu and UpdateMenuState.
#include "sim/menu_bar.h"

#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "core/function.h"
#include "core/interpreter.h"
#include "dynamics/tow.h"
#include "gui/background.h"
#include "gui/gui.h"
#include "gui/menu.h"
#include "gui/window.h"
#include "platform/callbacks.h"
#include "platform/event_nodes.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "sim/code_number.h"
#include "sim/keys.h"
#include "sim/menu_bar_actions.h"
#include "sim/modes.h"
#include "sim/mouse.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/windows/help_windows.h"
#include "sim/windows/main_options_window.h"
#include "sim/windows/notice_window.h"
#include "sim/windows/option_windows.h"
#include "sim/windows/recording_windows.h"
#include "sim/windows/scenery_window.h"
#include "sim/windows/sound_windows.h"
#include "sim/windows/window_functions.h"
#include "sim/world/world.h"

namespace sim {

namespace {

void KeyUpNothing(int, int) {}

}  // namespace

// --- builders

kxmenuitem* AddMenuTitle(const char* text, const char* action, const char* name) {
  kxmenuitem* title = Append(MenuBar().visible, new kxmenuitem);
  if (!title) return nullptr;
  title->Text = text;
  title->Action = action;
  title->name = name;
  return title;
}

kxpopup* AddPopup(const char* name) {
  simmenu& m = MenuBar();
  kxpopup* popup = Append(m.invisible, new kxpopup);
  if (popup) popup->name = name;
  m.filling = popup;
  return popup;
}

kxpopupitem* AddPopupItem(kxpopup* popup, const char* label, const char* name, const char* command,
                          menuhandler handler, const menucheck& check, const menuenable& enable) {
  kxpopupitem* item = Append(popup, new kxpopupitem(label, command, 0));
  if (!item) return nullptr;
  item->name = name;
  item->checkVariable = check.variable;
  item->checkValue = check.value;
  item->enableVariable = enable.variable;
  item->enableRule = enable.rule;
  item->enableValue = enable.value;
  size_t length = std::strlen(command);
  if (length > 3 && command[length - 1] == ')' && handler.indexed) {
    std::string commandName(command, length - 3);
    kxfunction::Register(commandName.c_str(), handler.indexed);
  } else if (handler.plain) {
    kxfunction::Register(command, handler.plain);
  }
  return item;
}

void AddPopupSeparator(kxpopup* popup) { Append(popup, new kxpopupbar); }

// --- the entry table

namespace {

// One pop-up entry; a null label is a separator.
struct entry {
  const char* label;
  const char* name;
  const char* command;
  menuhandler handler;
  menucheck check;
  menuenable enable;
};

constexpr menuhandler kNone = {};
constexpr menuhandler Plain(void (*f)()) { return {f, nullptr}; }
constexpr menuhandler Indexed(void (*f)(int)) { return {nullptr, f}; }
const entry kSeparator = {nullptr, nullptr, nullptr, kNone, {}, {}};

// The rules read a flag or a named code through its own type, and compare
// it with a value of that same type: a view mode's entry cannot be pointed
// at a camera code by mistake.
template <class T>
kxmenuvariable Watch(const T* variable) {
  return kxmenuvariable([variable] { return CodeNumber(*variable); });
}
menucheck WhileOn(const int* flag) { return {flag, 0}; }
template <class T>
menucheck At(const T* variable, std::type_identity_t<T> value) {
  return {Watch(variable), CodeNumber(value)};
}
menuenable EnabledWhileOn(const int* flag) { return {flag, enablerule::nonzero, 0}; }
template <class T>
menuenable EnabledAt(const T* variable, std::type_identity_t<T> value) {
  return {Watch(variable), enablerule::equal, CodeNumber(value)};
}
template <class T>
menuenable EnabledUnless(const T* variable, std::type_identity_t<T> value) {
  return {Watch(variable), enablerule::notequal, CodeNumber(value)};
}

struct popuptable {
  const char* name;
  std::vector<entry> entries;
};

std::vector<popuptable> Popups() {
  sessionsettings& s = session.settings;
  simplayer& p = players[0];
  const recordstate* state = &p.recording.state;
  const int* present = &p.recording.present;
  const viewmode* view = &p.view_mode;
  const cameraview* type2 = &p.camera[2].type;
  const int* contest = &session.run.selected_contest;
  std::vector<popuptable> t;
  t.push_back(
      {"MFile",
       {
           {"Edit aircraft...", "mfileedit", "GoEditAcft", Plain(LeaveToDesigner), {}, {}},
           kSeparator,
           {"General Options", "mfileopt", "/Menu/Invisible/wndOptionsGeneral/Open", kNone, {}, {}},
           kSeparator,
           {"Sound/Music", "mfilesound", "/Menu/Invisible/wndOptionsSound/Open", kNone, {}, {}},
           kSeparator,
           {"Metric units", "mfilemetric", "UnitMetric", Plain(UnitMetric), At(&s.units, kUnitsMetric), {}},
           {"English units", "mfileenglish", "UnitEnglish", Plain(UnitEnglish), At(&s.units, kUnitsImperial), {}},
           kSeparator,
           {"Main Menu...", "mfilemain", "GoMainMenu", Plain(LeaveToMenu), {}, {}},
       }});
  t.push_back(
      {"MRecord",
       {
           {"Record Flight...", "mrecrec", "RecordFlightOn(0)", Indexed(RecordFlightOn), {},
            EnabledAt(state, kRecordIdle)},
           {"Play Recorded Flight...", "mrecplay", "RecordFlightPlay(0)", Indexed(RecordFlightPlay), {},
            EnabledAt(present, 1)},
           kSeparator,
           {"Stop record/playback", "mrecstop", "RecordFlightStop(0)", Indexed(RecordFlightStop), {},
            EnabledUnless(state, kRecordIdle)},
           {"Clear Recorded Flight", "mrecclear", "RecordFlightClear(0)", Indexed(RecordFlightClear), {},
            EnabledAt(present, 1)},
           kSeparator,
           {"Load Recorded Flight", "mrecload", "/Menu/Invisible/wndLoadRecord/Open", kNone, {}, {}},
           {"Save Recorded Flight", "mrecsave", "/Menu/Invisible/wndSaveRecord/Open", kNone, {}, EnabledAt(present, 1)},
       }});
  t.push_back(
      {"MView",
       {
           {"Fixed viewing position", "mviewfixed", "ViewFixed(0)", Indexed(ViewFixed), At(view, kViewFixed), {}},
           {"Autozoom", "mviewzoom", "ViewFixedAZ(0)", Indexed(ViewFixedAZ), At(view, kViewFixedAutozoom), {}},
           {"Follow aircraft", "mviewfollow", "ViewFollow(0)", Indexed(ViewFollow), At(view, kViewFollow), {}},
           {"Cockpit mode", "mviewcockpit", "ViewCockpit(0)", Indexed(ViewCockpit), At(view, kViewCockpit), {}},
           {"Cockpit mode with Instruments", "mviewcockpit2", "ViewCockpitInstruments(0)",
            Indexed(ViewCockpitInstruments), At(view, kViewCockpitInstruments), {}},
           kSeparator,
           {"Recorded Flight (Fixed)", "mviewrecr", "ViewRecordR(0)", Indexed(ViewRecordR), At(view, kViewRecordFixed),
            EnabledAt(present, 1)},
           {"Recorded Flight (Follow)", "mviewrecf", "ViewRecordF(0)", Indexed(ViewRecordF),
            At(view, kViewRecordFollow), EnabledAt(present, 1)},
           {"Recorded Flight (Cockpit)", "mviewrecc", "ViewRecordC(0)", Indexed(ViewRecordC),
            At(view, kViewRecordCockpit), EnabledAt(present, 1)},
           kSeparator,
           {"Show Aircraft Trace", "mviewtrshow", "TraceView(0)", Indexed(TraceView), WhileOn(&p.trace.view), {}},
           {"Start Trace", "mviewtrstart", "TraceStart(0)", Indexed(TraceStart), {}, EnabledUnless(&p.trace.on, 1)},
           {"Stop Trace", "mviewtrstop", "TraceStop(0)", Indexed(TraceStop), {}, EnabledAt(&p.trace.on, 1)},
           {"Clear Trace", "mviewtrclear", "TraceClear(0)", Indexed(TraceClear), {}, {}},
           kSeparator,
           {"Viewing Options", "mviewoption", "/Menu/Invisible/wndOptionsView/Open", kNone, {}, {}},
       }});
  t.push_back(
      {"MView2",
       {
           {"Show 2.View", "mv2show", "CameraOnOff(0)", Indexed(CameraOnOff), WhileOn(&p.camera[2].on), {}},
           kSeparator,
           {"View Aircraft", "mv2acft", "View2Acft(0)", Indexed(View2Acft), At(type2, kCameraAircraft), {}},
           {"View Wind and Variometer", "mv2wind", "View2Wind(0)", Indexed(View2Wind), At(type2, kCameraWind), {}},
           {"View Follow Mode", "mv2follow", "View2Follow(0)", Indexed(View2Follow), At(type2, kViewFollow), {}},
           {"Fixed Viewpoint", "mv2fixed", "View2Fixed(0)", Indexed(View2Fixed), At(type2, kViewFixed), {}},
           kSeparator,
           {"Recorded Flight (Fixed)", "mv2recr", "View2RecordR(0)", Indexed(View2RecordR), At(type2, kViewRecordFixed),
            EnabledAt(present, 1)},
           {"Recorded Flight (Follow)", "mv2recf", "View2RecordF(0)", Indexed(View2RecordF),
            At(type2, kViewRecordFollow), EnabledAt(present, 1)},
           {"Recorded Flight (Cockpit)", "mv2recc", "View2RecordC(0)", Indexed(View2RecordC),
            At(type2, kViewRecordCockpit), EnabledAt(present, 1)},
       }});
  t.push_back(
      {"MInfo",
       {
           {"Show Flight Info", "minfoshow", "InfoOnOff(0)", Indexed(InfoOnOff), WhileOn(&p.camera[0].on), {}},
           kSeparator,
           {"Show Velocity", "minfov", "InfoVelocity(0)", Indexed(InfoVelocity), WhileOn(&p.hud.show_velocity), {}},
           {"Show Height", "minfoh", "InfoHeight(0)", Indexed(InfoHeight), WhileOn(&p.hud.show_height), {}},
           {"Show Altitude", "minfoa", "InfoHeightMSL(0)", Indexed(InfoHeightMSL), WhileOn(&p.hud.show_heightmsl), {}},
           {"Show Heading", "minfohead", "InfoHeading(0)", Indexed(InfoHeading), WhileOn(&p.hud.show_heading), {}},
           {"Show Rotor RPM", "minforpm", "InfoRPM(0)", Indexed(InfoRPM), WhileOn(&p.hud.show_rpm), {}},
           {"Show FPS", "minfofps", "InfoFPS(0)", Indexed(InfoFPS), WhileOn(&p.hud.show_fps), {}},
       }});
  popuptable contests = {
      "MContest",
      {
          {"Contest Start", "mctststart", "ContestStart", Plain(ContestStart), {}, EnabledWhileOn(contest)},
          {"Contest Stop", "mctststop", "ContestStop", Plain(ContestStop), {}, EnabledWhileOn(contest)},
          kSeparator,
          {"Turn off Contest", "mctsthalt", "ContestSelect(0)", Indexed(ContestSelect), {}, EnabledWhileOn(contest)},
          kSeparator,
      }};
  // The labels and commands of the eight placeholder entries live as long as
  // the program: the entries keep copies, the commands register by name.
  static const char* const kLabels[kContestEntries] = {"Contest1XXXXXXXXX", "Contest2XXXXXXXXX", "Contest3XXXXXXXXX",
                                                       "Contest4XXXXXXXXX", "Contest5XXXXXXXXX", "Contest6XXXXXXXXX",
                                                       "Contest7XXXXXXXXX", "Contest8XXXXXXXXX"};
  static const char* const kNames[kContestEntries] = {"xxx1", "xxx2", "xxx3", "xxx4", "xxx5", "xxx6", "xxx7", "xxx8"};
  static const char* const kCommands[kContestEntries] = {"ContestSelect(1)", "ContestSelect(2)", "ContestSelect(3)",
                                                         "ContestSelect(4)", "ContestSelect(5)", "ContestSelect(6)",
                                                         "ContestSelect(7)", "ContestSelect(8)"};
  for (int i = 0; i < kContestEntries; ++i)
    contests.entries.push_back({kLabels[i], kNames[i], kCommands[i], Indexed(ContestSelect), At(contest, i + 1), {}});
  contests.entries.push_back(kSeparator);
  contests.entries.push_back({"Settings", "mctstset", "/Menu/Invisible/wndOptionsContest/Open", kNone, {}, {}});
  t.push_back(contests);
  t.push_back({"MFSchlepp",
               {
                   {"Start glider towing", "mfschstart", "FSchleppStart", Plain(FSchleppStart), {}, {}},
                   {"Detach rope", "mfschdetach", "FSchleppDetach", Plain(FSchleppDetach), {}, {}},
                   // The rope's length and strength have no other way in.
                   kSeparator,
                   {"Settings", "mfschset", "/Menu/Invisible/wndOptionsFSchlepp/Open", kNone, {}, {}},
               }});
  t.push_back(
      {"MGraphics",
       {
           {"No Clouds", "mgrphclouds1", "SetCloudsNone", Plain(SetCloudsNone), At(&s.cloud_type, kCloudsNone), {}},
           {"Clouds (good weather)", "mgrphclouds2", "SetCloudsNice", Plain(SetCloudsNice),
            At(&s.cloud_type, kCloudsFair), {}},
           {"Clouds (rainy weather)", "mgrphclouds3", "SetCloudsRain", Plain(SetCloudsRain),
            At(&s.cloud_type, kCloudsRain), {}},
           kSeparator,
           {"Trees and Animals", "mgrphtrees", "ToogleTrees", Plain(ToogleTrees), WhileOn(&s.show_trees), {}},
           {"Collision with Trees and Animals", "mgrphtrees2", "ToogleTreeCollision", Plain(ToogleTreeCollision),
            WhileOn(&s.tree_collision), {}},
           kSeparator,
           {"Exhaust", "mgrphexhst", "ToogleExhaust", Plain(ToogleExhaust), WhileOn(&s.show_exhaust), {}},
           {"Smoke", "mgrphsmoke", "ToogleSmoke", Plain(ToogleSmoke), WhileOn(&s.show_smoke), {}},
           kSeparator,
           {"Aircraft reflections", "mgrphrefl", "ToogleAircraftRefl", Plain(ToogleAircraftRefl),
            WhileOn(&s.gl_aircraft_reflections), {}},
           kSeparator,
           {"Back light", "mgrphsun", "ToogleSunBlend", Plain(ToogleSunBlend), WhileOn(&s.gl_sun_blend), {}},
           kSeparator,
           {"Fog", "mgrphfog", "ToogleFog", Plain(ToogleFog), WhileOn(&s.gl_fog), {}},
           kSeparator,
           {"Vertical Sync", "mgrphvsync", "ToogleVSYNC", Plain(ToogleVSYNC), WhileOn(&s.use_vsync), {}},
           kSeparator,
           {"Graphic Options", "mgrphoption", "/Menu/Invisible/wndOptionsGrfx/Open", kNone, {}, {}},
       }});
  t.push_back(
      {"MHelp",
       {
           {"Keys", "mhelpkeys", "/Display/Invisible/wndKeys/Show;/Menu/Invisible/wndKeys/Open", kNone, {}, {}},
           kSeparator,
           {"Show Tips", "mhelptips", "ShowTips", Plain(ShowTips), WhileOn(&s.show_tips), {}},
           kSeparator,
           {"About...", "mhelpabout", "/Display/Invisible/wndAbout/Show;/Menu/Invisible/wndAbout/Open", kNone, {}, {}},
       }});
  return t;
}

struct title {
  const char* text;
  const char* action;
  const char* name;
};
constexpr title kTitles[] = {
    {"File", "/Menu/Invisible/MFile/Show", "mifile"},
    {"1.View", "/Menu/Invisible/MView/Show", "miview1"},
    {"2.View", "/Menu/Invisible/MView2/Show", "miview2"},
    {"Flight Info", "/Menu/Invisible/MInfo/Show", "mifinfo"},
    {"Recording", "/Menu/Invisible/MRecord/Show", "mirec"},
    {"Contest", "/Menu/Invisible/MContest/Show", "micontest"},
    {"Glider tow", "/Menu/Invisible/MFSchlepp/Show", "mifschlepp"},
    {"Graphics", "/Menu/Invisible/MGraphics/Show", "migraphics"},
    {"Help", "/Menu/Invisible/MHelp/Show", "mihelp"},
};
constexpr int kContestTitle = 5;
constexpr int kTowTitle = 6;

kxwindow* CreateWindow(int which) {
  switch (which) {
    case kWndLoadScenery: return CreateLoadSceneryWindow();
    case kWndSaveRecord: return CreateSaveRecordWindow();
    case kWndLoadRecord: return CreateLoadRecordWindow();
    case kWndWrongScenery: return CreateWrongSceneryWindow();
    case kWndOptionsFSchlepp: return CreateTowOptionsWindow();
    case kWndOptionsGeneral: return CreateGeneralOptionsWindow();
    case kWndOptionsSound: return CreateSoundOptionsWindow();
    case kWndTitleSelect: return CreateTitleSelectWindow(MenuBar().windows[kWndOptionsSound]);
    case kWndOptionsView: return CreateViewOptionsWindow();
    case kWndOptionsContest: return CreateContestOptionsWindow();
    case kWndOptionsGrfx: return CreateGraphicsOptionsWindow();
    case kWndAbout: return CreateAboutWindow();
    case kWndNoDevice: return CreateNoDeviceWindow();
    case kWndRestart: return CreateRestartWindow();
    case kWndKeys: return CreateKeysWindow();
    case kWndOptionsMain: return CreateMainOptionsWindow();
    case kWndOldModel: return CreateOldModelWindow();
    case kWndNotice: return CreateNoticeWindow();
    default: return nullptr;
  }
}

// A window shown lives under another screen and may die with it (the whole
// tree goes at program end): the menu forgets its nodes as they are destroyed.
void ForgetDestroyed(kxnode* node) {
  simmenu& m = MenuBar();
  for (kxwindow*& w : m.windows)
    if (w == node) w = nullptr;
  if (m.root == node) m.root = nullptr;
  if (m.visible == node) m.visible = nullptr;
  if (m.invisible == node) m.invisible = nullptr;
  if (m.filling == node) m.filling = nullptr;
  if (m.contest_title == node) m.contest_title = nullptr;
  if (m.tow_title == node) m.tow_title = nullptr;
}

}  // namespace

// --- CreateMenu and DestroyMenu

void CreateMenu() {
  kxnode::AddDestroyListener(ForgetDestroyed);
  DestroyMenu();
  simmenu& m = MenuBar();
  m.root = Append(kxscript::Root(), new kxnode);
  if (!m.root) return;
  m.root->name = "Menu";
  m.visible = Append(m.root, new kxbackground);
  if (m.visible) m.visible->name = "Visible";
  m.invisible = Append(m.root, new kxgraphic(0, 0, 0, 0));
  if (m.invisible) m.invisible->name = "Invisible";

  kxmenuitem* titles[std::size(kTitles)] = {};
  for (size_t i = 0; i < std::size(kTitles); ++i)
    titles[i] = AddMenuTitle(kTitles[i].text, kTitles[i].action, kTitles[i].name);
  m.contest_title = titles[kContestTitle];
  m.tow_title = titles[kTowTitle];

  for (const popuptable& table : Popups()) {
    kxpopup* popup = AddPopup(table.name);
    for (const entry& e : table.entries) {
      if (!e.label) AddPopupSeparator(popup);
      else AddPopupItem(popup, e.label, e.name, e.command, e.handler, e.check, e.enable);
    }
  }

  for (int i = 0; i < kMenuWindows; ++i) m.windows[i] = Append(m.invisible, CreateWindow(i));
}

void DestroyMenu() {
  simmenu& m = MenuBar();
  // A shown window lives under the screen that showed it, not under "/Menu".
  for (kxwindow*& w : m.windows) {
    delete w;
    w = nullptr;
  }
  if (kxgui::Visible == m.visible) kxgui::Visible = nullptr;
  if (kxgui::Invisible == m.invisible) kxgui::Invisible = nullptr;
  delete m.root;
  m = simmenu();
}

// --- ActivateMenu and UpdateMenuState

namespace {

kxpopupitem* Entry(const char* popup, const char* name) {
  std::string path = std::string("/Menu/Invisible/") + popup + "/" + name + "/";
  return kxnode::As<kxpopupitem>(kxnode::Find(path.c_str()));
}

void SetDisabled(const char* popup, const char* name, int disabled) {
  if (kxpopupitem* item = Entry(popup, name)) item->Disabled = disabled;
}

void FitToWindow(kxgraphic* screen) {
  if (!screen) return;
  screen->W = kxsystem::display.window_width;
  screen->H = kxsystem::display.window_height;
}

void ShowContestEntries(const world* w) {
  kxpopupitem* item = Entry("MContest", "xxx1");
  int count = w ? w->contest_count : 0;
  for (int i = 0; i < kContestEntries && item; ++i) {
    bool shown = i < count;
    item->Hidden = shown ? 0 : 1;
    item->Disabled = shown ? 0 : 1;
    if (shown) item->Text = ContestLabel(w->contests[i].kind);
    item = kxnode::As<kxpopupitem>(item->nextSibling);
  }
}

}  // namespace

const char* ContestLabel(contestkind kind) {
  switch (kind) {
    case kContestPylonRace: return "Pylon Racing";
    case kContestBalloonPop: return "Balloon Popping";
    case kContestDragRace: return "Drag Racing";
    case kContestSpotLanding: return "Spot Landing";
    default: return "unknown";
  }
}

void ActivateMenu() {
  simmenu& m = MenuBar();
  kxcallbacks& cb = kxsystem::callbacks;
  cb.mouse = input::OnMouse;
  cb.key_down = input::OnKey;
  cb.key_up = KeyUpNothing;

  kxgui::Visible = m.visible;
  kxgui::Focus = m.visible;
  kxgui::Invisible = m.invisible;
  kxgui::KeyHook = OnKey;
  kxgui::MouseHook = OnMouse;
  FitToWindow(m.visible);
  if (m.visible) m.visible->Update();

  const world* w = TheWorld();
  int fixedViewpoint = w && w->photo ? 1 : 0;
  static const char* const kRuledOutByViewpoint[][2] = {
      {"MView", "mviewfollow"},     {"MView", "mviewcockpit"},      {"MView", "mviewcockpit2"},
      {"MGraphics", "mgrphclouds1"}, {"MGraphics", "mgrphclouds2"}, {"MGraphics", "mgrphclouds3"},
      {"MGraphics", "mgrphtrees"},   {"MGraphics", "mgrphtrees2"},  {"MGraphics", "mgrphfog"}};
  for (const auto& e : kRuledOutByViewpoint) SetDisabled(e[0], e[1], fixedViewpoint);
  SetDisabled("MGraphics", "mgrphsun", fixedViewpoint ? 0 : 1);
  SetDisabled("MGraphics", "mgrphrefl", kxgl::caps.cube_map ? 0 : 1);
  SetDisabled("MGraphics", "mgrphvsync", 0);
  ShowContestEntries(w);
}

void UpdateMenuState() {
  simmenu& m = MenuBar();
  FitToWindow(m.visible);
  if (m.tow_title) m.tow_title->Disabled = kxdynamics::FindHookPair() ? 0 : 1;
  const world* w = TheWorld();
  if (m.contest_title) m.contest_title->Disabled = w && w->contest_count >= 1 ? 0 : 1;
}

}  // namespace sim
