// The designer's module state: what the start-up builds once, what each
// entry fills and the teardown empties again. One record, so the entry, the
// commands, the widgets and the tests all read the same fields.
#pragma once

#include <vector>

#include "core/string.h"

#include "designer/camera.h"
#include "designer/pointer.h"
#include "sim/modes.h"

class kxnode;
class kxgraphic;
class kxbackground;
class kxpopup;
class kxwindow;
class kxlistitem;
class kxedit;
class kxdaircraftinstance;
class svdesignmode;
class svdesignobject;
class svdesignpage;
class svdesignpanel;
class svairfoilwindow;
struct kxtexture;

namespace svdesign {

// px, the menu bar along the screen's top: drawn over, and hit before,
// everything below it.
constexpr int kMenuBarHeight = 22;

// The designer edits player 1's aircraft, the one in instance slot 0.
constexpr int kDesignedPlayer = 0;

struct designstate {
  // Built by Init; alive until the tree goes.
  kxnode* root = nullptr;              // "/Design"
  kxbackground* screen = nullptr;      // "/Design/Visible": shown while the designer runs
  kxgraphic* invisible = nullptr;      // "/Design/Invisible": menus and dialogs while hidden
  kxpopup* menuFile = nullptr;
  kxpopup* menuEdit = nullptr;         // the new-component commands
  kxpopup* menuObjects = nullptr;      // one entry per design object while the designer runs
  kxgraphic* pageHolder = nullptr;     // 0 x 0; holds the shown page's panel
  svdesignpanel* pageBar = nullptr;    // the current object's page buttons
  kxtexture* buttonFrames = nullptr;   // "texture/svd00.bmp"; null when it did not load
  kxtexture* buttonIcons = nullptr;    // "texture/svd01.bmp"; null when it did not load
  kxwindow* saveAsDialog = nullptr;    // "DialogSaveAs"
  kxlistitem* saveAsPrompt = nullptr;
  kxlistitem* saveAsMessage = nullptr;
  kxedit* saveAsName = nullptr;
  svairfoilwindow* airfoilWindow = nullptr;  // "Airfoil Properties"; no command opens it
  svdesigncamera camera;
  designpointer pointer;
  int sideFlag = 0;                    // 1: the next side view shows the right side; kept across entries
  int frontFlag = 0;                   // 1: the next front view looks forward from behind; kept across entries
  int toolbarBuilt = 0;                // the first entry builds the toolbar, later ones keep it
  kxstring previousName;               // the aircraft's name before the last Save As; "" before any
  kxstring previousDirectory;          // its folder then; the mesh export compares with it

  // Set while the designer runs; the teardown clears them.
  kxdaircraftinstance* aircraft = nullptr;   // the aircraft being edited, always slot 0
  std::vector<svdesignobject*> objects;      // one per top-level component, in component order; owned
  svdesignobject* aircraftObject = nullptr;  // the whole aircraft; owned
  svdesignobject* currentObject = nullptr;   // what the title line and the mouse commands use
  svdesignobject* pagedObject = nullptr;     // whose page buttons are on the page bar
  svdesignpage* shownPage = nullptr;         // whose panel is in the page holder
  svdesignmode* currentMode = nullptr;       // null reads as the default mode
  float aircraftLength = 1.0f;               // m, main body length within 1..5; scales the views
  int topFlag = 0;                           // 1: the next top view looks from below
  int newAircraft = 0;                       // 1 while Save As was opened on entry for a locked aircraft
  sim::designerreturn back = sim::designerreturn::kMenu;  // where leaving goes, as Open was told
};

designstate& State();

}  // namespace svdesign
