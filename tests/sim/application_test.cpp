#include "sim/application.h"

#include <cmath>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "dynamics/flight_state.h"
#include "dynamics/instance.h"
#include "graphics/geometric_object.h"
#include "platform/events.h"
#include "program_support.h"
#include "sim/frame_update.h"
#include "sim/menu.h"
#include "sim/units.h"

namespace {

using ApplicationTest = simtest::programtest;

TEST_F(ApplicationTest, StartsIntoTheMenuFliesReturnsAndWritesTheSettingsAtExit) {
  std::ofstream(dir_ / "config/acft01.kxa.tmp") << "left by a write killed on its way";
  Key(kxcode::kKeyF1, kxcode::kModShift);  // log overlay on: a setting the exit saves
  Key(kxcode::kKeyReturn);                 // fly, without a device
  Key(kxcode::kKeyEscape);                 // back to the menu
  Key(kxcode::kKeyF1 + 2);                 // remove the second aircraft (there is none)
  EXPECT_EQ(Run(), 0);

  std::string log = Text("kx.log");
  EXPECT_TRUE(simtest::InOrder(log, {
      "gl:  loading texture texture/kxicons.bmp=ok",
      "kxscript:  svgold.kxd(",
      "gl:  loading font texture/arial10.kxf=ok",
      "gl:  loading texture texture/exhaust.bmp=ok",
      "kxprogram:  Skyvane Gold Edition Version 1.8.0.17",
      "kxsystem:  config/acft01.kxa.tmp: left by a write that never finished; removed",
      "loading configfile config/main.mcf=fail",
      "loading player configfile config/player2.mcf=fail",
      "directsound:  register sound sound/glider2.wav=ok",
      "gl:  loading texture texture/chorizon.bmp=ok",
      "gl:  loading geometry objects/horizon.obj=ok",
      "gl:  loading texture texture/compass.bmp=ok",
      "gl:  loading texture texture/circle.bmp=ok",
      "gl:  loading geometry objects/card.tgo=ok",
      "gl:  loading texture texture/svgebuttonl1.bmp=ok",
      "gl:  loading texture texture/svgebuttonex.bmp=ok",
      "gl:  loading geometry objects/pylon.obj=ok",
      "gl:  loading texture texture/svmap01.bmp=ok",
      "gl:  loading font texture/menufont.kxf=ok",
      "gl:  loading font texture/arial20b.kxf=ok",
      "sim:  loading scenery scenery/winzeln.geo...",
      "sim:    4 objects  0 dynobjects",
      "sim:  loading aircraft 1 christeneagle...",
      "kxdynamics:  loading aircraft christeneagle=ok",
      "sim:  switching to simulation mode...",
      "saving configfile config/main.mcf=ok",
      "saving player configfile config/player1.mcf=ok",
      "saving configfile config/main.mcf=ok",
  }));
  EXPECT_EQ(log.find("still held"), std::string::npos) << "the exit releases every reserve";
  // This program installs no configuration windows: one line says so.
  EXPECT_NE(log.find("sim:  the input configuration windows are not available\n"), std::string::npos);
  EXPECT_NE(Text("config/main.mcf").find("\nshow_log  1\n"), std::string::npos);
  EXPECT_NE(Text("config/main.mcf").find("\naircraft0  christeneagle\n"), std::string::npos);
  EXPECT_EQ(Text("config/player1.mcf").rfind("view_mode  50\n", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "config/player2.mcf"));
  EXPECT_EQ(window_.creations, 1);
  EXPECT_EQ(log.find("still held"), std::string::npos) << log.substr(std::min(log.find("still held"), log.size()));
}

// A click that no window takes passes from the platform through the
// pointing device, the panel's display binding and the visible screen to
// the menu's buttons.
TEST_F(ApplicationTest, AClickOnTheFlyButtonReachesTheMenuThroughTheGui) {
  window_.beforeEvent = [] {
    input::pointer.x = 64;   // 640 x 480 window: within the hit area
    input::pointer.y = 120;  // button 9's band, 0.21 to 0.29 of the height
    return false;
  };
  window_.Push(kxplatformevent::kMouse, kxcode::kMouseMove);
  window_.Push(kxplatformevent::kMouse, kxcode::kMouseLeftDown);
  window_.Push(kxplatformevent::kMouse, kxcode::kMouseLeftUp);
  EXPECT_EQ(Run(), 0);
  std::string log = Text("kx.log");
  EXPECT_NE(log.find("sim:  switching to simulation mode..."), std::string::npos);
  // Ended from the simulation: its exit releases what the menu loaded too.
  EXPECT_EQ(log.find("still held"), std::string::npos);
  EXPECT_EQ(kxsystem::ReserveCount(), 0);
}

// The run holds every file to its data folder, which the folder's own
// top-level links (here the shipped aircraft, sceneries and pictures) lead
// into: a control configuration linked out of it is refused with a log
// line, while a hand-indented settings file reached through a link inside
// is read, and written back through the link at exit.
TEST_F(ApplicationTest, ALinkedConfigurationOutOfTheDataFolderIsRefusedAndOneInsideIsKept) {
  namespace fs = std::filesystem;
  kxtest::tempdir outside;
  fs::copy_file(dir_ / "config/acft00.kxa", outside.path() / "acft00.kxa");
  fs::remove(dir_ / "config/acft00.kxa");
  fs::create_symlink(outside.path() / "acft00.kxa", dir_ / "config/acft00.kxa");
  std::ofstream(dir_ / "config/mine.mcf") << "  show_log 1\n\tgame_type 12\n";
  fs::create_symlink("mine.mcf", dir_ / "config/main.mcf");
  EXPECT_EQ(Run(), 0);
  const std::string log = Text("kx.log");
  EXPECT_NE(log.find("kxsystem:  config/acft00.kxa: leads outside the data folder (to "), std::string::npos) << log;
  EXPECT_NE(log.find("loading configfile config/main.mcf=ok"), std::string::npos);
  EXPECT_TRUE(fs::is_symlink(dir_ / "config/main.mcf"));
  EXPECT_NE(Text("config/mine.mcf").find("\nshow_log  1\n"), std::string::npos);
  EXPECT_NE(Text("config/mine.mcf").find("\ngame_type  12\n"), std::string::npos);
  EXPECT_EQ(log.find("gl:  loading texture texture/kxicons.bmp=fail"), std::string::npos);
}

// Parts of two trees of the same shape whose frames differ.
int MovedParts(kxnode* a, kxnode* b) {
  int moved = 0;
  for (; a && b; a = a->nextSibling, b = b->nextSibling) {
    const kxgeometricobject* ga = kxnode::As<kxgeometricobject>(a);
    const kxgeometricobject* gb = kxnode::As<kxgeometricobject>(b);
    if (ga && gb)
      for (int i = 0; i < 16; ++i) moved += std::fabs(ga->Matrix.Data()[i] - gb->Matrix.Data()[i]) > 1e-4f;
    moved += MovedParts(a->firstChild, b->firstChild);
  }
  return moved;
}

// The turntable draws the aircraft's drawn tree in the tree's own frames:
// back from a flight, and back from the designer, the flight state names the
// drawn tree that exists and its parts stand where the template's stand, not
// at the start position the flight put them.
TEST_F(ApplicationTest, BackInTheMenuTheTurntableHasTheAircraftAsLoaded) {
  int flown = 0, checked = 0;
  window_.beforeEvent = [&] {
    if (kxsystem::callbacks.update == &sim::Update) flown = 1;
    if (!flown || kxsystem::callbacks.update != &sim::MenuIdle) return false;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    if (!instance || !sim::players[0].flight_state) return false;
    ++checked;
    EXPECT_EQ(sim::players[0].flight_state->graphics_root, instance->Graphics);
    EXPECT_EQ(MovedParts(instance->Graphics, instance->GeometryTemplate), 0);
    return false;
  };
  Key(kxcode::kKeyReturn);      // fly: the aircraft stands at the scenery's first start
  Key(kxcode::kKeyEscape);      // back to the menu
  Key(kxcode::kKeyF1 + 6);      // the designer, from the menu
  Key(kxcode::kKeyEscape);      // and back
  EXPECT_EQ(Run(), 0);
  EXPECT_GE(checked, 2);
}

class UnitsTest : public simtest::simtest {
 protected:
  void TearDown() override {
    units::SetMetric();
    simtest::TearDown();
  }
};

TEST_F(UnitsTest, TwoRunsImperialAndAnyOtherValueRunsMetricStoredAsOne) {
  std::string chosen;
  for (int setting : {0, 1, 2, 7}) {
    setting == 2 ? units::SetMetric() : units::SetImperial();  // the other column first
    sim::session.settings.units = static_cast<sim::unitsystem>(setting);
    sim::ApplyUnits();
    EXPECT_EQ(sim::session.settings.units, setting == 2 ? sim::kUnitsImperial : sim::kUnitsMetric) << setting;
    chosen += units::Current().length.name == "in" ? 'i' : 'm';
  }
  EXPECT_EQ(chosen, "mmim");
}

}  // namespace
