// The designer's start-up: its types, the "/Design" tree with screen, menus,
// page holder, page bar and dialogs, the button pictures and the commands.
#include "core/interpreter.h"
#include "core/type.h"
#include "designer/airfoil_graph.h"
#include "designer/airfoil_list.h"
#include "designer/buttons.h"
#include "designer/check_box.h"
#include "designer/commands.h"
#include "designer/design_object.h"
#include "designer/designer.h"
#include "designer/save_dialog.h"
#include "designer/state.h"
#include "sim/units.h"
#include "designer/viewer_modes.h"
#include "designer/field.h"
#include "designer/new_components.h"
#include "graphics/texture_table.h"
#include "gui/background.h"
#include "gui/images.h"
#include "gui/menu.h"
#include "platform/log.h"
#include "sim/app_hooks.h"

namespace svdesign {

namespace {

constexpr char kFramesPath[] = "texture/svd00.bmp";
constexpr char kIconsPath[] = "texture/svd01.bmp";
// The grey menu strip along the top, one pixel beyond the top and the right
// edge so no seam shows.
constexpr int kMenuStripOverlap = -1;
const kxcolor4 kMenuStripGrey = {0.8f, 0.8f, 0.8f, 1.0f};
// The page bar's place until an object puts it right-aligned.
constexpr int kPageBarX = 550, kPageBarY = 38, kPageBarHeight = 40;

void RegisterTypes() {
  kxtype::RegisterDerived(&svdedit::Type, &kxedit::Type);
  kxtype::RegisterDerived(&svdesignfield::Type, &svdedit::Type);
  kxtype::RegisterDerived(&svdesigncheck::Type, &kxcheckbox::Type);
  kxtype::RegisterDerived(&svdesignairfoillist::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&svairfoilgraph::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&svairfoilwindow::Type, &kxwindow::Type);
  kxtype::RegisterDerived(&svdesignpanel::Type, &kxgraphic::Type);
  kxtype::RegisterDerived(&svdesignbutton::Type, &kxbutton::Type);
  kxtype::RegisterDerived(&svdesignobject::Type, &kxnode::Type);
}

template <class T>
T* Append(kxnode* parent, T* child, const char* name) {
  if (!parent || !child) return child;
  child->name = name;
  parent->AppendChild(child);
  return child;
}

kxmenuitem* MenuTitle(kxgraphic* screen, const char* text, const char* action) {
  kxmenuitem* item = Append(screen, new kxmenuitem, text);
  if (item) {
    item->Text = text;
    item->Action = action;
  }
  return item;
}

kxpopupitem* MenuEntry(kxpopup* menu, const char* name, const char* text, const char* command) {
  return Append(menu, new kxpopupitem(text, command, 0), name);
}

void BuildScreen(designstate& s) {
  s.screen = Append(s.root, new kxbackground, "Visible");
  s.invisible = Append(s.root, new kxgraphic(0, 0, 0, 0), "Invisible");
  if (!s.screen) return;
  MenuTitle(s.screen, "File", "/Design/Invisible/MenuFile/Show");
  MenuTitle(s.screen, "Edit", "/Design/Invisible/MenuEdit/Show");
  MenuTitle(s.screen, "Objects", "/Design/Invisible/MenuObjects/Show");
  s.pageHolder = Append(s.screen, new kxgraphic(0, 0, 0, 0), "PageHolder");
  kxrectangle* strip = Append(s.screen, new kxrectangle(0, 0, 0, kMenuBarHeight), "MenuStrip");
  if (strip) {
    strip->Color = kMenuStripGrey;
    strip->Wr = kMenuStripOverlap;
    strip->Yr = kMenuStripOverlap;
  }
}

void BuildMenus(designstate& s) {
  s.menuFile = Append(s.invisible, new kxpopup, "MenuFile");
  if (s.menuFile) {
    MenuEntry(s.menuFile, "SaveAs", "Save As...", "copysystemdialog");
    MenuEntry(s.menuFile, "Save", "Save", "savesystem");
    s.menuFile->AppendChild(new kxpopupbar);
    MenuEntry(s.menuFile, "GoBack", "Back to main menu", "DesignGoBack");
  }
  // The only way to add a component; it gets its design object at the
  // designer's next entry.
  s.menuEdit = Append(s.invisible, new kxpopup, "MenuEdit");
  if (s.menuEdit) {
    for (const newcomponent& c : kNewComponents) {
      kxstring text;
      text.Format("New %s", c.stem);
      MenuEntry(s.menuEdit, c.command, text.Text(), c.command);
    }
  }
  s.menuObjects = Append(s.invisible, new kxpopup, "MenuObjects");
}

kxtexture* LoadButtonPicture(const char* path) {
  return kxgl::LoadTexture(path);
}

}  // namespace

void Init() {
  Reset();
  designstate& s = State();
  RegisterTypes();
  s.root = Append(kxscript::Root(), new kxnode, "Design");
  BuildScreen(s);
  s.buttonFrames = LoadButtonPicture(kFramesPath);
  s.buttonIcons = LoadButtonPicture(kIconsPath);
  BuildMenus(s);
  RegisterCommands();
  s.camera = svdesigncamera();
  s.pageBar = new svdesignpanel;
  if (s.pageBar && s.screen) {
    s.pageBar->name = "PageBar";
    s.pageBar->X = kPageBarX;
    s.pageBar->Y = kPageBarY;
    s.pageBar->W = 0;
    s.pageBar->H = kPageBarHeight;
    s.screen->AddChild(s.pageBar);
  }
  BuildSaveAsDialog(s.invisible);
  s.airfoilWindow = Append(s.invisible, new svairfoilwindow, "AirfoilProperties");
  units::SetMetric();
  kxsystem::Log("svdesign: init ok\n");
}

void Reset() {
  designstate& s = State();
  // Once the tree is gone (the program's end), a shown page's panel went
  // with it: the objects are then forgotten, not deleted.
  if (s.root && kxnode::Find("/Design") == s.root) {
    Teardown();
    delete s.root;
  }
  s = designstate();
  ForgetCommandNotes();
}

void InstallHooks(sim::applicationhooks* hooks) {
  if (!hooks) return;
  hooks->designer_init = Init;
  hooks->designer_open = Open;
}

}  // namespace svdesign
