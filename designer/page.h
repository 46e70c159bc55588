// svdesignpage: one property page of a design object - a 400 x 50 panel of
// labels and widgets bound to members of the component - and the cycle that
// moves values between them: Show refreshes the widgets from the component,
// Store writes what the user edited back and runs the page's follow-up
// (limits, reshaping, analysis), Hide stores before the panel goes.
#pragma once

#include "designer/camera.h"

class kxgraphic;
class kxtext;
class kxdbody;
class svdesignfield;

namespace units {
struct displayunit;
}

class svdesignpage {
 public:
  static constexpr int kPanelWidth = 400;   // px
  static constexpr int kPanelHeight = 50;   // px
  static constexpr int kFieldWidth = 80;    // px
  static constexpr int kFieldHeight = 20;   // px
  static constexpr int kLabelGap = 8;       // px between a label and its field
  static constexpr int kNextField = 100;    // px between the fields of one label

  // The base page: no panel, nothing to show or store.
  svdesignpage() = default;
  // A page with its panel, for that component.
  svdesignpage(int iconNumber, kxdbody* edited);
  svdesignpage(const svdesignpage&) = delete;
  svdesignpage& operator=(const svdesignpage&) = delete;
  // Destroys the panel with its widgets.
  virtual ~svdesignpage();

  // Puts the panel into the page holder, gives the first field the focus,
  // refreshes and becomes the shown page.
  virtual void Show();
  // Stores, then takes the panel off the screen.
  virtual void Hide();
  // Every widget from the component.
  virtual void Refresh();
  // The fields the user edited, every check box and airfoil selector; then,
  // when anything was edited, the follow-up.
  virtual void Store();
  // Drawing in the viewer (pass 0 opaque, else transparent) and the mouse
  // ray of a handle drag; nothing on most pages.
  virtual void Draw(int pass);
  virtual void MouseDown(const designray& ray);
  virtual void MouseMove(const designray& ray);
  virtual void MouseUp(const designray& ray);

  // Makes the next Store run the follow-up even when no field was edited
  // (a check box ticked, an airfoil chosen, a handle dragged).
  void MarkEdited() { edited_ = 1; }

  kxgraphic* panel = nullptr;    // owned; null on the base page
  int icon = 0;                  // picture of the page's button
  kxdbody* component = nullptr;  // what the widgets are bound to

 protected:
  // What Store runs after writing edited values: the page's limits,
  // reshaping and analysis.
  virtual void FollowUp() {}

  // A label with the text-table text of key at (x, y), width text + 2.
  kxtext* AddLabel(const char* key, int x, int y);
  // A field showing a quantity of the display units as they are now.
  svdesignfield* AddField(int x, int y, float* value, const char* format, const units::displayunit& unit);
  svdesignfield* AddField(int x, int y, float* value, const char* format, const char* unit, float factor);
  // The x of a field placed after a label.
  static int AfterLabel(const kxtext* label);

 private:
  int edited_ = 0;
};
