#include "designer/check_box.h"

#include "designer/page.h"
#include "designer/state.h"

kxtype svdesigncheck::Type("svdesigncheck", sizeof(svdesigncheck));

svdesigncheck::svdesigncheck(int x, int y, int w, int h, int* bound) : kxcheckbox(x, y, w, h), value(bound) {
  type = &Type;
}

void svdesigncheck::Update() {
  kxcheckbox::Update();
  Store();
  Refresh();
}

void svdesigncheck::Changed() {
  if (svdesignpage* page = svdesign::State().shownPage) page->MarkEdited();
}

void svdesigncheck::Store() {
  if (value) *value = checked ? 1 : 0;
}

void svdesigncheck::Refresh() {
  if (value) checked = *value != 0 ? 1 : 0;
}
