// Shared set-up of the tests that load and fly legacy models: the runtime
// reset, the generator reseeded, a scratch folder to load from (models are
// copied in from the data set or written by the test), a scenery of flat
// ground with a water patch east and a damage patch west, and frames
// stepped as the simulator steps them.
#pragma once

#include <GL/gl.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "dynamics/aircraft.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "legacy/contacts.h"
#include "legacy/dynamics.h"
#include "legacy/entry_points.h"
#include "legacy/loader.h"
#include "legacy/model_state.h"
#include "platform/pinboard.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "tests/legacy/legacy_support.h"
#include "tools/meshgen/meshgen.h"

namespace kxltest {

constexpr float kFieldSize = 400.0f;   // m, grass centred at the origin
constexpr float kPatchSize = 100.0f;   // m
constexpr float kWaterX = 250.0f;      // m, centre of the water patch
constexpr float kDamageX = -250.0f;    // m, centre of the damage patch

class modeltest : public legacytest {
 protected:
  void SetUp() override {
    legacytest::SetUp();
    dnsmodel::ResetRuntime();
    kxsystem::SeedRandom(1);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
  }
  void TearDown() override {
    if (state().model) dnsmodel::Unload();
    if (world_) kxcollision::FreeOctree(world_.get());
    kxgeometry::Free(&ground_);
    kxcollision::SetCurrent(nullptr);
    std::filesystem::current_path(previous_);
    dnsmodel::ResetRuntime();
    legacytest::TearDown();
  }

  static constexpr auto kReplace = std::filesystem::copy_options::overwrite_existing;
  static dnsmodel::dnsstate& state() { return dnsmodel::Runtime().state; }
  static dnsmodel::dynamicsystem* model() { return dnsmodel::Runtime().root; }

  // Copies a model of the data set (or a fixture when there is none) into
  // the scratch folder's model folder; the piccolo into its own folder.
  void Install(const std::string& stem) {
    if (stem == "piccolo") {
      std::filesystem::create_directories("aircraft/piccolo");
      for (const char* file : {"piccolo.dns", "piccolo.tgo"})
        std::filesystem::copy_file(DataPath(std::string("aircraft/piccolo/") + file),
                                   std::string("aircraft/piccolo/") + file, kReplace);
      return;
    }
    std::filesystem::create_directories("airlark/aircraft");
    for (const char* ext : {".dns", ".obj"}) {
      std::filesystem::path from = DataPath(std::string("airlark/aircraft/") + stem + ext);
      if (!std::filesystem::exists(from)) from = FixturePath(stem + ext);
      if (std::filesystem::exists(from)) std::filesystem::copy_file(from, std::string("airlark/aircraft/") + stem + ext, kReplace);
    }
  }
  void Write(const std::string& relative, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(relative).parent_path());
    WriteFile(relative.c_str(), text);
  }
  void Load(const char* name) {
    std::strncpy(state().name, name, sizeof state().name - 1);
    dnsmodel::LoadActive(&state());
  }

  // The scenery: grass, water and damage patches, all level at z = 0.
  void BuildWorld() {
    Build({Patch("field_gras", kFieldSize, 0.0f), Patch("water", kPatchSize, kWaterX),
           Patch("wall_damage", kPatchSize, kDamageX)});
  }
  // A world of the elements (owned by the fixture from here), its cells
  // split beyond maxTriangles; the current one.
  void Build(std::initializer_list<kxgeometry*> elements, int maxTriangles = 200) {
    // A world built before (the fixture's own) is replaced, not leaked.
    if (world_) kxcollision::FreeOctree(world_.get());
    kxgeometry::Free(&ground_);
    std::vector<kxgeometry*> list(elements);
    ground_ = meshgen::Chain(list.data(), list.size());
    entry_.mesh = ground_;
    world_ = std::make_unique<kxcollision>();
    const float cell[3] = {5.0f, 5.0f, 5.0f}, sun[3] = {0.0f, 0.0f, 1.0f};
    ASSERT_EQ(kxcollision::Build(world_.get(), &entry_, nullptr, cell, maxTriangles, sun), 1);
    kxcollision::SetCurrent(world_.get());
  }
  // A level square of ground of side size (m), cells x cells quads, centred
  // at (x, 0, z), its surface told by its name.
  static kxgeometry* Patch(const char* name, float size, float x, float z = 0.0f, int cells = 8) {
    meshgen::mesh m = meshgen::Ground(size, cells, 0.0f);
    meshgen::Translate(m, x, 0.0f, z);
    return meshgen::ToElement(m, name, "", GL_N3F_V3F);
  }

