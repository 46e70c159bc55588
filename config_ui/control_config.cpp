#include "config_ui/control_config.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/interpreter.h"
#include "core/numbers.h"
#include "core/output.h"
#include "gui/text.h"
#include "platform/device_mapper.h"
#include "platform/event_nodes.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/pinboard.h"
#include "sim/config_files.h"
#include "sim/multilanguage.h"
#include "sim/notice.h"

namespace svconfig {

const char kTypeSeparator[] = "@@";
const char kNewDescription[] = "new configuration";
const char kAdvancedType[] = "ADV";
const char kConfigurationPath[] = "config/%s.kxa";

namespace {

// ---- source names ------------------------------------------------------------------

constexpr int kJoystick1Slot = 600, kJoystick2Slot = 650, kJoystickAxes = 8, kJoystickInputs = 12;
constexpr int kUsb1Slot = 1000, kUsb2Slot = 1100, kUsbChannels = 12;
constexpr int kConstNeg = 1935, kConstZero = 1936, kConstPos = 1937;
constexpr int kTaileron1 = 1938, kTaileron2 = 1939, kVTail1 = 1940, kVTail2 = 1941;

struct keypadkey {
  int code;
  const char* format;  // with the text table's "Keyboard"
};
constexpr keypadkey kKeypad[] = {{201, "%s - NUM 2/8"}, {202, "%s - NUM 4/6"}, {204, "%s - NUM 1"},
                                 {205, "%s - NUM 3"},   {206, "%s - NUM 7"},   {207, "%s - NUM 9"}};

struct namedcode {
  int code;
  const char* key;  // single text of the text table
};
constexpr namedcode kMixes[] = {{kConstNeg, "MixNeg"},        {kConstZero, "MixZero"},      {kConstPos, "MixPos"},
                                {kTaileron1, "MixTaileron1"}, {kTaileron2, "MixTaileron2"}, {kVTail1, "MixVTail1"},
                                {kVTail2, "MixVTail2"}};

// "<device> - <word> <n>" for input i of a device of axes-then-buttons.
std::string DeviceInput(const char* device, const char* channel, int i, int axes) {
  kxstring s;
  if (i < axes)
    s.Format("%s - %s %d", device, channel, i + 1);
  else
    s.Format("%s - %s %d", device, "Button", i - axes + 1);
  return s.Str();
}

// ---- the easy mapping --------------------------------------------------------------

constexpr int kEnd = -1;
constexpr int kEngineFunction = 20;

const easyrow kRows[kEasyRows] = {
    {"Throttle / Collective Pitch",
     "wcethrottle",
     {0, 1, 2, 3, 16, kEnd},
     {{kEngineFunction, kConstPos}, {kEnd, 0}},
     {0, 1, 2, 3, 16, kEnd},
     {0, 1, 2, 3, 16, kEnd}},
    {"Elevator / Cyclic Pitch",
     "wceelevator",
     {4, 5, 17, kEnd},
     {{6, kVTail1}, {7, kVTail2}, {14, kTaileron1}, {15, kTaileron2}, {kEnd, 0}},
     {4, 5, 17, kEnd},
     {4, 5, 17, kEnd}},
    {"Rudder / Tailrotor", "wcerudder", {8, 9, 19, kEnd}, {{kEnd, 0}}, {8, 9, 19, kEnd}, {8, 9, 19, kEnd}},
    {"Aileron / Roll", "wceaileron", {10, 11, 18, kEnd}, {{kEnd, 0}}, {10, 11, 18, kEnd}, {10, 11, 18, kEnd}},
    {"Flaps", "wceflaps", {12, 13, kEnd}, {{kEnd, 0}}, {12, 13, kEnd}, {12, 13, kEnd}},
    {"Retractable gear", "wcegear", {24, kEnd}, {{kEnd, 0}}, {24, kEnd}, {24, kEnd}},
    {"Smoke/Tow hook", "wcehooksmoke", {25, 28, kEnd}, {{kEnd, 0}}, {25, kEnd}, {25, kEnd}},
    {"Wing sweep", "wcewingsweep", {26, 27, kEnd}, {{kEnd, 0}}, {26, 27, kEnd}, {26, 27, kEnd}},
    {"Wheel brake/Autorotation",
     "wcebrakeautorotation",
     {20, 23, kEnd},
     {{kEnd, 0}},
     {20, 23, kEnd},
     {kEngineFunction, kEnd}},
};

// Inputs 12-17: the keypad pairs and keys.
constexpr int kKeypadInputs[kEasyInputs - kJoystickInputs] = {201, 202, 204, 205, 206, 207};

bool RowOk(const kxdevicemapper* mapper, int r, const char* what) {
  if (!mapper) return false;
  if (r >= 0 && r < kEasyRows) return true;
  kxsystem::Log("config:  %s of row %d ignored, rows are 0-%d\n", what, r, kEasyRows - 1);
  return false;
}

// ---- files ---------------------------------------------------------------------------

// Type texts of the easy form, in the order of the device buttons.
const char* const kDeviceTexts[kEasyDevices] = {"Analog Joystick #1", "Analog Joystick #2", "USB Interface / PP",
                                                "USB Interface / PP #2"};
// "EasyDevice = n" lines: the buttons in the order they are written, and n.
constexpr int kEasyDeviceLines[kEasyDevices][2] = {{kUsb1, 1}, {kUsb2, 2}, {kJoystick1, 3}, {kJoystick2, 4}};

void PrintText(kxout& out, const std::string& description, const char* type) {
  out.Printf("Text = ");
  out.PrintString((description + kTypeSeparator + type).c_str());
  out.Printf("\n");
}

void PrintAssignments(kxout& out, const kxdevicemapper& m) {
  for (int f = 0; f < kFunctions; ++f) {
    int code = m.SourceCode(f);
    if (code == kxdevicemapper::kNoSource) continue;
    out.Printf("Assign( %d, %d )\n", f, code);
    out.Printf("Invert( %d ) = %d\n", f, m.Invert[f] != 0.0f ? 1 : 0);
    out.Printf("Dual( %d ) = %g\n", f, static_cast<double>(m.Dual[f]));
    out.Printf("Expo( %d ) = %g\n", f, static_cast<double>(m.Expo[f]));
  }
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The child of parent of type T and that name.
template <class T>
T* ChildNamed(kxnode* parent, const char* name) {
  for (kxnode* child = parent->firstChild; child; child = child->nextSibling) {
    T* t = kxnode::As<T>(child);
    if (t && t->name == name) return t;
  }
  return nullptr;
}

constexpr const char kMapperName[] = "ConfigurationMapper";
constexpr const char kControllerName[] = "ConfigurationController";

}  // namespace

std::string SourceName(int code, const multilanguage& texts) {
  const char* channel = texts.Text("Channel");
  if (code >= kJoystick1Slot && code < kJoystick1Slot + kJoystickInputs)
    return DeviceInput("Joystick #1", channel, code - kJoystick1Slot, kJoystickAxes);
  if (code >= kJoystick2Slot && code < kJoystick2Slot + kJoystickInputs)
    return DeviceInput("Joystick #2", channel, code - kJoystick2Slot, kJoystickAxes);
  if (code >= kUsb1Slot && code < kUsb1Slot + kUsbChannels)
    return DeviceInput("Radio #1", channel, code - kUsb1Slot, kUsbChannels);
  if (code >= kUsb2Slot && code < kUsb2Slot + kUsbChannels)
    return DeviceInput("Radio #2", channel, code - kUsb2Slot, kUsbChannels);
  for (const keypadkey& k : kKeypad) {
    if (k.code != code) continue;
    kxstring s;
    s.Format(k.format, texts.Text("Keyboard"));
    return s.Str();
  }
  for (const namedcode& m : kMixes) {
    if (m.code == code) return texts.Text(m.key);
  }
  return texts.Text("NotAssigned");
}

const easyrow& EasyRow(int r) { return kRows[r >= 0 && r < kEasyRows ? r : 0]; }

int DeviceBase(const bool on[kEasyDevices]) {
  if (on[kJoystick1]) return kJoystick1Slot;
  if (on[kJoystick2]) return kJoystick2Slot;
  if (on[kUsb1]) return kUsb1Slot;
  return kUsb2Slot;
}

int InputSource(int j, int base) {
  if (j >= 0 && j < kJoystickInputs) return base + j;
  if (j >= kJoystickInputs && j < kEasyInputs) return kKeypadInputs[j - kJoystickInputs];
  return 0;
}

int ApplyEasyInput(kxdevicemapper* mapper, int r, int j, int base) {
  if (!RowOk(mapper, r, "input")) return 0;
  const easyrow& row = kRows[r];
  mapper->EasyFunction[r] = j;
  int source = InputSource(j, base);
  for (const int* f = row.functions; *f != kEnd; ++f) mapper->Assign(*f, source);
  for (const auto& fixed : row.fixed) {
    if (fixed[0] == kEnd) break;
    mapper->Assign(fixed[0], fixed[1]);
  }
  return 1;
}

int ApplyEasyReverse(kxdevicemapper* mapper, int r, int on) {
  if (!RowOk(mapper, r, "reverse")) return 0;
  mapper->EasyInvert[r] = on ? 1 : 0;
  for (const int* f = kRows[r].reverse; *f != kEnd; ++f) mapper->Invert[*f] = on ? 1.0f : 0.0f;
  return 1;
}

int ApplyEasyCurve(kxdevicemapper* mapper, int r, float travel, float expo) {
  if (!RowOk(mapper, r, "travel")) return 0;
  for (const int* f = kRows[r].curve; *f != kEnd; ++f) {
    mapper->Dual[*f] = travel;
    mapper->Expo[*f] = expo;
  }
  return 1;
}

float FieldFraction(const char* text) {
  long long percent = text ? kxnumber::LeadingWholeNumber(text) : 0;
  return static_cast<float>(percent < 0 ? 0 : percent > 100 ? 100 : percent) / 100.0f;
}

std::string FieldText(float fraction) {
  kxstring s;
  s.SetInt(std::isfinite(fraction) && std::fabs(fraction) < 1e6f ? static_cast<int>(fraction * 100.0f) : 0);
  return s.Str();
}

easystate MapperState(const kxdevicemapper& mapper) {
  easystate state;
  for (int r = 0; r < kEasyRows; ++r) {
    int j = mapper.EasyFunction[r];
    state.input[r] = j >= 0 && j < kEasyInputs ? j : 0;
  }
  int d = DeviceOfEasyDevice(mapper.EasyDevice);
  if (d >= 0) state.device[d] = true;
  return state;
}

int DeviceOfEasyDevice(int value) {
  for (const auto& line : kEasyDeviceLines)
    if (line[1] == value) return line[0];
  return -1;
}

/*
 * The description is what reads back before the first "@@" of the text, so
 * it can hold no "@@" of its own and cannot end in "@" (that "@" and the
 * separator would read as a separator and a type starting with "@"): runs
 * of "@" become one, and a last "@" goes.
 */
std::string StoredDescription(const char* description) {
  std::string out;
  for (const char* p = description ? description : ""; *p && out.size() < kMaxDescription; ++p) {
    if (IsControl(static_cast<unsigned char>(*p))) continue;
    if (*p == kTypeSeparator[0] && !out.empty() && out.back() == *p) continue;
    out.push_back(*p);
  }
  while (!out.empty() && out.back() == kTypeSeparator[0]) out.pop_back();
  return out.empty() ? kNewDescription : out;
}

std::string EasyForm(const kxdevicemapper& mapper, const char* description, const easystate& state) {
  kxout out;
  const char* type = kDeviceTexts[kUsb2];
  for (int d = 0; d < kEasyDevices; ++d) {
    if (state.device[d]) {
      type = kDeviceTexts[d];
      break;
    }
  }
  PrintText(out, StoredDescription(description), type);
  PrintAssignments(out, mapper);
  for (int r = 0; r < kEasyRows; ++r) {
    out.Printf("EasyFunction( %d ) = %d\n", r, state.input[r]);
    out.Printf("EasyInvert( %d ) = %d\n", r, mapper.EasyInvert[r]);
  }
  for (const auto& line : kEasyDeviceLines) {
    if (state.device[line[0]]) out.Printf("EasyDevice = %d\n", line[1]);
  }
  out.Printf("Easy = 1\n");
  return out.Text();
}

std::string AdvancedForm(const kxdevicemapper& mapper, const char* description) {
  kxout out;
  PrintText(out, StoredDescription(description), kAdvancedType);
  PrintAssignments(out, mapper);
  out.Printf("Easy = 0\n");
  return out.Text();
}

int WriteConfiguration(const char* stem, const std::string& text) {
  kxstring path;
  path.Format(kConfigurationPath, stem);
  if (!UsableStem(stem)) {
    kxsystem::Log("config:  configuration name refused, not written\n");
    sim::PostNotice("The configuration was not saved: its name is no file name.");
    return 0;
  }
  const std::string problem = kxsystem::WriteWholeFileProblem(path.Text(), text.data(), static_cast<long>(text.size()));
  if (problem.empty()) return 1;
  kxsystem::Log("config:  writing %s=fail\n", path.Text());
  sim::PostNotice(std::string("The configuration was not saved: ") + path.Text() + " could not be written (" +
                  sim::WriteFailure(problem) + "). Your changes stay in the window.");
  return 0;
}

configtext SplitText(const char* text) {
  configtext out;
  const char* t = text ? text : "";
  const char* at = std::strstr(t, kTypeSeparator);
  if (!at) {
    out.description = t;
    return out;
  }
  out.description.assign(t, static_cast<size_t>(at - t));
  out.type = at + kTypeSeparatorLength;
  return out;
}

configtext ReadConfigurationText(const char* stem) {
  kxtext* reader = new kxtext;
  if (!reader) return {};
  kxstring path;
  path.Format(kConfigurationPath, stem);
  kxscript::ReadFilePart(path.Text(), reader);  // only its "Text" line takes
  configtext out = SplitText(reader->Text.Text());
  delete reader;
  return out;
}

int UsableStem(const char* stem) {
  if (!stem || !*stem) return 0;
  for (const char* p = stem; *p; ++p)
    if (IsControl(static_cast<unsigned char>(*p)) || *p == '/' || *p == '\\') return 0;
  return 1;
}

kxdevicemapper* PrivateMapper() {
  kxpinboard* board = input::Pinboard();
  if (!board) {
    kxsystem::Log("config:  /Pinboard/ missing\n");
    return nullptr;
  }
  kxdevicemapper* mapper = ChildNamed<kxdevicemapper>(board, kMapperName);
  if (mapper && mapper->slot == kPrivateSlot) return mapper;
  if (mapper) delete mapper;  // plugged in elsewhere by a script: made anew
  mapper = new kxdevicemapper;
  if (!mapper) return nullptr;
  mapper->name = kMapperName;
  board->AppendChild(mapper);
  mapper->PlugIn(kPrivateSlot, kxdevice::kPlugInFlags);
  return mapper;
}

kxeventcontroller* PrivateController() {
  kxpinboard* board = input::Pinboard();
  kxpanel* panel = input::Panel();
  if (!board || !panel) {
    kxsystem::Log("config:  %s missing\n", board ? "/Panel/" : "/Pinboard/");
    return nullptr;
  }
  if (kxeventcontroller* controller = ChildNamed<kxeventcontroller>(panel, kControllerName)) return controller;
  kxeventcontroller* controller = new kxeventcontroller;
  if (!controller) return nullptr;
  controller->name = kControllerName;
  panel->AppendChild(controller);
  controller->SetValues(board, kPrivateSlot);
  return controller;
}

int PrivateNodes(const char* stem, kxdevicemapper** mapper, kxeventcontroller** controller) {
  if (!UsableStem(stem)) {
    kxsystem::Log("config:  configuration name refused, not opened\n");
    return 0;
  }
  *mapper = PrivateMapper();
  *controller = PrivateController();
  return *mapper && *controller ? 1 : 0;
}

configtext RunConfiguration(const char* stem, kxdevicemapper* mapper, kxeventcontroller* controller) {
  sim::LoadConfiguration(mapper, stem);
  kxstring path;
  path.Format(kConfigurationPath, stem);
  kxscript::ReadFilePart(path.Text(), controller);  // a mapper's lines: none is the controller's
  return ReadConfigurationText(stem);
}

void DiscardNew(newconfiguration* made) {
  if (made->stem.Empty()) return;
  if (svconfigfiles* files = sim::ConfigFiles()) {
    if (files->Aircraft0File == made->stem) files->Aircraft0File = made->inUseBefore[0];
    if (files->Aircraft1File == made->stem) files->Aircraft1File = made->inUseBefore[1];
    sim::SaveConfigurationsInUse();
  }
  kxstring path;
  path.Format(kConfigurationPath, made->stem.Text());
  kxsystem::DeleteFile(path.Text());
  kxsystem::Log("config:  new configuration %s cancelled\n", made->stem.Text());
  *made = newconfiguration{};
  sim::LoadPlayerConfigurations();
}

}  // namespace svconfig
