#include "config_ui/aircraft_select.h"

#include <algorithm>
#include <cstring>

#include "core/arguments.h"
#include "core/reference.h"
#include "dynamics/header.h"
#include "graphics/texture_table.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/containers.h"
#include "gui/display.h"
#include "gui/group_frame.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/images.h"
#include "gui/list_item.h"
#include "gui/paint.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "platform/codes.h"
#include "platform/file_lists.h"
#include "platform/files.h"
#include "platform/log.h"
#include "sim/app_hooks.h"
#include "sim/menu.h"
#include "sim/notice.h"
#include "sim/player_aircraft.h"
#include "sim/session.h"
#include "sim/views/loading_screen.h"
#include "sim/views/shadow_prep.h"

kxtype kxwindowloadacft::Type("kxwindowloadacft", sizeof(kxwindowloadacft), kxcreate<kxwindowloadacft>);

namespace svconfig {

const char kNoPreview[] = "texture/nopreview.bmp";

namespace {

constexpr const char kAirfoilFolder[] = "airfoil";
constexpr int kHeaderLines = 7;
// A tile's name must fit the players' 128-character aircraft names.
constexpr size_t kMaxNameChars = sessionsettings::kNameChars - 1;

// The header of "aircraft/<name>/<name>.kxd"; false when the file does not
// open. Only its first lines are read, each no further than its end.
bool ReadHeader(const std::string& name, kxdheader* header) {
  std::string path = "aircraft/" + name + "/" + name + ".kxd";
  kxfile* file = kxsystem::OpenFile(path.c_str(), kxcode::kFileReadBinary);
  if (!file) return false;
  std::string text;
  for (int i = 0; i < kHeaderLines && !kxsystem::IsEof(file); ++i) {
    text += kxsystem::ReadLine(file);
    text += '\n';
  }
  kxsystem::CloseFile(file);
  header->Parse(text.data(), text.size());
  return true;
}

bool Admits(aircraftfilter filter, int type) {
  switch (filter) {
    case aircraftfilter::helicopters: return (type & kTypeHelicopter) != 0;
    case aircraftfilter::gliders: return (type & kTypeGlider) != 0;
    case aircraftfilter::planes: return (type & (kTypeHelicopter | kTypeGlider)) == 0;
    case aircraftfilter::all: break;
  }
  return true;
}

// Legacy stems are stored behind the legacy prefix.
bool NameFits(const std::string& name, bool legacy) {
  if (name.size() + (legacy ? std::strlen(sim::kLegacyPrefix) : 0) <= kMaxNameChars) return true;
  kxsystem::Log("sim:  aircraft name %.40s... too long, not listed\n", name.c_str());
  return false;
}

}  // namespace

std::vector<aircrafttile> ListAircraftTiles(int player, aircraftfilter filter) {
  std::vector<aircrafttile> list;
  const bool firstPlayer = player == 0;
  for (const std::string& name : kxsystem::ListDirectories("aircraft/*", 1)) {
    const bool legacy = sim::IsLegacyFolderModel(name.c_str());
    if (!NameFits(name, legacy)) continue;
    if (legacy && firstPlayer &&
        (filter == aircraftfilter::all || filter == aircraftfilter::helicopters)) {
      list.push_back({name, "aircraft/" + name + "/thumb.bmp", true});
      continue;
    }
    if (name == kAirfoilFolder) continue;
    kxdheader header;
    if (!ReadHeader(name, &header)) continue;
    if (!Admits(filter, header.type) || header.Version() > kxdheader::kNewestReadable) continue;
    list.push_back({name, "aircraft/" + name + "/thumb.bmp", false});
  }
  if (firstPlayer) {
    for (const std::string& stem : kxsystem::ListFiles("airlark/aircraft/*.dns", 0, 1)) {
      if (NameFits(stem, true)) list.push_back({stem, "airlark/aircraft/" + stem + "_thumb.bmp", true});
    }
  }
  return list;
}

std::string ReadDescription(const char* path) {
  kxfile* file = kxsystem::OpenFile(path, kxcode::kFileReadBinary);
  if (!file) return "none";
  std::string text;
  for (int i = 0; i < kDescriptionLines && !kxsystem::IsEof(file); ++i) {
    const char* line = kxsystem::ReadLine(file);
    if (kxsystem::IsEof(file) && !line[0]) break;  // no line past the last line end
    if (i > 0) text += '\n';
    text += line;
    if (text.size() >= kDescriptionChars) break;
  }
  kxsystem::CloseFile(file);
  if (text.size() > kDescriptionChars) text.resize(kDescriptionChars);
  return text;
}

}  // namespace svconfig

