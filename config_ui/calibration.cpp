#include "config_ui/calibration.h"

#include <cstring>

#include "config_ui/widgets.h"
#include "core/arguments.h"
#include "core/reference.h"
#include "gui/button.h"
#include "gui/containers.h"
#include "gui/gui.h"
#include "gui/indicators.h"
#include "gui/list_item.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "gui/tree.h"
#include "platform/codes.h"
#include "platform/device_nodes.h"
#include "platform/log.h"
#include "sim/windows/window_functions.h"

kxtype kxwindowdevicegame::Type("kxwindowdevicegame", sizeof(kxwindowdevicegame), kxcreate<kxwindowdevicegame>);
kxtype kxwindowdeviceradio::Type("kxwindowdeviceradio", sizeof(kxwindowdeviceradio), kxcreate<kxwindowdeviceradio>);

namespace {

using svconfig::Add;
using svconfig::kButtonLine;
using svconfig::kListInset;

// Layout in px, y up from the window's bottom edge.
constexpr int kCancelRight = 10, kOkRight = 100, kCalibrateX = 10;
constexpr int kListY = 82, kListTop = 24, kScrollTop = 22;
constexpr int kChannelX = 1, kChannelWidth = 100, kInputX = 101, kInputWidth = 254, kInputTextWidth = 200;
constexpr int kInstructionX = 10, kInstructionY = 40, kInstructionWidth = 340, kInstructionHeight = 36;
constexpr int kLabelWidth = 100;
constexpr int kBarX = 2, kBarWidth = 198, kBarHeight = 16;

constexpr kxcolor4 kListColour = {1, 1, 1, 1};
constexpr kxcolor4 kBarBackground = {0.8f, 0.8f, 0.8f, 1};
constexpr kxcolor4 kBarColour = {1, 0, 0, 1};

// Each button also brings the input devices window back.
constexpr const char kReturn[] = ";/Display/Invisible/InputDevices/Open";
constexpr const char kStartCommand[] = "../CalibrationStart";
constexpr const char kZeroCommand[] = "../CalibrationZero";
constexpr const char kFinishCommand[] = "../CalibrationFinish";

const char* const kJoystickLabels[kxwindowdevicegame::kLabels] = {
    "X",         "Y",         "Z",         "Rx",        "Ry", "Rz", "Slider[0]", "Slider[1]",
    "Button[0]", "Button[1]", "Button[2]", "Button[3]", "",   "",   "",          ""};

constexpr int kPadPilotAxes = 6;

std::string Number(const char* format, int n) {
  kxstring s;
  s.Format(format, n);
  return s.Str();
}

}  // namespace

// ---- shared ----------------------------------------------------------------------------

kxwindowdevice::kxwindowdevice(const char* nodeName, const char* prefix, const char* title) {
  Fixed(nodeName, title, kWidth, kHeight, (std::string("Cancel") + kReturn).c_str());
  std::string id = prefix;
  std::string cancel = std::string("../Cancel") + kReturn, ok = std::string("../Ok") + kReturn;
  cancelButton =
      sim::AddButton(this, 0, kButtonLine, 0, 0, kCancelRight, 0, "Cancel", cancel.c_str(), (id + "cancel").c_str());
  okButton = sim::AddButton(this, 0, kButtonLine, 0, 0, kOkRight, 0, "Ok", ok.c_str(), (id + "ok").c_str());
  calibrateButton = sim::AddButton(this, kCalibrateX, kButtonLine, 0, 0, 0, 0, TextCalibrate.Text(), kStartCommand,
                                   (id + "cal").c_str());
  kxframe* frame = sim::AddFrame(this, kListInset, kListY, 0, 0, kListInset, kListTop);
  svconfig::AddHeaderCell(frame, (id + "channel").c_str(), "Channel", kChannelX, kChannelWidth, kChannelWidth);
  svconfig::AddHeaderCell(frame, (id + "input").c_str(), "Input", kInputX, kInputWidth, kInputTextWidth);
  listArea = svconfig::AddListScroll(frame, kScrollTop, kListColour, &channels);
  instruction = Add(this, new kxlistitem("", kInstructionX, kInstructionY, kInstructionWidth, kInstructionHeight));
}

kxwindowdevice::~kxwindowdevice() {
  // The buttons a calibration took out of the window are still ours.
  for (kxbutton* b : {okButton, cancelButton})
    if (b && b->parent != this) delete b;
}

