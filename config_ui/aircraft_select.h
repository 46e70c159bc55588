// The aircraft selection window ("LoadAircraft"): every aircraft folder of
// the data directory as a tile with its thumbnail, filtered by kind and cut
// at the newest file version this program reads, a preview picture and a
// description of the chosen one, and loading it into player 1's or player
// 2's slot. Player 1 is also offered the models of the older format, which
// fly in the legacy runtime.
#pragma once

#include <string>
#include <vector>

#include "core/string.h"
#include "gui/window.h"

class kxflow;
class kxscroll;
class kxiconbutton;
class kximagetexture;
class kxlistitem;
class kxrectangle;
struct kxtexture;

namespace svconfig {

// The filter options of the window.
enum class aircraftfilter { all, planes, helicopters, gliders };

// Type bits of an aircraft file's header.
constexpr int kTypeHelicopter = 2;
constexpr int kTypeGlider = 4;

// One tile: the folder name or legacy model stem, and its thumbnail file.
struct aircrafttile {
  std::string name;
  std::string thumbnail;
  bool legacy = false;
};

// The tiles for a player (0 player 1, 1 player 2) and filter, in the order
// they are shown: the aircraft folders in byte order, then player 1's
// legacy models.
std::vector<aircrafttile> ListAircraftTiles(int player, aircraftfilter filter);

// The picture shown for an aircraft without a preview of its own.
extern const char kNoPreview[];

// The description shown for a selection: up to kDescriptionLines lines of
// the file joined by line feeds, at most kDescriptionChars characters;
// "none" when the file cannot be opened.
constexpr int kDescriptionLines = 10;
constexpr int kDescriptionChars = 511;
std::string ReadDescription(const char* path);

}  // namespace svconfig

class kxwindowloadacft : public kxwindow {
 public:
  static kxtype Type;
  static constexpr int kWidth = 652, kHeight = 534;  // px, not resizable
  static constexpr int kPreviewSide = 256;           // px

  kxwindowloadacft();
  ~kxwindowloadacft() override;

  // "Open( player )", "Load", "Refresh", "Select( name )",
  // "SelectAL1( stem )", "Selection", "Number", "OnOk", then the window's.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  // The player's tiles anew, its current aircraft chosen, its preview and
  // description shown; then the window is shown in the centre and keeps the
  // pointer.
  void Open(int player);
  // The tiles anew for the current filter; nothing selected.
  void RebuildTiles();
  // Makes name the selection (a component aircraft, or a legacy model
  // when legacy is set), marks its tile and shows its preview.
  void Select(const char* name, bool legacy);
  // Loads the selection into the player's slot and hides the window.
  void Load();

  svconfig::aircraftfilter Filter() const;

  kxstring selection;   // folder name or legacy stem; "" when none
  kxstring OnOk;        // kept for the caller; the window never runs it
  int player = 0;       // "Number": 0 player 1, 1 player 2
  int legacySelection = 0;  // 1 when the selection is a legacy model

  kxflow* tiles = nullptr;        // the tile rectangles, in list order
  kxscroll* listArea = nullptr;
  kxiconbutton* options[4] = {};  // all, planes, helicopters, gliders
  kximagetexture* preview = nullptr;
  kxlistitem* description = nullptr;

 private:
  struct tile {
    kxrectangle* rectangle;
    bool legacy;
  };
  void AddTile(const svconfig::aircrafttile& entry);
  void ClearTiles();
  void ShowPreview();
  void FitToScreen();
  void LoadComponentAircraft();

  std::vector<tile> tileList_;
  std::vector<kxtexture*> thumbnails_;  // one reference each, dropped with the tiles
};
