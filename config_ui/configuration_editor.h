// The advanced configuration editor ("ConfigurationEditor"): a control
// configuration function by function, 32 rows each with the function's
// name, its live output, travel, expo, reverse and the input that drives
// it; a click on the input opens the channel selection. It always saves the
// advanced form, so a configuration once saved here stays advanced.
#pragma once

#include "config_ui/control_config.h"
#include "config_ui/node_watch.h"
#include "sim/windows/window_functions.h"

class kxcolumn;
class kxdevicemapper;
class kxedit;
class kxeventcontroller;
class kxscroll;

class svconfigurationeditor : public simwindow, public svconfig::nodewatcher {
 public:
  static kxtype Type;
  static constexpr int kWidth = 640, kHeight = 440;  // px, resizable

  svconfigurationeditor();

  // "Open( name, unused )", "Ok", "Cancel", "AssignStart( f )",
  // "Assign( f, source )", "Invert( f )", then the window's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // Layout, then the title follows the name field.
  void Update() override;
  // The fields are applied first, so typing moves the live bars at once.
  void Draw(int ox, int oy) override;

  void Open(const char* name);
  void Ok();
  // Closes without saving; a configuration New made is deleted again.
  void Cancel();
  void AssignStart(int function);
  void Assign(int function, int source);
  void Invert(int function);
  // Row texts, boxes and fields from the mapper.
  void RefreshRows();
  // Travel and expo fields into the mapper, each clamped to 0..100 %.
  void ApplyFields();
  // Writes the advanced form; 1 or 0.
  int Save();

  kxcolumn* rows = nullptr;
  kxedit* nameField = nullptr;
  kxdevicemapper* mapper = nullptr;
  kxeventcontroller* controller = nullptr;
  kxscroll* listArea = nullptr;
  kxedit* travel[svconfig::kFunctions] = {};
  kxedit* expo[svconfig::kFunctions] = {};
  // A configuration New made, handed on by the easy editor after Open:
  // Cancel takes it back, Ok keeps it. Every Open clears it.
  svconfig::newconfiguration made;

 protected:
  void NodeGone(kxnode* node) override;

 private:
  void BuildRows();
  bool FunctionOk(int function, const char* what) const;
};
