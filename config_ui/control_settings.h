// The "Aircraft Control Settings" window: every control configuration in
// "config/" with its description and type, which one each aircraft flies
// with (assigned by a click), and New, Properties and Delete; and the
// window that confirms a deletion or refuses it for a configuration in use.
#pragma once

#include "config_ui/node_watch.h"
#include "core/string.h"
#include "sim/windows/window_functions.h"

class kxbutton;
class kxcolumn;
class kxlistitem;
class kxrow;
class kxscroll;

class svaircraftcontrolsettings : public simwindow, public svconfig::nodewatcher {
 public:
  static kxtype Type;
  static constexpr int kWidth = 450, kHeight = 270;  // px, not resizable

  svaircraftcontrolsettings();

  // "Open", "ConfigurationSelect( row )", "ConfigurationAssign( row, i )",
  // "ConfigurationOpen", "ConfigurationNew", "ConfigurationDelete",
  // "ConfigurationDelete2", then the window's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  // Lists, selects the first row, marks; shown centred with the pointer.
  void Open();
  // One row per "config/*.kxa", in byte order of the names.
  void ListConfigurations();
  // Colours the selection and turns the aircraft boxes on for the
  // configurations the players' mappers hold.
  void Mark();
  int Select(kxnode* row);
  // Makes the row's configuration player index + 1's: "config/config.kxc"
  // written, both players' configurations reloaded. Other indexes only mark.
  void Assign(kxnode* row, int index);
  void OpenSelected();
  // Creates "config/acftNN.kxa" with the smallest free NN in the easy
  // window and assigns it to player 1.
  void New();
  void AskDelete();
  // Deletes the selected configuration, unless an aircraft uses it.
  void DeleteSelected();

  // 1 when a player's mapper holds the configuration of that name.
  static int InUse(const kxstring& stem);

  kxcolumn* rows = nullptr;
  kxrow* selection = nullptr;
  kxscroll* listArea = nullptr;

 protected:
  void NodeGone(kxnode* node) override;
};

class svconfigurationdelete : public simwindow {
 public:
  static kxtype Type;
  static constexpr int kWidth = 200, kHeight = 150;  // px

  svconfigurationdelete();
  ~svconfigurationdelete() override;

  // "Open( in use )", "Ok", "Cancel", "TextNo", "TextReally", then the
  // window's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  void Open(int inUse);
  void Ok();
  void Cancel();

  kxlistitem* message = nullptr;
  int inUse = 0;
  kxbutton* cancelButton = nullptr;  // out of the window while a deletion is refused
  kxstring TextNo = "Cannot delete a configuration that is used to control an aircraft";
  kxstring TextReally = "Are you sure you want to delete this configuration ?";
};
