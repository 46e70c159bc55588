// Sections: the shortcut texts; wndKeys; wndAbout; wndNoDevice; wndOldModel.
#include "sim/windows/help_windows.h"

#include <cstring>

#include "gui/images.h"
#include "gui/list_item.h"
#include "platform/callbacks.h"
#include "platform/codes.h"
#include "sim/menu_state.h"
#include "sim/session.h"
#include "sim/windows/menu_windows.h"
#include "sim/windows/window_functions.h"

namespace sim {

namespace {

constexpr kxcolor4 kNoticeGrey = {0.8f, 0.8f, 0.8f, 1.0f};
constexpr float kAboutRowsUsed = 420.0f / 512.0f;  // the about picture fills 420 of its 512 rows
constexpr int kAboutSecondWidth = 210;             // px: from x 300 to 10 px inside the 520 px window
// Column 3 ends where column 4's texts begin, but its lines beside empty
// ones ("for model designers:") are longer and must not wrap.
constexpr int kKeysColumn3Width = 140;  // px

// --- the shortcut texts

constexpr char kColumn1[] =
    "ESCAPE\n\nSPACE\n\nB\n\nP\nQ\nM\n\nG\nJ\n\nH\n\nT\nC\n\nR\nW\n\nA\nZ,Y\nX\nD\n\n";
constexpr char kColumn2[] =
    "return to main menu\n"
    "\n"
    "place aircraft and viewer at\n"
    "scenery start position\n"
    "place aircraft at scenery start position\n"
    "\n"
    "pause simulation\n"
    "toogle sound on/off\n"
    "toogle music on/off\n"
    "\n"
    "throw aircraft into air (hand launch)\n"
    "simulate a HLG-glider start with 15m\n"
    "above ground and a speed of 40km/h\n"
    "set aircraft 50m above ground\n"
    "(use this for launching big gliders)\n"
    "start/stop aircraft trace\n"
    "clear aircraft trace\n"
    "\n"
    "start/stop recording flight\n"
    "playback recorded flight\n"
    "\n"
    "decrease field of view\n"
    "increase field of view\n"
    "place viewer behind aircraft\n"
    "place aircraft in front of viewer\n";
constexpr char kColumn3[] =
    "F1\nF2\nF3\nF4\n\nF5\nF6\nF7\nF8\n\nF9\nF10\nF11\n\nENTER\n\ntwo players only:\nF\nS\n\n\n"
    "for model designers:\nSHIFT + F12\n";
constexpr char kColumn4[] =
    "show this window\n"
    "edit aircraft parameters\n"
    "save current aircraft position\n"
    "restore aircraft position\n"
    "\n"
    "fixed viewing position\n"
    "fixed viewing position (with autozoom)\n"
    "follow mode\n"
    "cockpit mode\n"
    "\n"
    "toogle flight info window\n"
    "toogle 2nd view window\n"
    "write screenshot to harddisc\n"
    "\n"
    "start contest\n"
    "\n"
    "\n"
    "position aircrafts into glider tow position\n"
    "switches between single screen,\n"
    "horizontal and vertical splitscreen.\n"
    "\n"
    "\n"
    "\n"
    "         reload current model\n";

// --- wndKeys

// The columns reach from just above the cursor keys' texts to just below the
// title bar: 25 lines of the program's 15-pixel font need 375 px.
constexpr int kColumnsY = 74, kColumnsHeight = 376;  // px

class wndkeys : public simwindow {
 public:
  wndkeys() {
    Fixed("wndKeys", "Key Shortcuts", 640, 480, "Hide");
    background = kNoticeGrey;
    AddButton(this, 0, 10, 0, 0, 10, 0, "Ok", "../Hide", "wndkeysok");
    AddButton(this, 0, 10, 0, 0, 110, 0, "About", "../About", "wndkeysabout");
    AddListItem(this, 10, kColumnsY, 90, kColumnsHeight, 0, "wndkeys1", kColumn1);
    AddListItem(this, 78, kColumnsY, 260, kColumnsHeight, 0, "wndkeys2", kColumn2);
    AddListItem(this, 320, kColumnsY, kKeysColumn3Width, kColumnsHeight, 0, "wndkeys3", kColumn3);
    AddListItem(this, 380, kColumnsY, 250, kColumnsHeight, 0, "wndkeys4", kColumn4);
    AddListItem(this, 10, 20, 160, 50, 0, "wndkeys5", "cursor left/right\ncursor up/down\npage up/down\n");
    AddListItem(this, 170, 20, 480, 50, 0, "wndkeys6",
                "rotate viewer around aircraft\nmove viewer towards/away from aircraft\nmove viewer up or down\n");
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) ShowWindow(this);
    else if (std::strcmp(member, "About") == 0) ShowWindow(AboutWindow());
    else return kxwindow::GetMember(member, args);
    return kxvoid();
  }
};

// --- wndAbout

// A grey window that its Ok button closes and "Open" shows centred.
class wndnotice : public simwindow {
 public:
  wndnotice(const char* nodeName, const char* title, int w, int h, const char* okName) {
    Fixed(nodeName, title, w, h, "Hide");
    background = kNoticeGrey;
    AddButton(this, 0, 10, 0, 0, 10, 0, "Ok", "../Hide", okName);
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) ShowWindow(this);
    else return kxwindow::GetMember(member, args);
    return kxvoid();
  }
};