// ---- the window ------------------------------------------------------------

namespace {

using svconfig::aircraftfilter;

// Layout in px, y up from the window's bottom edge.
constexpr int kButtonY = 10;
constexpr int kLoadRight = 110, kCancelRight = 10;
constexpr int kFrameX = 2, kFrameY = 52, kFrameWidth = 384, kFrameTop = 24;
constexpr int kInset = 2;
constexpr int kFlowRight = 16, kFlowHeight = 90;
constexpr int kOptionWidth = 100, kOptionHeight = 20;
constexpr int kOptionLeft = 80, kOptionRight = 200, kOptionUpper = 26, kOptionLower = 4;
constexpr int kPreviewX = 390, kPreviewTop = 281;
constexpr int kPreviewTopGap = kPreviewTop - kxwindowloadacft::kPreviewSide;  // px below the top edge
constexpr int kDescX = 390, kDescY = 52, kDescHeight = 198;
constexpr int kDescInsetX = 5, kDescInsetW = 10, kDescInsetH = 16;
constexpr int kTileSide = 90, kTileNameHeight = 20;
constexpr int kThumbX = 18, kThumbY = 20, kThumbSide = 64;
// Behind the name of a model of the older format, which may share its name
// with a component aircraft; its files keep their names, so the settings
// and recordings that name it stay valid.
constexpr const char kOlderFormatMark[] = " (old)";

const kxcolor4 kWhite = {1, 1, 1, 1};
const kxcolor4 kBlack = {0, 0, 0, 1};

// The tile buttons sit five levels below the window: button, tile, flow,
// scroll, frame.
constexpr const char kSelectCommand[] = "../../../../../Select( Name )";
constexpr const char kSelectLoadCommand[] = "../../../../../Select( Name );../../../../../Load";
constexpr const char kSelectLegacyCommand[] = "../../../../../SelectAL1( Name )";
constexpr const char kSelectLegacyLoadCommand[] = "../../../../../SelectAL1( Name );../../../../../Load";

template <class T>
T* Add(kxgraphic* parent, T* widget, const char* name = nullptr) {
  if (!widget) return nullptr;
  if (name) widget->name = name;
  parent->AppendChild(widget);
  return widget;
}

kxbutton* AddButton(kxgraphic* parent, int right, const char* text, const char* command, const char* name) {
  kxbutton* b = Add(parent, new kxbutton, name);
  if (!b) return nullptr;
  b->Y = kButtonY;
  b->Xr = right;
  b->Text = text;
  b->OnPress = command;
  return b;
}

kxiconbutton* AddOption(kxgraphic* parent, int x, int y, const char* text, const char* name) {
  kxiconbutton* b = Add(parent, new kxiconbutton(x, y, kOptionWidth, kOptionHeight), name);
  if (!b) return nullptr;
  b->Text = text;
  b->OnPress = "../Refresh()";
  return b;
}

kxtexture* LoadPicture(const char* path, int type) {
  return kxgl::LoadTexture(path, {.type = type});
}

char* AircraftName(int player) {
  sessionsettings& s = sim::session.settings;
  return player == 0 ? s.aircraft0 : player == 1 ? s.aircraft1 : nullptr;
}

void SetAircraftName(int player, const char* name) {
  if (char* target = AircraftName(player))
    std::snprintf(target, sessionsettings::kNameChars, "%s", name);
}

}  // namespace

kxwindowloadacft::kxwindowloadacft() {
  type = &Type;
  W = kWidth;
  H = kHeight;
  EnableResize = 0;
  Title = "Select Aircraft";

  AddButton(this, kLoadRight, "Load", "../Load", "wlaload");
  AddButton(this, kCancelRight, "Cancel", "../Hide", "wlacancel");

  kxframe* frame = Add(this, new kxframe(kFrameX, kFrameY, kFrameWidth, 0));
  if (frame) {
    frame->Hr = kFrameTop;
    listArea = Add(frame, new kxscroll(kInset, kInset, 0, 0));
  }
  if (listArea) {
    listArea->Wr = kInset;
    listArea->Hr = kInset;
    listArea->background = kWhite;
    listArea->ScrollToTop();
    tiles = Add(listArea, new kxflow(kInset, kInset, 0, kFlowHeight));
  }
  if (tiles) tiles->Wr = kFlowRight;

  Add(this, new kxtext("Show:", 10, kOptionUpper, 70, kOptionHeight), "wlashow");
  options[0] = AddOption(this, kOptionLeft, kOptionUpper, "All", "wlaall");
  options[1] = AddOption(this, kOptionLeft, kOptionLower, "Planes", "wlaplane");
  options[2] = AddOption(this, kOptionRight, kOptionUpper, "Helicopters", "wlaheli");
  options[3] = AddOption(this, kOptionRight, kOptionLower, "Gliders", "wlaglider");
  if (options[0]) options[0]->selected = 1;

  preview = Add(this, new kximagetexture);
  if (preview) {
    preview->X = kPreviewX;
    preview->Y = kHeight - kPreviewTop;
    preview->W = preview->H = kPreviewSide;
    preview->S0 = 0, preview->S1 = 1, preview->T0 = 1, preview->T1 = 0;
  }
  kxlabel* label = Add(this, new kxlabel("Description", kDescX, kDescY, kPreviewSide, kDescHeight), "wladesc");
  if (label) {
    description = Add(label, new kxlistitem("", kDescInsetX, 0, label->W - kDescInsetW, label->H - kDescInsetH),
                      "wladesc2");
    // Both keep their right margins, so they narrow with the window.
    label->Wr = kWidth - kDescX - kPreviewSide;
    if (description) description->Wr = kDescInsetW - kDescInsetX;
  }
}

