#include "config_ui/channel_select.h"

#include <cstring>
#include <iterator>

#include "config_ui/control_config.h"
#include "config_ui/widgets.h"
#include "core/arguments.h"
#include "core/interpreter.h"
#include "gui/containers.h"
#include "gui/gui.h"
#include "gui/indicators.h"
#include "gui/list_item.h"
#include "gui/scroll.h"
#include "gui/tree.h"
#include "platform/log.h"
#include "platform/pinboard.h"
#include "sim/multilanguage.h"
#include "sim/windows/window_functions.h"

kxtype svchannelselect::Type("svchannelselect", sizeof(svchannelselect), kxcreate<svchannelselect>);

using namespace svconfig;

namespace {

constexpr int kCancelRight = 10, kOkRight = 100;
constexpr int kListY = 46, kListTop = 24, kScrollTop = 22;
constexpr int kChannelX = 1, kChannelWidth = 150, kInputX = 151, kInputWidth = 170;
constexpr int kTextWidth = 150, kBarWidth = 160, kBarHeight = 16, kBarY = 1;
constexpr kxcolor4 kListColour = {0.9f, 0.9f, 0.9f, 1};
constexpr kxcolor4 kBarBackground = {0.8f, 0.8f, 0.8f, 1};
constexpr kxcolor4 kBarColour = {1, 0, 0, 1};

// Lines by group: the first line, the count and the source of the first.
struct linegroup {
  int first, count, source;
};
constexpr linegroup kGroups[] = {
    {0, 12, 1000}, {12, 12, 1100}, {24, 12, 600}, {36, 12, 650},  // radios, joysticks with their buttons
    {54, 2, 1940}, {56, 2, 1938},  {58, 3, 1935},                 // V-tail, taileron, constants
};
constexpr int kKeypadFirst = 48;
constexpr int kKeypad[] = {201, 202, 204, 205, 206, 207};

}  // namespace

svchannelselect::svchannelselect() {
  type = &Type;
  Fixed("ChannelSelect", "Select channel", kWidth, kHeight, "Cancel");
  EnableResize = 1;
  sim::AddButton(this, 0, kButtonLine, 0, 0, kCancelRight, 0, "Cancel", "../Cancel", "wccscancel");
  sim::AddButton(this, 0, kButtonLine, 0, 0, kOkRight, 0, "Ok", "../Ok", "wccsok");
  kxframe* frame = sim::AddFrame(this, kListInset, kListY, 0, 0, kListInset, kListTop);
  AddHeaderCell(frame, "wccschannel", "Channel", kChannelX, kChannelWidth, kChannelWidth);
  AddHeaderCell(frame, "wccsinput", "Input", kInputX, kInputWidth, kInputWidth);
  list = AddListScroll(frame, kScrollTop, kListColour, &rows);
}

kxvalueptr svchannelselect::GetMember(const char* member, const kxargs& args) {
  using window = svchannelselect;
  static const svconfig::member<window> kMembers[] = {
      {"Open", svconfig::CommandInt<window, &window::Open>},
      {"Selectx", svconfig::CommandIntInt<window, &window::Selectx>},
      {"Ok", svconfig::Command<window, &window::Ok>},
      {"Cancel", svconfig::Command<window, &window::Cancel>},
  };
  if (const svconfig::member<window>* m = svconfig::FindMember(kMembers, member)) return m->get(*this, args);
  return kxwindow::GetMember(member, args);
}

int svchannelselect::SourceOfLine(int i) {
  for (const linegroup& g : kGroups) {
    if (i >= g.first && i < g.first + g.count) return g.source + i - g.first;
  }
  if (i >= kKeypadFirst && i < kKeypadFirst + static_cast<int>(std::size(kKeypad))) return kKeypad[i - kKeypadFirst];
  return -1;
}

void svchannelselect::Open(int f) {
  function = f;
  source = 0;
  if (!built_) BuildList();
  BindBars(input::Pinboard());
  kxtree::ResetSelection(list);
  sim::ShowWindow(this);
}

// The texts are those of the language in force at the first Open.
void svchannelselect::BuildList() {
  if (!rows) return;
  built_ = true;
  const multilanguage& texts = sim::Language();
  for (int i = 0; i < kInputs; ++i) {
    int code = SourceOfLine(i);
    kxstring number, command;
    number.SetInt(i);
    command.Format("../../../../../Selectx( %d, %d )", i, code);
    kxrow* line = Add(rows, new kxrow, number.Text());
    if (!line) break;
    kxlistitem* text = Add(line, new kxlistitem(SourceName(code, texts).c_str(), 0, 0, kTextWidth, kCellHeight));
    if (text) text->onLeftDown = command;
    kxclickbox* bar = Add(line, new kxclickbox(0, kBarY, kBarWidth, kBarHeight), "Bar");
    if (!bar) continue;
    bar->background = kBarBackground;
    bar->barA = bar->barB = kBarColour;
    bar->OnLeftDownText = command;
  }
}

// Each Open points the bars at the pinboard there is now.
void svchannelselect::BindBars(kxpinboard* board) {
  board_ = board;
  int i = 0;
  for (kxnode* line = rows ? rows->firstChild : nullptr; line; line = line->nextSibling, ++i) {
    kxclickbox* bar = kxnode::As<kxclickbox>(line->FindChild("Bar"));
    int code = SourceOfLine(i);
    if (bar) bar->value = board && code >= 0 ? board->slots + code : nullptr;
  }
}

void svchannelselect::Selectx(int line, int code) {
  if (code < 0 || code >= kxpinboard::kSlots) {
    kxsystem::Log("config:  source %d ignored, sources are 0-%d\n", code, kxpinboard::kSlots - 1);
    return;
  }
  row = line;
  source = code;
  Ok();
}

void svchannelselect::Ok() {
  Hide();
  kxstring command;
  command.Format("/Display/Visible/ConfigurationEditor/Assign( %d, %d )", function, source);
  kxscript::Execute(command.Text());
}

void svchannelselect::Cancel() { Hide(); }

void svchannelselect::NodeGone(kxnode* node) {
  if (node == board_) BindBars(nullptr);
}
