// The shared libraries loaded into the process, and a way to keep those that
// a library loads for itself (the OpenGL driver behind a window's context)
// loaded until the program ends.
#pragma once

#include <string>
#include <vector>

namespace kxsystem {

// The file names of the shared objects loaded now, in load order; the
// program itself and the kernel's virtual object are left out.
std::vector<std::string> LoadedModules();
// Marks every module loaded now that `before` does not name as never to be
// unloaded; the number marked.
int KeepModulesLoadedSince(const std::vector<std::string>& before);

}  // namespace kxsystem