kxwindowloadacft::~kxwindowloadacft() {
  for (kxtexture* t : thumbnails_) kxgl::FreeTexture(t);
  if (preview) kxgl::FreeTexture(preview->texture);
}

kxvalueptr kxwindowloadacft::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Open") == 0) {
    Open(args.Int(0));
    return kxvoid();
  }
  if (std::strcmp(member, "Load") == 0) {
    Load();
    return kxvoid();
  }
  if (std::strcmp(member, "Refresh") == 0) {
    RebuildTiles();
    return kxvoid();
  }
  bool legacy = std::strcmp(member, "SelectAL1") == 0;
  if (legacy || std::strcmp(member, "Select") == 0) {
    kxstring name = args.String(0);
    Select(name.Text(), legacy);
    return kxvoid();
  }
  if (std::strcmp(member, "Selection") == 0) return kxvalueptr(new kxstringref(&selection));
  if (std::strcmp(member, "Number") == 0) return kxvalueptr(new kxintref(&player));
  if (std::strcmp(member, "OnOk") == 0) return kxvalueptr(new kxstringref(&OnOk));
  return kxwindow::GetMember(member, args);
}

aircraftfilter kxwindowloadacft::Filter() const {
  // A later option overrides an earlier one; "All" itself is never read.
  aircraftfilter filter = aircraftfilter::all;
  if (options[1] && options[1]->selected) filter = aircraftfilter::planes;
  if (options[2] && options[2]->selected) filter = aircraftfilter::helicopters;
  if (options[3] && options[3]->selected) filter = aircraftfilter::gliders;
  return filter;
}

void kxwindowloadacft::ClearTiles() {
  if (tiles) tiles->DeleteChildren();
  tileList_.clear();
  for (kxtexture* t : thumbnails_) kxgl::FreeTexture(t);
  thumbnails_.clear();
}

void kxwindowloadacft::AddTile(const svconfig::aircrafttile& entry) {
  kxrectangle* rectangle = Add(tiles, new kxrectangle(0, 0, kTileSide, kTileSide), entry.name.c_str());
  if (!rectangle) return;
  rectangle->Color = kWhite;
  // Tiles stand side by side: a name longer than its tile is shortened so
  // that it does not read on into the next tile's.
  const std::string name = entry.legacy ? entry.name + kOlderFormatMark : entry.name;
  const std::string label = kxgui::Shortened(name.c_str(), kTileSide - 2 * kxtext::kMargin);
  Add(rectangle, new kxtext(label.c_str(), 0, 0, kTileSide, kTileNameHeight), "Name");
  kxbuttontexture* button = Add(rectangle, new kxbuttontexture, entry.name.c_str());
  if (button) {
    button->X = kThumbX, button->Y = kThumbY;
    button->W = button->H = kThumbSide;
    button->OnPress = entry.legacy ? kSelectLegacyCommand : kSelectCommand;
    button->OnLeftDoubleText = entry.legacy ? kSelectLegacyLoadCommand : kSelectLoadCommand;
    button->texture = LoadPicture(entry.thumbnail.c_str(), kxgl::kTypeRGBA);
    if (button->texture) {
      kxgl::UploadTexture(button->texture);
      thumbnails_.push_back(button->texture);
    }
  }
  tileList_.push_back({rectangle, entry.legacy});
}

void kxwindowloadacft::RebuildTiles() {
  selection = "";
  legacySelection = 0;
  ClearTiles();
  if (!tiles) return;
  for (const svconfig::aircrafttile& entry : svconfig::ListAircraftTiles(player, Filter())) AddTile(entry);
  tiles->Update();
}

