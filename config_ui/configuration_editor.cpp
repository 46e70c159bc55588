#include "config_ui/configuration_editor.h"

#include <cmath>
#include <cstring>

#include "config_ui/widgets.h"
#include "core/arguments.h"
#include "core/interpreter.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/containers.h"
#include "gui/edit.h"
#include "gui/gui.h"
#include "gui/indicators.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "gui/tree.h"
#include "platform/device_mapper.h"
#include "platform/event_nodes.h"
#include "platform/log.h"
#include "sim/config_files.h"
#include "sim/multilanguage.h"
#include "sim/windows/window_functions.h"

kxtype svconfigurationeditor::Type("svconfigurationeditor", sizeof(svconfigurationeditor),
                                   kxcreate<svconfigurationeditor>);

using namespace svconfig;

namespace {

// Layout in px, y up from the window's bottom edge.
constexpr int kCancelRight = 10, kOkRight = 100;
constexpr int kConfigLabelX = 4, kConfigLabelY = 13, kConfigLabelWidth = 100;
constexpr int kNameFrameX = 100, kNameFrameY = 11, kNameFrameWidth = 154, kNameFrameHeight = 24;
constexpr int kListY = 46, kListTop = 24, kScrollTop = 22;
constexpr int kHeaders = 6;
constexpr int kHeaderX[kHeaders] = {1, 151, 301, 351, 401, 441};
constexpr int kHeaderWidth[kHeaders] = {150, 150, 50, 50, 40, 177};
const char* const kHeaderTexts[kHeaders] = {"Function", "Input", "Travel", "Expo", "Rev", "Channel"};
const char* const kHeaderIds[kHeaders] = {"wcafunction", "wcainput", "wcarange", "wcaexpo", "wcareverse", "wcachannel"};
constexpr kxcolor4 kListColour = {0.9f, 0.9f, 0.9f, 1};
constexpr kxcolor4 kBarBackground = {0.8f, 0.8f, 0.8f, 1};
constexpr kxcolor4 kBarColour = {1, 0, 0, 1};

// One row, left to right.
constexpr int kNameCellWidth = 148, kBarWidth = 150, kBarHeight = 16;
constexpr int kBeforeTravel = 12, kAfterTravel = 20, kAfterExpo = 22;
constexpr int kFieldFrameX = -2, kFieldFrameWidth = 30, kFieldX = 2, kFieldWidth = 26, kFieldHeight = 16;
constexpr int kFieldChars = 3;
constexpr int kInvertWidth = 26, kButtonWidth = 176, kButtonHeight = 18;

// Row widgets sit five levels below the window: widget, row, column,
// scroll, frame.
constexpr const char kInvertCommand[] = "../../../../../Invert( ../Name )";

constexpr const char kSettingsOpen[] = "/Display/Visible/AircraftControlSettings/Open";

kxedit* AddField(kxgraphic* row) {
  kxframe* frame = Add(row, new kxframe(kFieldFrameX, 0, kFieldFrameWidth, kCellHeight));
  kxedit* field = Add(frame, new kxedit(kFieldX, kFieldX, kFieldWidth, kFieldHeight));
  if (field) field->maxLength = kFieldChars;
  return field;
}

}  // namespace

svconfigurationeditor::svconfigurationeditor() {
  type = &Type;
  Fixed("ConfigurationEditor", "Configuration", kWidth, kHeight, "Cancel");
  EnableResize = 1;
  sim::AddButton(this, 0, kButtonLine, 0, 0, kCancelRight, 0, "Cancel", "../Cancel", "wcacancel");
  sim::AddButton(this, 0, kButtonLine, 0, 0, kOkRight, 0, "Ok", "../Ok", "wcaok");
  Add(this, new kxtext("Configuration:", kConfigLabelX, kConfigLabelY, kConfigLabelWidth, kCellHeight), "wcaconfig");
  kxframe* nameFrame = Add(this, new kxframe(kNameFrameX, kNameFrameY, kNameFrameWidth, kNameFrameHeight));
  // The name fills its frame: a click anywhere on the drawn box is one into it.
  nameField = Add(nameFrame, new kxedit(0, 0, kNameFrameWidth, kNameFrameHeight));
  if (nameField) nameField->maxLength = kMaxDescription;
  kxframe* frame = sim::AddFrame(this, kListInset, kListY, 0, 0, kListInset, kListTop);
  for (int i = 0; i < kHeaders; ++i)
    AddHeaderCell(frame, kHeaderIds[i], kHeaderTexts[i], kHeaderX[i], kHeaderWidth[i], kHeaderWidth[i]);
  listArea = AddListScroll(frame, kScrollTop, kListColour, &rows);
}

kxvalueptr svconfigurationeditor::GetMember(const char* member, const kxargs& args) {
  using window = svconfigurationeditor;
  static const svconfig::member<window> kMembers[] = {
      {"Open", [](window& w, const kxargs& a) { w.Open(a.String(0).Text()); return kxvoid(); }},
      {"Ok", svconfig::Command<window, &window::Ok>},
      {"Cancel", svconfig::Command<window, &window::Cancel>},
      {"AssignStart", svconfig::CommandInt<window, &window::AssignStart>},
      {"Assign", svconfig::CommandIntInt<window, &window::Assign>},
      {"Invert", svconfig::CommandInt<window, &window::Invert>},
  };
  if (const svconfig::member<window>* m = svconfig::FindMember(kMembers, member)) return m->get(*this, args);
  return kxwindow::GetMember(member, args);
}

