#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dynamics/air_model.h"
#include "graphics/file_bytes.h"
#include "graphics/font.h"
#include "graphics/texture_table.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/containers.h"
#include "gui/edit.h"
#include "gui/gui.h"
#include "gui/images.h"
#include "gui/list_item.h"
#include "gui/scroll.h"
#include "gui/slider.h"
#include "gui/text.h"
#include "platform/callbacks.h"
#include "platform/codes.h"
#include "platform/gl_context.h"
#include "sim/language_switch.h"
#include "sim/menu.h"
#include "sim/modes.h"
#include "sim/player.h"
#include "sim/windows/help_windows.h"
#include "sim/windows/main_options_window.h"
#include "sim/windows/option_windows.h"
#include "sim/windows/recording_windows.h"
#include "sim/windows/sound_windows.h"
#include "sim/windows/window_functions.h"
#include "tests/sim/windows/menu_support.h"
#include "tests/write_faults.h"

namespace {

using sim::players;
using sim::session;

class WindowsTest : public menutest::menutest {
 protected:
  kxslidervalue* Slider(sim::menuwindow which, const char* group, int index) {
    kxnode* g = kxnode::Find(group, sim::MenuWindow(which));
    int i = 0;
    for (kxnode* n = g ? g->firstChild : nullptr; n; n = n->nextSibling)
      if (kxslidervalue* s = kxnode::As<kxslidervalue>(n); s && i++ == index) return s;
    return nullptr;
  }
};

// --- window functions and builders

TEST_F(WindowsTest, OpenDoesNotRecentreAnOpenWindowButShowAlwaysDoes) {
  kxwindow* notice = sim::NoDeviceWindow();
  sim::OpenWindow(notice);
  EXPECT_EQ(kxgui::Capture, notice);
  EXPECT_EQ(notice->X, (screen->W - notice->W) / 2);
  notice->X = 5;
  sim::OpenWindow(notice);
  EXPECT_EQ(notice->X, 5);
  sim::ShowWindow(notice);
  EXPECT_EQ(notice->X, (screen->W - notice->W) / 2);
  sim::HideWindow(notice);
  EXPECT_FALSE(Shown(sim::kWndNoDevice));

  // Shown without opening, the open flag stays clear and HideWindow leaves it.
  sim::ShowWindow(notice);
  sim::HideWindow(notice);
  EXPECT_TRUE(Shown(sim::kWndNoDevice));
  sim::OpenWindowModal(sim::KeysWindow());
  EXPECT_EQ(kxgui::Focus, sim::KeysWindow());
}

TEST_F(WindowsTest, BuildersSetPlaceAnchorsAndMargins) {
  kxgraphic* parent = new kxgraphic(0, 0, 300, 200);
  screen->AppendChild(parent);
  kxscroll* scroll = sim::AddScroll(parent, 5, 6, 0, 0, 10, 20);
  kxbutton* button = sim::AddButton(parent, 0, 10, 0, 0, 110, 0, "Load", "../Load", "load");
  kxiconbutton* option = sim::AddIconButton(parent, 1, 2, 20, 20, "single", 1, "single");
  kximagetexture* image = sim::AddImage(parent, 0, 0, 64, 64, nullptr);
  EXPECT_EQ(scroll->sy, kxscroll::kScrollToTop);
  parent->Update();
  EXPECT_EQ(scroll->W, 300 - 10 - 5);
  EXPECT_EQ(scroll->H, 200 - 20 - 6);
  EXPECT_EQ(button->X, 300 - 110 - button->W);
  EXPECT_STREQ(button->OnPress.Text(), "../Load");
  EXPECT_EQ(option->selected, 0);
  EXPECT_FLOAT_EQ(image->T0, 1);
  EXPECT_FLOAT_EQ(image->T1, 0);
  parent->W = 400;
  parent->Update();
  EXPECT_EQ(scroll->W, 400 - 10 - 5);
  EXPECT_EQ(sim::AddLabel(nullptr, "x", 0, 0, 1, 1, "x"), nullptr);
}

// --- scenery and recording windows

TEST_F(WindowsTest, SceneryTilesListTheSceneriesAndSelectionRecoloursThem) {
  Write("scenery/alpha.geo", "SCENERY 100\n");
  Write("scenery/beta.geo", "SCENERY 100\n");
  Write("scenery/beta.bmp", "not a picture");
  Send(sim::kWndLoadScenery, "Open");
  EXPECT_TRUE(Shown(sim::kWndLoadScenery));
  kxnode* frame = nullptr;
  for (kxnode* n = sim::MenuWindow(sim::kWndLoadScenery)->firstChild; n; n = n->nextSibling)
    if (kxnode::As<kxframe>(n)) frame = n;
  ASSERT_NE(frame, nullptr);
  kxflow* tiles = kxnode::As<kxflow>(frame->firstChild->firstChild);
  ASSERT_NE(tiles, nullptr);
  ASSERT_EQ(tiles->ChildCount(), 2);
  kxrectangle* beta = kxnode::As<kxrectangle>(tiles->FindChild("beta"));
  ASSERT_NE(beta, nullptr);
  kxbuttontexture* picture = kxnode::As<kxbuttontexture>(beta->FindChild("beta"));
  ASSERT_NE(picture, nullptr);
  EXPECT_STREQ(picture->OnPress.Text(), "../../../../../Select( Name )");

  Run("/Menu/Invisible/wndLoadScenery/Hide");  // not there while shown: the path fails
  picture->RunCommand(picture->OnPress);
  EXPECT_FLOAT_EQ(beta->Color.r, kxgui::Palette(kxgui::kColorSelection).r);
  EXPECT_FLOAT_EQ(kxnode::As<kxrectangle>(tiles->FindChild("alpha"))->Color.r, 1);

  // The scenery already loaded only hides the window.
  std::strcpy(sim::TheWorld()->name, "beta");
  Send(sim::kWndLoadScenery, "Load");
  EXPECT_FALSE(Shown(sim::kWndLoadScenery));
  EXPECT_FALSE(Logged("loading scenery"));
}

TEST_F(WindowsTest, RecordingListsSelectAndTheSaveWindowStartsWithNeu) {
  Write("recordings/loop.rec", "scenery testfield\n");
  Write("recordings/roll.rec", "scenery other\n");
  Send(sim::kWndSaveRecord, "Open");
  kxedit* field = nullptr;
  std::vector<kxtext*> entries;
  std::vector<kxnode*> stack = {sim::MenuWindow(sim::kWndSaveRecord)};
  while (!stack.empty()) {
    kxnode* n = stack.back();
    stack.pop_back();
    if (kxedit* e = kxnode::As<kxedit>(n)) field = e;
    if (kxtext* t = kxnode::As<kxtext>(n); t && t->name.Equal("Name")) entries.push_back(t);
    for (kxnode* c = n->firstChild; c; c = c->nextSibling) stack.push_back(c);
  }
  ASSERT_NE(field, nullptr);
  EXPECT_STREQ(field->text, "neu");
  EXPECT_EQ(field->maxLength, 32);
  EXPECT_EQ(kxgui::Focus, field);
  // The whole drawn name box takes the click: its right edge keeps the keys.
  const kxgraphic* box = field->ParentWidget();
  int x = box->W - 1, y = box->H / 2;
  for (const kxgraphic* g = box; g != screen; g = g->ParentWidget()) x += g->X, y += g->Y;
  Click(x, y);
  EXPECT_EQ(kxgui::Focus, field);
  ASSERT_EQ(entries.size(), 2u);
  kxtext* roll = entries[0]->Text.Equal("roll") ? entries[0] : entries[1];
  roll->RunCommand(roll->onLeftDown);  // reaches the window through the group
  EXPECT_STREQ(field->text, "roll");
  EXPECT_FLOAT_EQ(roll->textColor.r, 1);
  EXPECT_FLOAT_EQ(roll->background.r, kxgui::Palette(kxgui::kColorSelection).r);
  kxvalueptr selection = sim::MenuWindow(sim::kWndSaveRecord)->GetMember("Selection", kxargs::None());
  EXPECT_STREQ(kxvalue::ToString(selection.get()).Text(), "roll");

  Send(sim::kWndLoadRecord, "Open");
  EXPECT_TRUE(Shown(sim::kWndLoadRecord));
  Run("/Display/Visible/wndLoadRecord/Select( \"loop\" )");
  Send(sim::kWndLoadRecord, "Load");
  EXPECT_FALSE(Shown(sim::kWndLoadRecord));
  EXPECT_STREQ(sim::PendingRecording(), "loop");
}

// A save that fails, or that would replace a recording under a typed name,
// keeps the window, the typed name and its keyboard focus (the Save
// button's click had taken it) and says why; the next opening shows the
// advice again.
TEST_F(WindowsTest, AFailedRecordingSaveKeepsTheWindowAndSaysWhy) {
  Send(sim::kWndSaveRecord, "Open");
  kxwindow* window = sim::MenuWindow(sim::kWndSaveRecord);
  kxlistitem* advice = kxnode::As<kxlistitem>(kxnode::Find("wndsaverecfgdescr/wndsaverecdescr/", window));
  ASSERT_NE(advice, nullptr);
  kxgraphic* field = kxgui::Focus;
  {
    kxtest::fulldisk full;
    kxgui::Focus = kxgraphic::Of(kxnode::Find("wndsaverecsave", window));
    Send(sim::kWndSaveRecord, "Save");
  }
  EXPECT_EQ(kxgui::Focus, field);
  EXPECT_TRUE(Shown(sim::kWndSaveRecord));
  EXPECT_EQ(std::string(advice->Text.Text()).find("The flight was not saved: recordings/neu.rec"), 0u);
  EXPECT_EQ(Read("recordings/neu.rec"), "<missing>");
  EXPECT_TRUE(Logged("sim:  saving recording to file recordings/neu.rec=fail (recordings/neu.rec"));
  // What stands in the way is named, not the disk.
  kxtest::BlockReplacing("recordings/neu.rec");
  Send(sim::kWndSaveRecord, "Save");
  EXPECT_EQ(advice->Text.Str(), "The flight was not saved: recordings/neu.rec could not be written (recordings/neu.rec.tmp: "
                                "a folder stands at its name; move it away and try again).");
  std::filesystem::remove("recordings/neu.rec.tmp");
  Send(sim::kWndSaveRecord, "Save");
  EXPECT_FALSE(Shown(sim::kWndSaveRecord));
  EXPECT_NE(Read("recordings/neu.rec"), "<missing>");
  Send(sim::kWndSaveRecord, "Open");
  EXPECT_EQ(std::string(advice->Text.Text()).find("Enter a name"), 0u);

  // Another flight under a typed name of that file, the "neu" offered or
  // in other capitals, is refused as well (as is no name) and the first one
  // stays; chosen in the list, the name replaces it.
  const std::string first = Read("recordings/neu.rec");
  std::strcpy(players[0].recording.header.aircraft, "glider");
  kxedit* name = kxnode::As<kxedit>(field);
  for (const char* typed : {"neu", "NEU", ""}) {
    name->SetText(typed);
    kxgui::Focus = kxgraphic::Of(kxnode::Find("wndsaverecsave", window));
    Send(sim::kWndSaveRecord, "Save");
    EXPECT_TRUE(Shown(sim::kWndSaveRecord)) << typed;
    EXPECT_STREQ(name->text, typed);
    EXPECT_EQ(kxgui::Focus, field) << typed;
    EXPECT_EQ(advice->Text.Str(), *typed ? "recordings/neu.rec already exists. Choose it in the list to replace it, "
                                           "or enter another name."
                                         : "Enter a name for the recording, or select one in the list to overwrite it.");
  }
  EXPECT_EQ(Read("recordings/neu.rec"), first);
  Run("/Display/Visible/wndSaveRecord/Select( \"neu\" )");
  Send(sim::kWndSaveRecord, "Save");
  EXPECT_FALSE(Shown(sim::kWndSaveRecord));
  EXPECT_EQ(Read("recordings/neu.rec").find("aircraft glider\n"), 0u);
}

TEST_F(WindowsTest, ARecordingOfAnotherSceneryOpensTheWarningAndOfThisOneLoadsAtOnce) {
  std::strcpy(sim::TheWorld()->name, "testfield");
  Write("recordings/here.rec", "aircraft nothing\nscenery testfield\n");
  Write("recordings/away.rec", "aircraft nothing\nscenery other\n");
  for (const char* name : {"here", "away"}) {
    Send(sim::kWndLoadRecord, "Open");
    Run((std::string("/Display/Visible/wndLoadRecord/Select( \"") + name + "\" )").c_str());
    Send(sim::kWndLoadRecord, "Load");
    EXPECT_STREQ(sim::PendingRecording(), name);
    // Only the file of another scenery asks first; neither is playable.
    EXPECT_EQ(Shown(sim::kWndWrongScenery), std::strcmp(name, "away") == 0) << name;
    EXPECT_EQ(players[0].recording.present, 0) << name;
  }
}

TEST_F(WindowsTest, TheWrongSceneryWarningShowsBothNames) {
  std::strcpy(sim::TheWorld()->name, "testfield");
  Send(sim::kWndWrongScenery, "Open");
  EXPECT_TRUE(Shown(sim::kWndWrongScenery));
  kxwindow* w = sim::WrongSceneryWindow();
  std::vector<std::string> texts;
  for (kxnode* n = w->firstChild; n; n = n->nextSibling)
    if (kxtext* t = kxnode::As<kxtext>(n); t && t->name.Equal("xxx")) texts.push_back(t->Text.Text());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "testfield");
  Send(sim::kWndWrongScenery, "Ok");
  EXPECT_FALSE(Shown(sim::kWndWrongScenery));
}

