// Shared set-up of the tests of the input configuration windows: the GUI
// with its fixed-advance font, the fake USB transport and "/Pinboard/" and
// "/Panel/" (the input tree fixture on top of the widget fixture), the
// window types registered once; per test a temporary data folder with an
// empty "config/", the files-in-use node, the players' mappers, the text
// table at its defaults, and every configuration window made under
// "/Display/Invisible/" as the UI description makes them.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config_ui/calibration.h"
#include "config_ui/channel_select.h"
#include "config_ui/config_ui.h"
#include "config_ui/configuration_easy.h"
#include "config_ui/configuration_editor.h"
#include "config_ui/control_settings.h"
#include "config_ui/input_devices.h"
#include "core/interpreter.h"
#include "core/type.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/containers.h"
#include "gui/edit.h"
#include "gui/indicators.h"
#include "gui/list_item.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "platform/device_mapper.h"
#include "platform/device_nodes.h"
#include "sim/config_files.h"
#include "sim/notice.h"
#include "sim/device_nodes.h"
#include "sim/multilanguage.h"
#include "tests/gui/widget_support.h"
#include "tests/platform/input_support.h"
#include "tests/temp_dir.h"

namespace configtest {

// The windows' lines of the UI description.
constexpr const char* kWindowsScript =
    "cd /Display/Invisible/\n"
    "Append kxwindowinputdevices InputDevices\n"
    "Append kxwindowdevicegame DeviceGame\n"
    "Append kxwindowdeviceradio DeviceRadio\n"
    "Append svaircraftcontrolsettings AircraftControlSettings\n"
    "Append svconfigurationeasy ConfigurationEasy\n"
    "Append svconfigurationeditor ConfigurationEditor\n"
    "Append svconfigurationdelete ConfigurationDelete\n"
    "Append svchannelselect ChannelSelect\n"
    "DeviceGame/Text1 = \"centre\"\n"
    "DeviceGame/Text2 = \"ends\"\n"
    "DeviceRadio/Text1 = \"centre\"\n"
    "DeviceRadio/Text2 = \"ends\"\n"
    "InputDevices/Pinboard = /Pinboard/\n"
    "cd /\n";

constexpr const char* kWindowNames[] = {
    "InputDevices",      "DeviceGame",          "DeviceRadio",         "AircraftControlSettings",
    "ConfigurationEasy", "ConfigurationEditor", "ConfigurationDelete", "ChannelSelect"};

class windowtest : public inputtest::InputTreeTestOf<kxtest::widgettest> {
 protected:
  static void SetUpTestSuite() {
    widgettest::SetUpTestSuite();
    svconfig::RegisterTypes();
    kxtype::RegisterDerived(&svconfigfiles::Type, &kxnode::Type);
  }

  void SetUp() override {
    InputTreeTest::SetUp();
    folder_ = std::make_unique<kxtest::tempdir>(true);
    folder_->Write("config/.keep", "");
    sim::Language().Reset();
    files = new svconfigfiles;
    kxscript::Root()->AppendChild(files);
    sim::SetConfigFiles(files);
    ASSERT_EQ(sim::CreateMappers(), 1);
    kxscript::Execute(kWindowsScript, kxscript::Root());
    for (const char* name : kWindowNames) {
      kxnode* w = Window(name);
      ASSERT_NE(w, nullptr) << name;
      windows_.push_back(w);
    }
  }

  void TearDown() override {
    for (kxnode* w : windows_) delete w;
    windows_.clear();
    delete files;
    sim::SetConfigFiles(nullptr);
    sim::Language().Reset();
    folder_.reset();
    InputTreeTest::TearDown();
  }

