#include "designer/object_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/interpreter.h"
#include "designer/aircraft_object.h"
#include "designer/save_dialog.h"
#include "designer/state.h"
#include "designer/viewer_modes.h"
#include "dynamics/aircraft.h"
#include "dynamics/body.h"
#include "dynamics/instance.h"
#include "gui/menu.h"

namespace svdesign {

namespace {

struct objectkind {
  const char* typeName;
  objectbuilder build;  // null: a plain object
};

objectkind kinds[kObjectKinds] = {
    {"kxdwing00", nullptr},     {"kxdwing10", nullptr},     {"kxdwing11", nullptr},  {"kxdwing12", nullptr},
    {"kxdpropeller00", nullptr}, {"kxdrotor00", nullptr},   {"kxdtailrotor00", nullptr},
    {"kxdengine00", nullptr},   {"kxdturbine00", nullptr},  {"kxdengine10", nullptr}, {"kxdfuselage00", nullptr},
};

constexpr float kMinLength = 1.0f, kMaxLength = 5.0f;  // m, reference length
constexpr float kTopDistance = 3.0f;                   // reference lengths above the origin

const objectkind* KindOf(const kxdbody* component) {
  for (const objectkind& k : kinds) {
    kxtype* type = kxtype::Find(k.typeName);
    if (type && kxtype::IsDerivedFrom(component->type, type)) return &k;
  }
  return nullptr;
}

void AddMenuEntry(const svdesignobject* object, const kxdbody* component) {
  designstate& s = State();
  if (!s.menuObjects) return;
  // The name is quoted: a quote or a bracket in it stays one argument.
  kxstring command;
  command.Format("DesignObjectActivate( %s )", kxscript::Quote(component->name.Text()).Text());
  kxpopupitem* entry = new kxpopupitem(object->displayName.Text(), command.Text(), 0);
  if (entry) s.menuObjects->AppendChild(entry);
}

void BuildObjects(kxdaircraft* components) {
  designstate& s = State();
  for (kxnode* c = components ? components->firstChild : nullptr; c; c = c->nextSibling) {
    kxdbody* component = kxdbody::As(c);
    if (!component) continue;
    const objectkind* kind = KindOf(component);
    svdesignobject* object = kind && kind->build ? kind->build(component) : new svdesignobject(component);
    if (!object) continue;
    s.objects.push_back(object);
    if (kind) AddMenuEntry(object, component);
  }
}

}  // namespace

const char* ObjectKindType(int i) { return i >= 0 && i < kObjectKinds ? kinds[i].typeName : ""; }

int RegisterObjectBuilder(const char* typeName, objectbuilder build) {
  for (objectkind& k : kinds) {
    if (typeName && std::strcmp(k.typeName, typeName) == 0) {
      k.build = build;
      return 1;
    }
  }
  return 0;
}

void ActivateAll() {
  designstate& s = State();
  s.aircraft = kxdaircraftinstance::Slot(0);
  if (!s.aircraft) return;
  if (s.aircraft->Locked) OpenSaveAs("NewAircraft", 1);
  BuildObjects(s.aircraft->Template);
  s.aircraftObject = new AircraftObject(s.aircraft);
  s.currentObject = s.aircraftObject;
  if (s.aircraftObject) s.aircraftObject->Activate();
  s.currentMode = &Modes().objectSelect;
  float length = s.aircraft->MainBody ? s.aircraft->MainBodyLength : kMinLength;
  if (!std::isfinite(length)) length = kMinLength;
  s.aircraftLength = std::clamp(length, kMinLength, kMaxLength);
  s.camera.PlaceTop(kTopDistance * s.aircraftLength);
}

}  // namespace svdesign
