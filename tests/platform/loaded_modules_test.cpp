#include "platform/loaded_modules.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/temp_dir.h"

namespace {

// A library loaded after the list was taken stays loaded when it is closed,
// as the OpenGL driver a window loads must (the window backend keeps it);
// one loaded before is left as it was. Each run takes a fresh copy of the
// sample library, since a kept one cannot be loaded anew.
TEST(LoadedModulesTest, AModuleLoadedSinceTheListStaysLoadedWhenClosed) {
  kxtest::tempdir folder;
  const std::string copy = folder.Path("sample.so");
  std::filesystem::copy_file(KX_SAMPLE_MODULE, copy);
  const std::vector<std::string> before = kxsystem::LoadedModules();
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(std::find(before.begin(), before.end(), copy), before.end());
  void* module = dlopen(copy.c_str(), RTLD_NOW);
  ASSERT_NE(module, nullptr) << dlerror();
  const std::vector<std::string> loaded = kxsystem::LoadedModules();
  EXPECT_NE(std::find(loaded.begin(), loaded.end(), copy), loaded.end());
  EXPECT_EQ(kxsystem::KeepModulesLoadedSince(before), 1);
  dlclose(module);
  EXPECT_NE(dlopen(copy.c_str(), RTLD_LAZY | RTLD_NOLOAD), nullptr);
}

}  // namespace
