#include "config_ui/configuration_easy.h"

#include <cmath>
#include <cstring>

#include "config_ui/configuration_editor.h"
#include "config_ui/widgets.h"
#include "core/arguments.h"
#include "core/interpreter.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/containers.h"
#include "gui/edit.h"
#include "gui/gui.h"
#include "gui/paint.h"
#include "gui/text.h"
#include "platform/device_mapper.h"
#include "platform/device_nodes.h"
#include "platform/event_nodes.h"
#include "platform/files.h"
#include "platform/input_devices.h"
#include "platform/log.h"
#include "platform/pinboard.h"
#include "sim/config_files.h"
#include "sim/windows/window_functions.h"

kxtype kxinputmonitor::Type("kxinputmonitor", sizeof(kxinputmonitor), kxcreate<kxinputmonitor>);
kxtype svconfigurationeasy::Type("svconfigurationeasy", sizeof(svconfigurationeasy), kxcreate<svconfigurationeasy>);

using namespace svconfig;

namespace {

// Layout in px, y up from the window's bottom edge. Row r of the inputs, the
// curve fields and the labels lies at kRowTop - 20 r.
constexpr int kCancelRight = 10, kOkRight = 100, kAdvancedX = 270;
constexpr int kRowTop = 280, kRowStep = 20;
// The labels reach to the travel fields: "Throttle / Collective Pitch" needs 156 px.
constexpr int kLabelX = 3, kLabelWidth = 156;
constexpr int kTravelX = 160, kExpoX = 198, kFieldWidth = 34, kFieldHeight = 18, kFieldChars = 3;
constexpr int kReverseX = 240, kBoxSide = 20;
constexpr int kInputsX = 275, kInputsWidth = 360;
constexpr int kHeadingY = 302, kHeadingHeight = 100, kInputHeadingX = 271, kHeadingWidth = 20;
constexpr int kTravelHeadingX = 164, kExpoHeadingX = 202, kReverseHeadingX = 236;
constexpr int kDeviceX = 10, kUsbWidth = 140, kJoystickWidth = 100;
constexpr int kDeviceY[kEasyDevices] = {50, 30, 90, 70};  // joystick 1, joystick 2, USB 1, USB 2
constexpr int kDeviceWidth[kEasyDevices] = {kJoystickWidth, kJoystickWidth, kUsbWidth, kUsbWidth};
constexpr int kMonitorX = 275, kMonitorY = 20, kMonitorHeight = 100;
constexpr int kConfigLabelX = 5, kConfigLabelY = 13, kConfigLabelWidth = 100;
constexpr int kNameFrameX = 100, kNameFrameY = 11, kNameFrameWidth = 154, kNameFrameHeight = 24;
constexpr int kHeaderTop = 24, kHeaderCells = 5;

const char* const kDeviceTexts[kEasyDevices] = {"Analog Joystick #1", "Analog Joystick #2", "USB Interface/PadPilot",
                                                "USB Interface/PadPilot #2"};
// The monitor's base for each device button.
constexpr int kBaseOfDevice[kEasyDevices] = {600, 650, 1000, 1100};

const char* const kInputHeadings[kEasyInputs] = {
    "Channel 1", "Channel 2", "Channel 3", "Channel 4", "Channel 5", "Channel 6", "Channel 7", "Channel 8", "Button 1",
    "Button 2",  "Button 3",  "Button 4",  "NUM 2 / 8", "NUM 4 / 6", "NUM 1",     "NUM 3",     "NUM 7",     "NUM 9"};
const char* const kHeaderTexts[kHeaderCells] = {"Device", "Input", "Function", "Curve", "Channel Assignment"};
const char* const kHeaderIds[kHeaderCells] = {"wcedevice", "wceinput", "wcefunction", "wcecurve", "wcechanassign"};

// New configurations: rows 0-3 on the device's first four inputs, rows 4-7
// on the keypad keys, then flaps and wing sweep moved to the keypad pairs.
constexpr int kNewRows = 8;
constexpr int kNewKeypadOffset = 10;
constexpr int kEngineFunction = 20, kConstPos = 1937;
constexpr int kFlapsRow = 4, kNum28 = 12, kWingSweepRow = 7, kNum46 = 13;

constexpr const char kSettingsOpen[] = "/Display/Visible/AircraftControlSettings/Open";
constexpr const char kEditorShown[] = "/Display/Visible/ConfigurationEditor/";

// A group that only carries its children: no size, so it never takes a
// click from a sibling, and its children keep the window's coordinates.
kxgraphic* Group(kxgraphic* window) { return Add(window, new kxgraphic(0, 0, 0, 0)); }

kxedit* AddField(kxgraphic* parent, int x, int y) {
  kxedit* field = Add(parent, new kxedit(x, y, kFieldWidth, kFieldHeight));
  if (field) field->maxLength = kFieldChars;
  return field;
}

int RowY(int r) { return kRowTop - kRowStep * r; }

}  // namespace

