// wndOptionsSound sets the sound volume and switch, the music mode, volume
// and title and the music restart after a crash; its controls act at once,
// "Ok" keeps the sound values and Cancel puts every value back.
// wndTitleSelect lists the music player's songs for it.
#pragma once

class kxwindow;

namespace sim {

kxwindow* CreateSoundOptionsWindow();
// The title window hands its choice to the sound window it is given.
kxwindow* CreateTitleSelectWindow(kxwindow* soundWindow);

constexpr int kSongNameShown = 32;  // characters of a song name the sound window shows

}  // namespace sim