// --- option windows

TEST_F(WindowsTest, SimulationSpeedActsAtOnceAndCancelPutsItBack) {
  session.settings.simulation_speed = 1;
  kxdynamics::Environment().wind_speed = 3;
  Send(sim::kWndOptionsGeneral, "Open");
  kxslidervalue* speed = Slider(sim::kWndOptionsGeneral, "wndoptgensim", 0);
  kxslidervalue* wind = Slider(sim::kWndOptionsGeneral, "wndoptgenenv", 0);
  ASSERT_NE(speed, nullptr);
  ASSERT_NE(wind, nullptr);
  EXPECT_FLOAT_EQ(speed->value, 100);
  EXPECT_STREQ(speed->command.Text(), "../../OnChange");
  EXPECT_EQ(speed->snapEnable, 1);
  speed->value = 150;
  wind->value = 8;
  speed->RunCommand(speed->command);
  EXPECT_FLOAT_EQ(session.settings.simulation_speed, 1.5f);
  EXPECT_FLOAT_EQ(kxdynamics::Environment().wind_speed, 3);  // only "Ok" stores it
  Send(sim::kWndOptionsGeneral, "Hide");
  EXPECT_FLOAT_EQ(session.settings.simulation_speed, 1);
  Send(sim::kWndOptionsGeneral, "Open");
  wind->value = 8;
  Send(sim::kWndOptionsGeneral, "Ok");
  EXPECT_FLOAT_EQ(kxdynamics::Environment().wind_speed, 8);
  kxdynamics::Environment() = kxdenvironment();
}

