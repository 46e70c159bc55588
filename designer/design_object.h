// svdesignobject: a component of the edited aircraft as the designer shows
// it - its display name, up to 16 property pages with a button each on the
// page bar, the page shown, and the routing of the viewer's mouse ray to
// that page. Exactly one object is current; at most one page is shown. The
// page bar owns the buttons: the current object puts its own there and
// they go when it stops being current, or with the bar.
#pragma once

#include "core/node.h"
#include "core/string.h"
#include "designer/camera.h"

class kxdbody;
class svdesignpage;

class svdesignobject : public kxnode {
 public:
  static kxtype Type;  // made only by code
  static constexpr int kPages = 16;
  static constexpr int kButtonStep = 44;  // px from one page button to the next

  // Named after the component, with the language's translation of the name
  // as display name; pages 0..15 are base pages until pages are added.
  explicit svdesignobject(kxdbody* edited);
  // Deletes the pages.
  ~svdesignobject() override;

  // The component in the viewer, pass 0 opaque and others transparent, then
  // the current page's drawing.
  virtual void Draw(int pass);
  // The pick ray to the current page (a handle drag); MouseUp also ends the
  // object's drag.
  virtual void MouseDown(const designray& ray);
  virtual void MouseMove(const designray& ray);
  virtual void MouseUp(const designray& ray);
  // Acts on nothing in every design object.
  virtual void SetProperty(const char* text);
  // Makes its page buttons on the page bar (right-aligned) and shows page 0.
  virtual void Activate();
  // Hides the shown page and deletes the page bar's buttons.
  virtual void Deactivate();

  // Hides the current page; an index 0..15 then shows that page and makes
  // the viewer mode object property.
  void OpenPage(int index);
  // Makes the page the next of the object's pages, titled with the text of
  // that text-table key; the object owns it. 0 when all 16 are in use.
  int AddPage(svdesignpage* page, const char* titleKey);

  kxdbody* component = nullptr;      // null only for a whole aircraft without a main body
  kxstring displayName;              // the title line and the Objects menu
  kxstring titles[kPages];           // tooltips of the page buttons
  int pageCount = 0;                 // pages with a button, 0..16
  int dragging = 0;                  // 1 while a press on the page drags; cleared on every mouse-up
  svdesignpage* currentPage = nullptr;
  svdesignpage* pages[kPages] = {};  // owned, never null

 protected:
  // With that name as node and display name, untranslated.
  svdesignobject(kxdbody* edited, const char* objectName);
};

namespace svdesign {

// The language's translation of a component name: the first object-name
// key equal to it whose translation is not empty; else the name itself.
kxstring TranslatedName(const char* name);

// Makes another object current (null: the whole aircraft). Between two
// components of the same type the open page stays open.
void SwitchObject(svdesignobject* next);

}  // namespace svdesign
