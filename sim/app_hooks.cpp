#include "sim/app_hooks.h"

#include "core/type.h"
#include "gui/window.h"
#include "platform/log.h"
#include "sim/multilanguage.h"

namespace sim {

namespace {

applicationhooks installed;

}  // namespace

void SetHooks(const applicationhooks& hooks) { installed = hooks; }
const applicationhooks& Hooks() { return installed; }

bool IsLegacyFolderModel(const char* name) { return installed.legacy_folder_model && installed.legacy_folder_model(name); }

int RegisterApplicationTypes() {
  int count = 0;
  if (installed.register_types) {
    count += installed.register_types();
  } else {
    kxsystem::Log("sim:  the input configuration windows are not available\n");
  }
  count += kxtype::RegisterDerived(&kxwindowobjectedit::Type, &kxwindow::Type);
  count += kxtype::RegisterDerived(&multilanguage::Type, &kxnode::Type);
  return count;
}

}  // namespace sim
