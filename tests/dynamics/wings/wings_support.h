// Shared set-up of the wing tests: the interpreter, the graphics, dynamics
// and wing types once; per test a fresh temporary data folder holding
// "aircraft/airfoil/", log capture, and a clean simulation tree with no
// airfoils loaded; and the meshed parts the analysis tests build.
#pragma once

#include <GL/gl.h>

#include <fstream>
#include <string>

#include "core/interpreter.h"
#include "core/node.h"
#include "dynamics/registry.h"
#include "dynamics/wings/airfoil.h"
#include "dynamics/wings/register.h"
#include "graphics/geometric_object.h"
#include "gtest/gtest.h"
#include "platform/files.h"
#include "tests/core/test_support.h"
#include "tests/temp_dir.h"
#include "tools/meshgen/meshgen.h"

namespace kxwtest {

class wingstest : public TempDirTest {
 protected:
  static void SetUpTestSuite() {
    kxscript::Init();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterTypes();
    wings::RegisterTypes();
  }
  void SetUp() override {
    TempDirTest::SetUp();
    kxsystem::CreateDirectory("aircraft");
    kxsystem::CreateDirectory("aircraft/airfoil");
    kxdairfoil::ForgetListing();
  }
  void TearDown() override {
    scratch.DeleteChildren();
    kxdynamics::Tree(kxdynamics::kxdtree::kAirfoil)->DeleteChildren();
    kxdairfoil::ForgetListing();
    kxscript::Reset();
    TempDirTest::TearDown();
  }
  void Put(const std::string& path, const std::string& text) { Write(path, text); }
  void PutAirfoil(const std::string& stem, const std::string& text) {
    Put("aircraft/airfoil/" + stem + ".kxa", text);
  }
  static int Airfoils() { return kxdynamics::Tree(kxdynamics::kxdtree::kAirfoil)->ChildCount(); }
  // A geometry object named name under parent (by default scratch).
  kxgeometricobject* Part(const char* name, kxnode* parent = nullptr) {
    auto* g = new kxgeometricobject;
    g->name = name;
    (parent ? parent : &scratch)->AppendChild(g);
    return g;
  }
  // The same, holding the mesh m.
  kxgeometricobject* Object(const char* name, kxnode* parent, const meshgen::mesh& m) {
    kxgeometricobject* g = Part(name, parent);
    g->SetMesh(meshgen::ToElement(m, "paint", "", GL_N3F_V3F));
    return g;
  }
  // A box from (x0, y0) to (x1, y1), 1 cm thick, centred on z = 0.
  static meshgen::mesh Plate(float x0, float x1, float y0, float y1) {
    meshgen::mesh m = meshgen::Box(x1 - x0, y1 - y0, 0.01f);
    meshgen::Translate(m, 0.5f * (x0 + x1), 0.5f * (y0 + y1), 0.0f);
    return m;
  }

  kxtest::logcapture log;
  kxnode scratch;  // parent of the nodes a test builds by hand
};

}  // namespace kxwtest