kxvalueptr kxwindowdevice::GetMember(const char* member, const kxargs& args) {
  using window = kxwindowdevice;
  static const svconfig::member<window> kMembers[] = {
      {"Open", [](window& w, const kxargs& a) { w.Open(a.Node(0)); return kxvoid(); }},
      {"CalibrationStart", svconfig::Command<window, &window::CalibrationStart>},
      {"CalibrationZero", svconfig::Command<window, &window::CalibrationZero>},
      {"CalibrationFinish", svconfig::Command<window, &window::CalibrationFinish>},
      {"Ok", svconfig::Command<window, &window::Ok>},
      {"Cancel", svconfig::Command<window, &window::Cancel>},
      {"Text1", svconfig::Text<window, &window::Text1>},
      {"Text2", svconfig::Text<window, &window::Text2>},
      {"TextOk", svconfig::Text<window, &window::TextOk>},
      {"TextCalibrate", svconfig::Text<window, &window::TextCalibrate>},
  };
  if (const svconfig::member<window>* m = svconfig::FindMember(kMembers, member)) return m->get(*this, args);
  return kxwindow::GetMember(member, args);
}

std::string kxwindowdevice::CalibrationPath() const {
  if (!device) return "";
  return "config/" + device->stem.Str() + ".kxc";
}

int kxwindowdevice::Open(kxnode* node) {
  if (!Accepts(node)) {
    kxsystem::Log("config:  %s: Open needs a device node it calibrates\n", name.Text());
    return 0;
  }
  EndCalibration();
  if (channels) channels->DeleteChildren();
  kxtree::ResetSelection(listArea);
  device = static_cast<kxdevicegame*>(node);
  Title = device->name;
  if (kxinputdevice* record = device->device) {
    std::memcpy(savedZero_, record->zero, sizeof savedZero_);
    std::memcpy(savedMinimum_, record->minimum, sizeof savedMinimum_);
    std::memcpy(savedMaximum_, record->maximum, sizeof savedMaximum_);
    std::memcpy(savedInvert_, record->invert, sizeof savedInvert_);
  }
  int count = device->channels < kxdevicegame::kChannels ? device->channels : kxdevicegame::kChannels;
  for (int c = 0; c < count && channels; ++c) {
    kxrow* row = Add(channels, new kxrow);
    if (!row) break;
    Add(row, new kxtext(Label(c).c_str(), 0, 0, kLabelWidth, svconfig::kCellHeight));
    kxclickbox* bar = Add(row, new kxclickbox(kBarX, 0, kBarWidth, kBarHeight));
    if (!bar) continue;
    bar->background = kBarBackground;
    bar->barA = bar->barB = kBarColour;
    bar->value = device->outputs ? device->outputs + c : nullptr;
  }
  sim::ShowWindow(this);
  kxgui::Focus = this;
  return 1;
}

void kxwindowdevice::CalibrationStart() {
  if (!device) return;
  step_ = step::centring;
  if (instruction) instruction->Text = Text1;
  for (kxbutton* b : {okButton, cancelButton})
    if (b && b->parent == this) b->Unlink();
  if (calibrateButton) {
    calibrateButton->Text = TextOk;
    calibrateButton->OnPress = kZeroCommand;
  }
}

void kxwindowdevice::CalibrationZero() {
  if (!device) return;
  step_ = step::ranging;
  if (instruction) instruction->Text = Text2;
  if (calibrateButton) calibrateButton->OnPress = kFinishCommand;
  device->capture = kxdevicegame::kCaptureUpdates;
  device->calibrating = 1;
}

void kxwindowdevice::CalibrationFinish() {
  if (!device) return;
  device->calibrating = 0;
  FinishRanging();
  Restore();
}

void kxwindowdevice::Ok() {
  if (device) {
    // A script may end the calibration here; what was measured is kept.
    if (step_ != step::idle) CalibrationFinish();
    kxinput::SaveCalibration(CalibrationPath().c_str(), device->device);
  }
  Hide();
}

void kxwindowdevice::Cancel() {
  EndCalibration();
  if (device && device->device) {
    kxinputdevice* record = device->device;
    std::memcpy(record->zero, savedZero_, sizeof savedZero_);
    std::memcpy(record->minimum, savedMinimum_, sizeof savedMinimum_);
    std::memcpy(record->maximum, savedMaximum_, sizeof savedMaximum_);
    std::memcpy(record->invert, savedInvert_, sizeof savedInvert_);
  }
  Hide();
}

