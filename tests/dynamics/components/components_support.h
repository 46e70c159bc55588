// Shared set-up of the component tests: the dynamics fixture with the
// component types registered, a pinboard slot table the receivers bind to,
// and helpers to run whole frames of the driver.
#pragma once

#include <string>

#include "core/output.h"
#include "dynamics/aircraft.h"
#include "dynamics/components/register.h"
#include "dynamics/driver.h"
#include "dynamics/links.h"
#include "platform/device_mapper.h"
#include "tests/dynamics/dynamics_support.h"

namespace kxctest {

constexpr int kSlots = 4096;
constexpr int kPlayer0Channels = 2000;
constexpr int kPlayer1Channels = 2100;

// The aircraft file header every sample here starts with.
inline std::string Header(int type = 0) {
  return "// Skyvane aircraft\n//\n//\n//\n// version: 1.8.0\n//\n// type:    " + std::to_string(type) + "\n";
}

class componenttest : public kxdtest::loading {
 protected:
  static void SetUpTestSuite() {
    kxdtest::loading::SetUpTestSuite();
    components::RegisterTypes();
  }
  void SetUp() override {
    kxdtest::loading::SetUp();
    for (float& s : slots) s = 0.0f;
    kxdaircraft::SetPinboardSlots(slots);
    input::vtail[0] = kxvtail{};
    input::vtail[1] = kxvtail{};
  }
  void TearDown() override {
    kxdtest::loading::TearDown();
    kxdaircraft::SetPinboardSlots(nullptr);
  }
  // Runs frames of 36 ms (120 substeps) until n substeps have run.
  static void RunSubsteps(int n, kxdworld* world = nullptr) {
    while (n >= kxdynamics::kMaxSubsteps) n -= kxdynamics::Step(0.036f, world);
    if (n > 0) kxdynamics::Step(n * kxdynamics::kSubstep, world);
  }
  // Runs n substeps over the State and Change trees alone (no frame, no
  // receiver).
  static void Steps(int n) {
    kxdynamics::RunSubsteps(kxdynamics::Tree(kxdynamics::kxdtree::kState),
                            kxdynamics::Tree(kxdynamics::kxdtree::kChange), n);
  }
  // The component of the player's simulated clone with that name.
  template <class T>
  static T* Simulated(const char* name, int player = 0) {
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(player);
    if (!instance || !instance->Clone) return nullptr;
    kxnode* n = instance->Clone->FindChild(name);
    if (!n || !kxtype::IsDerivedFrom(n->type, &T::Type)) return nullptr;
    return static_cast<T*>(n);
  }
  template <class T>
  static T* Loaded(const char* name, int player = 0) {
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(player);
    if (!instance || !instance->Template) return nullptr;
    kxnode* n = instance->Template->FindChild(name);
    if (!n || !kxtype::IsDerivedFrom(n->type, &T::Type)) return nullptr;
    return static_cast<T*>(n);
  }

  float slots[kSlots] = {};
};

}  // namespace kxctest

#include "dynamics/component_sound.h"

namespace kxctest {

// A sound backend that loads every sample name and records the frequency
// and volume last given to each, so tests can read what a component asked.
struct fakesound {
  std::string path;
  float frequency = 0.0f;
  float volume = -1.0f;
};

class soundtest : public componenttest {
 protected:
  void SetUp() override {
    componenttest::SetUp();
    kxdsound::SetBackend(Load, Release, Set);
  }
  void TearDown() override {
    componenttest::TearDown();
    kxdsound::Reset();
  }
  static void* Load(const char* path) {
    fakesound* s = new fakesound;
    s->path = path;
    return s;
  }
  static void Release(void* sound) { delete static_cast<fakesound*>(sound); }
  static void Set(void* sound, float frequency, float volume) {
    static_cast<fakesound*>(sound)->frequency = frequency;
    static_cast<fakesound*>(sound)->volume = volume;
  }
  static fakesound* Of(void* sample) { return static_cast<fakesound*>(sample); }
  // Queue entries of one kind.
  static int Queued(int kind) {
    int n = 0;
    for (const kxdsoundentry* e = kxdsoundqueue::Entries(); e->kind; ++e) n += e->kind == kind;
    return n;
  }
};

}  // namespace kxctest
