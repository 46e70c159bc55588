// Shared set-up of the designer tests: the GUI fixture with its fixed-advance
// font, every aircraft type, the designer's start-up per test, a window size,
// a clock the test sets, and the sample aircraft loaded from the data folder
// (the designer edits in memory only).
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "designer/buttons.h"
#include "designer/design_object.h"
#include "designer/designer.h"
#include "designer/object_table.h"
#include "designer/page.h"
#include "designer/state.h"
#include "sim/units.h"
#include "designer/field.h"
#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"
#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "graphics/geometric_object.h"
#include "gui/menu.h"
#include "gui/text.h"
#include "platform/callbacks.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "sim/modes.h"
#include "sim/multilanguage.h"
#include "tests/gui/widget_support.h"
#include "tests/platform/input_support.h"

namespace designertest {

// A page of two fields on a body - its mass in the display mass unit and the
// x of its position in the display length unit - that counts its follow-ups.
class testpage : public svdesignpage {
 public:
  testpage(kxdbody* body, int iconNumber) : svdesignpage(pageicon{iconNumber}, body) {
    kxtext* label = AddLabel("Mass", 8, 8);
    first = AddField(AfterLabel(label), 8, &body->Mass, "%.2f", units::Current().mass);
    second = AddField(AfterLabel(label) + kNextField, 8, &body->B.R.x, "%.1f", units::Current().length);
  }
  svdesignfield* first = nullptr;
  svdesignfield* second = nullptr;
  int followUps = 0;

 protected:
  void FollowUp() override { ++followUps; }
};

constexpr int kWindowWidth = 1024, kWindowHeight = 768;  // px

// The window pixel (x, y up) where the viewer shows a world point.
inline void Project(const svdesigncamera& c, const kxvector4r& p, float* x, float* y) {
  kxmatrix view = c.ViewMatrix();
  kxvector4r point = {p.x, p.y, p.z, 1}, e;
  kxmatrix::TransformVector4(&e, &view, &point);
  *x = c.viewportX + c.viewportWidth * (1 + c.nearPlane * e.x / -e.z / c.halfWidth) / 2;
  *y = c.viewportY + c.viewportHeight * (1 + c.nearPlane * e.y / -e.z / c.halfHeight) / 2;
}

// Runs a designer mouse command at the pixel where the viewer shows a
// world point.
inline void At(const char* command, const kxvector4r& point) {
  float px, py;
  Project(svdesign::State().camera, point, &px, &py);
  kxscript::Execute((std::string(command) + "( " + std::to_string(static_cast<int>(px)) + ", " +
                     std::to_string(static_cast<int>(py)) + " )")
                        .c_str());
}

inline uint32_t& Now() {
  static uint32_t now = 0;
  return now;
}

class designerfixture : public kxtest::widgettest {
 protected:
  static void SetUpTestSuite() {
    widgettest::SetUpTestSuite();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterAll();
  }

  void SetUp() override {
    widgettest::SetUp();
    screen->W = kWindowWidth;
    screen->H = kWindowHeight;
    kxsystem::display.window_width = kWindowWidth;
    kxsystem::display.window_height = kWindowHeight;
    kxsystem::callbacks = kxcallbacks();
    kxsystem::ClearLogHistory();
    Now() = 0;
    kxsystem::SetClockForTest([] { return Now(); });
    sim::Language().Reset();
    units::SetMetric();
    svdesign::Init();
  }

  void TearDown() override {
    svdesign::Reset();
    for (int i = 0; i < svdesign::kObjectKinds; ++i) svdesign::RegisterObjectBuilder(svdesign::ObjectKindType(i), nullptr);
    kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
    kxdynamics::Tree(kxdynamics::kxdtree::kInvisible)->DeleteChildren();
    kxsystem::SetClockForTest(nullptr);
    kxsystem::callbacks = kxcallbacks();
    kxsystem::display = kxdisplaysettings();
    sim::Language().Reset();
    units::SetMetric();
    widgettest::TearDown();
  }

  // Loads the sample into slot 0 (null: keeps what is loaded) and runs the
  // entry as the main loop would, to go back where back says.
  void Enter(const char* sample = "trainer", sim::designerreturn back = sim::designerreturn::kMenu) {
    if (sample) {
      ASSERT_EQ(kxdaircraftinstance::AircraftLoad(sample, 0), 1) << sample;
    }
    svdesign::Open(back);
    RunPending();
    ASSERT_NE(State().aircraft, nullptr);
  }
  static void RunPending() {
    while (void (*next)() = kxsystem::callbacks.pending) {
      kxsystem::callbacks.pending = nullptr;
      next();
    }
  }
  static svdesign::designstate& State() { return svdesign::State(); }
  static svdesignobject* Object(const char* component) {
    for (svdesignobject* o : State().objects) {
      if (o->name.Equal(component)) return o;
    }
    return nullptr;
  }
  static void Run(const std::string& command) { kxscript::Execute(command.c_str()); }
  // Makes the component's object current, shows its page index and
  // returns the page's fields in panel order.
  static std::vector<svdesignfield*> Open(const char* component, int index) {
    svdesignobject* object = Object(component);
    EXPECT_NE(object, nullptr) << component;
    if (!object) return {};
    if (State().currentObject != object) svdesign::SwitchObject(object);
    object->OpenPage(index);
    std::vector<svdesignfield*> fields;
    for (kxnode* c = object->pages[index]->panel->firstChild; c; c = c->nextSibling) {
      if (svdesignfield* f = dynamic_cast<svdesignfield*>(c)) fields.push_back(f);
    }
    return fields;
  }
  // Types the texts into the page's fields (null: leave it) and commits.
  static void Commit(const char* component, int index, std::initializer_list<const char*> texts) {
    std::vector<svdesignfield*> fields = Open(component, index);
    ASSERT_GE(fields.size(), texts.size()) << component << " " << index;
    int i = 0;
    for (const char* t : texts) {
      if (t) std::snprintf(fields[i]->text, sizeof fields[i]->text, "%s", t);
      ++i;
    }
    Run("DesignPropertySetValues");
  }
};

}  // namespace designertest
