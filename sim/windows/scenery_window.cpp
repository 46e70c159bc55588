#include "sim/windows/scenery_window.h"

#include <cstring>
#include <string>

#include "graphics/texture_table.h"
#include "gui/button.h"
#include "gui/containers.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/display.h"
#include "gui/images.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "platform/file_lists.h"
#include "sim/menu_state.h"
#include "sim/player.h"
#include "sim/scenery.h"
#include "sim/views/loading_screen.h"
#include "sim/windows/window_functions.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr int kWidth = 480, kHeight = 360;           // px, also the smallest size
constexpr int kTileWidth = 112, kTileHeight = 94;    // px
constexpr int kPictureX = 24, kPictureY = 20, kPictureSize = 64;  // px
constexpr int kNameHeight = 20;                      // px
// From a tile's picture button up to the window: tile, flow, scroll, frame.
constexpr char kSelect[] = "../../../../../Select( Name )";
constexpr char kSelectAndLoad[] = "../../../../../Select( Name );../../../../../Load";

class wndloadscenery : public simwindow {
 public:
  kxflow* tiles = nullptr;
  kxscroll* scroll = nullptr;
  kxframe* frame = nullptr;
  kxstring selected;

  wndloadscenery() {
    name = "wndLoadScenery";
    Title = "Select Scenery";
    W = minWidth = kWidth;
    H = minHeight = kHeight;
    EnableResize = 1;
    AddButton(this, 0, 10, 0, 0, 110, 0, "Load", "../Load", "wndloadsceneload");
    AddButton(this, 0, 10, 0, 0, 10, 0, "Cancel", "../Hide", "wndloadscenecancel");
    frame = AddFrame(this, 2, 44, 0, 0, 2, 22);
    scroll = AddScroll(frame, 2, 2, 0, 0, 2, 2);
    tiles = AddFlow(scroll, 10, 10, 0, 200, 10, 0);
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) Open();
    else if (std::strcmp(member, "Load") == 0) Load();
    else if (std::strcmp(member, "Select") == 0) Select(args.String(0).Text());
    else return kxwindow::GetMember(member, args);
    return kxvoid();
  }

 private:
  void ClearTiles() {
    if (!tiles) return;
    for (kxnode* tile = tiles->firstChild; tile; tile = tile->nextSibling)
      for (kxnode* n = tile->firstChild; n; n = n->nextSibling)
        if (kxbuttontexture* b = kxnode::As<kxbuttontexture>(n)) kxgl::FreeTexture(b->texture);
    tiles->DeleteChildren();
  }

  void AddTile(const std::string& scenery) {
    kxrectangle* tile = new kxrectangle(0, 0, kTileWidth, kTileHeight);
    if (!tile) return;
    tile->name = scenery.c_str();
    tile->Color = kxgui::kWhite;
    tiles->AppendChild(tile);
    if (kxtext* label = new kxtext(scenery.c_str(), 0, 0, kTileWidth, kNameHeight)) {
      label->centre = 1;
      tile->AppendChild(label);
    }
    kxbuttontexture* picture = new kxbuttontexture;
    if (!picture) return;
    picture->name = scenery.c_str();
    picture->X = kPictureX;
    picture->Y = kPictureY;
    picture->W = picture->H = kPictureSize;
    std::string path = "scenery/" + scenery + ".bmp";
    picture->texture = kxgl::LoadTexture(path.c_str(), {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear});
    kxgl::UploadTexture(picture->texture);
    picture->OnPress = kSelect;
    picture->OnLeftDoubleText = kSelectAndLoad;
    tile->AppendChild(picture);
  }

  void Open() {
    kxgui::Focus = this;
    selected = "";
    ClearTiles();
    if (tiles)
      for (const std::string& scenery : kxsystem::ListFiles("scenery/*.geo", 0, 0)) AddTile(scenery);
    ShowWindow(this);
  }

  void Select(const char* scenery) {
    selected = scenery;
    if (!tiles) return;
    for (kxnode* n = tiles->firstChild; n; n = n->nextSibling) {
      kxrectangle* tile = kxnode::As<kxrectangle>(n);
      if (!tile) continue;
      bool chosen = tile->name.Equal(selected);
      tile->Color = chosen ? kxgui::Palette(kxgui::kColorSelection) : kxgui::kWhite;
      for (kxnode* c = tile->firstChild; c; c = c->nextSibling)
        if (kxtext* label = kxnode::As<kxtext>(c))
          label->textColor = chosen ? kxgui::Palette(kxgui::kColorSelectionText) : kxgui::kBlack;
    }
  }

  void Load() {
    if (selected.Length() == 0) return;
    Hide();
    world* w = TheWorld();
    if (!w || std::strcmp(selected.Text(), w->name) == 0) return;
    DrawLoadingScreen(1, "loading scenery %s", selected.Text());
    LoadSceneryOrDefault(selected.Text(), w);
    UpdateSceneryCard();
    // Entering the simulation then places the aircraft at the new start.
    for (simplayer& p : players) p.kept_position = 0;
  }
};

}  // namespace

kxwindow* CreateLoadSceneryWindow() { return new wndloadscenery; }

}  // namespace sim