void kxwindowdevice::EndCalibration() {
  if (device) {
    device->calibrating = 0;
    device->capture = 0;
  }
  Restore();
}

void kxwindowdevice::Restore() {
  step_ = step::idle;
  if (instruction) instruction->Text = "";
  // Back as the window's first children, Ok in front.
  if (cancelButton && cancelButton->parent != this) AddChild(cancelButton);
  if (okButton && okButton->parent != this) AddChild(okButton);
  if (calibrateButton) {
    calibrateButton->Text = TextCalibrate;
    calibrateButton->OnPress = kStartCommand;
  }
}

void kxwindowdevice::NodeGone(kxnode* node) {
  if (!device || node != device) return;
  // The device nodes were rebuilt: this window's node is gone with its slots.
  device = nullptr;
  Restore();
  if (channels) channels->DeleteChildren();
  if (parent == kxgui::Visible) Hide();
}

// ---- joystick ----------------------------------------------------------------------------

kxwindowdevicegame::kxwindowdevicegame() : kxwindowdevice("DeviceGame", "wdg", "AnalogJoystick") { type = &Type; }

int kxwindowdevicegame::Accepts(kxnode* node) const { return kxnode::As<kxdevicegame>(node) != nullptr; }

std::string kxwindowdevicegame::Label(int c) const { return c >= 0 && c < kLabels ? kJoystickLabels[c] : ""; }

// ---- transmitter ---------------------------------------------------------------------------

kxwindowdeviceradio::kxwindowdeviceradio() : kxwindowdevice("DeviceRadio", "wdr", "Interface") { type = &Type; }

kxvalueptr kxwindowdeviceradio::GetMember(const char* member, const kxargs& args) {
  using window = kxwindowdeviceradio;
  static const svconfig::member<window> kMembers[] = {
      {"TextNoSignal", svconfig::Text<window, &window::TextNoSignal>},
      {"TextNumChannels", svconfig::Text<window, &window::TextNumChannels>},
      {"TextJoyNumChannels", svconfig::Text<window, &window::TextJoyNumChannels>},
  };
  if (const svconfig::member<window>* m = svconfig::FindMember(kMembers, member)) return m->get(*this, args);
  return kxwindowdevice::GetMember(member, args);
}

int kxwindowdeviceradio::Accepts(kxnode* node) const { return kxnode::As<kxdevicetransmitter>(node) != nullptr; }

std::string kxwindowdeviceradio::Label(int c) const {
  const kxinputdevice* record = device ? device->device : nullptr;
  if (record && record->subkind == kxcode::kDevicePadPilot && c >= kPadPilotAxes)
    return Number("Button %d", c - kPadPilotAxes + 1);
  return Number("%d", c + 1);
}

void kxwindowdeviceradio::FinishRanging() {
  kxinputdevice* r = device ? device->device : nullptr;
  if (!r) return;
  int count = r->channel_count < kxinputdevice::kChannels ? r->channel_count : kxinputdevice::kChannels;
  for (int c = 0; c < count; ++c) {
    if (r->maximum[c] - r->zero[c] < kMinHalfSpan || r->zero[c] - r->minimum[c] < kMinHalfSpan)
      r->zero[c] = (r->maximum[c] + r->minimum[c]) / 2;
  }
}

kxinputdevice* kxwindowdeviceradio::SignalDevice() { return device ? device->device : nullptr; }

void kxwindowdeviceradio::ShowSignal(int count) {
  if (calibrateButton) calibrateButton->disabled = count == 0 ? 1 : 0;
  if (!instruction) return;
  if (count == 0)
    instruction->Text = TextNoSignal;
  else
    instruction->Text = svconfig::ChannelCountText(TextNumChannels.Text(), count);
}

namespace svconfig {

std::string ChannelCountText(const char* format, int channels) {
  // Exactly one conversion, and it is "%d"; "%%" is a literal percent.
  int conversions = 0;
  bool plainD = true;
  for (const char* p = format ? format : ""; *p; ++p) {
    if (*p != '%') continue;
    if (p[1] == '%') {
      ++p;
      continue;
    }
    ++conversions;
    if (p[1] != 'd') plainD = false;
  }
  return Number(conversions == 1 && plainD ? format : kxwindowdeviceradio::kDefaultNumChannels, channels);
}

}  // namespace svconfig
