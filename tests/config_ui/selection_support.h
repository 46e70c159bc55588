// Shared set-up of the aircraft selection tests: the GUI roots, the aircraft
// types and the window's type once; per test a temporary data folder with
// copies of the sample aircraft, the legacy models and the no-preview
// picture, the legacy runtime's folder-model hook, three folders of other file versions written by the test, the
// simulator's records at their defaults and a fresh window under
// "/Display/Invisible/".
#pragma once

#include <strings.h>

#include <cstring>
#include <memory>
#include <string>

#include "config_ui/aircraft_select.h"
#include "core/type.h"
#include "dynamics/all/register_all.h"
#include "dynamics/instance.h"
#include "graphics/graphics_init.h"
#include "graphics/texture_table.h"
#include "gui/button.h"
#include "gui/containers.h"
#include "sim/app_hooks.h"
#include "tests/dynamics/all/samples_support.h"
#include "tests/gui/gui_support.h"
#include "tests/sim/sim_support.h"

namespace configtest {

// A component file whose header says version major.minor and type.
inline std::string AircraftFile(const char* version, int type) {
  return std::string("// Skyvane aircraft\n//\n//\n//\n// version: ") + version + "\n//\n// type:    " +
         std::to_string(type) + "\nAppend kxdbody Body\n";
}

class selectiontest : public kxtest::guitest {
 protected:
  static void SetUpTestSuite() {
    guitest::SetUpTestSuite();
    kxgraphics::RegisterTypes();
    kxdynamics::RegisterAll();
    kxtype::RegisterDerived(&kxwindowloadacft::Type, &kxwindow::Type);
  }

  // The legacy runtime (linked above this folder) tells its folder model
  // through a hook; the tests stand in for it with the same name.
  static int FolderModel(const char* name) { return name && strcasecmp(name, "piccolo") == 0 ? 1 : 0; }

  void SetUp() override {
    guitest::SetUp();
    simtest::ResetSimulatorState();
    sim::applicationhooks hooks;
    hooks.legacy_folder_model = FolderModel;
    sim::SetHooks(hooks);
    kxgl::ClearTextureTable();
    folder_ = std::make_unique<kxtest::tempdir>(true);
    for (const char* path : {"aircraft", "airlark/aircraft", "texture/nopreview.bmp"}) kxdtest::CopyFromData(path);
    folder_->Write("aircraft/future/future.kxd", AircraftFile("1.9.0", 0));
    folder_->Write("aircraft/older/older.kxd", AircraftFile("0.9.0", 4));
    folder_->Write("aircraft/bare/bare.kxd", "// a header cut short\n");
    window = new kxwindowloadacft;
    window->name = "LoadAircraft";
    kxnode::Find("/Display/Invisible/")->AppendChild(window);
  }

  void TearDown() override {
    delete window;
    for (int i = 0; i < kxdaircraftinstance::kSlots; ++i) kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(i));
    sim::SetHooks(sim::applicationhooks());
    kxgl::ClearTextureTable();
    folder_.reset();
    simtest::ResetSimulatorState();
    guitest::TearDown();
  }

  // The tiles' names in order, legacy ones marked with a leading "~".
  std::string TileNames() const {
    std::string names;
    for (kxnode* tile = window->tiles->firstChild; tile; tile = tile->nextSibling) {
      auto* button = dynamic_cast<kxbuttontexture*>(tile->FindChild(tile->name.Text()));
      bool legacy = button && std::strstr(button->OnPress.Text(), "SelectAL1");
      if (!names.empty()) names += ' ';
      if (legacy) names += '~';
      names += tile->name.Str();
    }
    return names;
  }
  // Runs a command against the window as a script would.
  void Run(const char* command) { kxscript::Execute(command, window); }

  std::unique_ptr<kxtest::tempdir> folder_;
  kxwindowloadacft* window = nullptr;
};

}  // namespace configtest
