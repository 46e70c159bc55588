#include "config_ui/control_settings.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "config_ui/control_config.h"
#include "config_ui/widgets.h"
#include "core/arguments.h"
#include "core/interpreter.h"
#include "core/reference.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/containers.h"
#include "gui/gui.h"
#include "gui/list_item.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "gui/tree.h"
#include "platform/device_mapper.h"
#include "platform/file_lists.h"
#include "platform/files.h"
#include "platform/log.h"
#include "sim/config_files.h"
#include "sim/windows/window_functions.h"

kxtype svaircraftcontrolsettings::Type("svaircraftcontrolsettings", sizeof(svaircraftcontrolsettings),
                                       kxcreate<svaircraftcontrolsettings>);
kxtype svconfigurationdelete::Type("svconfigurationdelete", sizeof(svconfigurationdelete),
                                   kxcreate<svconfigurationdelete>);

namespace {

using svconfig::Add;
using svconfig::kButtonLine;
using svconfig::kListInset;

// Layout in px, y up from the window's bottom edge.
constexpr int kOkRight = 10, kOkWidth = 70;
constexpr int kPropertiesX = 10, kPropertiesWidth = 100, kNewX = 120, kNewWidth = 80, kDeleteX = 210, kDeleteWidth = 80;
constexpr int kListY = 46, kListTop = 24, kScrollTop = 20;
constexpr int kHeaderX[4] = {1, 126, 316, 376};
constexpr int kHeaderWidth[4] = {100, 190, 60, 60};
constexpr int kDescriptionWidth = 125, kTypeWidth = 280, kSecondBoxCellWidth = 37;
constexpr int kFirstBoxX = 222;
constexpr kxcolor4 kListColour = {1, 1, 1, 1};

// The cells sit five levels below the window (cell, row, column, scroll,
// frame); the aircraft boxes one deeper, inside a cell.
constexpr const char kSelectCommand[] = "../../../../../ConfigurationSelect( ../ )";
constexpr const char kOpenCommand[] = "../../../../../ConfigurationOpen";
constexpr const char kAssignFirst[] = "../../../../../../ConfigurationAssign( ../../, 0 )";
constexpr const char kAssignSecond[] = "../../../../../../ConfigurationAssign( ../../, 1 )";
constexpr const char kFirstBox[] = "acft1";
constexpr const char kSecondBox[] = "acft2";
constexpr const char kExtension[] = ".kxa";
constexpr size_t kExtensionLength = 4;

constexpr const char kSettingsOpen[] = "/Display/Visible/AircraftControlSettings/Open";

kxstring NewStem(int n) {
  kxstring stem;
  stem.Format("acft%02d", n);
  return stem;
}

kxstring FilePath(const kxstring& stem) {
  kxstring path;
  path.Format(svconfig::kConfigurationPath, stem.Text());
  return path;
}

// The stem of a listed file name: the name without its final ".kxa".
std::string Stem(const std::string& file) {
  if (file.size() <= kExtensionLength) return "";
  std::string tail = file.substr(file.size() - kExtensionLength);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return tail == kExtension ? file.substr(0, file.size() - kExtensionLength) : "";
}

kxiconbutton* Box(kxrow* row, const char* name) {
  for (kxnode* cell = row ? row->firstChild : nullptr; cell; cell = cell->nextSibling)
    if (kxiconbutton* b = kxnode::As<kxiconbutton>(cell->FindChild(name))) return b;
  return nullptr;
}

}  // namespace

// ---- the settings window ----------------------------------------------------------------

svaircraftcontrolsettings::svaircraftcontrolsettings() {
  type = &Type;
  Fixed("AircraftControlSettings", "Aircraft Control Settings", kWidth, kHeight, "");
  sim::AddButton(this, 0, kButtonLine, kOkWidth, 0, kOkRight, 0, "Ok", "../Hide", "wacsok");
  sim::AddButton(this, kPropertiesX, kButtonLine, kPropertiesWidth, 0, 0, 0, "Properties", "../ConfigurationOpen",
                 "wacsprop");
  sim::AddButton(this, kNewX, kButtonLine, kNewWidth, 0, 0, 0, "New", "../ConfigurationNew", "wacsnew");
  sim::AddButton(this, kDeleteX, kButtonLine, kDeleteWidth, 0, 0, 0, "Delete", "../ConfigurationDelete", "wacsdelete");
  kxframe* frame = sim::AddFrame(this, kListInset, kListY, 0, 0, kListInset, kListTop);
  const char* const ids[4] = {"wacsconf", "wacstype", "wacsacft1", "wacsacft2"};
  const char* const texts[4] = {"Configuration", "Type", "Aircraft 1", "Aircraft 2"};
  for (int i = 0; i < 4; ++i)
    svconfig::AddHeaderCell(frame, ids[i], texts[i], kHeaderX[i], kHeaderWidth[i], kHeaderWidth[i]);
  listArea = svconfig::AddListScroll(frame, kScrollTop, kListColour, &rows);
}