// A contest setting keeps the whole number its slider shows.
TEST_F(WindowsTest, ContestValuesAreKeptAsTheirSlidersShowThem) {
  struct row {
    float rounds, seconds;  // the sliders' values
    int shownRounds, shownSeconds;
  } rows[] = {{3.6f, 179.9f, 4, 180}, {2.5f, 484.6f, 2, 485}};
  for (const row& r : rows) {
    Send(sim::kWndOptionsContest, "Open");
    kxslidervalue* rounds = Slider(sim::kWndOptionsContest, "wndoptctstpylon", 0);
    kxslidervalue* seconds = Slider(sim::kWndOptionsContest, "wndoptctstballoon", 0);
    rounds->value = r.rounds;
    seconds->value = r.seconds;
    EXPECT_STREQ(rounds->ValueText().Text(), std::to_string(r.shownRounds).c_str());
    EXPECT_STREQ(seconds->ValueText().Text(), (std::to_string(r.shownSeconds) + " sec").c_str());
    Send(sim::kWndOptionsContest, "Ok");
    EXPECT_EQ(session.settings.contest_pylon_rounds, r.shownRounds);
    EXPECT_EQ(session.settings.contest_balloonpop_time, r.shownSeconds);
  }
}

TEST_F(WindowsTest, TheFogSliderIsTheSquareRootOfTenTimesTheDensity) {
  session.settings.fog_density = 0.0025f;
  Send(sim::kWndOptionsGrfx, "Open");
  kxslidervalue* fog = Slider(sim::kWndOptionsGrfx, "wndoptgrfxfog", 0);
  ASSERT_NE(fog, nullptr);
  EXPECT_NEAR(fog->value, 0.158f, 0.001f);
  fog->value = 1;
  fog->RunCommand(fog->command);
  EXPECT_FLOAT_EQ(session.settings.fog_density, 0.1f);
  EXPECT_FLOAT_EQ(sim::FogSlider(0), 0);
}

