// Shared set-up of the simulation-mode tests: a scratch folder with a flat
// scenery whose ground lies kGround above zero and four start positions, the
// committed sample aircraft copied in on demand, a fake clock the test moves
// frame by frame, and the simulation's statics back at their start.
#pragma once

#include <GL/gl.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/interpreter.h"
#include "dynamics/air_model.h"
#include "dynamics/all/register_all.h"
#include "dynamics/component_sound.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "sim/frame_update.h"
#include "sim/keys.h"
#include "sim/mouse.h"
#include "sim/scenery.h"
#include "sim/simulation_mode.h"
#include "sim/viewer.h"
#include "sim/world/world.h"
#include "tests/core/test_support.h"
#include "tests/sim/sim_support.h"
#include "tools/meshgen/meshgen.h"

namespace simtest {

namespace fs = std::filesystem;

constexpr float kGround = 2.0f;  // m, height of the test scenery's ground

// The test's clock in µs; Step moves it.
inline uint32_t& ClockUs() {
  static uint32_t now = 0;
  return now;
}
inline uint32_t ReadClock() { return ClockUs(); }

class flighttest : public simtest {
 protected:
  void SetUp() override {
    simtest::SetUp();
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterAll();
    kxscript::Reset();
    kxdsound::Reset();
    kxdynamics::ResetDriver();
    kxdynamics::Environment() = kxdenvironment{};
    kxdynamics::InitField({.wind_thermic = 0.0f});
    fs::create_directories(dir_ + "/scenery");
    fs::create_directories(dir_ + "/aircraft");
    previous_ = fs::current_path();
    fs::current_path(dir_);
    WriteScenery();
    sim::LoadScenery("flat", sim::TheWorld());
    ClockUs() = 0;
    kxsystem::SetClockForTest(ReadClock);
    sim::FrameTiming() = sim::frametiming();
    sim::ResetViewerLag();
    sim::ResetMouse();
    sim::ForgetViewports();
    // What the records keep between tests beyond their settings.
    for (simplayer& p : sim::players) {
      p.trace.on = p.trace.view = p.recording.present = 0;
      p.recording.state = sim::kRecordIdle;
      p.crash_timer = 0.0f;
      p.camera[2] = simcamera();
      p.next = nullptr;
    }
    for (int i = 0; i < kxdaircraftinstance::kSlots; ++i) {
      kxdflightstate* s = kxdaircraftinstance::FlightStateOf(i);
      for (int k = 0; k < 3; ++k) s->bounds_min[k] = s->bounds_max[k] = 0.0f;
      s->shadow = shadowquad();
      s->crash = 0;
    }
    kxsystem::display.window_width = 800;
    kxsystem::display.window_height = 600;
    sim::session.run.viewport_width = 800;
    sim::session.run.viewport_height = 600;
  }
  void TearDown() override {
    kxdynamics::Stop();
    for (int i = 0; i < kxdaircraftinstance::kSlots; ++i) kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(i));
    for (auto t : {kxdynamics::kxdtree::kInitial, kxdynamics::kxdtree::kState, kxdynamics::kxdtree::kChange,
                   kxdynamics::kxdtree::kTemplates, kxdynamics::kxdtree::kInvisible})
      kxdynamics::Tree(t)->DeleteChildren();
    sim::FreeScenery(sim::TheWorld());
    kxsystem::SetClockForTest(nullptr);
    kxscript::Reset();
    sim::session = simsession();
    fs::current_path(previous_);
    simtest::TearDown();
  }

  // A flat ground of 400 m at kGround; starts: 0 for every model half a
  // metre up, 1 for airplanes 5 m up with a viewer above the ground, 2 with
  // a negative height, 3 indoor.
  static void WriteScenery() {
    meshgen::mesh ground = meshgen::Ground(400.0f, 8, 0.0f);
    for (meshgen::vertex& v : ground.vertices) v.p[2] += kGround;
    kxgeometry* el = meshgen::ToElement(ground, "_gras", "", GL_N3F_V3F);
    kxgeometry::WriteText("scenery/flat.obj", el);
    kxgeometry::Free(&el);
    std::ofstream("scenery/flat.geo") << "SCENERY 6000\n"
                                         "CLOUDS 300 4 0.9 0.55\n"
                                         "VIEWC 25 500\n"
                                         "GROUND flat.obj\n"
                                         "START_POSITION 0 0 2.5 0 -20 0 3.7\n"
                                         "START_POSITION 50 0 7 90 30 0 -1 noheli\n"
                                         "START_POSITION -50 0 -1 0 -60 0 3.7\n"
                                         "START_POSITION 0 60 2 0 0 50 3.7 indoor\n";
  }
  // Copies a committed sample (with the airfoils) and loads it for the
  // player; the player then flies it.
  static simplayer* LoadSample(const char* name, int player) {
    // The repository's data folder, above whichever test folder this is.
    fs::path data = fs::path(KX_TEST_DATA).lexically_normal();
    while (data.has_parent_path() && data != data.parent_path() && !fs::exists(data / "data/aircraft"))
      data = data.parent_path();
    data /= "data/aircraft";
    for (const char* folder : {name, "airfoil"})
      if (!fs::exists(fs::path("aircraft") / folder))
        fs::copy(data / folder, fs::path("aircraft") / folder, fs::copy_options::recursive);
    if (!kxdaircraftinstance::AircraftLoad(name, player)) return nullptr;
    simplayer* p = sim::Player(player);
    p->flight_state = kxdaircraftinstance::FlightStateOf(player);
    return p;
  }
  // One frame of dt seconds through the update.
  static void Step(float dt) {
    ClockUs() += static_cast<uint32_t>(dt * 1e6f + 0.5f);
    sim::Update();
  }

  fs::path previous_;
  kxtest::logcapture log_;
};

}  // namespace simtest