// ---- input monitor -----------------------------------------------------------------------

kxinputmonitor::kxinputmonitor() { type = &Type; }

int kxinputmonitor::Slot(int i) const {
  static constexpr int kKeypad[kBars - 12] = {201, 202, 204, 205, 206, 207};
  return i < 12 ? base + i : kKeypad[i - 12];
}

void kxinputmonitor::Draw(int ox, int oy) {
  static constexpr kxcolor4 kTrack = {0.8f, 0.8f, 0.8f, 1};
  static constexpr kxcolor4 kCentre = {0.9f, 0.9f, 0.9f, 1};
  static constexpr kxcolor4 kLevel = {1, 0, 0, 1};
  static constexpr int kBottom = 10, kMiddle = 50, kTop = 90, kHalf = 40;  // px above the monitor's edge
  int ax = ox + X, ay = oy + Y;
  // Looked up each time: a pinboard made anew must not leave a stale table.
  const kxpinboard* board = input::Pinboard();
  for (int i = 0; i < kBars; ++i) {
    int x = ax + kPitch * i;
    kxgui::SetColor(kTrack);
    kxgui::FillRect(x, ay + kBottom, x + kBarWidth, ay + kTop);
    kxgui::SetColor(kCentre);
    kxgui::DrawLine(x, ay + kMiddle, x + kBarWidth, ay + kMiddle);
    int slot = Slot(i);
    float v = board && slot >= 0 && slot < kxpinboard::kSlots ? board->slots[slot] : 0.0f;
    if (!std::isfinite(v)) v = 0.0f;
    v = v < -1.0f ? -1.0f : v > 1.0f ? 1.0f : v;
    kxgui::SetColor(kLevel);
    kxgui::FillRect(x, ay + kBottom, x + kBarWidth, ay + kMiddle + static_cast<int>(kHalf * v));
  }
  DrawChildren(ax, ay);
}

// ---- the window --------------------------------------------------------------------------