TEST_F(WindowsTest, TheViewWindowEditsTheFirstPlayerAndDelaysOnlyOnOk) {
  players[0].pilot_view_delayx = 0.2f;
  players[0].fov_follow = 0.3f;
  Send(sim::kWndOptionsView, "Open");
  Slider(sim::kWndOptionsView, "wndoptfixed", 2)->value = -50;
  Slider(sim::kWndOptionsView, "wndoptfollow", 0)->value = 0.6f;
  Send(sim::kWndOptionsView, "OnChange");
  EXPECT_FLOAT_EQ(players[0].pilot_view_delayx, 0.2f);
  EXPECT_FLOAT_EQ(players[0].fov_follow, 0.6f);
  Send(sim::kWndOptionsView, "Ok");
  EXPECT_FLOAT_EQ(players[0].pilot_view_delayx, -0.5f);
  EXPECT_FLOAT_EQ(players[1].fov_follow, 0.25f);
}

// --- sound and music

class FakeMusic : public musicbackend {
 public:
  int playing = 0;
  std::vector<std::string> played;
  int halts = 0;
  int Open() override { return 1; }
  void Close() override {}
  int Play(const char* path) override {
    played.push_back(path);
    playing = 1;
    return 1;
  }
  void Halt() override {
    playing = 0;
    ++halts;
  }
  int IsPlaying() override { return playing; }
  void SetVolume(float) override {}
  void Pause() override {}
  void Resume() override {}
};

class SoundWindowTest : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    Write("music/a short one.ogg", "x");
    Write("music/an extremely long title of a song that goes on.ogg", "x");
    sim::Music() = kxmusic(&music_);
    int title = -1;
    sim::Music().SetMode(kxcode::kMusicOff, 1, &title);  // the player lists "music/"
  }
  kxiconbutton* Mode(const char* name) {
    return kxnode::As<kxiconbutton>(kxnode::Find((std::string("wndoptmusicframe/") + name).c_str(),
                                                 sim::MenuWindow(sim::kWndOptionsSound)));
  }
  FakeMusic music_;
};

TEST_F(SoundWindowTest, CancelAfterSwitchingLoopToOffRestoresLoop) {
  session.settings.music = kxcode::kMusicLoop;
  session.settings.music_volume = 0.5f;
  Send(sim::kWndOptionsSound, "Open");
  EXPECT_EQ(Mode("wndoptloop")->selected, 1);
  EXPECT_EQ(Mode("wndoptoff")->selected, 0);
  Mode("wndoptoff")->Select();
  Send(sim::kWndOptionsSound, "OnChange");
  EXPECT_EQ(session.settings.music, kxcode::kMusicOff);
  EXPECT_EQ(sim::Music().mode, kxcode::kMusicOff);
  Send(sim::kWndOptionsSound, "Hide");
  EXPECT_EQ(session.settings.music, kxcode::kMusicLoop);
  EXPECT_EQ(sim::Music().mode, kxcode::kMusicLoop);
  EXPECT_FALSE(Shown(sim::kWndOptionsSound));
}

