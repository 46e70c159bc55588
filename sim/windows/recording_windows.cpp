// Sections: the shared list; wndLoadRecord; wndSaveRecord; wndWrongScenery.
#include "sim/windows/recording_windows.h"

#include <cstring>
#include <string>

#include "core/reference.h"
#include "gui/button.h"
#include "gui/containers.h"
#include "gui/display.h"
#include "gui/edit.h"
#include "gui/group_frame.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/list_item.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "gui/tree.h"
#include "platform/file_lists.h"
#include "platform/files.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/recording.h"
#include "sim/windows/menu_windows.h"
#include "sim/windows/window_functions.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr int kEntryHeight = 20;  // px
constexpr int kMaxName = 32;      // characters a typed recording name may hold
constexpr int kNameBoxWidth = 220, kNameBoxHeight = 24;  // px
constexpr char kNewName[] = "neu";

std::string& Pending() {
  static std::string name;
  return name;
}
std::string& PendingScenery() {
  static std::string name;
  return name;
}

const char* LoadedScenery() {
  const world* w = TheWorld();
  return w ? w->name : "";
}

// --- the shared list

// Both recording windows: the selection, the list of "recordings/" and the
// recolouring that marks the selected entry.
class recordingwindow : public simwindow {
 public:
  kxstring selection;
  kxstring onOk;
  kxcolumn* list = nullptr;
  kxscroll* scroll = nullptr;

 protected:
  // The frame, scroll and list of the load window's layout inside parent.
  void BuildList(kxgraphic* parent, int x, int y, int w, int topMargin) {
    kxframe* frame = AddFrame(parent, x, y, w, 0, 0, topMargin);
    scroll = AddScroll(frame, 2, 2, 0, 0, 2, 2);
    if (!scroll) return;
    list = new kxcolumn(2, 2, 0, 100);
    if (!list) return;
    list->Wr = 16;
    scroll->AppendChild(list);
  }

  // Refills the list; select and load are the entries' command texts.
  void Fill(const char* select, const char* load) {
    selection = "";
    if (!list) return;
    list->DeleteChildren();
    for (const std::string& name : kxsystem::ListFiles("recordings/*.rec", 0, 0)) {
      kxtext* entry = new kxtext(name.c_str(), 0, 0, 0, kEntryHeight);
      if (!entry) continue;
      entry->Wr = 1;
      entry->name = "Name";
      entry->onLeftDown = select;
      entry->onLeftDouble = load;
      list->AppendChild(entry);
    }
    if (scroll) kxtree::ResetSelection(scroll);
  }

  void Recolour() {
    if (!list) return;
    for (kxnode* n = list->firstChild; n; n = n->nextSibling) {
      kxtext* entry = kxnode::As<kxtext>(n);
      if (!entry) continue;
      bool chosen = entry->Text.Equal(selection);
      entry->textColor = chosen ? kxgui::kWhite : kxgui::kBlack;
      entry->background = chosen ? kxgui::Palette(kxgui::kColorSelection) : kxgui::kWhite;
    }
  }

  // "Selection" and "OnOk"; null for any other name.
  kxvalueptr Strings(const char* member) {
    if (std::strcmp(member, "Selection") == 0) return kxvalueptr(new kxstringref(&selection));
    if (std::strcmp(member, "OnOk") == 0) return kxvalueptr(new kxstringref(&onOk));
    return nullptr;
  }
};

// --- wndLoadRecord

class wndloadrecord : public recordingwindow {
 public:
  wndloadrecord() {
    Fixed("wndLoadRecord", "Load Recorded Flight", 300, 350, "");
    AddButton(this, 0, 10, 0, 0, 110, 0, "Load", "../Load", "wndloadrecload");
    AddButton(this, 0, 10, 0, 0, 10, 0, "Cancel", "../Hide", "wndloadreccancel");
    BuildList(this, 10, 50, 280, 30);
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (kxvalueptr s = Strings(member)) return s;
    if (std::strcmp(member, "Open") == 0) {
      Fill("../../../../Select( Text )", "../../../../Load");
      ShowWindow(this);
    } else if (std::strcmp(member, "Load") == 0) {
      Load();
    } else if (std::strcmp(member, "Select") == 0) {
      selection = args.String(0);
      Recolour();
    } else {
      return kxwindow::GetMember(member, args);
    }
    return kxvoid();
  }

 private:
  void Load() {
    Hide();
    const char* scenery = CheckRecordingScenery(selection.Text());
    Pending() = selection.Text();
    if (!scenery) return;
    PendingScenery() = scenery;
    if (std::strcmp(scenery, LoadedScenery()) == 0) LoadRecording(Pending().c_str(), &players[0]);
    else if (kxwindow* warning = WrongSceneryWindow()) warning->GetMember("Open", kxargs::None());
  }
};

// --- wndSaveRecord

constexpr char kSaveAdvice[] =
    "Enter a name for a new record or select an existing record to overwrite from the right.";

class wndsaverecord : public recordingwindow {
 public:
  kxedit* field = nullptr;
  kxlistitem* advice = nullptr;  // the advice, or why the last save failed

