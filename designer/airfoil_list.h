// svdesignairfoillist: the airfoil selector of a wing page. A box with the
// chosen airfoil's outline and name; a click opens a drop-down list of every
// airfoil file by title, and choosing one closes it. Bound to one airfoil
// pointer of the component.
#pragma once

#include "gui/graphic.h"

class kxdairfoil;
class kxframe;

class svdesignairfoillist : public kxgraphic {
 public:
  static kxtype Type;  // made only by code
  static constexpr int kWidth = 136;   // px; the drawing keeps the box this size
  static constexpr int kHeight = 40;   // px

  kxframe* dropDown = nullptr;       // owned; a child of the selector while open
  kxdairfoil* selection = nullptr;   // may be null
  kxdairfoil** binding = nullptr;    // the component's member; null: unbound

  svdesignairfoillist(int x, int y, int w, int h, kxdairfoil** bound);
  ~svdesignairfoillist() override;

  // "SetAirfoil( title )": selects that airfoil (null when none has the
  // title) and closes the list. Other names go to kxgraphic.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  // Opens the list, or closes it when open. The list stands above the box
  // as laid out; in a low window it comes down until its top is below the
  // menu bar, and it keeps within the window's sides and bottom.
  void OnLeftDown() override;
  // Escape closes an open list and goes no further, so only the next one
  // leaves the designer. Other keys, and Escape while closed, go up.
  void OnKey(int character, int code) override;
  // Once the focus is elsewhere, closes the list and commits the shown page.
  void Update() override;
  void Draw(int ox, int oy) override;

  void Refresh() override;  // selection := the bound airfoil
  void Store();    // the bound airfoil := selection

  bool IsOpen() const;

 private:
  void PlaceDropDown();
  int listX_ = 0, listY_ = 0;  // px, the list's own place on the box
};