TEST_F(SoundWindowTest, AChosenTitleIsShownCutAndPlayed) {
  Send(sim::kWndOptionsSound, "Open");
  Send(sim::kWndOptionsSound, "OpenSelect");
  EXPECT_TRUE(Shown(sim::kWndTitleSelect));
  EXPECT_EQ(kxgui::Capture, sim::TitleSelectWindow());
  // No song chosen: "Ok" changes nothing but gives the sound window back.
  Send(sim::kWndTitleSelect, "Ok");
  EXPECT_EQ(kxgui::Focus, sim::MenuWindow(sim::kWndOptionsSound));
  EXPECT_EQ(kxgui::Capture, sim::MenuWindow(sim::kWndOptionsSound));

  Send(sim::kWndOptionsSound, "OpenSelect");
  Run("/Display/Visible/wndTitleSelect/Select( 1 )");
  Send(sim::kWndTitleSelect, "Ok");
  EXPECT_EQ(session.settings.music_title, 1);
  kxnode* title = kxnode::Find("wndoptmtitle", sim::MenuWindow(sim::kWndOptionsSound));
  ASSERT_NE(title, nullptr);
  kxtext* song = kxnode::As<kxtext>(title->firstChild);
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(std::string(song->Text.Text()), std::string("an extremely long title of a song that goes on.ogg").substr(0, 32));
}

TEST_F(SoundWindowTest, MovingTheMusicVolumeAwayFromTheFirstValueStopsTheSong) {
  session.settings.music = kxcode::kMusicLoop;
  session.settings.music_volume = 0.5f;
  Send(sim::kWndOptionsSound, "Open");
  Send(sim::kWndOptionsSound, "OnChange");  // takes 0.5 as the reference
  sim::Music().ScanSongs();
  ASSERT_EQ(music_.playing, 1);
  int halts = music_.halts;
  kxslidervalue* volume = Slider(sim::kWndOptionsSound, "wndoptmusicframe", 0);
  EXPECT_STREQ(volume->ValueText().Text(), "high");  // the word, not the number, ends the slider
  volume->value = 80;
  Send(sim::kWndOptionsSound, "OnChange");
  EXPECT_FLOAT_EQ(session.settings.music_volume, 0.8f);
  EXPECT_GT(music_.halts, halts);
  Send(sim::kWndOptionsSound, "Ok");
  EXPECT_FLOAT_EQ(session.settings.music_volume, 0.8f);
}

// --- main options, display modes and language

class MainOptionsTest : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    kxsystem::display.modes.clear();
    for (int i = 0; i < 64; ++i) kxsystem::display.modes.push_back({640 + 10 * i, 480, 32, 60});
    kxsystem::display.window_width = 800;
    kxsystem::display.window_height = 480;
    kxsystem::display.monitor_frequency = 60;
    kxsystem::display.desktop_frequency = 75;
    kxgl::textureQuality = 0;
    kxgl::textureCompression = 1;
  }
  void TearDown() override {
    kxgl::textureQuality = 0;
    kxgl::textureCompression = 1;
    WindowsTest::TearDown();
  }
  std::vector<kxiconbutton*> ModeButtons() {
    std::vector<kxiconbutton*> out;
    kxnode* g = kxnode::Find("wndoptmainres", sim::OptionsWindow());
    for (kxnode* n = g->firstChild; n; n = n->nextSibling)
      if (kxiconbutton* b = kxnode::As<kxiconbutton>(n); b && b->name.Length() == 0) out.push_back(b);
    return out;
  }
  kxiconbutton* Button(const char* path) { return Widget<kxiconbutton>(sim::kWndOptionsMain, path); }
};

TEST_F(MainOptionsTest, SixtyModesAreOfferedAndTheCurrentOneIsSet) {
  kxgui::Visible->W = 1024;  // room for the window's full width
  kxsystem::display.window_fullscreen = 1;
  sim::FillDisplayModeList(sim::OptionsWindow());
  EXPECT_TRUE(Shown(sim::kWndOptionsMain));
  std::vector<kxiconbutton*> buttons = ModeButtons();
  ASSERT_EQ(buttons.size(), 60u);
  EXPECT_STREQ(buttons[0]->Text.Text(), " 640x480 (60Hz)");
  EXPECT_EQ(buttons[16]->selected, 1);  // 800 x 480
  EXPECT_EQ(buttons[15]->selected, 0);
  EXPECT_EQ(buttons[59]->hidden, 0);
  EXPECT_EQ(buttons[15]->X, 10 + 130);
  EXPECT_EQ(buttons[15]->Y, 319);
  EXPECT_EQ(Button("wndoptmainres/wndoptmainwin")->selected, 0);
  // A window of a mode's size is marked as window mode alone.
  kxsystem::display.window_fullscreen = 0;
  sim::FillDisplayModeList(sim::OptionsWindow());
  EXPECT_EQ(Button("wndoptmainres/wndoptmainwin")->selected, 1);
  for (const kxiconbutton* b : buttons) EXPECT_EQ(b->selected, 0) << b->Text.Text();
  // Narrower, three columns of twenty, closer together.
  kxgui::Visible->W = 640;
  sim::FillDisplayModeList(sim::OptionsWindow());
  EXPECT_EQ(buttons[15]->X, 10);
  EXPECT_EQ(buttons[20]->X, 10 + 130);
  EXPECT_EQ(buttons[20]->Y, 327);
  EXPECT_EQ(buttons[59]->X, 10 + 2 * 130);
  EXPECT_EQ(buttons[59]->Y, 327 - 19 * 16);

  kxsystem::display.modes.resize(3);
  sim::FillDisplayModeList(sim::OptionsWindow());
  EXPECT_EQ(ModeButtons()[3]->hidden, 1);
}