void kxwindowloadacft::ShowPreview() {
  // A legacy model has no folder of its own among the aircraft, even when a
  // component aircraft carries its name; only the piccolo lives in one.
  std::string picture = svconfig::kNoPreview, text;
  const std::string& s = selection.Str();
  if (!selection.Empty() && (!legacySelection || sim::IsLegacyFolderModel(s.c_str()))) {
    picture = "aircraft/" + s + "/preview-" + s + ".bmp";
    text = "aircraft/" + s + "/preview-" + s + ".txt";
  }
  if (preview) {
    kxgl::FreeTexture(preview->texture);
    preview->texture = LoadPicture(picture.c_str(), kxgl::kTypeRGB);
    if (!preview->texture) preview->texture = LoadPicture(svconfig::kNoPreview, kxgl::kTypeRGB);
    kxgl::UploadTexture(preview->texture);
  }
  if (description) description->Text = text.empty() ? "none" : svconfig::ReadDescription(text.c_str());
}

void kxwindowloadacft::Select(const char* name, bool legacy) {
  selection = name;
  legacySelection = legacy ? 1 : 0;
  // Tiles match by name and kind: a legacy model may share its stem with an
  // aircraft folder, and only the one chosen is marked.
  for (const tile& t : tileList_) {
    bool chosen = t.legacy == legacy && t.rectangle->name == selection;
    t.rectangle->Color = chosen ? kxgui::Palette(kxgui::kColorSelection) : kWhite;
    if (kxtext* label = dynamic_cast<kxtext*>(t.rectangle->FindChild("Name")))
      label->textColor = chosen ? kxgui::Palette(kxgui::kColorSelectionText) : kBlack;
  }
  ShowPreview();
}

void kxwindowloadacft::Open(int number) {
  player = number;
  RebuildTiles();
  const char* current = AircraftName(player);
  for (const tile& t : tileList_) {
    if (current && !t.legacy && t.rectangle->name == current) {
      selection = current;
      break;
    }
  }
  ShowPreview();
  FitToScreen();
  if (listArea) listArea->ScrollToTop();
  Show();
  kxgui::Capture = this;
  ToCenter();
}

// The window is larger than the program's smallest screen (640 x 480), where
// its buttons and filter options would lie off screen. On a smaller screen
// it takes the screen's size: the anchored list, buttons and options follow,
// the preview shrinks to the room between the title bar and the
// description, which keeps its place and narrows with the window.
void kxwindowloadacft::FitToScreen() {
  const kxgraphic* screen = kxgui::Visible;
  W = screen ? std::min(kWidth, screen->W) : kWidth;
  H = screen ? std::min(kHeight, screen->H) : kHeight;
  if (preview) {
    // Its bottom edge and right margin as in the full-sized window.
    constexpr int kBottom = kHeight - kPreviewTop, kRightMargin = kWidth - kPreviewX - kPreviewSide;
    const int side = std::max(0, std::min({kPreviewSide, H - kPreviewTopGap - kBottom, W - kPreviewX - kRightMargin}));
    preview->W = preview->H = side;
    preview->Y = H - kPreviewTopGap - side;
  }
  Update();
}

void kxwindowloadacft::Load() {
  if (selection.Empty()) return;
  if (player != 0 && player != 1) {
    kxsystem::Log("sim:  no player %d to load aircraft %s into\n", player + 1, selection.Text());
    return;
  }
  if (legacySelection && player != 0) {
    kxsystem::Log("sim:  legacy model %s flies only as player 1\n", selection.Text());
    return;
  }
  Hide();
  if (player == 0) sim::DropLegacyAircraft();
  if (legacySelection) {
    kxstring name;
    name.Format("%s%s", sim::kLegacyPrefix, selection.Text());
    sim::LoadLegacyAircraft(name.Text());
    return;
  }
  LoadComponentAircraft();
}

void kxwindowloadacft::LoadComponentAircraft() {
  if (selection == AircraftName(player)) return;
  sim::DrawLoadingScreen(1, "loading aircraft %d %s", player + 1, selection.Text());
  if (sim::LoadPlayerAircraft(player, selection.Text())) {
    sim::PostAircraftProblems(selection.Text());
    SetAircraftName(player, selection.Text());
    sim::PrepareAircraftGraphics(player);
    return;
  }
  // The slot was emptied for the new aircraft: the player now has none, and
  // a later Load of the same name tries again.
  kxsystem::Log("sim:  aircraft %s could not be loaded for player %d\n", selection.Text(), player + 1);
  SetAircraftName(player, "");
}
