#include "designer/page.h"

#include "designer/airfoil_list.h"
#include "designer/check_box.h"
#include "designer/buttons.h"
#include "designer/clamp.h"
#include "designer/field.h"
#include "designer/state.h"
#include "dynamics/body.h"
#include "gui/background.h"
#include "gui/gui.h"
#include "gui/text.h"
#include "sim/multilanguage.h"
#include "sim/units.h"

svdesignpage::svdesignpage(pageicon picture, kxdbody* edited)
    : panel(new kxgraphic(0, 0, kPanelWidth, kPanelHeight)), icon(static_cast<int>(picture)), component(edited) {}

svdesignpage::~svdesignpage() {
  svdesign::designstate& s = svdesign::State();
  if (s.shownPage == this) s.shownPage = nullptr;
  delete panel;
}

void svdesignpage::Fit() {
  svdesign::designstate& s = svdesign::State();
  if (!panel || !s.screen) return;
  if (homes_.empty()) homes_ = svdesign::HomesOf(panel);
  // The panel's origin on the screen: the page holder's and its own.
  int ox = panel->X + (s.pageHolder ? s.pageHolder->X : 0), oy = panel->Y + (s.pageHolder ? s.pageHolder->Y : 0);
  svdesign::fitroom room;
  room.window = {-ox, -oy, s.screen->W, s.screen->H};
  if (const kxgraphic* bar = s.pageBar) room.bar = {bar->X - ox, bar->Y - oy, bar->W, bar->H};
  svdesign::FitPanel(homes_, room);
}

void svdesignpage::Show() {
  svdesign::designstate& s = svdesign::State();
  if (panel && s.pageHolder) {
    s.pageHolder->AppendChild(panel);
    Fit();
    for (kxnode* c = panel->firstChild; c; c = c->nextSibling) {
      if (svdedit* field = dynamic_cast<svdedit*>(c)) {
        kxgui::Focus = field;
        break;
      }
    }
  }
  Refresh();
  s.shownPage = this;
}

void svdesignpage::Hide() {
  Store();
  if (panel) panel->Unlink();
  svdesign::designstate& s = svdesign::State();
  if (s.shownPage == this) s.shownPage = nullptr;
}

void svdesignpage::Refresh() {
  if (!panel) return;
  for (kxnode* c = panel->firstChild; c; c = c->nextSibling) {
    if (svdesignfield* field = dynamic_cast<svdesignfield*>(c)) field->Refresh();
    else if (svdesigncheck* check = dynamic_cast<svdesigncheck*>(c)) check->Refresh();
    else if (svdesignairfoillist* list = dynamic_cast<svdesignairfoillist*>(c)) list->Refresh();
  }
}

/* Only what the user edited is written: viewing a page must not change the
   aircraft. Writing every field back, as a plain Store would, rounds each
   value to its display precision (power to 10 W, a centre of gravity to
   1 mm) and reruns the reshaping and analysis whenever a page is merely
   opened and left. */
void svdesignpage::Store() {
  if (!panel) return;
  int any = edited_;
  edited_ = 0;
  for (kxnode* c = panel->firstChild; c; c = c->nextSibling) {
    if (svdesignfield* field = dynamic_cast<svdesignfield*>(c)) {
      if (!field->Edited()) continue;
      field->Apply();
      any = 1;
    } else if (svdesigncheck* check = dynamic_cast<svdesigncheck*>(c)) {
      check->Store();
    } else if (svdesignairfoillist* list = dynamic_cast<svdesignairfoillist*>(c)) {
      list->Store();
    }
  }
  if (any) FollowUp();
}

void svdesignpage::Draw(int) {}
int svdesignpage::MouseDown(const designray&) { return 0; }
void svdesignpage::MouseMove(const designray&) {}
void svdesignpage::MouseUp(const designray&) {}

kxtext* svdesignpage::AddLabel(const char* key, int x, int y) {
  kxtext* label = new kxtext(sim::Language().Text(key), x, y);
  if (label && panel) panel->AppendChild(label);
  return label;
}

svdesignfield* svdesignpage::AddField(int x, int y, float* value, const char* format, const units::displayunit& unit) {
  return AddField(x, y, value, format, unit.name.Text(), unit.factor);
}

svdesignfield* svdesignpage::AddField(int x, int y, float* value, const char* format, const char* unit, float factor) {
  svdesignfield* field = new svdesignfield(x, y, kFieldWidth, kFieldHeight, value, format, unit, factor);
  if (field && panel) panel->AppendChild(field);
  return field;
}

void svdesignpage::AddLimit(float* value, designbound upper, designbound lower) {
  if (value) limits_.push_back({value, upper, lower});
}

void svdesignpage::RunLimits() {
  for (const designlimit& l : limits_) svdesign::ClampUpperThenLower(*l.value, l.upper.Value(), l.lower.Value());
}

void svdesignpage::FollowUp() {
  RunLimits();
  if (analyse && component) component->Analyse();
}

std::vector<svdesignfield*> svdesignpage::AddRow(const char* key, int x, int y,
                                                 std::initializer_list<designfieldspec> fields) {
  std::vector<svdesignfield*> made;
  int fieldX = AfterLabel(AddLabel(key, x, y));
  for (const designfieldspec& f : fields) {
    made.push_back(AddField(fieldX, y, f.value, f.format, f.unit, f.factor));
    fieldX += kNextField;
  }
  return made;
}

svdesigncheck* svdesignpage::AddCheck(int x, int y, int* value) {
  svdesigncheck* check = new svdesigncheck(x, y, kFieldWidth, kFieldHeight, value);
  if (check && panel) panel->AppendChild(check);
  return check;
}

svdesignairfoillist* svdesignpage::AddAirfoilList(int x, int y, int w, int h, kxdairfoil** value) {
  svdesignairfoillist* list = new svdesignairfoillist(x, y, w, h, value);
  if (list && panel) panel->AppendChild(list);
  return list;
}

namespace svdesign {

designfieldspec Quantity(float* value, const char* format, const units::displayunit& unit, float scale) {
  return {value, format, unit.name.Text(), unit.factor * scale};
}

}  // namespace svdesign

int svdesignpage::AfterLabel(const kxtext* label) { return label ? label->X + label->W + kLabelGap : kLabelGap; }
