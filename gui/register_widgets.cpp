// Registration of the widget library's types: the script-creatable widgets
// with their true bases, and the bases of the classes only code creates (so
// type tests on them work although scripts cannot name them).
#include "core/node.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/combo.h"
#include "gui/containers.h"
#include "gui/edit.h"
#include "gui/group_frame.h"
#include "gui/gui.h"
#include "gui/images.h"
#include "gui/indicators.h"
#include "gui/list_item.h"
#include "gui/screen_window.h"
#include "gui/scroll.h"
#include "gui/slider.h"
#include "gui/terminal.h"
#include "gui/text.h"
#include "gui/tree.h"

namespace kxgui {

void RegisterWidgetTypes2() {
  kxtype::RegisterDerived(&kxbutton::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxbuttontexture::Type, &kxbutton::Type);
  kxtype::RegisterDerived(&kxcolumn::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxcheckbox::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxedit::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxframe::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxgraph::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kximagepixel::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kximagetexture::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxrow::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxrectangle::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxscreenwindow::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxscroll::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxterminal::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxtext::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxtextcombo::Type, &kxtext::Type);
  kxtype::RegisterDerived(&kxtree::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&kxwindowosc::Type, &kxwindow::Type);
  kxtype::RegisterDerived(&kxwindowterminal::Type, &kxwindow::Type);

  kxclickbox::Type.base = &kxgraphic::Type;
  kxlabel::Type.base = &kxgraphic::Type;
  kxflow::Type.base = &kxgraphic::Type;
  kxiconbutton::Type.base = &kxgraphic::Type;
  kxslider::Type.base = &kxgraphic::Type;
  kxslidervalue::Type.base = &kxslider::Type;
  kxlistitem::Type.base = &kxtext::Type;
  kxverticaltext::Type.base = &kxtext::Type;
  kxcombolist::Type.base = &kxgraphic::Type;

  kxnode::AddDestroyListener(kxtree::NodeGone);
  kxnode::AddDestroyListener(kxterminal::NodeGone);
}

}  // namespace kxgui
