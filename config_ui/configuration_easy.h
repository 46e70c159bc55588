// The easy configuration window ("ConfigurationEasy"): a control
// configuration set up as nine aircraft functions instead of 32 channels.
// The user picks the device (USB 1 or 2, joystick 1 or 2), one of 18 inputs
// per row, and travel, expo and reverse per row, while the input monitor
// shows the device's inputs live. It edits the configuration windows' own
// mapper by the easy mapping and writes the easy form of the file; an
// advanced configuration is handed to the advanced editor instead.
#pragma once

#include "config_ui/control_config.h"
#include "config_ui/node_watch.h"
#include "sim/windows/window_functions.h"

class kxcheckbox;
class kxdevicemapper;
class kxedit;
class kxeventcontroller;
class kxiconbutton;

// The live inputs of one device: 18 bars for its 8 channels, 4 buttons and
// the 6 keypad values.
class kxinputmonitor : public kxgraphic {
 public:
  static kxtype Type;  // made only by code
  static constexpr int kBars = 18;
  static constexpr int kPitch = 20;  // px from bar to bar
  static constexpr int kBarWidth = 12;

  kxinputmonitor();
  void Draw(int ox, int oy) override;
  // The slot bar i shows: base + i for the device's 12 inputs, then the
  // keypad's 201, 202, 204-207.
  int Slot(int i) const;

  int base = 600;  // first slot of the device shown
};

class svconfigurationeasy : public simwindow, public svconfig::nodewatcher {
 public:
  static kxtype Type;
  static constexpr int kWidth = 640, kHeight = 460;  // px, not resizable

  svconfigurationeasy();

  // "Open( name, new )", "Ok", "Cancel", "Advanced", "Invert( row, on )",
  // "FunctionChange( row, input )", "DeviceChange( device )", then the
  // window's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // Layout, then the title follows the name field.
  void Update() override;

  // Loads configuration name into the window (a new one with the defaults,
  // saved at once); an advanced one goes to the advanced editor.
  void Open(const char* name, int isNew);
  void Ok();
  // Closes without saving; a configuration New made is deleted again.
  void Cancel();
  void Advanced();
  void Invert(int row, int on);
  void FunctionChange(int row, int input);
  // device 1 USB 1, 2 USB 2, 3 joystick 1, 4 joystick 2.
  void DeviceChange(int device);
  // The fields, buttons and boxes from the mapper.
  void RefreshView();
  // Travel and expo fields into the mapper.
  void ApplyFields();
  // Writes the easy form of the configuration; 1 or 0.
  int Save();
  // What the buttons show: the device buttons on, each row's input.
  svconfig::easystate State() const;

  kxdevicemapper* mapper = nullptr;
  kxeventcontroller* controller = nullptr;
  kxedit* nameField = nullptr;
  kxiconbutton* devices[svconfig::kEasyDevices] = {};  // joystick 1, joystick 2, USB 1, USB 2
  kxgraphic* rows[svconfig::kEasyRows] = {};           // each holds the row's 18 input buttons
  kxinputmonitor* monitor = nullptr;
  kxcheckbox* reverse[svconfig::kEasyRows] = {};
  kxedit* expo[svconfig::kEasyRows] = {};
  kxedit* travel[svconfig::kEasyRows] = {};
  // What Cancel takes back; Advanced hands it on to the advanced editor.
  svconfig::newconfiguration made;

 protected:
  void NodeGone(kxnode* node) override;

 private:
  void ShowInputs();
  kxiconbutton* Input(int row, int j) const;
};
