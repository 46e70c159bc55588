// Control configurations: which input drives each of the 32 control
// functions of a player's mapper, with travel, expo and reverse. A
// configuration is the command script "config/<stem>.kxa" run against a
// kxdevicemapper; this unit names the sources, writes the two forms of the
// file (the easy editor's, which also keeps its nine rows, and the advanced
// one), reads a file's description, and holds the easy editor's mapping of
// nine rows onto the functions. The windows that edit configurations keep a
// mapper and an event controller of their own at pinboard slot 1900, where
// sources 1935-1941 are that mapper's constants and mixes.
#pragma once

#include <string>

#include "core/string.h"

class kxdevicemapper;
class kxeventcontroller;
class multilanguage;

namespace svconfig {

constexpr int kFunctions = 32;  // the functions configurations address
constexpr int kEasyRows = 9;
constexpr int kEasyInputs = 18;  // 8 channels, 4 buttons, 6 keypad pairs and keys
constexpr int kEasyDevices = 4;
constexpr int kPrivateSlot = 1900;   // the windows' mapper outputs and controller values
constexpr int kMaxDescription = 32;  // characters of a description
constexpr int kTypeSeparatorLength = 2;
extern const char kTypeSeparator[];   // "@@"
extern const char kNewDescription[];  // "new configuration", for an empty name field
extern const char kAdvancedType[];    // "ADV"

// Device buttons of the easy editor, in the order of its fields.
enum easydevice { kJoystick1 = 0, kJoystick2 = 1, kUsb1 = 2, kUsb2 = 3 };

// ---- sources ------------------------------------------------------------------

// What the editors show for a source code, in the text table's words;
// NotAssigned for no source (-1) and for codes outside the table.
std::string SourceName(int code, const multilanguage& texts);

// ---- the easy mapping ----------------------------------------------------------

// One row of the easy editor: the functions its input drives, the fixed
// sources set with it, the functions its reverse and its travel and expo
// reach. Lists end at -1.
struct easyrow {
  const char* text;  // row label
  const char* id;    // the label's widget name
  int functions[6];
  int fixed[5][2];  // {function, source}
  int reverse[6];
  int curve[6];  // travel and expo; the first is the one shown
};
const easyrow& EasyRow(int r);

// The first pinboard slot of the inputs of the device whose button is on:
// joystick 1, else joystick 2, else USB 1, else USB 2 (also when none is).
int DeviceBase(const bool on[kEasyDevices]);
// The source of input j (0-17) of a device at base; 0 for any other j.
int InputSource(int j, int base);
// Selects input j for row r: EasyFunction( r ) := j, the row's functions and
// fixed sources set. 0 (nothing changed) for a row outside 0-8.
int ApplyEasyInput(kxdevicemapper* mapper, int r, int j, int base);
// The row's reverse: EasyInvert( r ) and Invert of its reverse functions.
int ApplyEasyReverse(kxdevicemapper* mapper, int r, int on);
// Travel and expo (fractions) of the row's curve functions.
int ApplyEasyCurve(kxdevicemapper* mapper, int r, float travel, float expo);
// A percentage field as a fraction: its leading integer / 100, clamped to
// 0..1; a field without a number counts as 0.
float FieldFraction(const char* text);
// A fraction as the percentage a field shows, truncated; 0 for no number.
std::string FieldText(float fraction);

// ---- files -----------------------------------------------------------------------

// The easy editor's state that the easy form adds to the mapper's.
struct easystate {
  int input[kEasyRows] = {};       // per row the input whose button is on, 0 when none is
  bool device[kEasyDevices] = {};  // buttons on, joystick 1, joystick 2, USB 1, USB 2
};

// The state a mapper read from an easy file describes: each row's input
// (0 when outside 0-17) and the button of its EasyDevice.
easystate MapperState(const kxdevicemapper& mapper);
// The device button of an EasyDevice value (1 USB 1, 2 USB 2, 3 joystick 1,
// 4 joystick 2); -1 for any other value.
int DeviceOfEasyDevice(int value);

// The description as it is stored: control characters dropped, "@@" made
// "@" and a last "@" dropped (so it reads back whole), at most
// kMaxDescription characters, "new configuration" when nothing is left.
std::string StoredDescription(const char* description);
// The two forms, as the bytes of the file.
std::string EasyForm(const kxdevicemapper& mapper, const char* description, const easystate& state);
std::string AdvancedForm(const kxdevicemapper& mapper, const char* description);
// Writes "config/<stem>.kxa" whole, replacing the old file only when every
// byte got out. 1 or 0, logged.
int WriteConfiguration(const char* stem, const std::string& text);
extern const char kConfigurationPath[];  // "config/%s.kxa"

// A configuration's "Text": the description before the first "@@", the type
// after it ("ADV" or the device); all description without one.
struct configtext {
  std::string description;
  std::string type;
};
configtext SplitText(const char* text);
// Runs "config/<stem>.kxa" on a temporary text node so only its "Text" line
// takes effect, and splits it.
configtext ReadConfigurationText(const char* stem);

// 1 when a file stem can stand in "config/<stem>.kxa" and in a command text:
// not empty, no control character, no "/".
int UsableStem(const char* stem);

// ---- the windows' own mapper and controller ---------------------------------------

// The mapper under "/Pinboard/" whose outputs lie at slot 1900, made on
// first use, and the event controller under "/Panel/" with its values there.
// Null (logged) without those roots.
kxdevicemapper* PrivateMapper();
kxeventcontroller* PrivateController();
// Both, for a window about to open configuration stem; 0 (logged) for a
// name that is no plain file name or without the roots.
int PrivateNodes(const char* stem, kxdevicemapper** mapper, kxeventcontroller** controller);
// Loads configuration stem into the mapper (sim::LoadConfiguration), runs
// it on the controller, and gives its text.
configtext RunConfiguration(const char* stem, kxdevicemapper* mapper, kxeventcontroller* controller);

// ---- a configuration New made --------------------------------------------------

// The configuration New made for an opening of the editors ("" for one that
// was there before), and the files in use for players 1 and 2 before New
// gave it to player 1. It travels from the easy editor to the advanced one,
// so that Cancel in either takes it back; Ok keeps it.
struct newconfiguration {
  kxstring stem;
  kxstring inUseBefore[2];
};
// Deletes the configuration, gives the players back the configurations they
// had and reloads them; the record is cleared. Nothing for an empty record.
void DiscardNew(newconfiguration* made);

}  // namespace svconfig
