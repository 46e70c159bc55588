#include "designer/object_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/interpreter.h"
#include "designer/aircraft_object.h"
#include "designer/component_objects.h"
#include "designer/new_components.h"
#include "designer/save_dialog.h"
#include "designer/state.h"
#include "designer/viewer.h"
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

// The type test works only because every wing type has kxdbody as registry
// base: kxdwing11 and kxdwing12 derive from kxdwing10 in code alone.
constexpr objectkind kDefaults[kObjectKinds] = {
    {"kxdwing00", Wing00Object},         {"kxdwing10", Wing10Object},         {"kxdwing11", Wing11Object},
    {"kxdwing12", Wing12Object},         {"kxdpropeller00", PropellerObject}, {"kxdrotor00", RotorObject},
    {"kxdtailrotor00", TailRotorObject}, {"kxdengine00", EngineObject},       {"kxdturbine00", TurbineObject},
    {"kxdengine10", MotorObject},        {"kxdfuselage00", FuselageObject},
};

objectkind kinds[kObjectKinds] = {kDefaults[0], kDefaults[1], kDefaults[2], kDefaults[3],
                                  kDefaults[4], kDefaults[5], kDefaults[6], kDefaults[7],
                                  kDefaults[8], kDefaults[9], kDefaults[10]};

constexpr float kMinLength = 1.0f, kMaxLength = 5.0f;  // m, reference length

const objectkind* KindOf(const kxdbody* component) {
  for (const objectkind& k : kinds) {
    kxtype* type = kxtype::Find(k.typeName);
    if (type && kxtype::IsDerivedFrom(component->type, type)) return &k;
  }
  return nullptr;
}

/* The kinds the Edit menu makes that have no pages of their own (a body, a
   gyro, a joint, a skid) get the weight page and an entry, so that one made
   there can be found and set. Only one whose mass range leaves room is
   taken: the designer gives a new component its range, while one read from
   a file without a range (a joint, which weighs nothing) would show a
   weight it cannot change; it stays a plain object without an entry. */
bool WeighedPart(const kxdbody* component) {
  if (!(component->RangeMassMax > component->RangeMassMin)) return false;
  for (const newcomponent& c : kNewComponents) {
    if (component->type == kxtype::Find(c.typeName)) return true;
  }
  return false;
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
    const bool weighed = !kind && WeighedPart(component);
    svdesignobject* object = nullptr;
    if (kind && kind->build) object = kind->build(component);
    else if (weighed) object = WeightObject(component);
    else object = new svdesignobject(component);
    if (!object) continue;
    s.objects.push_back(object);
    if (kind || weighed) AddMenuEntry(object, component);
  }
}

}  // namespace

const char* ObjectKindType(int i) { return i >= 0 && i < kObjectKinds ? kinds[i].typeName : ""; }

int RegisterObjectBuilder(const char* typeName, objectbuilder build) {
  for (int i = 0; i < kObjectKinds; ++i) {
    if (typeName && std::strcmp(kinds[i].typeName, typeName) == 0) {
      kinds[i].build = build ? build : kDefaults[i].build;
      return 1;
    }
  }
  return 0;
}

void ActivateAll() {
  designstate& s = State();
  s.aircraft = kxdaircraftinstance::Slot(kDesignedPlayer);
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
  PlaceTopView();
}

}  // namespace svdesign
