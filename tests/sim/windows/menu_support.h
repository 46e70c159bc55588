// Shared set-up of the menu bar and window tests: the widget fixture (fixed
// font, commands recorded), the simulator records at their defaults, a fresh
// temporary folder to work in, and the menu bar built anew with its windows
// shown on the test's screen and hidden under "/Menu/Invisible".
#pragma once

#include <cstring>
#include <memory>
#include <string>

#include "core/function.h"
#include "core/interpreter.h"
#include "gui/menu.h"
#include "gui/window.h"
#include "platform/log.h"
#include "platform/music.h"
#include "platform/window.h"
#include "sim/menu_bar.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/world/world.h"
#include "tests/gui/widget_support.h"
#include "tests/sim/sim_support.h"
#include "tests/temp_dir.h"

namespace menutest {

class menutest : public kxtest::widgettest {
 protected:
  void SetUp() override {
    widgettest::SetUp();
    folder_ = std::make_unique<kxtest::tempdir>(true);
    simtest::ResetSimulatorState();
    sim::FreeScenery(sim::TheWorld());
    world* w = sim::TheWorld();
    w->name[0] = 0;
    w->contest_count = 0;
    w->photo = 0;
    w->start_count = 0;
    sim::session.run = {};
    display_ = kxsystem::display;
    kxsystem::display.window_width = screen->W;
    kxsystem::display.window_height = screen->H;
    sim::CreateMenu();
    kxgui::Invisible = sim::MenuBar().invisible;
  }

  void TearDown() override {
    sim::DestroyMenu();
    sim::FreeScenery(sim::TheWorld());
    sim::TheWorld()->contest_count = 0;
    sim::TheWorld()->photo = 0;
    sim::Music() = kxmusic();
    kxsystem::display = display_;
    // What the handlers change and the shared reset leaves alone.
    for (simplayer& p : sim::players) {
      p.trace.on = p.trace.view = 0;
      p.recording.header.aircraft[0] = p.recording.header.scenery[0] = 0;
      p.next = nullptr;
      for (simcamera& c : p.camera) c = simcamera();
    }
    simtest::ResetSimulatorState();
    folder_.reset();
    widgettest::TearDown();
  }

  // The entry of a pop-up, null when there is none.
  static kxpopupitem* Entry(const char* popup, const char* entry) {
    std::string path = std::string("/Menu/Invisible/") + popup + "/" + entry + "/";
    return kxnode::As<kxpopupitem>(kxnode::Find(path.c_str()));
  }
  // Whether the pop-up would draw the entry greyed now.
  static bool Grey(const char* popup, const char* entry) {
    kxpopupitem* item = Entry(popup, entry);
    if (!item) return false;
    item->ApplyEnableRule();
    return item->Disabled != 0;
  }
  static void Run(const char* command) { kxscript::Execute(command); }
  // Whether a line of the program's log history holds the piece.
  static bool Logged(const char* piece) {
    const char* start = kxsystem::GetLogLine(1 << 20);  // more lines than exist: the oldest
    for (const char* p = start; p < start + kxsystem::kLogHistoryBytes;) {
      if (!*p) {
        ++p;
        continue;
      }
      if (std::strstr(p, piece)) return true;
      p += std::strlen(p) + 1;
    }
    return false;
  }
  // Sends a command to a window by its node name, wherever it lives.
  static void Send(sim::menuwindow which, const char* member) {
    if (kxwindow* w = sim::MenuWindow(which)) w->GetMember(member, kxargs::None());
  }
  static bool Shown(sim::menuwindow which) {
    kxwindow* w = sim::MenuWindow(which);
    return w && w->parent == kxgui::Visible;
  }
  // A widget of a window by the path below it.
  template <class T>
  static T* Widget(sim::menuwindow which, const char* path) {
    return kxnode::As<T>(kxnode::Find(path, sim::MenuWindow(which)));
  }
  void Write(const std::string& relative, const std::string& bytes) { folder_->Write(relative, bytes); }
  std::string Read(const std::string& relative) { return folder_->Read(relative); }

  std::unique_ptr<kxtest::tempdir> folder_;
  kxdisplaysettings display_;
};

}  // namespace menutest
