#include "designer/design_object.h"

#include "designer/buttons.h"
#include "designer/page.h"
#include "designer/state.h"
#include "designer/viewer_modes.h"
#include "dynamics/body.h"
#include "gui/background.h"
#include "sim/multilanguage.h"

kxtype svdesignobject::Type("svdesignobject", sizeof(svdesignobject));

svdesignobject::svdesignobject(kxdbody* edited) : svdesignobject(edited, edited ? edited->name.Text() : "") {
  displayName = svdesign::TranslatedName(name.Text());
}

svdesignobject::svdesignobject(kxdbody* edited, const char* objectName) : component(edited) {
  type = &Type;
  name = objectName;
  displayName = objectName;
  for (svdesignpage*& page : pages) page = new svdesignpage;
  titles[0] = sim::Language().Text("Properties");
}

svdesignobject::~svdesignobject() {
  svdesign::designstate& s = svdesign::State();
  if (s.pagedObject == this) s.pagedObject = nullptr;
  if (s.currentObject == this) s.currentObject = nullptr;
  for (svdesignpage* page : pages) delete page;
}

int svdesignobject::AddPage(svdesignpage* page, const char* titleKey) {
  if (!page || pageCount >= kPages) {
    delete page;
    return 0;
  }
  delete pages[pageCount];
  pages[pageCount] = page;
  titles[pageCount] = sim::Language().Text(titleKey);
  ++pageCount;
  return 1;
}

void svdesignobject::MouseDown(const designray& ray) {
  if (currentPage) dragging = currentPage->MouseDown(ray) ? 1 : 0;
}

void svdesignobject::MouseMove(const designray& ray) {
  if (currentPage) currentPage->MouseMove(ray);
}

void svdesignobject::MouseUp(const designray& ray) {
  if (currentPage) currentPage->MouseUp(ray);
  dragging = 0;
}

void svdesignobject::SetProperty(const char*) {}

void svdesignobject::Activate() {
  svdesign::designstate& s = svdesign::State();
  if (kxgraphic* bar = s.pageBar) {
    int screenWidth = s.screen ? s.screen->W : 0;
    bar->X = screenWidth - kButtonStep * pageCount;
    bar->W = kButtonStep * pageCount;
    bar->DeleteChildren();  // an earlier object's, should it not have let go
    for (int i = 0; i < pageCount; ++i) {
      kxstring command;
      command.Format("DesignObjectPropertyOpen( %d )", i);
      svdesignbutton* button = new svdesignbutton(command.Text(), "", 0);
      if (!button) continue;
      button->tooltip = titles[i];
      bar->AppendChild(button);
      button->X = kButtonStep * i;
      button->Y = 0;
      button->iconIndex = pages[i]->icon;
    }
  }
  currentPage = pages[0];
  if (currentPage) currentPage->Show();
  s.pagedObject = this;
}

void svdesignobject::Deactivate() {
  svdesign::designstate& s = svdesign::State();
  if (currentPage) {
    currentPage->Hide();
    currentPage = nullptr;
  }
  if (s.pageBar) {
    s.pageBar->DeleteChildren();
    s.pageBar->W = 0;
  }
  if (s.pagedObject == this) s.pagedObject = nullptr;
}

void svdesignobject::OpenPage(int index) {
  if (currentPage) {
    currentPage->Hide();
    currentPage = nullptr;
  }
  if (index < 0 || index >= kPages) return;
  currentPage = pages[index];
  if (currentPage) currentPage->Show();
  svdesign::State().currentMode = &svdesign::Modes().objectProperty;
}

namespace svdesign {

kxstring TranslatedName(const char* name) {
  const multilanguage& language = sim::Language();
  for (int i = 0; i < multilanguage::kObjects && !language.objectNames[i].Empty(); ++i) {
    if (language.objectNames[i].Equal(name) && !language.objectTrans[i].Empty()) return language.objectTrans[i];
  }
  return kxstring(name);
}

void SwitchObject(svdesignobject* next) {
  designstate& s = State();
  svdesignobject* current = s.currentObject;
  int keep = 0;
  if (next && current && next->component && current->component && next->component->type == current->component->type) {
    for (int i = 0; i < current->pageCount; ++i) {
      if (current->pages[i] == current->currentPage) keep = i;
    }
  }
  if (current) current->Deactivate();
  if (!next) {
    s.currentObject = s.aircraftObject;
    if (s.currentObject) s.currentObject->Activate();
    return;
  }
  s.currentObject = next;
  next->Activate();
  if (keep) next->OpenPage(keep);
}

}  // namespace svdesign
