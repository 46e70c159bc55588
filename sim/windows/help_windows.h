// The fixed windows of the Help menu and the main menu: wndKeys lists the
// keyboard shortcuts, wndAbout shows the about picture and texts, and
// wndNoDevice tells that the interface cable has no transmitter or joystick
// behind it, or that the assigned device is missing altogether, and how to
// fly from the keyboard (its "Quit" ends the program); wndOldModel that a
// model of the older format cannot be edited.
#pragma once

class kxwindow;

namespace sim {

kxwindow* CreateKeysWindow();
kxwindow* CreateAboutWindow();
kxwindow* CreateNoDeviceWindow();
kxwindow* CreateOldModelWindow();
// The notice's text: 1 for a cable that sees no transmitter, 0 for a device
// the control assignment uses that was not found.
void SayWhatDeviceIsMissing(kxwindow* notice, int cableWithoutSignal);

// The shortcut table's four columns, one text each, lines separated by
// line feeds.
const char* KeysColumn(int column);

}  // namespace sim
