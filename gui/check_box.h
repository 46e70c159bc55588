// Two-state controls with a label: kxcheckbox toggles and runs OnCheck or
// OnUncheck; kxiconbutton is an option button - selecting it clears the
// option buttons among its siblings. Both act on a release that follows a
// press on them.
#pragma once

#include "core/string.h"
#include "gui/graphic.h"

class kxcheckbox : public kxgraphic {
 public:
  static kxtype Type;

  int checked = 0;
  int armed = 0;    // pressed and not yet released or dragged off
  kxstring label;   // set by the application
  kxstring OnCheck;
  kxstring OnUncheck;

  kxcheckbox();
  kxcheckbox(int x, int y, int w, int h);

  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void OnLeftDown() override { armed = 1; }
  void OnMove() override;
  void OnLeftUp() override;
  void Draw(int ox, int oy) override;
  // Called after every toggle; derived boxes update what they stand for.
  virtual void Changed() {}
};

class kxiconbutton : public kxgraphic {
 public:
  static kxtype Type;  // made only by code, never registered

  kxstring Text;
  int selected = 0;
  int armed = 0;
  int disabled = 0;
  kxstring OnPress;

  kxiconbutton();
  kxiconbutton(int x, int y, int w, int h);

  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void OnLeftDown() override;
  void OnMove() override;
  void OnLeftUp() override;
  // Nothing of its own while the hidden flag is set.
  void Draw(int ox, int oy) override;
  // Selects this one and clears its sibling option buttons, without a command.
  void Select();
};
