// Sections: wndOptionsSound; wndTitleSelect.
#include "sim/windows/sound_windows.h"

#include <cstring>
#include <string>

#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/containers.h"
#include "gui/group_frame.h"
#include "gui/gui.h"
#include "gui/scroll.h"
#include "gui/slider.h"
#include "gui/text.h"
#include "platform/codes.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "sim/session.h"
#include "sim/windows/window_functions.h"

namespace sim {

namespace {

constexpr float kPercent = 100.0f;
constexpr char kNoSong[] = "Song: none";
// Ten blanks: the word "low" stands left of the slider, "high" (the value
// format) right of it.
constexpr char kVolumeText[] = "Volume:          low";

kxslidervalue* VolumeSlider(kxgraphic* parent, int x, int y, const char* name) {
  kxslidervalue* s = new kxslidervalue(x, y, 100, 10);
  if (!s) return nullptr;
  s->name = name;
  s->minimum = 0;
  s->maximum = 100;
  s->centre = -1;
  s->format = "high";
  s->command = "../../OnChange";
  parent->AppendChild(s);
  return s;
}

std::string ShortName(const char* song) { return std::string(song).substr(0, kSongNameShown); }

// --- wndOptionsSound

class wndoptionssound : public simwindow {
 public:
  kxiconbutton* single = nullptr;
  kxiconbutton* random = nullptr;
  kxiconbutton* loop = nullptr;
  kxiconbutton* off = nullptr;
  kxcheckbox* restart = nullptr;
  kxtext* song = nullptr;
  int selected = -1;  // the title window's choice; -1 none
  kxslidervalue* soundVolume = nullptr;
  kxcheckbox* soundOn = nullptr;
  kxslidervalue* musicVolume = nullptr;
  // Copies taken at "Open" for Cancel.
  float keptSoundVolume = 0, keptMusicVolume = 0;
  int keptSound = 0, keptMusic = 0, keptTitle = 0;
  // The music volume of the first apply of the run: once the slider moves
  // away from it, each apply stops the song before the mode is set again.
  bool referenceTaken = false;
  float referenceVolume = 0;

  wndoptionssound() {
    Fixed("wndOptionsSound", "Sound Options", 500, 385, "Hide");
    AddOkCancel("wndoptsndok", "wndoptsndcancel");
    if (kxlabel* music = AddLabel(this, "Music", 10, 130, 480, 225, "wndoptmusicframe")) {
      AddText(music, "wmusicvolume", kVolumeText, 10, 52, 120);
      musicVolume = VolumeSlider(music, 140, 54, "");
      single = ModeButton(music, 170, "single", "wndoptsingle");
      random = ModeButton(music, 140, "random", "wndoptrandom");
      loop = ModeButton(music, 110, "loop", "wndoptloop");
      off = ModeButton(music, 80, "off", "wndoptoff");
      restart = new kxcheckbox(10, 20, 20, 20);
      if (restart) music->AppendChild(restart);
      AddText(music, "wndoptrestart", "Restart music after crash", 40, 20, 300);
      AddButton(music, 397, 170, 70, 20, 0, 0, "Change", "../../OpenSelect", "wndoptchange");
    }
    if (kxlabel* title = AddLabel(this, "Title", 122, 292, 360, 44, "wndoptmtitle"))
      song = AddText(title, "", kNoSong, 5, 10, 200);
    if (kxlabel* sound = AddLabel(this, "Sound", 10, 50, 480, 70, "wndoptsndframe")) {
      AddText(sound, "wsndonoff", "Enabled", 40, 20, 100);
      soundOn = new kxcheckbox(10, 20, 20, 20);
      if (soundOn) {
        soundOn->OnCheck = soundOn->OnUncheck = "../../OnChange";
        sound->AppendChild(soundOn);
      }
      AddText(sound, "wsndvolume", kVolumeText, 180, 20, 120);
      soundVolume = VolumeSlider(sound, 310, 24, "wsndhigh");
    }
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) Open();
    else if (std::strcmp(member, "Ok") == 0) Ok();
    else if (std::strcmp(member, "Hide") == 0) Cancel();
    else if (std::strcmp(member, "OnChange") == 0) Apply();
    else if (std::strcmp(member, "OpenSelect") == 0) OpenSelect();
    else return kxwindow::GetMember(member, args);
    return kxvoid();
  }

  // The controls to the sound device and the music player.
  void Apply() {
    sessionsettings& s = session.settings;
    kxmusic& music = Music();
    directsound::SetMasterVolume(soundVolume ? soundVolume->value / kPercent : s.sound_volume);
    if (soundOn && soundOn->checked) directsound::ResumeAll();
    else directsound::StopAll(kxcode::kStopKeepMark);
    s.music = Set(loop) ? kxcode::kMusicLoop
              : Set(random) ? kxcode::kMusicRandom
              : Set(single) ? kxcode::kMusicSingle
                            : kxcode::kMusicOff;
    s.music_title = selected >= 0 && selected < music.count ? selected : music.current;
    if (!referenceTaken) {
      referenceTaken = true;
      referenceVolume = s.music_volume;
    }
    if (musicVolume) s.music_volume = musicVolume->value / kPercent;
    if (s.music_volume != referenceVolume) music.StopIfPlaying();
    music.SetMode(s.music, s.music_volume, &s.music_title);
  }

  // The title window's choice.
  void TakeSong(int index) {
    selected = index;
    session.settings.music_title = index;
    if (song) song->Text = ShortName(Music().Name(index)).c_str();
    Apply();
  }

