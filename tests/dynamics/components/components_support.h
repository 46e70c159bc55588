// Shared set-up of the component tests: the dynamics fixture with the
// component types registered, a pinboard slot table the receivers bind to,
// and helpers to run whole frames of the driver.
#pragma once

#include <string>

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
