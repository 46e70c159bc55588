// The one registration entry of the simulated types: core, wings and
// components resolve after one call, and calling again changes nothing.
#include "dynamics/all/register_all.h"

#include "core/interpreter.h"
#include "core/node.h"
#include "dynamics/body.h"
#include "dynamics/registry.h"
#include "graphics/geometric_object.h"
#include "gtest/gtest.h"

namespace {

const char* const kComponentTypes[] = {
    "kxdbody",        "kxdfuselage00", "kxdjoint00",   "kxdhook00",      "kxdwing00",     "kxdwing20",
    "kxdwing10",      "kxdwing11",     "kxdwing12",    "kxdreceiver00",  "kxdservo00",    "kxdservo01",
    "kxdgyro00",      "kxdengine00",   "kxdengine10",  "kxdpropeller00", "kxdturbine00",  "kxdturbine10",
    "kxdrotor00",     "kxdrotor01",    "kxdtailrotor00", "kxdgear00",    "kxdwheel00",    "kxdskid00",
};

class registerall : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kxscript::Init();
    kxgraphics::RegisterTypes();
  }
  static void ExpectEveryComponentType() {
    for (const char* name : kComponentTypes) {
      kxtype* t = kxtype::Find(name);
      ASSERT_NE(t, nullptr) << name;
      EXPECT_TRUE(kxtype::IsDerivedFrom(t, &kxdbody::Type)) << name;
      kxnode* made = t->Create();
      ASSERT_NE(made, nullptr) << name;
      EXPECT_EQ(made->type, t) << name;
      delete made;
    }
    ASSERT_NE(kxtype::Find("kxdaircraft"), nullptr);
  }
};

TEST_F(registerall, EveryComponentTypeResolvesAfterOneCall) {
  kxdynamics::RegisterAll();
  ExpectEveryComponentType();
  // The wings derive from the body, not from each other.
  EXPECT_FALSE(kxtype::IsDerivedFrom(kxtype::Find("kxdwing11"), kxtype::Find("kxdwing10")));
}

TEST_F(registerall, SecondCallLeavesTypesAndTreesAsTheyWere) {
  kxdynamics::RegisterAll();
  kxnode* dynamics = kxnode::Find("/Simulation/Dynamics");
  ASSERT_NE(dynamics, nullptr);
  int trees = dynamics->ChildCount();
  kxnode* state = kxdynamics::Tree(kxdynamics::kxdtree::kState);
  kxdynamics::RegisterAll();
  ExpectEveryComponentType();
  EXPECT_EQ(kxnode::Find("/Simulation/Dynamics"), dynamics);
  EXPECT_EQ(dynamics->ChildCount(), trees);
  EXPECT_EQ(kxdynamics::Tree(kxdynamics::kxdtree::kState), state);
  EXPECT_EQ(kxnode::Find("/Simulation")->ChildCount(), 2);
}

}  // namespace
