// The whole program with the legacy runtime installed: its pool and state
// fresh around each test, its hooks in the application's, and the model it
// holds unloaded after. Base is the program test's fixture (with or without
// the transmitter).
#pragma once

#include "legacy/legacy.h"
#include "legacy/loader.h"
#include "legacy/model_state.h"
#include "legacy/pool.h"
#include "sim/app_hooks.h"

namespace legacytest {

template <class Base>
class legacyprogram : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    dnsmodel::ResetRuntime();
    dnsmodel::InitPool();
    sim::applicationhooks hooks;
    dnsmodel::InstallHooks(&hooks);
    sim::SetHooks(hooks);
  }
  void TearDown() override {
    sim::SetHooks(sim::applicationhooks());
    if (dnsmodel::Runtime().state.model) dnsmodel::Unload();
    dnsmodel::ResetRuntime();
    Base::TearDown();
  }
};

}  // namespace legacytest
