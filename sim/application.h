// The application's set-up: builds the object tree, registers every type,
// runs the UI description, loads fonts, pictures, sounds and the settings,
// builds the menus and enters the menu mode. Run once by the platform's
// start-up, before the first window exists; no OpenGL call is made here.
#pragma once

namespace sim {

extern const char kUiDescriptionPath[];  // "svgold.kxd"

void InitApplication();

// Display units by the `units` setting: 2 imperial; any other value runs
// metric and is stored as 1.
void ApplyUnits();

// Runs the language file against the text table; when it ran, the head-up
// texts take its SimText entries. 1 when the file ran.
int LoadLanguage();

}  // namespace sim