// The window is wider than the program's smallest screen: there it narrows
// with every group and button in reach; elsewhere it keeps its own size.
TEST_F(MainOptionsTest, TheWindowFitsTheScreenWithEveryGroupInReach) {
  auto right = [](const kxgraphic* g) {
    int x = g->W;
    for (; g && g != kxgui::Visible; g = g->ParentWidget()) x += g->X;
    return x;
  };
  for (auto [w, h] : {std::pair{640, 480}, std::pair{1024, 768}}) {
    SCOPED_TRACE(w);
    kxgui::Visible->W = w;
    kxgui::Visible->H = h;
    sim::FillDisplayModeList(sim::OptionsWindow());
    kxwindow* window = sim::OptionsWindow();
    EXPECT_EQ(window->W, std::min(w, 700));
    EXPECT_LE(right(window), w);
    for (const char* path : {"wndoptmainok", "wndoptmaincancel", "wndoptmainlang", "wndoptmainlang/wndoptmainlfr",
                             "wndoptmainftex", "wndoptmainftex/wndoptmainflow"}) {
      auto* widget = dynamic_cast<kxgraphic*>(kxnode::Find(path, window));
      ASSERT_NE(widget, nullptr) << path;
      EXPECT_LE(right(widget), w) << path;
    }
    auto* resolution = dynamic_cast<kxgraphic*>(kxnode::Find("wndoptmainres", window));
    auto* language = dynamic_cast<kxgraphic*>(kxnode::Find("wndoptmainlang", window));
    ASSERT_TRUE(resolution && language);
    EXPECT_LT(resolution->X + resolution->W, language->X);
    Send(sim::kWndOptionsMain, "Hide");
  }
}

TEST_F(MainOptionsTest, TheModeInUseInFullScreenRecreatesNothing) {
  kxsystem::display.window_fullscreen = 1;
  sim::FillDisplayModeList(sim::OptionsWindow());
  Send(sim::kWndOptionsMain, "Ok");
  EXPECT_EQ(kxsystem::callbacks.request, 0);
  EXPECT_FALSE(Shown(sim::kWndOptionsMain));

  // The same mode from a window goes to full screen.
  kxsystem::display.window_fullscreen = 0;
  sim::FillDisplayModeList(sim::OptionsWindow());
  ModeButtons()[16]->Select();
  Send(sim::kWndOptionsMain, "Ok");
  EXPECT_EQ(kxsystem::callbacks.request, kxcode::kRequestRecreate);
  EXPECT_EQ(kxsystem::display.window_fullscreen, 1);
}

TEST_F(MainOptionsTest, WindowModeFromFullScreenIsSixFortyByFourEightyAtTheDesktopRate) {
  kxsystem::display.window_fullscreen = 1;
  sim::FillDisplayModeList(sim::OptionsWindow());
  Button("wndoptmainres/wndoptmainwin")->Select();
  Send(sim::kWndOptionsMain, "Ok");
  EXPECT_EQ(kxsystem::callbacks.request, kxcode::kRequestRecreate);
  EXPECT_EQ(kxsystem::display.window_width, 640);
  EXPECT_EQ(kxsystem::display.window_height, 480);
  EXPECT_EQ(kxsystem::display.monitor_frequency, 75);
  EXPECT_EQ(kxsystem::display.window_fullscreen, 0);
}

TEST_F(MainOptionsTest, TextureQualityAndCompressionRecreateTheWindow) {
  sim::FillDisplayModeList(sim::OptionsWindow());
  EXPECT_EQ(Button("wndoptmainftex/wndoptmainfhigh")->selected, 1);
  Button("wndoptmainftex/wndoptmainflow")->Select();
  Send(sim::kWndOptionsMain, "Ok");
  EXPECT_EQ(kxgl::textureQuality, 2);
  EXPECT_EQ(kxsystem::callbacks.request, kxcode::kRequestRecreate);

  kxsystem::callbacks.request = 0;
  std::strcpy(sim::TheWorld()->name, "nosuchscenery");
  sim::FillDisplayModeList(sim::OptionsWindow());
  kxcheckbox* compression = nullptr;
  kxnode* g = kxnode::Find("wndoptmainftex", sim::OptionsWindow());
  for (kxnode* n = g->firstChild; n; n = n->nextSibling)
    if (kxcheckbox* c = kxnode::As<kxcheckbox>(n)) compression = c;
  ASSERT_NE(compression, nullptr);
  EXPECT_EQ(compression->checked, 1);
  compression->checked = 0;
  Send(sim::kWndOptionsMain, "Ok");
  EXPECT_EQ(kxgl::textureCompression, 0);
  EXPECT_EQ(kxsystem::callbacks.request, kxcode::kRequestRecreate);
  EXPECT_TRUE(LogHas("nosuchscenery"));  // the scenery was read again first
}