class wndabout : public wndnotice {
 public:
  wndabout() : wndnotice("wndAbout", "About Skyvane Gold Edition", 520, 470, "wndaboutok") {
    kxstring about;
    about.Format("%s\nVersion %s, built %s\n\nA flight simulator for radio-controlled model aircraft.\n\n"
                 "Flight model, scenery and tools by the Skyvane developers.",
                 kProductName, kVersion, __DATE__);
    AddListItem(this, 30, 14, 390, 220, 0, "wndabout1", about.Text());
    // Within the window: the text wraps where the box ends.
    AddListItem(this, 300, 14, kAboutSecondWidth, 220, 0, "wndabout2",
                "Every picture, sound, model and scenery is generated by the program's own tools.");
    if (kximagetexture* picture = AddImage(this, 4, 26, 512, 420, session.media.about_texture)) {
      picture->T0 = kAboutRowsUsed;
      picture->T1 = 0;
    }
  }
};

// --- wndNoDevice

// Either text ends with the way to fly without any device.
constexpr char kNoSignalText[] =
    "Skyvane Gold has located the USB interface cable, but no transmitter sends to it and no joystick was found. "
    "To fly from the keyboard, choose the Keypad assignment under Controls.";
constexpr char kNoDeviceText[] =
    "The input device that the control assignment uses was not found: no USB interface cable or joystick. "
    "To fly from the keyboard, choose the Keypad assignment under Controls.";

class wndnodevice : public simwindow {
 public:
  wndnodevice() {
    Fixed("wndNoDevice", "No Input Device found", 280, 200, "Ok");
    background = kNoticeGrey;
    AddButton(this, 0, 10, 0, 0, 110, 0, "Ok", "../Ok", "wndnodeviceok");
    AddButton(this, 0, 10, 0, 0, 10, 0, "Quit", "../Quit", "wndnodevicequit");
    AddListItem(this, 10, 50, 260, 120, 0, "wndnodevice1", kNoSignalText);
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) {
      OpenWindow(this);
    } else if (std::strcmp(member, "Ok") == 0) {
      HideWindow(this);
    } else if (std::strcmp(member, "Quit") == 0) {
      kxsystem::callbacks.request = kxcode::kRequestQuit;
      kxwindow::GetMember(member, args);
    } else {
      return kxwindow::GetMember(member, args);
    }
    return kxvoid();
  }
};

// --- wndOldModel

// "Edit aircraft" with a model of the older format: the designer edits
// component aircraft only, and says so rather than doing nothing.
class wndoldmodel : public wndnotice {
 public:
  wndoldmodel() : wndnotice("wndOldModel", "Edit aircraft", 280, 150, "wndoldmodelok") {
    AddListItem(this, 10, 50, 260, 70, 0, "wndoldmodel1",
                "This aircraft is a model of the older format. Models of the older format cannot be edited.");
  }
};

}  // namespace

const char* KeysColumn(int column) {
  static const char* const kColumns[] = {kColumn1, kColumn2, kColumn3, kColumn4};
  return column >= 0 && column < 4 ? kColumns[column] : "";
}

kxwindow* CreateKeysWindow() { return new wndkeys; }
kxwindow* CreateAboutWindow() { return new wndabout; }
kxwindow* CreateNoDeviceWindow() { return new wndnodevice; }
kxwindow* CreateOldModelWindow() { return new wndoldmodel; }

void SayWhatDeviceIsMissing(kxwindow* notice, int cableWithoutSignal) {
  kxtext* text = kxnode::As<kxtext>(notice ? notice->FindChild("wndnodevice1") : nullptr);
  if (text) text->Text = cableWithoutSignal ? kNoSignalText : kNoDeviceText;
}

}  // namespace sim
