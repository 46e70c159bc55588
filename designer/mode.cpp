// Entering and leaving the designer, its hooks and its after-create step.
#include "core/node.h"
#include "designer/buttons.h"
#include "designer/design_object.h"
#include "designer/designer.h"
#include "designer/object_table.h"
#include "designer/page.h"
#include "designer/state.h"
#include "designer/viewer.h"
#include "dynamics/instance.h"
#include "dynamics/summary.h"
#include "graphics/geometric_object.h"
#include "gui/background.h"
#include "gui/gui.h"
#include "gui/images.h"
#include "gui/menu.h"
#include "platform/callbacks.h"
#include "platform/codes.h"
#include "platform/event_nodes.h"
#include "platform/log.h"
#include "platform/window.h"
#include "sim/menu.h"
#include "sim/modes.h"
#include "sim/multilanguage.h"
#include "sim/simulation_mode.h"
#include "sim/views/shadow_prep.h"

namespace svdesign {

namespace {

// The mode toolbar: a panel 2 px from the screen's right edge and 22 px from
// its top, and two buttons on the screen at the same height.
constexpr int kToolbarWidth = 276;  // px
constexpr int kToolbarRight = 2;
constexpr int kBelowMenuStrip = 22;
constexpr int kToolStep = 44;
constexpr int kSelectButtonX = 64, kBackButtonX = 0;
// The grey strips: below the viewer, and behind the toolbar.
constexpr int kStripWidth = 1600;
constexpr int kLowerStripHeight = 82, kUpperStripHeight = 60, kUpperStripTop = 4;
const kxcolor4 kStripGrey = {0.8f, 0.8f, 0.8f, 1.0f};

struct toolbutton {
  const char* command;
  const char* tooltipKey;
  int icon;
  const char* label;
};

const toolbutton kToolbar[] = {
    {"DesignModeViewerMove", "ViewerMove", 8, ""},     {"DesignModeViewerRotate", "ViewerRotate", 9, "rot"},
    {"DesignModeViewerShift", "ViewerPan", 11, "pan"}, {"DesignModeViewerTop", "ViewerTop", 12, "top"},
    {"DesignModeViewerSide", "ViewerSide", 13, "l/r"}, {"DesignModeViewerFront", "ViewerFront", 14, "nse"},
};
const toolbutton kSelectButton = {"DesignModeObjectSelect", "ObjectPicker", 1, "sel"};
const toolbutton kBackButton = {"DesignGoBack", "GoBack", 2, "bck"};

svdesignbutton* MakeButton(kxgraphic* parent, const toolbutton& t, int x, int fromTop) {
  svdesignbutton* b = new svdesignbutton(t.command, sim::Language().Text(t.tooltipKey), t.icon, t.label);
  if (!b) return nullptr;
  b->X = x;
  b->Yr = fromTop;
  parent->AppendChild(b);
  return b;
}

void MakeStrip(kxgraphic* screen, int height, int fromTop) {
  kxrectangle* strip = new kxrectangle(0, 0, kStripWidth, height);
  if (!strip) return;
  strip->Color = kStripGrey;
  strip->Yr = fromTop;
  screen->AppendChild(strip);
}

void BuildToolbar(kxgraphic* screen) {
  svdesignpanel* panel = new svdesignpanel;
  if (panel) {
    panel->W = kToolbarWidth;
    panel->Xr = kToolbarRight;
    panel->Yr = kBelowMenuStrip;
    screen->AppendChild(panel);
    int x = 0;
    for (const toolbutton& t : kToolbar) {
      MakeButton(panel, t, x, 0);
      x += kToolStep;
    }
  }
  MakeButton(screen, kSelectButton, kSelectButtonX, kBelowMenuStrip);
  MakeButton(screen, kBackButton, kBackButtonX, kBelowMenuStrip);
  MakeStrip(screen, kLowerStripHeight, 0);
  MakeStrip(screen, kUpperStripHeight, kUpperStripTop);
}

// The program's end while the designer runs (the window closed): its
// objects go, then the menu's exit writes the settings and releases the rest.
void Exit() {
  Teardown();
  sim::MenuExit();
}

// The designer's handlers; a new context is set up as the mode the designer
// returns to sets it up (the menu's pictures, or the simulation's GL state).
constexpr kxmodecallbacks DesignerCallbacks(void (*graphicsInit)()) {
  return {.key_down = input::OnKey,
          .key_up = input::OnKeyUp,
          .mouse = input::OnMouse,
          .after_create = OnCreate,
          .draw = Draw,
          .graphics_init = graphicsInit,
          .exit = Exit};
}

void InstallCallbacks() {
  static constexpr kxmodecallbacks kFromMenu = DesignerCallbacks(sim::MenuInit);
  static constexpr kxmodecallbacks kFromSimulation = DesignerCallbacks(sim::InitGL);
  kxsystem::InstallMode(State().back == sim::designerreturn::kSimulation ? kFromSimulation : kFromMenu);
}

void InstallScreen() {
  designstate& s = State();
  kxgui::Visible = s.screen;
  kxgui::Invisible = s.invisible;
  kxgui::KeyHook = OnKey;
  kxgui::MouseHook = nullptr;
  kxgui::Focus = s.screen;
  kxgui::Capture = nullptr;
  s.screen->OnLeftDownText = "DesignMouseLeftDown";
  s.screen->OnLeftDoubleText = "DesignMouseLeftDouble";
  s.screen->OnLeftUpText = "DesignMouseLeftUp";
  s.screen->OnRightDownText = "";
  s.screen->OnRightUpText = "";
  s.screen->OnMoveText = "DesignMouseMove";
}

bool HasAircraft();

}  // namespace

void FitToWindow() {
  designstate& s = State();
  s.screen->W = kxsystem::display.window_width;
  s.screen->H = kxsystem::display.window_height;
  s.screen->Update();
  // The page bar stays right-aligned, and the shown page fits beside it.
  if (s.pageBar) s.pageBar->X = s.screen->W - s.pageBar->W;
  if (s.shownPage) s.shownPage->Fit();
  s.camera.SetViewport(kxsystem::display.window_width, kxsystem::display.window_height);
  s.camera.geometry = s.aircraft ? kxnode::As<kxgeometricobject>(s.aircraft->GeometryTemplate) : nullptr;
}

namespace {

bool HasAircraft() {
  kxdaircraftinstance* slot = kxdaircraftinstance::Slot(0);
  return slot && slot->IsLoaded();
}

}  // namespace

void Open(sim::designerreturn back) {
  State().back = back;
  if (!State().screen) {
    kxsystem::Log("svdesign:  not set up\n");
    return;
  }
  if (State().aircraft) return;  // already running: a second entry would build every object twice
  if (!HasAircraft()) {
    kxsystem::Log("svdesign:  no aircraft loaded to edit\n");
    return;
  }
  kxsystem::callbacks.pending = Enter;
}

void Enter() {
  designstate& s = State();
  if (!s.screen || s.aircraft || !HasAircraft()) return;
  if (!s.toolbarBuilt) {
    BuildToolbar(s.screen);
    s.toolbarBuilt = 1;
  }
  InstallCallbacks();
  InstallScreen();
  s.screen->W = kxsystem::display.window_width;
  s.screen->H = kxsystem::display.window_height;
  s.pointer = designpointer();  // no drag carries over from an earlier entry
  ActivateAll();
  FitToWindow();
  PlaceTopView();
}

void Teardown() {
  designstate& s = State();
  if (!s.aircraft) return;
  if (s.currentObject) {
    s.currentObject->Deactivate();
    s.currentObject = nullptr;
  }
  for (svdesignobject*& object : s.objects) {
    delete object;
    object = nullptr;
  }
  s.objects.clear();
  delete s.aircraftObject;
  s.aircraftObject = nullptr;
  if (s.menuObjects) s.menuObjects->DeleteChildren();
  kxdsystem::Summary(s.aircraft);
  kxdaircraftinstance::RebuildGraphics(s.aircraft);
  s.aircraft = nullptr;
  s.camera.geometry = nullptr;
  s.newAircraft = 0;
}

void GoBack() {
  if (!State().aircraft) return;
  Teardown();
  // The ground shadow's box and the lowest point were measured from the
  // aircraft as loaded; a changed span or gear casts its own shadow.
  sim::GenerateShadow(kDesignedPlayer);
  kxcallbacks& cb = kxsystem::callbacks;
  cb.pending = nullptr;
  if (State().back == sim::designerreturn::kSimulation) sim::RequestFly();
  // The simulation starts only with an input device; without one the
  // designer, already torn down, must not stay the active mode.
  if (!cb.pending) cb.pending = sim::EnterMenuMode;
}

void OnKey(int key, int) {
  if (key == kxcode::kKeyEscape) kxsystem::callbacks.pending = GoBack;
}

void OnCreate() {
  if (!State().screen) return;
  FitToWindow();
  if (State().back == sim::designerreturn::kSimulation) sim::RestartSounds();
  else sim::MenuInit();
}

void RecomputeAircraft() { kxdsystem::Summary(State().aircraft); }

}  // namespace svdesign
