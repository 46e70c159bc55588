// The folder's hook: the set-up registers the selection window among its
// types, the UI description then makes "LoadAircraft", and the menu's
// buttons reach it by its path.
#include <gtest/gtest.h>

#include "config_ui/config_ui.h"
#include "core/interpreter.h"
#include "sim/app_hooks.h"
#include "sim/menu.h"
#include "tests/config_ui/selection_support.h"

namespace {

class ConfigHooksTest : public configtest::selectiontest {};

TEST_F(ConfigHooksTest, TheSetUpRegistersTheWindowAndTheMenuOpensIt) {
  sim::applicationhooks hooks;
  svconfig::InstallHooks(&hooks);
  ASSERT_EQ(hooks.provide_types, &svconfig::ProvideTypes);
  sim::SetHooks(hooks);
  EXPECT_GE(sim::RegisterApplicationTypes(), 1);
  EXPECT_FALSE(LogHas("type kxwindowloadacft not available"));
  delete window;  // the UI description makes the program's own
  window = nullptr;
  kxscript::Execute("cd /Display/Invisible/\nAppend kxwindowloadacft LoadAircraft\ncd /");
  window = dynamic_cast<kxwindowloadacft*>(kxnode::Find("/Display/Invisible/LoadAircraft"));
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(sim::MenuAction(1), 1);  // "Aircraft II"
  EXPECT_EQ(window->parent, kxnode::Find("/Display/Visible/"));
  EXPECT_EQ(window->player, 1);
  EXPECT_EQ(TileNames().find('~'), std::string::npos);
}

}  // namespace
