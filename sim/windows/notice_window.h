// wndNotice: shows the notices the program posts (sim/notice.h), the oldest
// first, each until the user takes it away with "Ok". The window that held
// the mouse when a notice came up gets it back afterwards, so an editor kept
// open after a failed save stays the one the user works in.
#pragma once

class kxwindow;

namespace sim {

kxwindow* CreateNoticeWindow();
// Called every frame of the menu and the flight: with no notice on screen,
// shows the next waiting one.
void ShowWaitingNotice();
// The text the notice window shows; empty while it is hidden.
const char* ShownNotice();

}  // namespace sim
