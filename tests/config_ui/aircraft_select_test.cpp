// The aircraft selection: which tiles each player and filter gets, the
// version cut-off, the preview and description of a choice, and loading it
// into a player's slot, all in a folder holding copies of the samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "core/interpreter.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/display.h"
#include "gui/images.h"
#include "gui/list_item.h"
#include "gui/text.h"
#include "graphics/file_bytes.h"
#include "graphics/font.h"
#include "platform/codes.h"
#include "dynamics/registry.h"
#include "dynamics/wings/airfoil.h"
#include "sim/menu.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/session.h"
#include "tests/config_ui/selection_support.h"

namespace {

using svconfig::aircraftfilter;

class AircraftSelectionTest : public configtest::selectiontest {};

std::string Names(const std::vector<svconfig::aircrafttile>& tiles) {
  std::string names;
  for (const svconfig::aircrafttile& t : tiles) names += std::string(names.empty() ? "" : " ") + (t.legacy ? "~" : "") + t.name;
  return names;
}

TEST_F(AircraftSelectionTest, TilesFollowThePlayerAndTheFilter) {
  struct row {
    int player;
    aircraftfilter filter;
    const char* names;
  };
  const row rows[] = {
      {0, aircraftfilter::all,
       "bare christeneagle glider heli heli01 jet older ~piccolo trainer ~glider ~heli ~trainer ~vectorjet"},
      {0, aircraftfilter::planes, "bare christeneagle jet trainer ~glider ~heli ~trainer ~vectorjet"},
      {0, aircraftfilter::helicopters, "heli heli01 ~piccolo ~glider ~heli ~trainer ~vectorjet"},
      {0, aircraftfilter::gliders, "glider older ~glider ~heli ~trainer ~vectorjet"},
      // Player 2 gets no legacy models, and "piccolo" is a folder like any
      // other: without a component file it gets no tile.
      {1, aircraftfilter::all, "bare christeneagle glider heli heli01 jet older trainer"},
      {1, aircraftfilter::helicopters, "heli heli01"},
  };
  for (const row& r : rows) {
    EXPECT_EQ(Names(svconfig::ListAircraftTiles(r.player, r.filter)), r.names)
        << "player " << r.player << " filter " << static_cast<int>(r.filter);
  }
}

TEST_F(AircraftSelectionTest, ThumbnailsComeFromTheFolderOrTheLegacyFolder) {
  std::vector<svconfig::aircrafttile> tiles = svconfig::ListAircraftTiles(0, aircraftfilter::helicopters);
  ASSERT_EQ(tiles.size(), 7u);
  EXPECT_EQ(tiles[0].thumbnail, "aircraft/heli/thumb.bmp");
  EXPECT_EQ(tiles[2].thumbnail, "aircraft/piccolo/thumb.bmp");
  EXPECT_EQ(tiles[3].thumbnail, "airlark/aircraft/glider_thumb.bmp");
}

TEST_F(AircraftSelectionTest, NewerVersionsAreHiddenAndABrokenHeaderReadsAsAnOldPlane) {
  folder_->Write("aircraft/edge/edge.kxd", configtest::AircraftFile("1.8.0", 0));
  folder_->Write("aircraft/later/later.kxd", configtest::AircraftFile("2.0.0", 0));
  folder_->Write("aircraft/letters/letters.kxd", configtest::AircraftFile("x.y.0", 2));
  folder_->Write("aircraft/nofile/readme.txt", "no component file here\n");
  std::string all = Names(svconfig::ListAircraftTiles(1, aircraftfilter::all));
  EXPECT_EQ(all.find("future"), std::string::npos);  // 1.9.0
  EXPECT_EQ(all.find("later"), std::string::npos);   // 2.0.0
  EXPECT_EQ(all.find("nofile"), std::string::npos);
  EXPECT_NE(all.find("edge"), std::string::npos);    // 1.8.0
  EXPECT_NE(all.find("older"), std::string::npos);   // 0.9.0
  // A version line out of shape is version 0.0; its type still counts.
  EXPECT_NE(Names(svconfig::ListAircraftTiles(1, aircraftfilter::helicopters)).find("letters"), std::string::npos);
  EXPECT_NE(Names(svconfig::ListAircraftTiles(1, aircraftfilter::planes)).find("bare"), std::string::npos);
}

TEST_F(AircraftSelectionTest, DescriptionsStopAtTenLinesOr511Characters) {
  folder_->Write("long.txt", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n");
  EXPECT_EQ(svconfig::ReadDescription("long.txt"), "1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
  folder_->Write("wide.txt", std::string(300, 'a') + "\n" + std::string(300, 'b') + "\n");
  std::string wide = svconfig::ReadDescription("wide.txt");
  EXPECT_EQ(wide.size(), 511u);
  EXPECT_EQ(wide.substr(299, 3), "a\nb");
  folder_->Write("short.txt", "one line");
  EXPECT_EQ(svconfig::ReadDescription("short.txt"), "one line");
  EXPECT_EQ(svconfig::ReadDescription("missing.txt"), "none");
}

TEST_F(AircraftSelectionTest, OpenBuildsTheTilesAndChoosesTheCurrentAircraft) {
  std::strcpy(sim::session.settings.aircraft0, "glider");
  Run("Open(0)");
  EXPECT_EQ(TileNames(), "bare christeneagle glider heli heli01 jet older ~piccolo trainer ~glider ~heli ~trainer ~vectorjet");
  EXPECT_STREQ(window->selection.Text(), "glider");
  EXPECT_EQ(window->parent, kxnode::Find("/Display/Visible/"));
  EXPECT_EQ(kxgui::Capture, window);
  ASSERT_NE(window->preview->texture, nullptr);
  EXPECT_STREQ(window->preview->texture->name, "aircraft/glider/preview-glider.bmp");
  EXPECT_EQ(window->preview->texture->width, kxwindowloadacft::kPreviewSide);
  // The sample's description fills the ten lines the window shows.
  std::string text = window->description->Text.Str();
  EXPECT_EQ(text.rfind("Glider\n", 0), 0u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), svconfig::kDescriptionLines - 1);
  // Opening marks no tile; each tile's thumbnail is its own picture.
  kxrectangle* tile = dynamic_cast<kxrectangle*>(window->tiles->FindChild("glider"));
  ASSERT_NE(tile, nullptr);
  EXPECT_EQ(tile->Color.b, 1.0f);
  auto* button = dynamic_cast<kxbuttontexture*>(tile->FindChild("glider"));
  ASSERT_TRUE(button && button->texture);
  EXPECT_STREQ(button->texture->name, "aircraft/glider/thumb.bmp");
  EXPECT_EQ(button->texture->width, 64);

  std::strcpy(sim::session.settings.aircraft1, "nothere");
  Run("Open(1)");
  EXPECT_EQ(TileNames().find('~'), std::string::npos);
  EXPECT_STREQ(window->selection.Text(), "");
  EXPECT_STREQ(window->preview->texture->name, svconfig::kNoPreview);
  EXPECT_STREQ(window->description->Text.Text(), "none");
}

// Each sample's description, wrapped as the window draws it in the
// program's GUI font, fits its box whole: no line runs past the box's
// right edge or below its bottom, so no sentence is cut off.
TEST_F(AircraftSelectionTest, EverySampleDescriptionFitsItsBoxWhole) {
  std::vector<uint8_t> bytes;
  kxglfont font{};
  kxdtest::CopyFromData("texture/arial10.kxf");
  ASSERT_EQ(kxgl::ReadFileBytes("texture/arial10.kxf", &bytes), 1);
  ASSERT_EQ(kxgl::ReadFont(bytes.data(), bytes.size(), &font), 1);
  kxglfont* previous = kxgl::currentFont;
  kxgl::SetFont(&font);
  for (const char* name : {"christeneagle", "trainer", "jet", "glider", "heli", "heli01"}) {
    SCOPED_TRACE(name);
    Run((std::string("Select( \"") + name + "\" )").c_str());
    const kxlistitem* box = window->description;
    const std::string text = box->Text.Str();
    std::string file;
    ASSERT_EQ(kxgl::ReadFileBytes((std::string("aircraft/") + name + "/preview-" + name + ".txt").c_str(), &bytes), 1);
    file.assign(bytes.begin(), bytes.end());
    // The window shows the whole file.
    EXPECT_EQ(text + "\n", file);
    std::vector<std::string> lines = kxlistitem::Wrap(text.c_str(), box->W);
    EXPECT_EQ(lines.size(), static_cast<size_t>(std::count(text.begin(), text.end(), '\n') + 1)) << "a line wraps";
    EXPECT_LE(static_cast<int>(lines.size()) * kxgl::currentFont->lineHeight, box->H);
    for (const std::string& line : lines) EXPECT_LE(kxgl::TextWidth(line.c_str()), box->W) << line;
  }
  kxgl::SetFont(previous);
  kxgl::FreeFont(&font);
}

TEST_F(AircraftSelectionTest, SelectingMarksOnlyTheTileOfThatNameAndKind) {
  Run("Open(0)");
  const kxcolor4 selected = kxgui::Palette(kxgui::kColorSelection);
  auto tileColor = [&](int index) {
    kxnode* n = window->tiles->firstChild;
    for (int i = 0; i < index && n; ++i) n = n->nextSibling;
    return dynamic_cast<kxrectangle*>(n)->Color;
  };
  auto nameColor = [&](int index) {
    kxnode* n = window->tiles->firstChild;
    for (int i = 0; i < index && n; ++i) n = n->nextSibling;
    return dynamic_cast<kxtext*>(n->FindChild("Name"))->textColor;
  };
  // Pressing the legacy glider's thumbnail runs its own command.
  kxnode* legacyGlider = window->tiles->firstChild;
  for (int i = 0; i < 9; ++i) legacyGlider = legacyGlider->nextSibling;
  auto* button = dynamic_cast<kxbuttontexture*>(legacyGlider->FindChild("glider"));
  ASSERT_NE(button, nullptr);
  button->RunCommand(button->OnPress);
  EXPECT_STREQ(window->selection.Text(), "glider");
  EXPECT_EQ(window->legacySelection, 1);
  EXPECT_EQ(tileColor(9).r, selected.r);
  EXPECT_EQ(nameColor(9).r, kxgui::Palette(kxgui::kColorSelectionText).r);
  EXPECT_EQ(tileColor(2).r, 1.0f);  // the component glider stays unmarked
  EXPECT_EQ(nameColor(2).r, 0.0f);
  EXPECT_STREQ(window->preview->texture->name, svconfig::kNoPreview);
  EXPECT_STREQ(window->description->Text.Text(), "none");

  Run("Select( \"glider\" )");
  EXPECT_EQ(window->legacySelection, 0);
  EXPECT_EQ(tileColor(2).r, selected.r);
  EXPECT_EQ(tileColor(9).r, 1.0f);
  EXPECT_STREQ(window->preview->texture->name, "aircraft/glider/preview-glider.bmp");
  // A folder without a preview of its own shows the fallback.
  Run("Select( \"older\" )");
  EXPECT_STREQ(window->preview->texture->name, svconfig::kNoPreview);
  EXPECT_STREQ(window->description->Text.Text(), "none");
}

// A model of the older format says so under its thumbnail, beside the
// component aircraft of the same name; the piccolo, which has a folder of
// its own, shows its preview and description.
TEST_F(AircraftSelectionTest, OlderFormatTilesAreLabelledAndThePiccoloShowsItsPreview) {
  Run("Open(0)");
  std::string labels;
  for (kxnode* tile = window->tiles->firstChild; tile; tile = tile->nextSibling) {
    if (tile->name == "glider" || tile->name == "piccolo")
      labels += dynamic_cast<kxtext*>(tile->FindChild("Name"))->Text.Str() + ";";
  }
  EXPECT_EQ(labels, "glider;piccolo (old);glider (old);");
  Run("SelectAL1( \"piccolo\" )");
  EXPECT_STREQ(window->preview->texture->name, "aircraft/piccolo/preview-piccolo.bmp");
  EXPECT_EQ(window->description->Text.Str().rfind("Small electric helicopter\n", 0), 0u);
}

TEST_F(AircraftSelectionTest, TheFilterOptionsRebuildTheTiles) {
  Run("Open(0)");
  Run("Select( \"jet\" )");
  kxiconbutton* gliders = window->options[3];
  gliders->OnLeftDown();
  gliders->OnLeftUp();
  EXPECT_EQ(window->Filter(), aircraftfilter::gliders);
  EXPECT_EQ(window->options[0]->selected, 0);
  EXPECT_EQ(TileNames(), "glider older ~glider ~heli ~trainer ~vectorjet");
  EXPECT_STREQ(window->selection.Text(), "");
  // A later option wins over an earlier one when both are set.
  window->options[1]->selected = 1;
  window->options[2]->selected = 1;
  window->options[3]->selected = 0;
  EXPECT_EQ(window->Filter(), aircraftfilter::helicopters);
}

// The program's smallest window is 640 x 480: the selection window fits it
// with its buttons, options and preview in reach, and keeps its own size
// where there is room.
TEST_F(AircraftSelectionTest, TheWindowFitsTheScreenWithEveryControlInReach) {
  struct box {
    int x0, y0, x1, y1;
  };
  auto onScreen = [](const kxgraphic* g) {
    box b{0, 0, g->W, g->H};
    for (const kxgraphic* p = g; p && p != kxgui::Visible; p = p->ParentWidget()) {
      b.x0 += p->X, b.x1 += p->X, b.y0 += p->Y, b.y1 += p->Y;
    }
    return b;
  };
  for (auto [w, h] : {std::pair{640, 480}, std::pair{1024, 768}}) {
    kxgui::Visible->W = w;
    kxgui::Visible->H = h;
    Run("Open(0)");
    SCOPED_TRACE(w);
    for (const char* name : {"wlaload", "wlacancel", "wlaall", "wlaplane", "wlaheli", "wlaglider"}) {
      auto* control = dynamic_cast<kxgraphic*>(window->FindChild(name));
      ASSERT_NE(control, nullptr) << name;
      box b = onScreen(control);
      EXPECT_TRUE(b.x0 >= 0 && b.y0 >= 0 && b.x1 <= w && b.y1 <= h) << name;
    }
    box whole = onScreen(window);
    EXPECT_TRUE(whole.x0 >= 0 && whole.y0 >= 0 && whole.x1 <= w && whole.y1 <= h);
    // The preview stays within the window, clear of the title bar and of
    // the description below it.
    auto* label = dynamic_cast<kxgraphic*>(window->FindChild("wladesc"));
    ASSERT_NE(label, nullptr);
    EXPECT_GE(window->preview->Y, label->Y + label->H);
    EXPECT_LE(window->preview->Y + window->preview->H, window->H - 24);
    EXPECT_LE(window->preview->X + window->preview->W, window->W);
    if (w > kxwindowloadacft::kWidth) {
      EXPECT_EQ(window->W, kxwindowloadacft::kWidth);
      EXPECT_EQ(window->H, kxwindowloadacft::kHeight);
      EXPECT_EQ(window->preview->W, kxwindowloadacft::kPreviewSide);
    }
    Run("Hide");
  }
}

TEST_F(AircraftSelectionTest, LoadPutsTheChoiceIntoEachPlayersSlot) {
  Run("Open(0)");
  Run("Select( \"trainer\" ); Load");
  EXPECT_EQ(window->parent, kxnode::Find("/Display/Invisible/"));
  kxdaircraftinstance* first = kxdaircraftinstance::Loaded(0);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->Name.Text(), "trainer");
  EXPECT_STREQ(sim::session.settings.aircraft0, "trainer");
  EXPECT_EQ(sim::players[0].flight_state, kxdaircraftinstance::FlightStateOf(0));

  Run("Open(1)");
  // A double click on a tile selects and loads.
  auto* button = dynamic_cast<kxbuttontexture*>(window->tiles->FindChild("glider")->FindChild("glider"));
  button->RunCommand(button->OnLeftDoubleText);
  kxdaircraftinstance* second = kxdaircraftinstance::Loaded(1);
  ASSERT_NE(second, nullptr);
  EXPECT_STREQ(second->Name.Text(), "glider");
  EXPECT_STREQ(sim::session.settings.aircraft1, "glider");
  EXPECT_EQ(sim::players[1].flight_state, kxdaircraftinstance::FlightStateOf(1));
  EXPECT_EQ(kxdaircraftinstance::Loaded(0), first);  // player 1 keeps the trainer
}

// An aircraft whose wings find no airfoil loads, and the user is told so
// when choosing it.
TEST_F(AircraftSelectionTest, ChoosingAnAircraftWithoutItsAirfoilsSaysSo) {
  std::filesystem::remove_all("aircraft/airfoil");
  kxdairfoil::ForgetListing();
  kxdynamics::Tree(kxdynamics::kxdtree::kAirfoil)->DeleteChildren();
  sim::ClearNotices();
  Run("Open(0)");
  Run("Select( \"trainer\" ); Load");
  ASSERT_NE(kxdaircraftinstance::Loaded(0), nullptr);
  const std::string notice = sim::TakeNotice();
  EXPECT_EQ(notice.find("The aircraft trainer may not fly as meant: "), 0u) << notice;
  EXPECT_NE(notice.find("SectionAirfoil"), std::string::npos) << notice;
}

TEST_F(AircraftSelectionTest, LoadingTheAircraftAlreadyFlownOnlyHidesTheWindow) {
  std::strcpy(sim::session.settings.aircraft0, "christeneagle");
  Run("Open(0); Load");
  EXPECT_EQ(window->parent, kxnode::Find("/Display/Invisible/"));
  EXPECT_EQ(kxdaircraftinstance::Loaded(0), nullptr);  // nothing reloaded
  // Nothing chosen: nothing happens at all.
  std::strcpy(sim::session.settings.aircraft0, "gone");
  Run("Open(0); Load");
  EXPECT_EQ(window->parent, kxnode::Find("/Display/Visible/"));
}

TEST_F(AircraftSelectionTest, LoadForAPlayerThatDoesNotExistIsRefusedWithALogLine) {
  Run("Open(2); Select( \"jet\" ); Load");
  EXPECT_TRUE(inputtest::Logged("no player 3 to load aircraft jet into"));
  EXPECT_EQ(window->parent, kxnode::Find("/Display/Visible/"));
  EXPECT_EQ(kxdaircraftinstance::Loaded(0), nullptr);
  EXPECT_EQ(kxdaircraftinstance::Loaded(1), nullptr);
}

TEST_F(AircraftSelectionTest, AFailedLoadLeavesThePlayerWithoutAnAircraft) {
  std::filesystem::remove("aircraft/jet/jet.kxd");  // listed at Open, gone at Load
  Run("Open(0); Select( \"jet\" ); Load");
  EXPECT_STREQ(sim::session.settings.aircraft0, "");
  EXPECT_EQ(sim::players[0].flight_state, nullptr);
  EXPECT_TRUE(inputtest::Logged("aircraft jet could not be loaded for player 1"));
}

// The legacy runtime stands in as a pair of hooks that count their calls.
struct legacycalls {
  static inline int loads = 0, unloads = 0;
  static inline std::string stem;
  static int Load(const char* s, int* out) {
    ++loads;
    stem = s;
    *out = 1;
    return 1;
  }
  static void Unload() { ++unloads; }
};

TEST_F(AircraftSelectionTest, LegacyModelsLoadIntoTheLegacyRuntimeAsPlayerOne) {
  legacycalls::loads = legacycalls::unloads = 0;
  sim::applicationhooks hooks;
  hooks.legacy_load = legacycalls::Load;
  hooks.legacy_unload = legacycalls::Unload;
  sim::SetHooks(hooks);
  Run("Open(0); SelectAL1( \"heli\" ); Load");
  EXPECT_EQ(legacycalls::loads, 1);
  EXPECT_EQ(legacycalls::stem, "heli");
  EXPECT_STREQ(sim::session.settings.aircraft0, "_alx_heli");
  EXPECT_EQ(sim::players[0].legacy, 1);
  EXPECT_EQ(sim::players[0].flight_state, &sim::players[0].legacy_state);
  EXPECT_TRUE(inputtest::Logged("LOAD AL"));

  // A component aircraft for player 1 ends the legacy model first.
  Run("Open(0); Select( \"jet\" ); Load");
  EXPECT_EQ(legacycalls::unloads, 1);
  EXPECT_EQ(sim::players[0].legacy, 0);
  EXPECT_STREQ(sim::session.settings.aircraft0, "jet");
  EXPECT_EQ(sim::players[0].flight_state, kxdaircraftinstance::FlightStateOf(0));

  // A legacy selection never reaches player 2's slot.
  Run("Open(1); SelectAL1( \"heli\" ); Load");
  EXPECT_EQ(legacycalls::loads, 1);
  EXPECT_TRUE(inputtest::Logged("legacy model heli flies only as player 1"));
}

TEST_F(AircraftSelectionTest, ScriptMembersReadAndWrite) {
  Run("Number = 1; OnOk = \"../Done\"; Selection = \"jet\"");
  EXPECT_EQ(window->player, 1);
  EXPECT_STREQ(window->OnOk.Text(), "../Done");
  EXPECT_STREQ(window->selection.Text(), "jet");
  EXPECT_EQ(window->EnableResize, 0);
  EXPECT_STREQ(window->Title.Text(), "Select Aircraft");
}

}  // namespace