  // Places the model at (x, y, z) heading along the world angle (rad) with
  // a speed along its heading, as the simulator does.
  void Place(float x, float y, float z, float heading, float speed) {
    float c = std::cos(heading), s = std::sin(heading);
    Place({x, y, z}, {c, s, 0}, {0, 0, 1}, speed);
  }
  // The same with the axes x and z: a full reset from 1 m/s, else set down.
  void Place(dnsmodel::v3 at, dnsmodel::v3 x, dnsmodel::v3 z, float speed) {
    dnsmodel::v3 y = dnsmodel::Cross(z, x);
    const float pose[16] = {x.x, y.x, z.x, at.x, x.y, y.y, z.y, at.y, x.z, y.z, z.z, at.z, 0, 0, 0, 1};
    std::memcpy(state().pose, pose, sizeof pose);
    dnsmodel::Store(state().velocity, x * speed);
    const float p[3] = {at.x, at.y, at.z};
    dnsmodel::GatherScenery(world_.get(), p, dnsmodel::kGatherRadius);
    if (speed < 1.0f) dnsmodel::PlaceOnGround(&dnsmodel::Runtime().root, &state());
    else dnsmodel::ResetDynamics(&dnsmodel::Runtime().root, &state());
  }

  // Frames of dt seconds as the simulator runs them, with the controls as
  // they stand; stops early once the model has crashed.
  void Fly(float seconds, float dt = 0.02f) {
    for (float t = 0.0f; t < seconds && !(state().status & dnsmodel::kStatusCrashed); t += dt) Frame(dt);
  }
  void Frame(float dt) {
    dnsmodel::GatherScenery(world_.get(), Position(), dnsmodel::kGatherRadius);
    dnsmodel::FindGroundBelow(&state(), world_.get());
    state().dt = dt;
    dnsmodel::StepDynamics(&dnsmodel::Runtime().root, &state());
  }

  const float* Position() const { return model()->position; }
  float Speed() const { return dnsmodel::Length(dnsmodel::Load(model()->velocity)); }

  std::unique_ptr<kxcollision> world_;

 private:
  kxgeometry* ground_ = nullptr;
  kxgeometryobject entry_{};
  std::filesystem::path previous_;
};

// A model flown through the entry points, as the simulator flies it: the
// first player's function channels on a pinboard, the frame set with the
// simulator's placing and stepped with its step.
class pilottest : public modeltest {
 protected:
  void SetUp() override {
    modeltest::SetUp();
    kxscript::Init();
    board = new kxpinboard;
    board->name = "Pinboard";
    kxscript::Root()->AppendChild(board);
  }
  void TearDown() override {
    delete board;
    kxscript::Reset();
    modeltest::TearDown();
  }
  // The first player's function channel (dnsmodel::kChannelThrottle ...).
  float& Stick(int channel) { return kxdaircraft::PlayerChannels(board->slots, 0)[channel]; }
  // Places the model at the frame with the velocity, as the simulator does.
  static void SetFrame(dnsmodel::v3 at, dnsmodel::v3 x, dnsmodel::v3 z, dnsmodel::v3 velocity) {
    dnsmodel::v3 y = dnsmodel::Cross(z, x);
    const float pose[16] = {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, at.x, at.y, at.z, 1};
    const float v[4] = {velocity.x, velocity.y, velocity.z, 0};
    dnsmodel::SetPose(pose, v);
  }
  // Frames of dt seconds through the entry point; stops early once the
  // model has crashed.
  void Pilot(float seconds, float dt = 0.02f) {
    for (float t = 0.0f; t < seconds && !Crashed(); t += dt) {
      dnsmodel::Step(1, dt);
    }
  }
  static bool Crashed() { return (state().status & dnsmodel::kStatusCrashed) != 0; }

  kxpinboard* board = nullptr;
};

}  // namespace kxltest
