// The input devices window ("InputDevices"): one line per joystick and
// transmitter node under the pinboard with its status and channel count, a
// new device search on request, and the calibration window of the chosen
// device.
#pragma once

#include "config_ui/node_watch.h"
#include "sim/windows/window_functions.h"

class kxcolumn;
class kxpinboard;
class kxrow;
class kxscroll;

class kxwindowinputdevices : public simwindow, public svconfig::nodewatcher {
 public:
  static kxtype Type;
  static constexpr int kWidth = 400, kHeight = 270;  // px, not resizable

  kxwindowinputdevices();

  // "Open", "OpenProperties", "RefreshDevices", "Select( row )",
  // "Pinboard", then the window's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  // The list anew, scrolled to the top; shown centred with the pointer
  // captured.
  void Open();
  // Shows the calibration window of the selected device and hides this one.
  void OpenProperties();
  // Searches the devices again and rebuilds their nodes and the list.
  void RefreshDevices();
  // One row per device node of the pinboard; the first selected.
  void RefreshList();
  // Selects a row of the list and recolours it; 0 for anything else.
  int Select(kxnode* row);

  kxcolumn* devices = nullptr;
  kxnode* pinboard = nullptr;  // a kxpinboard, or null
  kxrow* selection = nullptr;
  kxscroll* listArea = nullptr;

 protected:
  void NodeGone(kxnode* node) override;

 private:
  void Recolour();
};