svconfigurationeasy::svconfigurationeasy() {
  type = &Type;
  Fixed("ConfigurationEasy", "Configuration", kWidth, kHeight, "Cancel");
  sim::AddButton(this, 0, kButtonLine, 0, 0, kCancelRight, 0, "Cancel", "../Cancel", "wcecancel");
  sim::AddButton(this, 0, kButtonLine, 0, 0, kOkRight, 0, "Ok", "../Ok", "wceok");
  sim::AddButton(this, kAdvancedX, kButtonLine, 0, 0, 0, 0, "Advanced", "../Advanced", "wceadvanced");
  Add(this, new kxtext("Configuration:", kConfigLabelX, kConfigLabelY, kConfigLabelWidth, kCellHeight), "wceconfig");
  kxframe* nameFrame = Add(this, new kxframe(kNameFrameX, kNameFrameY, kNameFrameWidth, kNameFrameHeight));
  // The name fills its frame: a click anywhere on the drawn box is one into it.
  nameField = Add(nameFrame, new kxedit(0, 0, kNameFrameWidth, kNameFrameHeight));
  if (nameField) nameField->maxLength = kMaxDescription;

  kxframe* header = Add(this, new kxframe(2, 0, 0, kCellHeight));
  if (header) {
    header->Yr = kHeaderTop;
    header->Wr = 2;
    int width = (kWidth - 4) / kHeaderCells;
    for (int i = 0; i < kHeaderCells; ++i)
      Add(header, new kxtext(kHeaderTexts[i], 2 + width * i, 0, width, kCellHeight), kHeaderIds[i]);
  }

  // Commands climb to the window: input button, row, group; box, column, group.
  kxgraphic* inputs = Group(this);
  kxgraphic* curve = Group(this);
  kxgraphic* boxes = Group(curve);
  for (int r = 0; r < kEasyRows; ++r) {
    const easyrow& row = EasyRow(r);
    Add(this, new kxtext(row.text, kLabelX, RowY(r), kLabelWidth, kCellHeight), row.id);
    travel[r] = AddField(curve, kTravelX, RowY(r));
    expo[r] = AddField(curve, kExpoX, RowY(r));
    reverse[r] = Add(boxes, new kxcheckbox(kReverseX, RowY(r), kBoxSide, kBoxSide));
    if (reverse[r]) {
      reverse[r]->OnCheck.Format("../../../Invert( %d, 1 )", r);
      reverse[r]->OnUncheck.Format("../../../Invert( %d, 0 )", r);
    }
    rows[r] = Add(inputs, new kxgraphic(kInputsX, RowY(r), kInputsWidth, kCellHeight));
    for (int j = 0; j < kEasyInputs && rows[r]; ++j) {
      kxiconbutton* b = Add(rows[r], new kxiconbutton(kBoxSide * j, 0, kBoxSide, kBoxSide));
      if (b) b->OnPress.Format("../../../FunctionChange( %d, %d )", r, j);
    }
  }
  for (int i = 0; i < kEasyInputs; ++i)
    Add(this, new kxverticaltext(kInputHeadings[i], kInputHeadingX + kHeadingWidth * i, kHeadingY, kHeadingWidth,
                                 kHeadingHeight));
  Add(this, new kxverticaltext("Travel Adj.", kTravelHeadingX, kHeadingY, kHeadingWidth, kHeadingHeight), "wcerange");
  Add(this, new kxverticaltext("Expo", kExpoHeadingX, kHeadingY, kHeadingWidth, kHeadingHeight), "wceexpo");
  Add(this, new kxverticaltext("Reverse", kReverseHeadingX, kHeadingY, kHeadingWidth, kHeadingHeight), "wcereverse");

  kxgraphic* deviceGroup = Group(this);
  static constexpr int kDeviceNumber[kEasyDevices] = {3, 4, 1, 2};
  for (int d = 0; d < kEasyDevices; ++d) {
    devices[d] = Add(deviceGroup, new kxiconbutton(kDeviceX, kDeviceY[d], kDeviceWidth[d], kCellHeight));
    if (!devices[d]) continue;
    devices[d]->Text = kDeviceTexts[d];
    devices[d]->OnPress.Format("../../DeviceChange( %d )", kDeviceNumber[d]);
  }
  monitor = Add(this, new kxinputmonitor);
  if (monitor) {
    monitor->X = kMonitorX, monitor->Y = kMonitorY;
    monitor->W = kInputsWidth, monitor->H = kMonitorHeight;
  }
}

kxvalueptr svconfigurationeasy::GetMember(const char* member, const kxargs& args) {
  using window = svconfigurationeasy;
  static const svconfig::member<window> kMembers[] = {
      // A missing "new" or reverse value reads as 0.
      {"Open", [](window& w, const kxargs& a) { w.Open(a.String(0).Text(), a.Int(1)); return kxvoid(); }},
      {"Invert", [](window& w, const kxargs& a) { w.Invert(a.Int(0, -1), a.Int(1)); return kxvoid(); }},
      {"Ok", svconfig::Command<window, &window::Ok>},
      {"Cancel", svconfig::Command<window, &window::Cancel>},
      {"Advanced", svconfig::Command<window, &window::Advanced>},
      {"FunctionChange", svconfig::CommandIntInt<window, &window::FunctionChange>},
      {"DeviceChange", svconfig::CommandInt<window, &window::DeviceChange>},
  };
  if (const svconfig::member<window>* m = svconfig::FindMember(kMembers, member)) return m->get(*this, args);
  return kxwindow::GetMember(member, args);
}

