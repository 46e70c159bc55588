#include "designer/commands.h"

#include <iterator>

#include "core/arguments.h"
#include "core/function.h"
#include "core/hooks.h"
#include "designer/design_object.h"
#include "designer/designer.h"
#include "designer/new_components.h"
#include "designer/page.h"
#include "designer/save_dialog.h"
#include "designer/state.h"
#include "designer/viewer.h"
#include "designer/viewer_modes.h"
#include "dynamics/body.h"
#include "platform/log.h"

namespace svdesign {

namespace {

using handler = void (*)(const kxargs& args);

struct command {
  const char* name;
  handler run;          // null: not built yet
  bool withoutAircraft; // runs outside the designer too
};

void Nothing(const kxargs&) {}

template <auto mode>
void SetMode(const kxargs&) {
  State().currentMode = &(Modes().*mode);
}

template <int i>
void NewOf(const kxargs&) {
  const newcomponent& c = kNewComponents[i];
  NewComponent(c.typeName, c.stem, c.first);
}
static_assert(std::size(kNewComponents) == 7);

// The table of the designer's commands, in registration order.
const command kTable[kCommands] = {
    {"DesignOpen", [](const kxargs&) { Open(sim::designerreturn::kMenu); }, true},
    {"DesignGoBack", [](const kxargs&) { GoBack(); }, false},
    {"DesignObjectActivate", [](const kxargs& a) { ObjectActivate(a.String(0).Text()); }, false},
    {"DesignMouseLeftDown", [](const kxargs& a) { MouseLeftDown(a.Int(0), a.Int(1)); }, false},
    {"DesignMouseLeftDouble", Nothing, false},
    {"DesignMouseMove", [](const kxargs& a) { MouseMove(a.Int(0), a.Int(1)); }, false},
    {"DesignMouseLeftUp", [](const kxargs& a) { MouseLeftUp(a.Int(0), a.Int(1)); }, false},
    {"DesignModeViewerMove", SetMode<&viewermodes::move>, false},
    {"DesignModeViewerTurn", SetMode<&viewermodes::turn>, false},
    {"DesignModeViewerShift", SetMode<&viewermodes::shift>, false},
    {"DesignModeViewerRotate", SetMode<&viewermodes::rotate>, false},
    {"DesignModeViewerTop", [](const kxargs&) { ModeViewerTop(); }, false},
    {"DesignModeViewerSide", [](const kxargs&) { ModeViewerSide(); }, false},
    {"DesignModeViewerFront", [](const kxargs&) { ModeViewerFront(); }, false},
    {"DesignModeObjectSelect", SetMode<&viewermodes::objectSelect>, false},
    {"DesignObjectProperty",
     [](const kxargs&) {
       if (State().currentObject) State().currentMode = &Modes().objectProperty;
     },
     false},
    {"DesignObjectPropertySet",
     [](const kxargs& a) {
       if (State().currentObject) State().currentObject->SetProperty(a.String(0).Text());
     },
     false},
    {"DesignModeBodyMove", Nothing, false},
    {"DesignModeBodyMoveOnly", Nothing, false},
    {"DesignModeBodyRotate", Nothing, false},
    {"DesignModeBodyRotateOnly", Nothing, false},
    {"DesignModePointSelect", Nothing, false},
    {"DesignObjectPropertyOpen", [](const kxargs& a) { ObjectPropertyOpen(a.Int(0)); }, false},
    {"DesignPropertySetValues", [](const kxargs&) { PropertySetValues(); }, false},
    // New components; a joint goes first in the list.
    {kNewComponents[0].command, NewOf<0>, false},
    {kNewComponents[1].command, NewOf<1>, false},
    {kNewComponents[2].command, NewOf<2>, false},
    {kNewComponents[3].command, NewOf<3>, false},
    {kNewComponents[4].command, NewOf<4>, false},
    {kNewComponents[5].command, NewOf<5>, false},
    {kNewComponents[6].command, NewOf<6>, false},
    {"savesystem", [](const kxargs&) { SaveSystem(); }, false},
    {"copysystemdialog", [](const kxargs&) { CopySystemDialog(); }, false},
    {"copysystemcheck", [](const kxargs&) { CopySystemCheck(); }, false},
    {"copysystemcancel", [](const kxargs&) { CopySystemCancel(); }, false},
};

bool noted[kCommands] = {};

kxvalueptr Run(int i, const kxargs& args) {
  const command& c = kTable[i];
  if (!c.withoutAircraft && !State().aircraft) return kxvoid();
  if (c.run) {
    c.run(args);
  } else if (!noted[i]) {
    noted[i] = true;
    kxsystem::Log("svdesign:  %s is not available in this version\n", c.name);
  }
  return kxvoid();
}

}  // namespace

const char* CommandName(int i) { return i >= 0 && i < kCommands ? kTable[i].name : ""; }

void RegisterCommands() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  for (int i = 0; i < kCommands; ++i) {
    kxfunction::RegisterHandler(kTable[i].name, [i](const kxargs& args) { return Run(i, args); });
  }
}

void ForgetCommandNotes() {
  for (bool& n : noted) n = false;
}

void ObjectActivate(const char* componentName) {
  designstate& s = State();
  for (svdesignobject* object : s.objects) {
    if (!object || !object->component || !object->component->name.Equal(componentName)) continue;
    if (object != s.currentObject) SwitchObject(object);
    // Chosen from the menu, its page is open and its handles drag.
    s.currentMode = &Modes().objectProperty;
    return;
  }
}

void ObjectPropertyOpen(int index) {
  if (svdesignobject* paged = State().pagedObject) paged->OpenPage(index);
}

void PropertySetValues() {
  if (svdesignpage* page = State().shownPage) {
    page->Store();
    page->Refresh();
  }
}

}  // namespace svdesign