kxvalueptr svaircraftcontrolsettings::GetMember(const char* member, const kxargs& args) {
  using window = svaircraftcontrolsettings;
  static const svconfig::member<window> kMembers[] = {
      {"Open", svconfig::Command<window, &window::Open>},
      {"ConfigurationSelect", [](window& w, const kxargs& a) { w.Select(a.Node(0)); return kxvoid(); }},
      {"ConfigurationAssign", [](window& w, const kxargs& a) { w.Assign(a.Node(0), a.Int(1, -1)); return kxvoid(); }},
      {"ConfigurationOpen", svconfig::Command<window, &window::OpenSelected>},
      {"ConfigurationNew", svconfig::Command<window, &window::New>},
      {"ConfigurationDelete", svconfig::Command<window, &window::AskDelete>},
      {"ConfigurationDelete2", svconfig::Command<window, &window::DeleteSelected>},
  };
  if (const svconfig::member<window>* m = svconfig::FindMember(kMembers, member)) return m->get(*this, args);
  return kxwindow::GetMember(member, args);
}

void svaircraftcontrolsettings::Open() {
  ListConfigurations();
  selection = rows ? kxnode::As<kxrow>(rows->firstChild) : nullptr;
  Mark();
  kxtree::ResetSelection(listArea);
  sim::ShowWindow(this);
}

/*
 * The names are sorted by bytes rather than shown in the order the
 * directory search returns them: that is the file system's hash order here
 * and would change from one folder to the next. Only the final
 * ".kxa" is taken off, so "a.b.kxa" is listed, opened and deleted as "a.b"
 * and never reaches "a.kxa".
 */
void svaircraftcontrolsettings::ListConfigurations() {
  selection = nullptr;
  if (!rows) return;
  rows->DeleteChildren();
  std::vector<std::string> stems;
  for (const std::string& file : kxsystem::ListFiles("config/*.kxa", 1, 0)) {
    std::string stem = Stem(file);
    if (svconfig::UsableStem(stem.c_str()))
      stems.push_back(stem);
    else
      kxsystem::Log("config:  configuration file name %.60s not listed\n", file.c_str());
  }
  std::sort(stems.begin(), stems.end());
  for (const std::string& stem : stems) {
    svconfig::configtext text = svconfig::ReadConfigurationText(stem.c_str());
    kxrow* row = Add(rows, new kxrow, stem.c_str());
    if (!row) break;
    svconfig::AddCell(row, text.description.c_str(), kDescriptionWidth, kSelectCommand, kOpenCommand);
    kxtext* type = svconfig::AddCell(row, text.type.c_str(), kTypeWidth, kSelectCommand, kOpenCommand);
    kxtext* second = svconfig::AddCell(row, "", kSecondBoxCellWidth, kSelectCommand, nullptr);
    if (kxiconbutton* box = Add(type, new kxiconbutton, kFirstBox)) {
      box->X = kFirstBoxX;
      box->OnPress = kAssignFirst;
    }
    if (kxiconbutton* box = Add(second, new kxiconbutton, kSecondBox)) box->OnPress = kAssignSecond;
  }
}

int svaircraftcontrolsettings::InUse(const kxstring& stem) {
  for (kxdevicemapper* mapper : input::playermapper)
    if (mapper && mapper->name == stem) return 1;
  return 0;
}

void svaircraftcontrolsettings::Mark() {
  const kxdevicemapper* first = input::playermapper[0];
  const kxdevicemapper* second = input::playermapper[1];
  for (kxnode* n = rows ? rows->firstChild : nullptr; n; n = n->nextSibling) {
    kxrow* row = kxnode::As<kxrow>(n);
    if (!row) continue;
    svconfig::PaintRow(row, row == selection, 2);
    if (kxiconbutton* box = Box(row, kFirstBox)) box->selected = first && first->name == row->name ? 1 : 0;
    if (kxiconbutton* box = Box(row, kSecondBox)) box->selected = second && second->name == row->name ? 1 : 0;
  }
}

int svaircraftcontrolsettings::Select(kxnode* row) {
  kxrow* r = kxnode::As<kxrow>(row);
  if (!r) return 0;
  selection = r;
  Mark();
  return 1;
}

