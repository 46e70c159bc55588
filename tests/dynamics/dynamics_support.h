// Shared set-up of the flight dynamics tests: the interpreter and the
// dynamics types once, a clean simulation tree and log capture per test, and
// helpers to put a body into the State tree with its Change twin.
#pragma once

#include <string>

#include "core/interpreter.h"
#include "core/node.h"
#include "dynamics/air_model.h"
#include "dynamics/attach.h"
#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "dynamics/world.h"
#include "gtest/gtest.h"
#include "tests/core/test_support.h"

namespace kxdtest {

class dynamicstest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kxscript::Init();
    kxdynamics::RegisterTypes();
  }
  void SetUp() override {
    kxdynamics::Environment() = kxdenvironment{};
    kxdenvironment calm;
    calm.wind_thermic = 0.0f;
    kxdynamics::InitField(calm);
    kxdynamics::SetCurrentWorld(nullptr);
  }
  void TearDown() override {
    for (int i = 0; i < kxdaircraftinstance::kSlots; ++i) kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(i));
    for (auto t : {kxdynamics::kxdtree::kInitial, kxdynamics::kxdtree::kState, kxdynamics::kxdtree::kChange,
                   kxdynamics::kxdtree::kTemplates, kxdynamics::kxdtree::kInvisible}) {
      kxdynamics::Tree(t)->DeleteChildren();
    }
    kxdynamics::SetCurrentWorld(nullptr);
    kxscript::SetCurrent(kxscript::Root());
  }

  // A free body of type T under State with its twin under Change, prepared.
  template <class T>
  T* AddToState(const char* name) {
    T* body = new T;
    body->name = name;
    kxdynamics::Tree(kxdynamics::kxdtree::kState)->AppendChild(body);
    return body;
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

}  // namespace kxdtest
