// Shared set-up of the flight dynamics tests: the interpreter and the
// dynamics types once, a clean simulation tree and log capture per test, and
// helpers to put a body into the State tree with its Change twin.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "core/interpreter.h"
#include "core/node.h"
#include "dynamics/air_model.h"
#include "dynamics/attach.h"
#include "dynamics/body.h"
#include "dynamics/component_sound.h"
#include "dynamics/driver.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "dynamics/world.h"
#include "graphics/geometric_object.h"
#include "gtest/gtest.h"
#include "platform/files.h"
#include "platform/random.h"
#include "tests/core/test_support.h"
#include "tests/temp_dir.h"

namespace kxdtest {

// A new node of type T appended to parent under that name.
template <class T>
T* Append(kxnode* parent, const char* name) {
  T* node = new T;
  node->name = name;
  parent->AppendChild(node);
  return node;
}

// Places the loaded instance unrotated at position (m) with velocity (m/s).
inline void PlaceLevel(kxdaircraftinstance* instance, const kxvector4r& position, const kxvector4r& velocity = {}) {
  kxmatrix pose;
  kxmatrix::SetIdentity(&pose);
  pose.R = position;
  kxdaircraftinstance::PlaceAt(instance, pose, velocity);
}

// The simulation's program-wide state at its start: calm air, no thermals,
// no world, the driver and the sounds reset, the generator reseeded.
inline void ResetSimulation() {
  kxsystem::SeedRandom(1);
  kxdsound::Reset();
  kxdynamics::ResetDriver();
  kxdynamics::Environment() = kxdenvironment{};
  kxdynamics::InitField({.wind_thermic = 0.0f});
  kxdynamics::SetCurrentWorld(nullptr);
}

// Every aircraft unloaded and the simulation trees emptied.
inline void ClearSimulation() {
  for (int i = 0; i < kxdaircraftinstance::kSlots; ++i) kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(i));
  for (auto t : {kxdynamics::kxdtree::kInitial, kxdynamics::kxdtree::kState, kxdynamics::kxdtree::kChange,
                 kxdynamics::kxdtree::kTemplates, kxdynamics::kxdtree::kInvisible}) {
    kxdynamics::Tree(t)->DeleteChildren();
  }
  kxdynamics::SetCurrentWorld(nullptr);
}

class dynamicstest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterTypes();
  }
  void SetUp() override {
    kxscript::Reset();
    ResetSimulation();
  }
  void TearDown() override {
    ClearSimulation();
    kxscript::Reset();
  }

  // A free body of type T under State with its twin under Change, prepared.
  template <class T>
  T* AddToState(const char* name) {
    return Append<T>(kxdynamics::Tree(kxdynamics::kxdtree::kState), name);
  }
  // Clones State into Change and prepares every free body.
  void MakeTwinsAndPrepare() {
    kxnode* state = kxdynamics::Tree(kxdynamics::kxdtree::kState);
    kxnode* change = kxdynamics::Tree(kxdynamics::kxdtree::kChange);
    change->DeleteChildren();
    for (kxnode* c = state->firstChild; c; c = c->nextSibling) {
      if (kxdintegrable* i = kxdintegrable::As(c)) i->Prepare();
    }
    kxdattach::Aggregate(state);
    for (kxnode* c = state->firstChild; c; c = c->nextSibling) c->Clone(change);
  }

  kxtest::logcapture log;
};

// A new geometric object appended to parent under that name.
inline kxgeometricobject* AddObject(kxnode* parent, const char* name) {
  return Append<kxgeometricobject>(parent, name);
}

// Runs each test in a fresh temporary folder holding "aircraft/".
class loading : public dynamicstest {
 protected:
  void SetUp() override {
    dynamicstest::SetUp();
    folder = std::make_unique<kxtest::tempdir>(true);
    kxsystem::CreateDirectory("aircraft");
  }
  void TearDown() override {
    dynamicstest::TearDown();
    folder.reset();
  }
  // Paths are relative to the test's folder; a missing file reads as "".
  static void Put(const std::string& path, const std::string& text) {
    const std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
  }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void PutAircraft(const char* name, const char* text) {
    Put(std::string("aircraft/") + name + "/" + name + ".kxd", text);
  }

  std::unique_ptr<kxtest::tempdir> folder;
};

}  // namespace kxdtest
