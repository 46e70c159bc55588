// svdesigncheck: a check box bound to an int flag of a component (0 or 1).
#pragma once

#include "gui/check_box.h"

class svdesigncheck : public kxcheckbox {
 public:
  static kxtype Type;  // made only by code

  int* value = nullptr;  // null: the box stores nothing

  svdesigncheck(int x, int y, int w, int h, int* bound);

  // The layout, then Store and Refresh: the flag follows the box every frame.
  void Update() override;
  // A tick by the user counts as an edit of the shown page.
  void Changed() override;

  void Store();    // flag := 1 or 0
  void Refresh() override;  // ticked when the flag is not 0
};
