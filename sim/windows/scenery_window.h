// wndLoadScenery: the sceneries of "scenery/" as picture tiles; a click
// selects one, a double click or "Load" loads it.
#pragma once

class kxwindow;

namespace sim {

kxwindow* CreateLoadSceneryWindow();

}  // namespace sim