void svconfigurationeditor::Update() {
  kxwindow::Update();
  if (nameField) Title = nameField->text;
}

void svconfigurationeditor::Draw(int ox, int oy) {
  ApplyFields();
  kxwindow::Draw(ox, oy);
}

bool svconfigurationeditor::FunctionOk(int function, const char* what) const {
  if (!mapper) return false;
  if (function >= 0 && function < kFunctions) return true;
  kxsystem::Log("config:  %s of function %d ignored, functions are 0-%d\n", what, function, kFunctions - 1);
  return false;
}

void svconfigurationeditor::Open(const char* stem) {
  if (!PrivateNodes(stem, &mapper, &controller)) return;
  made = newconfiguration{};
  configtext text = RunConfiguration(stem, mapper, controller);
  if (nameField) nameField->SetText(text.description.c_str());
  BuildRows();
  RefreshRows();
  kxtree::ResetSelection(listArea);
  sim::ShowWindow(this);
}

void svconfigurationeditor::BuildRows() {
  for (int k = 0; k < kFunctions; ++k) travel[k] = expo[k] = nullptr;
  if (!rows) return;
  rows->DeleteChildren();
  const multilanguage& texts = sim::Language();
  for (int k = 0; k < kFunctions; ++k) {
    kxstring number;
    number.SetInt(k);
    kxrow* row = Add(rows, new kxrow, number.Text());
    if (!row) break;
    Add(row, new kxtext(texts.controlFunction[k].Text(), 0, 0, kNameCellWidth, kCellHeight));
    kxclickbox* bar = Add(row, new kxclickbox(0, 0, kBarWidth, kBarHeight), "Bar");
    if (bar) {
      bar->background = kBarBackground;
      bar->barA = bar->barB = kBarColour;
      bar->value = mapper && mapper->outputs ? mapper->outputs + k : nullptr;
    }
    AddSpacer(row, kBeforeTravel);
    travel[k] = AddField(row);
    AddSpacer(row, kAfterTravel);
    expo[k] = AddField(row);
    AddSpacer(row, kAfterExpo);
    kxcheckbox* invert = Add(row, new kxcheckbox(0, 0, kInvertWidth, kCellHeight), "Invert");
    if (invert) invert->OnCheck = invert->OnUncheck = kInvertCommand;
    kxbutton* button = Add(row, new kxbutton("", 0, 0, kButtonWidth, kButtonHeight), "Button");
    if (button) button->OnPress.Format("../../../../../AssignStart( %d )", k);
  }
}

void svconfigurationeditor::RefreshRows() {
  if (!mapper || !rows) return;
  const multilanguage& texts = sim::Language();
  int k = 0;
  for (kxnode* n = rows->firstChild; n && k < kFunctions; n = n->nextSibling, ++k) {
    if (kxbutton* button = kxnode::As<kxbutton>(n->FindChild("Button")))
      button->Text = SourceName(mapper->SourceCode(k), texts);
    if (kxcheckbox* invert = kxnode::As<kxcheckbox>(n->FindChild("Invert")))
      invert->checked = mapper->Invert[k] != 0.0f ? 1 : 0;
    if (travel[k]) travel[k]->SetText(FieldText(mapper->Dual[k]).c_str());
    if (expo[k]) expo[k]->SetText(FieldText(mapper->Expo[k]).c_str());
  }
}

void svconfigurationeditor::ApplyFields() {
  if (!mapper) return;
  for (int k = 0; k < kFunctions; ++k) {
    if (!travel[k] || !expo[k]) continue;
    mapper->Dual[k] = FieldFraction(travel[k]->text);
    mapper->Expo[k] = FieldFraction(expo[k]->text);
  }
}

int svconfigurationeditor::Save() {
  if (!mapper) return 0;
  ApplyFields();
  if (nameField && !nameField->text[0]) nameField->SetText(kNewDescription);
  return WriteConfiguration(mapper->name.Text(), AdvancedForm(*mapper, nameField ? nameField->text : ""));
}

// A save that fails keeps the window and the edits: the players'
// configurations are read again only from a file that was written.
void svconfigurationeditor::Ok() {
  if (!Save()) return;
  made = newconfiguration{};
  sim::LoadPlayerConfigurations();
  Hide();
  kxscript::Execute(kSettingsOpen);
}

void svconfigurationeditor::Cancel() {
  Hide();
  DiscardNew(&made);
  kxscript::Execute(kSettingsOpen);
}

void svconfigurationeditor::AssignStart(int function) {
  if (!FunctionOk(function, "channel selection")) return;
  kxstring command;
  command.Format("/Display/Invisible/ChannelSelect/Open( %d )", function);
  kxscript::Execute(command.Text());
}

void svconfigurationeditor::Assign(int function, int source) {
  if (!mapper) return;
  ApplyFields();
  if (FunctionOk(function, "assignment")) mapper->Assign(function, source);
  RefreshRows();
  kxgui::Capture = this;
}

void svconfigurationeditor::Invert(int function) {
  if (!FunctionOk(function, "reverse")) return;
  ApplyFields();
  mapper->Invert[function] = 1.0f - mapper->Invert[function];
  RefreshRows();
}

void svconfigurationeditor::NodeGone(kxnode* node) {
  if (node == mapper) {
    mapper = nullptr;
    // The bars showed its outputs, which lay in the pinboard's table.
    if (rows) rows->DeleteChildren();
    for (int k = 0; k < kFunctions; ++k) travel[k] = expo[k] = nullptr;
  }
  if (node == controller) controller = nullptr;
}