  kxwindow* titleWindow = nullptr;

 private:
  static bool Set(const kxiconbutton* b) { return b && b->selected; }

  kxiconbutton* ModeButton(kxgraphic* parent, int y, const char* text, const char* buttonName) {
    kxiconbutton* b = AddIconButton(parent, 10, y, 20, 20, text, 0, buttonName);
    if (b) b->OnPress = "../../OnChange";
    return b;
  }

  void Open() {
    sessionsettings& s = session.settings;
    kxmusic& music = Music();
    if (song) song->Text = music.current < 0 || music.current >= music.count ? kNoSong : music.Name(music.current);
    s.music_title = music.current;
    if (soundVolume) soundVolume->value = s.sound_volume * kPercent;
    if (musicVolume) musicVolume->value = s.music_volume * kPercent;
    if (soundOn) soundOn->checked = s.sound != 0 ? 1 : 0;
    for (kxiconbutton* b : {single, random, loop, off})
      if (b) b->selected = 0;
    kxiconbutton* mode = s.music == kxcode::kMusicLoop     ? loop
                         : s.music == kxcode::kMusicRandom ? random
                         : s.music == kxcode::kMusicSingle ? single
                                                           : off;
    if (mode) mode->selected = 1;
    if (restart) restart->checked = s.music_restartcrash != 0 ? 1 : 0;
    keptSoundVolume = s.sound_volume;
    keptSound = s.sound;
    keptMusicVolume = s.music_volume;
    keptMusic = s.music;
    keptTitle = s.music_title;
    ShowWindow(this);
  }

  void Ok() {
    sessionsettings& s = session.settings;
    if (soundVolume) s.sound_volume = soundVolume->value / kPercent;
    if (soundOn) s.sound = soundOn->checked;
    if (restart) s.music_restartcrash = restart->checked;
    Hide();
  }

  void Cancel() {
    sessionsettings& s = session.settings;
    s.sound_volume = keptSoundVolume;
    s.sound = keptSound;
    s.music_volume = keptMusicVolume;
    s.music = keptMusic;
    s.music_title = keptTitle;
    directsound::SetMasterVolume(s.sound_volume);
    if (s.sound) directsound::ResumeAll();
    else directsound::StopAll(kxcode::kStopKeepMark);
    Music().SetMode(s.music, s.music_volume, &s.music_title);
    Hide();
  }

  void OpenSelect() {
    if (titleWindow) titleWindow->GetMember("Fill", kxargs::None());
  }
};

// --- wndTitleSelect

class wndtitleselect : public simwindow {
 public:
  wndoptionssound* soundWindow = nullptr;
  kxscroll* scroll = nullptr;
  kxcolumn* list = nullptr;
  int selected = -1;

  explicit wndtitleselect(wndoptionssound* sound) : soundWindow(sound) {
    Fixed("wndTitleSelect", "Title", 400, 300, "Hide");
    AddOkCancel("wndsndtitok", "wndsndtitcancel");
    kxframe* frame = AddFrame(this, 2, 46, 0, 0, 2, 24);
    scroll = AddScroll(frame, 2, 2, 0, 0, 2, 2);
    if (scroll) scroll->background = kxgui::kWhite;
    list = new kxcolumn(0, 0, 0, 200);
    if (list && scroll) {
      list->Wr = 200;
      scroll->AppendChild(list);
    }
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Fill") == 0) Fill();
    else if (std::strcmp(member, "Select") == 0) Select(args.Int(0));
    else if (std::strcmp(member, "Ok") == 0) Ok();
    else if (std::strcmp(member, "Hide") == 0) Close();
    else return kxwindow::GetMember(member, args);
    return kxvoid();
  }

 private:
  void Fill() {
    ShowWindow(this);
    kxmusic& music = Music();
    if (list) {
      list->DeleteChildren();
      for (int i = 0; i < music.count; ++i) {
        kxtext* entry = new kxtext(music.Name(i), 2, 20 * i, 388, 20);
        if (!entry) continue;
        kxstring select;
        select.Format("../../../../Select( %d )", i);
        entry->onLeftDown = select;
        entry->onLeftDouble = "../../../../Ok";
        list->AppendChild(entry);
      }
    }
    selected = -1;
    kxgui::Capture = this;
  }

  void Select(int index) {
    selected = index;
    if (!list) return;
    int i = 0;
    for (kxnode* n = list->firstChild; n; n = n->nextSibling, ++i) {
      kxtext* entry = kxnode::As<kxtext>(n);
      if (!entry) continue;
      bool chosen = i == index;
      entry->textColor = chosen ? kxgui::kWhite : kxgui::kBlack;
      entry->background = chosen ? kxcolor4{0, 0, 1, 1} : kxcolor4{0, 0, 0, 0};
    }
  }

  void Ok() {
    if (soundWindow && selected >= 0 && selected < Music().count) soundWindow->TakeSong(selected);
    Close();
  }

  void Close() {
    Hide();
    if (!soundWindow) return;
    kxgui::Focus = soundWindow;
    kxgui::Capture = soundWindow;
  }
};

}  // namespace

kxwindow* CreateSoundOptionsWindow() { return new wndoptionssound; }

kxwindow* CreateTitleSelectWindow(kxwindow* soundWindow) {
  wndoptionssound* sound = dynamic_cast<wndoptionssound*>(soundWindow);
  wndtitleselect* title = new wndtitleselect(sound);
  if (sound) sound->titleWindow = title;
  return title;
}

}  // namespace sim