  // A window wherever it is: hidden or shown.
  static kxnode* Window(const char* name) {
    std::string hidden = std::string("/Display/Invisible/") + name;
    std::string shown = std::string("/Display/Visible/") + name;
    kxnode* w = kxnode::Find(hidden.c_str());
    return w ? w : kxnode::Find(shown.c_str());
  }
  template <class T>
  static T* Get(const char* name) {
    return kxnode::As<T>(Window(name));
  }
  static bool Shown(const char* name) {
    kxnode* w = Window(name);
    return w && w->parent == kxnode::Find("/Display/Visible/");
  }
  // Runs a command text as a script or a widget would.
  static void Run(const char* command) { kxscript::Execute(command); }
  // The middle of a laid-out widget in screen pixels, through the scroll
  // offsets of the lists it sits in.
  static void Middle(const kxgraphic* widget, int* x, int* y) {
    *x = widget->W / 2;
    *y = widget->H / 2;
    for (const kxgraphic* g = widget; g && g != kxgui::Visible; g = g->ParentWidget()) {
      *x += g->X;
      *y += g->Y;
      if (const kxscroll* s = dynamic_cast<const kxscroll*>(g->ParentWidget())) *x += s->sx, *y += s->sy;
    }
  }
  void ClickOn(const kxgraphic* widget) {
    int x = 0, y = 0;
    Middle(widget, &x, &y);
    Click(x, y);
  }
  // A click on a laid-out widget's rightmost pixels, half way up.
  void ClickOnRightEdge(const kxgraphic* widget) {
    int x = 0, y = 0;
    Middle(widget, &x, &y);
    Click(x - widget->W / 2 + widget->W - 1, y);
  }
  void DoubleClickOn(const kxgraphic* widget) {
    int x = 0, y = 0;
    Middle(widget, &x, &y);
    Click(x, y);
    Mouse(kxcode::kMouseLeftDouble, x, y);
    Mouse(kxcode::kMouseLeftUp, x, y);
  }

  std::string File(const std::string& relative) const { return folder_->Read(relative); }
  void Put(const std::string& relative, const std::string& bytes) const { folder_->Write(relative, bytes); }

  // The children of a list column by name, in order, separated by blanks.
  static std::string Names(const kxnode* column) {
    std::string names;
    for (kxnode* n = column ? column->firstChild : nullptr; n; n = n->nextSibling)
      names += (names.empty() ? "" : " ") + n->name.Str();
    return names;
  }
  // The text of cell i (0 first) of a row.
  static std::string Cell(const kxnode* row, int i) {
    kxnode* n = row ? row->firstChild : nullptr;
    for (; n && i > 0; --i) n = n->nextSibling;
    kxtext* t = kxnode::As<kxtext>(n);
    return t ? t->Text.Str() : "<none>";
  }

  svconfigfiles* files = nullptr;
  std::unique_ptr<kxtest::tempdir> folder_;
  std::vector<kxnode*> windows_;
};

// Devices for the windows: cables and PadPilots of the fake transport, and
// SDL's virtual joysticks.
class cabletest : public windowtest {
 protected:
  void SetUp() override {
    windowtest::SetUp();
    ASSERT_EQ(sticks.Start(), 0);
  }
  void TearDown() override {
    windowtest::TearDown();  // closes the joysticks' handles first
    sticks.Stop();
  }

  // Lists the devices the fake transport and SDL offer and builds their nodes.
  void Search() {
    kxinput::SearchDevices(kxinput::kSearchEnumerate);
    kxinput::OpenJoysticks();
    sim::BuildDeviceNodes();
  }
  kxinputdevice* Record(int index) const {
    kxinputdevice* d = kxinput::FirstDevice();
    for (; d && index > 0; --index) d = d->next;
    return d;
  }
  // One frame of pulses in µs into the cable's record; the gap after it
  // ends the frame.
  void Send(int device, kxinputdevice* record, const std::vector<int>& pulsesUs) {
    auto reports = inputtest::CableFrame(pulsesUs);
    reports.push_back(inputtest::CableReport({10000}));
    Play(device, record, reports);
    usbinterface::Poll(record);
  }
  inputtest::virtualjoysticks sticks;
};

}  // namespace configtest
