#include "sim/app_hooks.h"

#include <cstring>

#include "core/type.h"
#include "gui/window.h"
#include "platform/log.h"
#include "sim/multilanguage.h"

namespace sim {

namespace {

applicationhooks installed;

struct applicationtype {
  const char* name;
  kxtype* type;
  kxtype* base;
};

// The registration order of the set-up. The object edit window and the text
// table are this program's own; the input configuration provides the rest.
applicationtype types[kApplicationTypes] = {
    {"kxwindowinputdevices", nullptr, nullptr},
    {"kxwindowdevicegame", nullptr, nullptr},
    {"kxwindowdeviceradio", nullptr, nullptr},
    {"svaircraftcontrolsettings", nullptr, nullptr},
    {"svchannelselect", nullptr, nullptr},
    {"svconfigurationeditor", nullptr, nullptr},
    {"svconfigurationdelete", nullptr, nullptr},
    {"svconfigurationeasy", nullptr, nullptr},
    {"kxwindowloadacft", nullptr, nullptr},
    {"kxwindowselect", nullptr, nullptr},
    {"kxwindowobjectedit", &kxwindowobjectedit::Type, &kxwindow::Type},
    {"multilanguage", &multilanguage::Type, &kxnode::Type},
};

}  // namespace

void SetHooks(const applicationhooks& hooks) { installed = hooks; }
const applicationhooks& Hooks() { return installed; }

const char* ApplicationTypeName(int i) { return i >= 0 && i < kApplicationTypes ? types[i].name : ""; }

int ProvideType(kxtype* type, kxtype* base) {
  if (!type) return 0;
  for (applicationtype& t : types) {
    if (std::strcmp(t.name, type->Name()) != 0) continue;
    t.type = type;
    t.base = base;
    return 1;
  }
  return 0;
}

int RegisterApplicationTypes() {
  if (installed.provide_types) installed.provide_types();
  int count = 0;
  for (const applicationtype& t : types) {
    if (!t.type) {
      kxsystem::Log("sim:  type %s not available\n", t.name);
      continue;
    }
    count += t.base ? kxtype::RegisterDerived(t.type, t.base) : kxtype::Register(t.type);
  }
  return count;
}

}  // namespace sim
