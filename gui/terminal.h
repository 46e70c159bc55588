// kxterminal: a command console inside the program. Its first child is the
// edit line; every line run is kept as a text above it, newest first, and the
// oldest go when they no longer fit. The lines run in a context node that
// persists, so "cd /DPY/" holds for the lines after it. kxwindowterminal is
// the window that holds a scrolled terminal.
#pragma once

#include "gui/color.h"
#include "gui/graphic.h"
#include "gui/window.h"

class kxedit;

class kxterminal : public kxgraphic {
 public:
  static kxtype Type;
  static constexpr int kLineHeight = 16;  // px of a kept line and of the edit line

  kxedit* editLine = nullptr;        // first child; never dropped
  kxcolor4 background = {0, 0, 0, 0};
  kxnode* context = nullptr;         // where the next line runs; null: the interpreter's current node
  kxgraphic* history = nullptr;      // the line up/down reached; the edit line when none

  kxterminal();
  ~kxterminal() override;

  // "Execute( text )", then the base names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // Focus inside goes to the edit line; the children are stacked from the
  // edit line upward and those above the top are dropped.
  void Update() override;
  // Up and down walk the kept lines into the edit line.
  void OnKey(int character, int code) override;
  void OnLeftDown() override;
  void SetAlpha(float alpha) override;
  void Draw(int ox, int oy) override;

  // Keeps the edit line's text as history lines, clears it, and runs text in
  // the context node, which becomes the node current after the run.
  void Execute(const char* text);

  // Destroy notification: a node that goes is forgotten as context or history.
  static void NodeGone(kxnode* node);
};

class kxwindowterminal : public kxwindow {
 public:
  static kxtype Type;

  kxterminal* terminal = nullptr;  // inside the window's frame and scroll

  kxwindowterminal();
};
