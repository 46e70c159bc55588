#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>

#include "core/interpreter.h"
#include "dynamics/all/register_all.h"
#include "dynamics/instance.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "gui/graphic.h"
#include "gui/gui.h"
#include "platform/clock.h"
#include "platform/codes.h"
#include "platform/events.h"
#include "platform/window.h"
#include "sim/app_hooks.h"
#include "sim/device_nodes.h"
#include "sim/menu.h"
#include "sim/modes.h"
#include "sim/simulation_mode.h"
#include "sim/world/world.h"
#include "sim_support.h"
#include "tests/core/test_support.h"
#include "tests/sim/ground_support.h"

namespace {

constexpr int kW = 1024, kH = 768;

// The designer stands in as a hook that counts its openings and keeps where
// it was told to go back.
struct designeropens {
  static inline int count = 0;
  static inline sim::designerreturn back = sim::designerreturn::kSimulation;
  static void Open(sim::designerreturn to) {
    ++count;
    back = to;
  }
  static void Install() {
    count = 0;
    back = sim::designerreturn::kSimulation;
    sim::applicationhooks hooks;
    hooks.designer_open = Open;
    sim::SetHooks(hooks);
  }
};

class MenuTest : public simtest::simtest {
 protected:
  void SetUp() override {
    simtest::SetUp();
    kxscript::Init();
    kxsystem::display.window_width = kW;
    kxsystem::display.window_height = kH;
  }
  void TearDown() override {
    input::pointer = kxpointer();
    sim::SetHooks(sim::applicationhooks());
    simtest::TearDown();
  }
  void Pointer(float fx, float fy) {
    input::pointer.x = static_cast<int>(fx * kW);
    input::pointer.y = static_cast<int>(fy * kH);
  }
};

TEST_F(MenuTest, ButtonsAreHitInTheirBandsOnlyWithinTheNarrowHitArea) {
  struct probe {
    float x, y;  // fractions of the window
    int button;
  } probes[] = {
      {0.10f, 0.95f, 0},  {0.25f, 0.95f, -1},  // inside the drawn quad, outside the hit area
      {0.02f, 0.92f, 0},  {0.228984375f, 0.92f, 0}, {0.019f, 0.95f, -1},
      {0.10f, 0.925f, 0}, {0.10f, 0.86f, 1},  // bands overlap: the upper wins
      {0.10f, 0.84f, 2},  {0.10f, 0.125f, 10}, {0.10f, 0.05f, -1}, {0.10f, 0.215f, 9},
  };
  for (const probe& p : probes)
    EXPECT_EQ(sim::ButtonAt(p.x * kW, p.y * kH, kW, kH), p.button) << p.x << ", " << p.y;
}

TEST_F(MenuTest, TurntableTurnsFifteenDegreesPerSecondOrThreeOnASlowFrame) {
  EXPECT_FLOAT_EQ(sim::TurntableStep(10, 0.1f), 11.5f);
  EXPECT_FLOAT_EQ(sim::TurntableStep(10, 0.5f), 13.0f);
  EXPECT_FLOAT_EQ(sim::TurntableStep(359, 0.2f), 2.0f);
}

// Frame time and frame rate come from unsigned differences of the 32-bit
// microsecond timer, so its wrap is a frame like any other.
TEST_F(MenuTest, FrameTimeAndRateHoldAcrossTheTimerWrap) {
  static uint32_t now;
  now = 0xFFFFFFFFu - 250000u;
  kxsystem::SetClockForTest([] { return now; });
  for (int frame = 0; frame < 2 * sim::kFpsFrames; ++frame) {
    now += 10000u;  // 10 ms a frame; wraps in the second sample
    sim::MenuIdle();
  }
  kxsystem::SetClockForTest(nullptr);
  EXPECT_FLOAT_EQ(sim::Menu().frame_time, 0.01f);
  EXPECT_NEAR(sim::session.run.fps, 100.0f, 0.01f);
}

TEST_F(MenuTest, ReleaseOverAButtonRunsItsActionAndReleaseElsewhereNothing) {
  Pointer(0.1f, 0.15f);  // exit
  sim::MenuMouse(kxcode::kMouseMove, 0);
  EXPECT_EQ(sim::Menu().hot_button, 10);
  Pointer(0.5f, 0.5f);
  sim::MenuMouse(kxcode::kMouseMove, 0);
  sim::MenuMouse(kxcode::kMouseLeftUp, 0);
  EXPECT_EQ(sim::Menu().hot_button, -1);
  EXPECT_EQ(kxsystem::callbacks.request, 0);
  Pointer(0.1f, 0.15f);
  sim::MenuMouse(kxcode::kMouseMove, 0);
  sim::MenuMouse(kxcode::kMouseLeftUp, 0);
  EXPECT_EQ(kxsystem::callbacks.request, kxcode::kRequestQuit);
  EXPECT_EQ(sim::Menu().hot_button, -1);
  // A window that holds the input, opened while a button is lit, puts the
  // button out until it closes.
  Pointer(0.1f, 0.15f);
  sim::MenuMouse(kxcode::kMouseMove, 0);
  kxgraphic window;
  kxgui::Capture = &window;
  sim::MenuIdle();
  kxgui::Capture = nullptr;
  EXPECT_EQ(sim::Menu().hot_button, -1);
}

TEST_F(MenuTest, KeysRunTheirActions) {
  designeropens::Install();
  kxtest::logcapture log;
  sim::MenuKey(kxcode::kKeyF1, kxcode::kModShift);
  EXPECT_EQ(sim::session.settings.show_log, 1);
  EXPECT_FALSE(log.Contains("LoadAircraft"));  // Shift+F1 opens no window
  sim::MenuKey(kxcode::kKeyF1, 0);
  EXPECT_TRUE(log.Contains("LoadAircraft/Open(0)"));  // the window is not there: the failure names it
  sim::MenuKey(kxcode::kKeyF1 + 6, 0);
  EXPECT_EQ(designeropens::count, 1);
  EXPECT_EQ(designeropens::back, sim::designerreturn::kMenu);
  sim::players[0].legacy = 1;
  sim::MenuKey(kxcode::kKeyF1 + 6, 0);
  EXPECT_EQ(designeropens::count, 1);  // refused with a legacy model
  // Without ground under it no flight starts; the user is told.
  sim::MenuKey(kxcode::kKeyReturn, 0);
  EXPECT_EQ(kxsystem::callbacks.pending, nullptr);
  EXPECT_NE(sim::TakeNotice().find("No scenery with ground"), std::string::npos);
  {
    ::simtest::flatground ground(sim::TheWorld());
    sim::MenuKey(kxcode::kKeyReturn, 0);
  }
  EXPECT_EQ(kxsystem::callbacks.pending, &sim::EnterSimulationMode);
  EXPECT_EQ(sim::MenuAction(11), 0);
}

TEST_F(MenuTest, RemovingTheSecondAircraftClearsItsStateAndSetting) {
  kxdflightstate state;
  sim::players[1].flight_state = &state;
  std::strcpy(sim::session.settings.aircraft1, "glider");
  EXPECT_EQ(sim::MenuAction(2), 1);
  EXPECT_EQ(sim::players[1].flight_state, nullptr);
  EXPECT_STREQ(sim::session.settings.aircraft1, "");
}

// The turntable shows each sample as the designer draws it: the loaded
// geometry, rotor blades and flybars included (the drawn clone gives them
// to the rotating parts, which only a flight draws).
TEST_F(MenuTest, TurntableShowsTheHelicoptersWithTheirRotors) {
  kxgraphics::RegisterTypes();
  kxdynamics::RegisterAll();
  std::filesystem::create_symlink(std::filesystem::canonical(std::filesystem::path(KX_TEST_DATA) / "../../../data/aircraft"),
                                  "aircraft");
  for (auto [name, rotorParts] : {std::pair{"heli", 3}, std::pair{"heli01", 4}}) {
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(name, 0), 1) << name;
    sim::players[0].flight_state = kxdaircraftinstance::FlightStateOf(0);
    kxgeometricobject* model = sim::TurntableModel(0);
    ASSERT_NE(model, nullptr);
    int drawn = 0;
    std::function<void(const kxnode*)> count = [&](const kxnode* n) {
      const kxgeometricobject* g = kxnode::As<kxgeometricobject>(const_cast<kxnode*>(n));
      if (g && g->mesh && g->Object && g->Object->type->name.rfind("kxdrotor", 0) == 0) ++drawn;
      for (const kxnode* c = n->firstChild; c; c = c->nextSibling) count(c);
    };
    count(model);
    EXPECT_EQ(drawn, rotorParts) << name;
  }
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
}

