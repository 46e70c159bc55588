// Every window of the program's menus at the smallest screen it runs on
// (640 x 480) and at 1024 x 768, in the program's own font: each opens
// inside the screen with every button in reach, every text fits its box
// (a line meant as one line does not wrap), and closing it gives the keys
// back to the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "config_ui/aircraft_select.h"
#include "graphics/file_bytes.h"
#include "graphics/font.h"
#include "gui/gui.h"
#include "gui/group_frame.h"
#include "gui/images.h"
#include "gui/paint.h"
#include "gui/slider.h"
#include "platform/window.h"
#include "sim/menu_bar.h"
#include "sim/windows/main_options_window.h"
#include "tests/config_ui/config_support.h"
#include "tests/sim/sim_support.h"

namespace {

constexpr int kIconTextIndent = 16;  // px from an option button or check box to its text
constexpr int kSliderValueGap = 4;   // px from a slider's end to its value
constexpr int kCaptionLeft = 10;     // px from a group's left edge to its caption
constexpr int kTitleLeft = 22;       // px from a window's left edge to its title
constexpr int kCloseBox = 20;        // px the close box takes at the title bar's right end

struct box {
  int x0, y0, x1, y1;  // px in the window, y up
};

class WindowFitTest : public configtest::cabletest {
 protected:
  void SetUp() override {
    cabletest::SetUp();
    if (IsSkipped()) return;
    std::vector<uint8_t> bytes;
    const std::string path =
        (std::filesystem::path(KX_TEST_DATA) / "../../../data/texture/arial10.kxf").lexically_normal().string();
    ASSERT_TRUE(kxgl::ReadFileBytes(path.c_str(), &bytes));
    ASSERT_TRUE(kxgl::ReadFont(bytes.data(), bytes.size(), &program_));
    kxgl::SetFont(&program_);
    kxgui::SetGuiFont(&program_);
    simtest::ResetSimulatorState();
    sim::CreateMenu();  // after the font: one-line texts take its line height
    kxscript::Execute("cd /Display/Invisible/; Append kxwindowloadacft LoadAircraft; cd /");
    Put("config/pilot.kxa", "Text = \"Pilot@@ADV\"\nAssign( 4, 1001 )\nEasy = 0\n");
    Put("config/config.kxc", "GameFile = \"game\"\nAircraft0File = \"pilot\"\nAircraft1File = \"pilot\"\n");
    sim::LoadPlayerConfigurations();
    // An aircraft whose name is far longer than its tile in the selection.
    Put("aircraft/Ultraleichtflugzeug_Segelflieger/Ultraleichtflugzeug_Segelflieger.kxd",
        "//\n//\n//\n//\n// version: 1.8.0\n//\n// type:    0\nAppend kxdbody Body\n");
    AddCable();
    sticks.Attach();
    Search();
    // A monitor with more modes than the options window shows, the widest
    // texts among them.
    display_ = kxsystem::display;
    kxsystem::display.modes.clear();
    for (int i = 0; i < 64; ++i) kxsystem::display.modes.push_back({2560 - 8 * i, 1440, 32, 144 - i});
  }
  void TearDown() override {
    kxsystem::display = display_;
    sim::DestroyMenu();
    delete Window("LoadAircraft");
    kxgui::SetGuiFont(nullptr);
    kxgl::SetFont(&font);
    kxgl::FreeFont(&program_);
    simtest::ResetSimulatorState();
    cabletest::TearDown();
  }

  // Where a widget must lie: inside the nearest ancestor that has a size
  // (groups of no size only carry their children), and inside a window
  // below its title bar.
  void Inside(const std::string& where, const box& b, const box& room) {
    EXPECT_TRUE(b.x0 >= room.x0 && b.y0 >= room.y0 && b.x1 <= room.x1 && b.y1 <= room.y1)
        << where << ": (" << b.x0 << ", " << b.y0 << ")-(" << b.x1 << ", " << b.y1 << ") outside (" << room.x0
        << ", " << room.y0 << ")-(" << room.x1 << ", " << room.y1 << ")";
  }

