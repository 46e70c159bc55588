// Registration of the GUI's types and creation of its root nodes.
#include "core/hooks.h"
#include "core/interpreter.h"
#include "gui/background.h"
#include "gui/color.h"
#include "gui/display.h"
#include "gui/gui.h"
#include "gui/icons.h"
#include "gui/menu.h"
#include "gui/window.h"
#include "platform/event_nodes.h"

namespace kxgui {

namespace {

// A root child by name, made when missing so a second call finds the first.
template <class T>
T* RootChild(kxnode* parent, const char* name) {
  if (kxnode* found = parent->FindChild(name)) return dynamic_cast<T*>(found);
  T* node = new T;
  if (!node) return nullptr;
  node->name = name;
  parent->AppendChild(node);
  return node;
}

}  // namespace

int RegisterTypes() {
  kxcolor4type::Register();
  // Every widget type with its true base, so a screen or a window can be
  // recognised whatever class a description file chose.
  kxtype::RegisterDerived(&kxgraphic::Type, &kxnode::Type);
  kxtype::RegisterDerived(&kxbackground::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxdisplay::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxmenuitem::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxpopup::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxpopupbar::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxpopupitem::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxwindow::Type, &kxgraphic::Type);
  RegisterWidgetTypes2();

  if (!LoadIcons()) kxcore::Log("kxgui:  icon sheets missing; icons are not drawn\n");

  // The display binding under "/Panel/" hands mouse, key and timer events here.
  kxdisplayhandlers handlers;
  handlers.mouse = OnMouse;
  handlers.key = OnKey;
  handlers.hover = OnTimer;
  input::SetDisplayHandlers(handlers);

  kxnode* root = kxscript::Root();
  if (!root) {
    kxcore::Log("kxgui:  no tree root; the GUI roots are not created\n");
    return 0;
  }
  Display = RootChild<kxdisplay>(root, "DPY");
  kxgraphic* display = RootChild<kxgraphic>(root, "Display");
  if (display) Invisible = RootChild<kxgraphic>(display, "Invisible");
  return 0;
}

}  // namespace kxgui