TEST_F(MenuTest, WithoutThePinboardTheProgramEndsWithAFailureCode) {
  EXPECT_EXIT(sim::BuildDeviceNodes(), ::testing::ExitedWithCode(sim::kExitNoInputRoots), "");
}

class ModesTest : public simtest::simtest {
 protected:
  void SetUp() override {
    simtest::SetUp();
    Write("config/.keep", "");
  }
};

TEST_F(ModesTest, LeavingTheSimulationSavesTheSettingsAndSwitchesToTheMenu) {
  sim::LeaveToMenu();
  EXPECT_NE(Read("config/main.mcf"), "<missing>");
  EXPECT_NE(Read("config/player1.mcf"), "<missing>");
  EXPECT_EQ(kxsystem::callbacks.pending, &sim::EnterMenuMode);
  EXPECT_EQ(kxsystem::callbacks.request, kxcode::kRequestSwitch);
  sim::Menu().hot_button = 4;
  sim::EnterMenuMode();
  EXPECT_EQ(sim::Menu().hot_button, -1);
  EXPECT_EQ(kxsystem::callbacks.draw, &sim::DrawMenu);
  EXPECT_EQ(kxsystem::callbacks.graphics_init, &sim::MenuInit);
  EXPECT_EQ(kxsystem::callbacks.exit, &sim::MenuExit);
  EXPECT_EQ(kxsystem::callbacks.pending, nullptr);
}