  // The text a widget shows fits its box, and what it draws lies where it
  // must (a text's box may reach further than its letters).
  void Check(const std::string& where, kxgraphic* g, const box& b, const box& room, bool scrolled) {
    const int line = kxgui::LineHeight();
    auto place = [&](const box& drawn) {
      if (!scrolled) Inside(where, drawn, room);
    };
    if (auto* item = dynamic_cast<kxlistitem*>(g)) {
      std::vector<std::string> lines = kxlistitem::Wrap(item->Text.Text(), item->W);
      int widest = 0;
      for (const std::string& l : lines) widest = std::max(widest, kxgui::TextWidth(l.c_str()));
      EXPECT_LE(widest, item->W) << where;
      // A text of separate lines (a column) shows each on its own line.
      const std::string text = item->Text.Str();
      if (text.find('\n') != std::string::npos) {
        size_t own = std::count(text.begin(), text.end(), '\n') + (text.back() == '\n' ? 0 : 1);
        EXPECT_EQ(lines.size(), own) << where << ": a line wraps";
      }
      int shown = static_cast<int>(lines.size());
      while (shown > 0 && lines[static_cast<size_t>(shown) - 1].empty()) --shown;  // trailing empty lines
      EXPECT_LE(shown * line, item->H) << where << ": " << shown << " lines";
      place({b.x0, b.y1 - shown * line, b.x0 + widest, b.y1});
    } else if (auto* vertical = dynamic_cast<kxverticaltext*>(g)) {
      EXPECT_LE(kxgui::TextWidth(vertical->Text.Text()) + kxtext::kMargin, vertical->H) << where;
      place(b);
    } else if (auto* text = dynamic_cast<kxtext*>(g)) {
      if (text->Text.Str().find("XXXX") != std::string::npos) return;  // a placeholder until opened
      const int width = kxgui::TextWidth(text->Text.Text());
      EXPECT_LE(width + kxtext::kMargin, text->W) << where << ": " << text->Text.Str();
      EXPECT_LE(line, text->H) << where;
      if (width > 0) place({b.x0 + kxtext::kMargin, b.y0, b.x0 + kxtext::kMargin + width, b.y1});
    } else if (auto* button = dynamic_cast<kxbutton*>(g)) {
      EXPECT_LE(kxgui::TextWidth(button->Text.Text()) + 4, button->W) << where << ": " << button->Text.Str();
      place(b);
    } else if (auto* option = dynamic_cast<kxiconbutton*>(g)) {
      place({b.x0, b.y0, b.x0 + kIconTextIndent + kxgui::TextWidth(option->Text.Text()), b.y1});
    } else if (auto* check = dynamic_cast<kxcheckbox*>(g)) {
      place({b.x0, b.y0, b.x0 + kIconTextIndent + kxgui::TextWidth(check->label.Text()), b.y1});
    } else if (auto* slider = dynamic_cast<kxslidervalue*>(g)) {
      place({b.x0, b.y0, b.x1 + kSliderValueGap + kxgui::TextWidth(slider->ValueText().Text()), b.y1});
    } else if (auto* group = dynamic_cast<kxlabel*>(g)) {
      EXPECT_LE(kCaptionLeft + kxgui::TextWidth(group->Text.Text()), group->W) << where;
      place(b);
    } else if (g->W > 0 && g->H > 0) {
      place(b);  // fields, pictures, frames and lists
    }
  }

  // Every shown widget below g; (ox, oy) is g's corner in the window.
  void Walk(const std::string& path, kxgraphic* g, int ox, int oy, const box& room, bool scrolled) {
    for (kxnode* n = g->lastChild; n; n = n->prevSibling) {
      kxgraphic* c = kxgraphic::Of(n);
      if (!c || c->hidden) continue;
      const std::string where = path + "/" + (c->name.Empty() ? std::string("(") + c->type->name + ")" : c->name.Str());
      const box b = {ox + c->X, oy + c->Y, ox + c->X + c->W, oy + c->Y + c->H};
      // What scrolls may lie beyond its view; its texts must still fit.
      Check(where, c, b, room, scrolled);
      const bool sized = c->W > 0 && c->H > 0;
      Walk(where, c, b.x0, b.y0, sized ? b : room, scrolled || dynamic_cast<kxscroll*>(c) != nullptr);
    }
  }

  void CheckWindow(kxwindow* w, int screenW, int screenH) {
    ASSERT_NE(w, nullptr);
    const std::string name = w->name.Str();
    ASSERT_EQ(w->parent, kxgui::Visible) << name << " did not open";
    kxgui::Visible->Update();
    EXPECT_TRUE(w->X >= 0 && w->Y >= 0 && w->X + w->W <= screenW && w->Y + w->H <= screenH)
        << name << " at (" << w->X << ", " << w->Y << ") " << w->W << " x " << w->H;
    EXPECT_LE(kTitleLeft + kxgui::TextWidth(w->Title.Text()), w->W - kCloseBox) << name << ": " << w->Title.Str();
    Walk(name, w, 0, 0, {0, 0, w->W, w->H - kxwindow::TitleBarHeight()}, false);
  }