  wndsaverecord() {
    Fixed("wndSaveRecord", "Save Recorded Flight", 540, 350, "");
    AddButton(this, 0, 10, 0, 0, 110, 0, "Save", "../Save", "wndsaverecsave");
    AddButton(this, 0, 10, 0, 0, 10, 0, "Cancel", "../Hide", "wndsavereccancel");
    kxlabel* describe = AddLabel(this, "Enter Description", 10, 50, 250, 270, "wndsaverecfgdescr");
    advice = AddListItem(describe, 10, 20, 234, 100, 0, "wndsaverecdescr", kSaveAdvice);
    // The field fills its box: a click anywhere on the drawn box is one
    // into the name, not one that takes the keys from it.
    if (kxframe* box = AddFrame(describe, 20, 140, kNameBoxWidth, kNameBoxHeight, 0, 0)) {
      box->fill = kxgui::kWhite;
      field = new kxedit(0, 0, kNameBoxWidth, kNameBoxHeight);
      if (field) {
        field->maxLength = kMaxName;
        field->OnReturn = "../../../Save";
        box->AppendChild(field);
      }
    }
    kxlabel* flights = AddLabel(this, "Recorded Flights", 270, 50, 260, 270, "wndsaverecfgflt");
    BuildList(flights, 10, 10, 240, 24);
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (kxvalueptr s = Strings(member)) return s;
    if (std::strcmp(member, "Open") == 0) {
      Open();
    } else if (std::strcmp(member, "Save") == 0) {
      Save();
    } else if (std::strcmp(member, "Select") == 0) {
      selection = args.String(0);
      if (field) field->SetText(selection.Text());
      Recolour();
    } else {
      return kxwindow::GetMember(member, args);
    }
    return kxvoid();
  }

 private:
  /* A name typed over a recording there is refused, as is a save that
     fails; only a name chosen in the list replaces a recording. The
     field's text counts as chosen while it equals the selection: an edit
     that leads back to it names the same entry, so edits are not tracked. */
  void Save() {
    if (!field) return;
    const std::string name = field->text;
    std::string problem;
    if (name.empty()) {
      Refuse("Enter a name for the recording, or select one in the list to overwrite it.");
    } else if (const std::string taken = Taken(); !taken.empty()) {
      Refuse(taken + " already exists. Choose it in the list to replace it, or enter another name.");
    } else if (!SaveRecording(name.c_str(), &players[0], &problem)) {
      Refuse("The flight was not saved: recordings/" + name + ".rec could not be written (" + WriteFailure(problem) +
             ").");
    } else {
      Hide();
    }
  }

  // The recording a save of the typed name would replace, found as the file
  // functions find it (without case); "" for none or for the list's choice.
  std::string Taken() const {
    if (selection.Equal(field->text)) return "";
    const std::string path = std::string("recordings/") + field->text + ".rec";
    return kxsystem::ReadProblem(path.c_str()) == kxsystem::kNotFound ? "" : kxsystem::ResolveReadPath(path.c_str());
  }

  // The window stays with the typed name and says why; the keys go back to
  // the name, wherever the Save button's click put them.
  void Refuse(const std::string& why) {
    if (advice) advice->Text = why;
    kxgui::Focus = field;
  }

  void Open() {
    if (advice) advice->Text = kSaveAdvice;
    if (field) field->SetText(kNewName);
    // The list sits one group deeper than in the load window, so its entries
    // climb one step more to reach this window.
    Fill("../../../../../Select( Text )", "");
    ShowWindow(this);
    if (field) kxgui::Focus = field;
  }
};

// --- wndWrongScenery

class wndwrongscenery : public simwindow {
 public:
  kxtext* current = nullptr;
  kxtext* recorded = nullptr;

  wndwrongscenery() {
    Fixed("wndWrongScenery", "Warning", 260, 190, "Hide");
    background = {0.8f, 0.8f, 0.8f, 1.0f};
    constexpr char kPlaceholder[] = "XXXXXXXXXXXXXXXXXXXXX";
    AddText(this, "wndwscene1", "The current scenery", 10, 140, 240);
    current = AddText(this, "xxx", kPlaceholder, 20, 120, 240);
    if (current) current->textColor = {0, 1, 0, 1};
    // As wide as the lines around it: the program's font needs 236 px for it.
    AddText(this, "wndwscene2", "and the scenery of the Recorded Flight", 10, 100, 240);
    recorded = AddText(this, "xxx", kPlaceholder, 20, 80, 240);
    if (recorded) recorded->textColor = {1, 0, 0, 1};
    AddText(this, "wndwscene3", "don't match.", 10, 60, 240);
    AddOkCancel("wndwsceneok", "wndwscenecancel");
  }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::strcmp(member, "Open") == 0) {
      if (current) current->Text = LoadedScenery();
      if (recorded) recorded->Text = PendingScenery().c_str();
      ShowWindow(this);
    } else if (std::strcmp(member, "Ok") == 0) {
      Hide();
      LoadRecording(Pending().c_str(), &players[0]);
    } else {
      return kxwindow::GetMember(member, args);
    }
    return kxvoid();
  }
};

}  // namespace

kxwindow* CreateLoadRecordWindow() { return new wndloadrecord; }
kxwindow* CreateSaveRecordWindow() { return new wndsaverecord; }
kxwindow* CreateWrongSceneryWindow() { return new wndwrongscenery; }

const char* PendingRecording() { return Pending().c_str(); }

}  // namespace sim
