// svdesignpage: one property page of a design object - a 400 x 50 panel of
// labels and widgets bound to members of the component - and the cycle that
// moves values between them: Show refreshes the widgets from the component,
// Store writes what the user edited back and runs the page's follow-up
// (limits, reshaping, analysis), Hide stores before the panel goes.
#pragma once

#include <vector>

#include "designer/camera.h"
#include "designer/page_fit.h"

class kxgraphic;
class kxtext;
class kxdbody;
class kxdairfoil;
class svdesignfield;
class svdesigncheck;
class svdesignairfoillist;

// The picture of a page's button: its cell in the designer's icon sheet
// (row-major, 8 to a row). The main wing (kxdwing00), the sectioned wings
// (kxdwing10) and the fins (kxdwing11, kxdwing12) each have their own.
enum class pageicon : int {
  kNone = 0,
  kThrust = 26,
  kGyro = 27,
  kMotor = 29,
  kBattery = 30,
  kGearRatio = 31,
  kCentreOfGravity = 32,
  kAirfoil = 33,
  kMass = 34,
  kWingWash = 35,
  kSideDrag = 36,
  kTopDrag = 37,
  kFinWash = 38,
  kWingIncidence = 40,
  kWingDihedral = 41,
  kDeflection = 42,
  kWingSpan = 43,
  kFinIncidence = 44,
  kFinSpan = 45,
  kFrontDrag = 46,
  kPropellerDiameter = 48,
  kPropellerPitch = 49,
  kDownThrust = 50,
  kRightThrust = 51,
  kMainWingSpan = 52,
  kMainWingIncidence = 53,
  kMainWingDihedral = 54,
  kFlap = 55,
  kMainWingWash = 57,
  kIdleSpeed = 58,
  kPower = 59,
  kTailRotorDiameter = 60,
  kRotorDiameter = 62,
  kRotorPitch = 63,
};

namespace units {
struct displayunit;
}

// One bound of a page's limit: a constant, or a member of the component
// times a scale plus an offset (a maximum speed at least twice the idle).
struct designbound {
  float constant = 0.0f;
  const float* member = nullptr;
  float scale = 1.0f;
  float offset = 0.0f;

  float Value() const { return member ? *member * scale + offset : constant; }
};

// A limit of a page's Store: the upper bound first, then the lower one.
struct designlimit {
  float* value;
  designbound upper;
  designbound lower;
};

// A field of a page's row: the bound float, its format and its unit.
struct designfieldspec {
  float* value;
  const char* format;
  const char* unit;
  float factor;
};

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
  svdesignpage(pageicon picture, kxdbody* edited);
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
  // ray of a handle drag; nothing on most pages. MouseDown: nonzero when
  // the press started a drag.
  virtual void Draw(int pass);
  virtual int MouseDown(const designray& ray);
  virtual void MouseMove(const designray& ray);
  virtual void MouseUp(const designray& ray);

  // Moves the widgets that the page bar covers or the window cuts off to
  // free places of the panel; a wide window shows the page's own places.
  void Fit();

  // Makes the next Store run the follow-up even when no field was edited
  // (a check box ticked, an airfoil chosen, a handle dragged).
  void MarkEdited() { edited_ = 1; }

  // The page's limits, run in order by the follow-up; then, with analyse
  // set, the component's analysis.
  void AddLimit(float* value, designbound upper, designbound lower);
  int analyse = 0;

  kxgraphic* panel = nullptr;    // owned; null on the base page
  int icon = 0;                  // picture of the page's button: a pageicon's cell
  kxdbody* component = nullptr;  // what the widgets are bound to

  // Building a page: labels, fields, check boxes and airfoil selectors on
  // the panel.
  // A label with the text-table text of key at (x, y), width text + 2.
  kxtext* AddLabel(const char* key, int x, int y);
  // A field showing a quantity of the display units as they are now.
  svdesignfield* AddField(int x, int y, float* value, const char* format, const units::displayunit& unit);
  svdesignfield* AddField(int x, int y, float* value, const char* format, const char* unit, float factor);
  // A label at (x, y) and its fields after it, 100 px apart; the fields
  // in order, null where one could not be made.
  std::vector<svdesignfield*> AddRow(const char* key, int x, int y, std::initializer_list<designfieldspec> fields);
  svdesigncheck* AddCheck(int x, int y, int* value);
  svdesignairfoillist* AddAirfoilList(int x, int y, int w, int h, kxdairfoil** value);
  // The x of a field placed after a label.
  static int AfterLabel(const kxtext* label);

 protected:
  // What Store runs after writing edited values: the page's limits, then
  // the analysis when the page asks for it. Pages that reshape meshes add
  // their own steps.
  virtual void FollowUp();
  void RunLimits();


 private:
  int edited_ = 0;
  std::vector<designlimit> limits_;
  std::vector<svdesign::fithome> homes_;  // the widgets' own places; taken at the first fit
};

namespace svdesign {

// Bounds of a limit.
inline designbound Fixed(float value) { return {value, nullptr, 1.0f, 0.0f}; }
inline designbound Member(const float* member, float scale = 1.0f, float offset = 0.0f) {
  return {0.0f, member, scale, offset};
}
// A row's field in a unit of the display units, or with its own unit.
designfieldspec Quantity(float* value, const char* format, const units::displayunit& unit, float scale = 1.0f);
inline designfieldspec Plain(float* value, const char* format, const char* unit, float factor) {
  return {value, format, unit, factor};
}

}  // namespace svdesign