  // A calibration window on the first device node of its kind.
  void Open(const std::string& window) {
    const bool game = window == "DeviceGame";
    for (kxnode* n = kxnode::Find("/Pinboard/")->firstChild; n; n = n->nextSibling) {
      if (game && kxnode::As<kxdevicegame>(n)) return (void)Get<kxwindowdevicegame>("DeviceGame")->Open(n);
      if (!game && kxnode::As<kxdevicetransmitter>(n)) return (void)Get<kxwindowdeviceradio>("DeviceRadio")->Open(n);
    }
  }

  // Closes what the close box closes, then whatever the window opened.
  void Close(kxwindow* w) {
    if (w->OnClose.Empty()) w->Hide();
    else w->RunCommand(w->OnClose);
    while (kxwindow* shown = kxnode::As<kxwindow>(kxgui::Visible->firstChild)) shown->Hide();
  }

  kxglfont program_{};
  kxdisplaysettings display_;
};

// A window by its node name wherever it is: with the menu bar's, with the
// configuration windows or on the screen.
kxwindow* Find(const char* name) {
  for (const char* root : {"/Menu/Invisible/", "/Display/Invisible/", "/Display/Visible/"}) {
    if (kxwindow* w = kxnode::As<kxwindow>(kxnode::Find((std::string(root) + name).c_str()))) return w;
  }
  return nullptr;
}

struct opening {
  const char* window;
  const char* member;  // sent to the window to open it; null: opened by the test
};

// Every window the main menu's buttons, the menu bar and the windows
// themselves open.
const opening kWindows[] = {
    {"wndLoadScenery", "Open"},
    {"wndSaveRecord", "Open"},
    {"wndLoadRecord", "Open"},
    {"wndWrongScenery", "Open"},
    {"wndOptionsFSchlepp", "Open"},
    {"wndOptionsGeneral", "Open"},
    {"wndOptionsSound", "Open"},
    {"wndTitleSelect", nullptr},  // from the sound window's "Change"
    {"wndOptionsView", "Open"},
    {"wndOptionsContest", "Open"},
    {"wndOptionsGrfx", "Open"},
    {"wndAbout", "Open"},
    {"wndNoDevice", "Open"},
    {"wndRestart", "Open"},
    {"wndKeys", "Open"},
    {"wndOptionsMain", nullptr},  // filled by the main menu's Options
    {"wndOldModel", "Open"},
    {"InputDevices", "Open"},
    {"DeviceRadio", nullptr},  // on the cable's node
    {"DeviceGame", nullptr},   // on the joystick's node
    {"AircraftControlSettings", "Open"},
    {"ConfigurationEasy", "Open( \"made\", 1 )"},
    {"ConfigurationEditor", "Open( \"pilot\", 0 )"},
    {"ConfigurationDelete", "Open( 1 )"},
    {"ChannelSelect", "Open( 4 )"},
    {"LoadAircraft", "Open( 0 )"},
};

TEST_F(WindowFitTest, EveryWindowFitsReadsAndClosesAtSixFortyByFourEightyAndLarger) {
  static int keys;
  kxgui::KeyHook = [](int, int) { ++keys; };
  for (auto [w, h] : {std::pair{640, 480}, std::pair{1024, 768}}) {
    screen->W = w;
    screen->H = h;
    for (const opening& o : kWindows) {
      SCOPED_TRACE(std::string(o.window) + " at " + std::to_string(w));
      const std::string name = o.window;
      kxwindow* window = Find(o.window);
      ASSERT_NE(window, nullptr);
      if (o.member) {
        Run((window->Path().Str() + o.member).c_str());
      } else if (name == "wndTitleSelect") {
        Run((Find("wndOptionsSound")->Path().Str() + "Open").c_str());
        Run((Find("wndOptionsSound")->Path().Str() + "OpenSelect").c_str());
      } else if (name == "wndOptionsMain") {
        sim::FillDisplayModeList(window);
      } else {
        Open(name);
      }
      CheckWindow(window, w, h);
      Close(window);
      EXPECT_NE(window->parent, kxgui::Visible);
      EXPECT_EQ(kxgui::Capture, nullptr);
      keys = 0;
      kxgui::OnKey(kxcode::kKeyReturn, 0);
      EXPECT_EQ(keys, 1) << "the keys stay with " << o.window;
    }
  }
  kxgui::KeyHook = nullptr;
}

}  // namespace