void svconfigurationeasy::Update() {
  kxwindow::Update();
  if (nameField) Title = nameField->text;
}

kxiconbutton* svconfigurationeasy::Input(int row, int j) const {
  if (row < 0 || row >= kEasyRows || !rows[row]) return nullptr;
  int k = 0;
  for (kxnode* n = rows[row]->firstChild; n; n = n->nextSibling, ++k)
    if (k == j) return kxnode::As<kxiconbutton>(n);
  return nullptr;
}

easystate svconfigurationeasy::State() const {
  easystate state;
  for (int d = 0; d < kEasyDevices; ++d) state.device[d] = devices[d] && devices[d]->selected;
  for (int r = 0; r < kEasyRows; ++r) {
    for (int j = 0; j < kEasyInputs; ++j) {
      kxiconbutton* b = Input(r, j);
      if (b && b->selected) state.input[r] = j;  // the highest one on
    }
  }
  return state;
}

void svconfigurationeasy::Open(const char* stem, int isNew) {
  if (!PrivateNodes(stem, &mapper, &controller)) return;
  // New assigns the configuration to player 1 only after this returns.
  made = svconfig::newconfiguration{};
  if (isNew) made.stem = stem;
  if (const svconfigfiles* files = sim::ConfigFiles(); files && isNew) {
    made.inUseBefore[0] = files->Aircraft0File;
    made.inUseBefore[1] = files->Aircraft1File;
  }
  mapper->EasyDevice = 0;
  mapper->Easy = isNew;
  // Rows the file does not set start clear, whatever an earlier Open left.
  for (int r = 0; r < kEasyRows; ++r) mapper->EasyFunction[r] = mapper->EasyInvert[r] = 0;
  configtext text = RunConfiguration(stem, mapper, controller);
  if (mapper->Easy == 0) {
    kxstring command;
    command.Format("/Display/Invisible/ConfigurationEditor/Open( %s, 0)", kxscript::Quote(stem).Text());
    kxscript::Execute(command.Text());
    return;
  }

  int joysticks = 0, usb = 0;
  if (kxpinboard* board = input::Pinboard()) {
    for (kxnode* n = board->firstChild; n; n = n->nextSibling) {
      if (kxnode::As<kxdevicegame>(n)) ++joysticks;
      if (kxnode::As<kxdevicetransmitter>(n)) ++usb;
    }
  }
  const int present[kEasyDevices] = {joysticks >= 1, joysticks >= 2, usb >= 1, usb >= 2};
  for (int d = 0; d < kEasyDevices; ++d) {
    if (!devices[d]) continue;
    devices[d]->selected = 0;
    devices[d]->disabled = isNew && present[d] ? 0 : 1;
  }
  auto choose = [this](int d) {
    if (devices[d]) devices[d]->selected = 1, devices[d]->disabled = 0;
    if (monitor) monitor->base = kBaseOfDevice[d];
  };
  int chosen = DeviceOfEasyDevice(mapper->EasyDevice);
  if (chosen >= 0) choose(chosen);

  if (!isNew) {
    if (nameField) nameField->SetText(text.description.c_str());
  } else {
    // A transmitter is the first choice, unless the only transmitter is the
    // cable and there is a joystick as well.
    const kxinputdevice* first = kxinput::FirstDevice();
    if (usb > 0 && (joysticks == 0 || (first && first->fixed_channels != 0))) {
      mapper->EasyDevice = 1;
      choose(kUsb1);
    } else if (joysticks > 0) {
      mapper->EasyDevice = 3;
      choose(kJoystick1);
    }
    if (nameField) nameField->SetText("new");
    for (int r = 0; r < kNewRows; ++r) {
      ApplyEasyReverse(mapper, r, 0);
      FunctionChange(r, r < 4 ? r : r + kNewKeypadOffset);
    }
    mapper->Assign(kEngineFunction, kConstPos);
    FunctionChange(kFlapsRow, kNum28);
    FunctionChange(kWingSweepRow, kNum46);
    RefreshView();
    Save();
  }
  RefreshView();
  sim::ShowWindow(this);
  if (isNew && nameField) kxgui::Focus = nameField;
}

