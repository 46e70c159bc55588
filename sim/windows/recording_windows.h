// The recorded-flight windows: wndLoadRecord lists "recordings/" and loads
// the chosen recording into the first player after checking its scenery,
// wndSaveRecord saves the first player's recording under a typed or chosen
// name, and wndWrongScenery warns that a recording was made elsewhere and
// loads it all the same on "Ok".
#pragma once

class kxwindow;

namespace sim {

kxwindow* CreateLoadRecordWindow();
kxwindow* CreateSaveRecordWindow();
kxwindow* CreateWrongSceneryWindow();

// The name last chosen for loading, which the warning's "Ok" loads.
const char* PendingRecording();

}  // namespace sim
