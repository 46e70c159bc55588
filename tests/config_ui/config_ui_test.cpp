// The folder's hook: the set-up registers the selection window among its
// types, the UI description then makes "LoadAircraft", and the menu's
// buttons reach it by its path.
#include <gtest/gtest.h>

#include "config_ui/config_ui.h"
#include "core/interpreter.h"
#include "core/type.h"
#include "sim/app_hooks.h"
#include "sim/menu.h"
#include "tests/config_ui/selection_support.h"

namespace {

class ConfigHooksTest : public configtest::selectiontest {};

TEST_F(ConfigHooksTest, TheSetUpRegistersTheWindowAndTheMenuOpensIt) {
  sim::applicationhooks hooks;
  svconfig::InstallHooks(&hooks);
  ASSERT_EQ(hooks.register_types, &svconfig::RegisterTypes);
  sim::SetHooks(hooks);
  EXPECT_EQ(sim::RegisterApplicationTypes(), 12);
  EXPECT_FALSE(LogHas("not available"));
  // Every window the UI description makes by name is a window of its own class.
  for (const char* name : {"kxwindowinputdevices", "kxwindowdevicegame", "kxwindowdeviceradio",
                           "svaircraftcontrolsettings", "svchannelselect", "svconfigurationeditor",
                           "svconfigurationdelete", "svconfigurationeasy", "kxwindowloadacft", "kxwindowselect"}) {
    const kxtype* type = kxtype::Find(name);
    ASSERT_NE(type, nullptr) << name;
    EXPECT_TRUE(kxtype::IsDerivedFrom(type, &kxwindow::Type)) << name;
    kxnode* made = type->Create();
    ASSERT_NE(made, nullptr) << name;
    EXPECT_EQ(made->type, type) << name;
    delete made;
  }
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