void svconfigurationeasy::RefreshView() {
  if (nameField) Title = nameField->text;
  if (!mapper) return;
  for (int r = 0; r < kEasyRows; ++r) {
    int shown = EasyRow(r).curve[0];
    if (travel[r]) travel[r]->SetText(FieldText(mapper->Dual[shown]).c_str());
    if (expo[r]) expo[r]->SetText(FieldText(mapper->Expo[shown]).c_str());
    if (reverse[r]) reverse[r]->checked = mapper->EasyInvert[r] ? 1 : 0;
  }
  ShowInputs();
}

void svconfigurationeasy::ShowInputs() {
  if (!mapper) return;
  for (int r = 0; r < kEasyRows; ++r)
    for (int j = 0; j < kEasyInputs; ++j)
      if (kxiconbutton* b = Input(r, j)) b->selected = j == mapper->EasyFunction[r] ? 1 : 0;
}

void svconfigurationeasy::ApplyFields() {
  if (!mapper) return;
  for (int r = 0; r < kEasyRows; ++r) {
    ApplyEasyCurve(mapper, r, FieldFraction(travel[r] ? travel[r]->text : ""),
                   FieldFraction(expo[r] ? expo[r]->text : ""));
  }
}

int svconfigurationeasy::Save() {
  if (!mapper) return 0;
  ApplyFields();
  if (nameField && !nameField->text[0]) nameField->SetText(kNewDescription);
  return WriteConfiguration(mapper->name.Text(), EasyForm(*mapper, nameField ? nameField->text : "", State()));
}

// A save that fails keeps the window and the edits: the players'
// configurations are read again only from a file that was written.
void svconfigurationeasy::Ok() {
  if (!Save()) return;
  made = svconfig::newconfiguration{};  // saved: Cancel no longer takes it back
  sim::LoadPlayerConfigurations();
  Hide();
  kxscript::Execute(kSettingsOpen);
}

void svconfigurationeasy::Cancel() {
  Hide();
  svconfig::DiscardNew(&made);
  kxscript::Execute(kSettingsOpen);
}

void svconfigurationeasy::Advanced() {
  // The advanced editor reads the file: without it the edits would be lost.
  if (!mapper || !Save()) return;
  svconfig::newconfiguration handed = made;
  made = svconfig::newconfiguration{};
  Hide();
  kxstring command;
  command.Format("/Display/Invisible/ConfigurationEditor/Open( %s, 0)", kxscript::Quote(mapper->name.Text()).Text());
  kxscript::Execute(command.Text());
  // A configuration New made stays New's in the editor: its Cancel takes it
  // back as this window's would have.
  if (auto* editor = kxnode::As<svconfigurationeditor>(kxnode::Find(kEditorShown))) editor->made = handed;
}

void svconfigurationeasy::Invert(int row, int on) {
  // Typed travel and expo are taken first, so the refresh shows them again.
  ApplyFields();
  if (ApplyEasyReverse(mapper, row, on)) RefreshView();
}

void svconfigurationeasy::FunctionChange(int row, int input) {
  if (ApplyEasyInput(mapper, row, input, DeviceBase(State().device))) ShowInputs();
}

void svconfigurationeasy::DeviceChange(int number) {
  if (number < 1 || number > kEasyDevices) {
    kxsystem::Log("config:  device %d ignored, devices are 1-%d\n", number, kEasyDevices);
    return;
  }
  int d = DeviceOfEasyDevice(number);
  // A click has selected the button already; a script selects it here.
  if (devices[d]) devices[d]->Select();
  if (mapper) {
    for (int r = 0; r < kEasyRows; ++r) FunctionChange(r, mapper->EasyFunction[r]);
  }
  if (monitor) monitor->base = kBaseOfDevice[d];
}

void svconfigurationeasy::NodeGone(kxnode* node) {
  if (node == mapper) mapper = nullptr;
  if (node == controller) controller = nullptr;
}