TEST_F(ModesTest, DesignerIsRefusedWithALegacyModelAndWritesNothing) {
  designeropens::Install();
  sim::players[0].legacy = 1;
  sim::LeaveToDesigner();
  EXPECT_EQ(Read("config/main.mcf"), "<missing>");
  sim::players[0].legacy = 0;
  EXPECT_EQ(designeropens::count, 0);
  sim::LeaveToDesigner();
  EXPECT_EQ(designeropens::count, 1);
  EXPECT_EQ(designeropens::back, sim::designerreturn::kSimulation);
  sim::SetHooks(sim::applicationhooks());
  EXPECT_NE(Read("config/main.mcf"), "<missing>");
}

class FlyRequestTest : public inputtest::UsbTest {
 protected:
  void SetUp() override {
    UsbTest::SetUp();
    simtest::ResetSimulatorState();
  }
  void TearDown() override {
    simtest::ResetSimulatorState();
    UsbTest::TearDown();
  }
};

// The designer returns to the flight whenever the menu's Fly could start
// one: an aircraft is needed, an input device is not (the keyboard flies).
TEST_F(FlyRequestTest, AFlightStartsWithAnAircraftWhetherOrNotADeviceIsListed) {
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  ASSERT_EQ(kxinput::DeviceCount(), 0);
  EXPECT_EQ(sim::RequestFly(), 0);
  EXPECT_EQ(sim::MenuAction(9), 1);
  EXPECT_EQ(kxsystem::callbacks.pending, nullptr);
  EXPECT_STREQ(kxsystem::GetLogLine(1), "sim:  no aircraft to fly; staying in the menu");
  EXPECT_GT(sim::session.run.status_time, 0.0f);
  EXPECT_NE(std::strstr(sim::session.run.status_text, "Aircraft I"), nullptr);
  sim::players[0].legacy = 1;  // an older-format model stands loaded
  ::simtest::flatground ground(sim::TheWorld());  // and a scenery with ground
  EXPECT_EQ(sim::RequestFly(), 1);
  EXPECT_EQ(kxsystem::callbacks.pending, &sim::EnterSimulationMode);
  kxsystem::callbacks.pending = nullptr;
  AddCable();
  kxinput::SearchDevices(kxinput::kSearchEnumerate);
  EXPECT_EQ(sim::RequestFly(), 1);
  EXPECT_EQ(kxsystem::callbacks.pending, &sim::EnterSimulationMode);
}

}  // namespace
