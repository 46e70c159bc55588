// The channel selection ("ChannelSelect"): every input the program knows,
// each with a live bar of its pinboard slot. The user moves a stick, sees
// which bar moves and clicks that line; the advanced editor's function then
// takes that input.
#pragma once

#include "config_ui/node_watch.h"
#include "sim/windows/window_functions.h"

class kxcolumn;
class kxpinboard;
class kxscroll;

class svchannelselect : public simwindow, public svconfig::nodewatcher {
 public:
  static kxtype Type;
  static constexpr int kWidth = 350, kHeight = 350;  // px
  static constexpr int kInputs = 61;

  svchannelselect();

  // "Open( function )", "Selectx( row, source )", "Ok", "Cancel", then the
  // window's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  // Builds the list on the first call, with the texts of that moment.
  void Open(int function);
  void Selectx(int row, int source);
  // Hides and hands the source to the editor.
  void Ok();
  void Cancel();

  // The source of line i of the list; -1 outside it.
  static int SourceOfLine(int i);

  int function = 0;
  int source = 0;
  int row = 0;
  kxscroll* list = nullptr;
  kxcolumn* rows = nullptr;

 protected:
  void NodeGone(kxnode* node) override;

 private:
  void BuildList();
  // Points the bars at the slots of the pinboard there is now; none without.
  void BindBars(kxpinboard* board);
  bool built_ = false;
  kxpinboard* board_ = nullptr;  // the bars' pinboard
};
