#include "platform/loaded_modules.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>

namespace kxsystem {

std::vector<std::string> LoadedModules() {
  std::vector<std::string> names;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        // The program's own entry has no name; the kernel's has no file.
        if (info->dlpi_name && info->dlpi_name[0] == '/')
          static_cast<std::vector<std::string>*>(data)->emplace_back(info->dlpi_name);
        return 0;
      },
      &names);
  return names;
}

/* Opening a loaded library again with RTLD_NODELETE makes the loader keep
   it whatever is closed later. The handle is not closed: it would only
   count down what the flag already holds. */
int KeepModulesLoadedSince(const std::vector<std::string>& before) {
  int kept = 0;
  for (const std::string& name : LoadedModules()) {
    if (std::find(before.begin(), before.end(), name) != before.end()) continue;
    if (dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE)) ++kept;
  }
  return kept;
}

}  // namespace kxsystem