void svaircraftcontrolsettings::Assign(kxnode* node, int index) {
  kxrow* row = kxnode::As<kxrow>(node);
  if (!row) return;
  svconfigfiles* files = sim::ConfigFiles();
  if (files && (index == 0 || index == 1)) {
    kxstring& inUse = index == 0 ? files->Aircraft0File : files->Aircraft1File;
    const kxstring before = inUse;
    inUse = row->name;
    // Reading the files in use again would undo an assignment not written.
    if (sim::SaveConfigurationsInUse()) sim::LoadPlayerConfigurations();
    else inUse = before;
  } else if (!files) {
    kxsystem::Log("config:  no configuration files node, %s not assigned\n", row->name.Text());
  }
  Mark();
}

void svaircraftcontrolsettings::OpenSelected() {
  if (!selection) return;
  kxstring command;
  command.Format("/Display/Invisible/ConfigurationEasy/Open( %s, 0 )", kxscript::Quote(selection->name.Text()).Text());
  kxscript::Execute(command.Text());
}

void svaircraftcontrolsettings::New() {
  // An empty file counts as free: a configuration is never empty.
  int n = 0;
  while (kxsystem::GetFileSize(FilePath(NewStem(n)).Text()) > 0) ++n;
  kxstring stem = NewStem(n);
  kxstring command;
  command.Format("/Display/Invisible/ConfigurationEasy/Open( %s, 1 )", kxscript::Quote(stem.Text()).Text());
  kxscript::Execute(command.Text());
  ListConfigurations();
  kxrow* row = rows ? kxnode::As<kxrow>(rows->FindChild(stem.Text())) : nullptr;
  if (row) {
    selection = row;
    Assign(row, 0);
  }
  Mark();
}

void svaircraftcontrolsettings::AskDelete() {
  if (!selection) return;
  kxstring command;
  command.Format("/Display/Invisible/ConfigurationDelete/Open( %d )", InUse(selection->name));
  kxscript::Execute(command.Text());
}

void svaircraftcontrolsettings::DeleteSelected() {
  if (!selection) return;
  if (InUse(selection->name)) {
    kxsystem::Log("config:  configuration %s is in use, not deleted\n", selection->name.Text());
  } else {
    kxsystem::DeleteFile(FilePath(selection->name).Text());
  }
  ListConfigurations();
  selection = rows ? kxnode::As<kxrow>(rows->firstChild) : nullptr;
  Mark();
}

void svaircraftcontrolsettings::NodeGone(kxnode* node) {
  if (node == selection) selection = nullptr;
}

// ---- the delete window ---------------------------------------------------------------------

svconfigurationdelete::svconfigurationdelete() {
  type = &Type;
  Fixed("ConfigurationDelete", "Deleting configuration", kWidth, kHeight, "Cancel");
  message = Add(this, new kxlistitem("", 10, 50, 180, 60), "acdwarn");
  cancelButton = sim::AddButton(this, 0, kButtonLine, 0, 0, 10, 0, "Cancel", "../Cancel", "acdcancel");
  sim::AddButton(this, 0, kButtonLine, 0, 0, 100, 0, "Ok", "../Ok", "acdok");
}

svconfigurationdelete::~svconfigurationdelete() {
  if (cancelButton && cancelButton->parent != this) delete cancelButton;
}

kxvalueptr svconfigurationdelete::GetMember(const char* member, const kxargs& args) {
  using window = svconfigurationdelete;
  static const svconfig::member<window> kMembers[] = {
      {"Open", [](window& w, const kxargs& a) { w.Open(a.Int(0)); return kxvoid(); }},
      {"Ok", svconfig::Command<window, &window::Ok>},
      {"Cancel", svconfig::Command<window, &window::Cancel>},
      {"TextNo", svconfig::Text<window, &window::TextNo>},
      {"TextReally", svconfig::Text<window, &window::TextReally>},
  };
  if (const svconfig::member<window>* m = svconfig::FindMember(kMembers, member)) return m->get(*this, args);
  return kxwindow::GetMember(member, args);
}

void svconfigurationdelete::Open(int used) {
  inUse = used;
  if (cancelButton) cancelButton->Unlink();
  if (inUse == 0 && cancelButton) AppendChild(cancelButton);
  if (message) message->Text = inUse == 0 ? TextReally : TextNo;
  sim::ShowWindow(this);
}

void svconfigurationdelete::Ok() {
  Hide();
  if (inUse == 0) kxscript::Execute("/Display/Visible/AircraftControlSettings/ConfigurationDelete2");
  kxscript::Execute(kSettingsOpen);
}

void svconfigurationdelete::Cancel() {
  Hide();
  kxscript::Execute(kSettingsOpen);
}