TEST_F(MainOptionsTest, ALanguageChoiceCopiesTheFileAndAnnouncesTheRestart) {
  Write("svgelanguage/language1.kxd", "SimText( 0 ) = \"Geschwindigkeit:\"\n");
  sim::Menu().language = sim::menulanguage::kEnglish;
  sim::FillDisplayModeList(sim::OptionsWindow());
  Send(sim::kWndOptionsMain, "Ok");  // the same language: no notice
  EXPECT_FALSE(Shown(sim::kWndRestart));

  sim::FillDisplayModeList(sim::OptionsWindow());
  Button("wndoptmainlang/wndoptmainlde")->Select();
  Send(sim::kWndOptionsMain, "Ok");
  EXPECT_EQ(Read("svgelanguage.kxd"), "SimText( 0 ) = \"Geschwindigkeit:\"\n");
  EXPECT_EQ(sim::Menu().language, sim::menulanguage::kGerman);
  EXPECT_TRUE(Shown(sim::kWndRestart));
  Send(sim::kWndRestart, "Ok");
  EXPECT_FALSE(Shown(sim::kWndRestart));

  // A translation that is not there: nothing changes and no notice.
  sim::FillDisplayModeList(sim::OptionsWindow());
  Button("wndoptmainlang/wndoptmainlfr")->Select();
  Send(sim::kWndOptionsMain, "Ok");
  EXPECT_EQ(sim::Menu().language, sim::menulanguage::kGerman);
  EXPECT_FALSE(Shown(sim::kWndRestart));
}

// From full screen to a window with another language: the restart notice,
// shown before the window is made anew, stands in the middle of the new one.
TEST_F(MainOptionsTest, TheRestartNoticeIsCentredOnTheWindowMadeAfterIt) {
  Write("svgelanguage/language1.kxd", "SimText( 0 ) = \"Geschwindigkeit:\"\n");
  sim::Menu().language = sim::menulanguage::kEnglish;
  kxsystem::display.window_fullscreen = 1;
  kxsystem::display.window_width = kxgui::Visible->W = 1024;
  kxsystem::display.window_height = kxgui::Visible->H = 768;
  sim::FillDisplayModeList(sim::OptionsWindow());
  Button("wndoptmainres/wndoptmainwin")->Select();
  Button("wndoptmainlang/wndoptmainlde")->Select();
  Send(sim::kWndOptionsMain, "Ok");
  ASSERT_EQ(kxsystem::callbacks.request, kxcode::kRequestRecreate);
  ASSERT_TRUE(Shown(sim::kWndRestart));
  kxgui::Frame();  // the new window's first frame: 640 x 480
  kxwindow* notice = sim::RestartWindow();
  EXPECT_EQ(notice->X, (640 - notice->W) / 2);
  EXPECT_EQ(notice->Y, (480 - notice->H) / 2);
}

TEST_F(WindowsTest, TheLanguageSwitchCopiesDeletesOrRefuses) {
  Write("svgelanguage/language3.kxd", "three");
  EXPECT_EQ(sim::SwitchLanguage(3), 1);
  EXPECT_EQ(Read("svgelanguage.kxd"), "three");
  EXPECT_EQ(sim::Menu().language, sim::menulanguage{4});
  EXPECT_TRUE(Logged("copy language 3 file=ok"));
  EXPECT_EQ(sim::SwitchLanguage(0), 1);
  EXPECT_EQ(Read("svgelanguage.kxd"), "<missing>");
  EXPECT_EQ(sim::SwitchLanguage(0), 1);  // nothing to delete is still a success
  EXPECT_EQ(sim::Menu().language, sim::menulanguage::kEnglish);
  EXPECT_EQ(sim::SwitchLanguage(7), 0);
  EXPECT_EQ(sim::SwitchLanguage(-1), 0);
  EXPECT_EQ(sim::SwitchLanguage(2), 0);  // no such file
  EXPECT_EQ(sim::Menu().language, sim::menulanguage::kEnglish);
  EXPECT_TRUE(Logged("copy language 2 file=fail"));
}

// --- help and notice windows

TEST_F(WindowsTest, TheNoticeOpensOnceClosesLikeOkAndQuitEndsTheProgram) {
  Send(sim::kWndNoDevice, "Open");
  kxwindow* notice = sim::NoDeviceWindow();
  notice->X = 3;
  Send(sim::kWndNoDevice, "Open");
  EXPECT_EQ(notice->X, 3);
  notice->RunCommand(notice->OnClose);
  EXPECT_FALSE(Shown(sim::kWndNoDevice));
  Send(sim::kWndNoDevice, "Quit");
  EXPECT_EQ(kxsystem::callbacks.request, kxcode::kRequestQuit);
}

TEST_F(WindowsTest, TheKeysWindowListsItsShortcutsAndOpensTheAboutBox) {
  auto lines = [](const char* text) {
    int n = 0;
    for (const char* p = text; *p; ++p) n += *p == '\n';
    return n;
  };
  EXPECT_EQ(lines(sim::KeysColumn(0)), 26);
  EXPECT_EQ(lines(sim::KeysColumn(1)), 25);
  EXPECT_EQ(lines(sim::KeysColumn(2)), 23);
  EXPECT_EQ(lines(sim::KeysColumn(3)), 24);
  EXPECT_NE(std::strstr(sim::KeysColumn(3), "\n         reload current model\n"), nullptr);
  Run("/Menu/Invisible/wndKeys/Open");
  EXPECT_TRUE(Shown(sim::kWndKeys));
  Run("/Display/Visible/wndKeys/About");
  EXPECT_TRUE(Shown(sim::kWndAbout));
  kximagetexture* picture = nullptr;
  for (kxnode* n = sim::AboutWindow()->firstChild; n; n = n->nextSibling)
    if (kximagetexture* i = kxnode::As<kximagetexture>(n)) picture = i;
  ASSERT_NE(picture, nullptr);
  EXPECT_FLOAT_EQ(picture->T0, 0.8203125f);
  EXPECT_EQ(picture->W, 512);
}

// Help, About, Ok in the about box: the keys window holds the pointer and
// the keys again, so no shortcut of the screen below runs while it is open.
TEST_F(WindowsTest, TheKeysWindowStaysModalAfterTheAboutBoxCloses) {
  static int keys;
  keys = 0;
  kxgui::KeyHook = [](int, int) { ++keys; };
  Run("/Display/Invisible/wndKeys/Show;/Menu/Invisible/wndKeys/Open");
  Run("/Display/Visible/wndKeys/About");
  ASSERT_EQ(kxgui::Capture, sim::AboutWindow());
  auto* ok = Widget<kxbutton>(sim::kWndAbout, "wndaboutok");
  ASSERT_NE(ok, nullptr);
  ok->RunCommand(ok->OnPress);
  EXPECT_FALSE(Shown(sim::kWndAbout));
  EXPECT_EQ(kxgui::Capture, sim::KeysWindow());
  Key(kxcode::kKeyReturn);
  EXPECT_EQ(keys, 0);
  Send(sim::kWndKeys, "Hide");
  EXPECT_EQ(kxgui::Capture, nullptr);
  Key(kxcode::kKeyReturn);
  EXPECT_EQ(keys, 1);
  kxgui::KeyHook = nullptr;
}

// "Edit aircraft" (the menu's button, F2 or the File menu) with a model of
// the older format says why nothing else happens.
TEST_F(WindowsTest, EditingAnOlderModelShowsANotice) {
  players[0].legacy = 1;
  std::strcpy(session.settings.aircraft0, "_alx_piccolo");
  sim::MenuToDesigner();
  EXPECT_TRUE(Shown(sim::kWndOldModel));
  EXPECT_EQ(kxgui::Capture, sim::OldModelWindow());
  EXPECT_TRUE(Logged("sim:  _alx_piccolo is a model of the older format and cannot be edited"));
  Send(sim::kWndOldModel, "Hide");
  Run("GoEditAcft");
  EXPECT_TRUE(Shown(sim::kWndOldModel));
  EXPECT_FALSE(Logged("no designer in this program"));  // the designer was never asked to open
  Send(sim::kWndOldModel, "Hide");
  players[0].legacy = 0;
}

// The program's own font, read from its data folder.
class ProgramFontWindowsTest : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    std::vector<uint8_t> bytes;
    const std::string path =
        (std::filesystem::path(KX_TEST_DATA) / "../../../../data/texture/arial10.kxf").lexically_normal().string();
    ASSERT_TRUE(kxgl::ReadFileBytes(path.c_str(), &bytes));
    ASSERT_TRUE(kxgl::ReadFont(bytes.data(), bytes.size(), &font_));
  }
  void TearDown() override {
    kxgl::FreeFont(&font_);
    WindowsTest::TearDown();
  }
  kxglfont font_{};
};

// In the program's own font every line of the four key columns shows, the
// last ("D", "SHIFT + F12") too, above the cursor keys' texts.
TEST_F(ProgramFontWindowsTest, TheKeyColumnsShowEveryLine) {
  const int line = font_.lineHeight;
  const char* names[] = {"wndkeys1", "wndkeys2", "wndkeys3", "wndkeys4"};
  auto* below = kxnode::As<kxlistitem>(kxnode::Find("wndkeys5", sim::KeysWindow()));
  ASSERT_NE(below, nullptr);
  for (int c = 0; c < 4; ++c) {
    std::string text = sim::KeysColumn(c);
    while (!text.empty() && text.back() == '\n') text.pop_back();  // trailing empty lines show nothing
    const int shown = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    auto* item = kxnode::As<kxlistitem>(kxnode::Find(names[c], sim::KeysWindow()));
    ASSERT_NE(item, nullptr) << names[c];
    EXPECT_GE(item->H, shown * line) << names[c];
    EXPECT_GE(item->Y, below->Y + below->H) << names[c];
    EXPECT_LE(item->Y + item->H, sim::KeysWindow()->H - 24) << names[c];  // below the title bar
  }
}

// Every fixed one-line text of the simulator's windows fits its own width in
// the program's font (list items wrap their words instead).
TEST_F(ProgramFontWindowsTest, EveryWindowTextFitsItsWidth) {
  const kxglfont* before = kxgl::currentFont;
  kxgl::SetFont(&font_);
  std::function<void(kxnode*)> walk = [&](kxnode* node) {
    for (kxnode* n = node->firstChild; n; n = n->nextSibling) {
      auto* text = dynamic_cast<kxtext*>(n);
      if (text && !dynamic_cast<kxlistitem*>(n) && text->Text.Str().find("XXXX") == std::string::npos) {
        EXPECT_LE(kxgl::TextWidth(text->Text.Text()), text->W) << text->name.Str() << ": " << text->Text.Str();
      }
      walk(n);
    }
  };
  walk(kxnode::Find("/Menu/Invisible/"));
  kxgl::SetFont(const_cast<kxglfont*>(before));
}

}  // namespace
