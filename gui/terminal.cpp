#include "gui/terminal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/arguments.h"
#include "core/interpreter.h"
#include "gui/containers.h"
#include "gui/edit.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/paint.h"
#include "gui/scroll.h"
#include "gui/text.h"
#include "platform/codes.h"

kxtype kxterminal::Type("kxterminal", sizeof(kxterminal), kxcreate<kxterminal>);
kxtype kxwindowterminal::Type("kxwindowterminal", sizeof(kxwindowterminal), kxcreate<kxwindowterminal>);

namespace {

const char* const kEditCommand = "../Execute";

// Live terminals, for the destroy notification. Never destroyed: nodes may
// still go after static destruction has begun.
std::vector<kxterminal*>& Terminals() {
  static std::vector<kxterminal*>* list = new std::vector<kxterminal*>;
  return *list;
}

// Window layout: a frame inset 2 px, a scroll inside it, the terminal inside
// the scroll with room for the vertical bar.
constexpr int kInset = 2;            // px
constexpr int kFrameWidth = 476, kFrameHeight = 338;
constexpr int kFrameTop = 24;        // px below the window's top edge (title bar)
constexpr int kScrollWidth = 472, kScrollHeight = 334;
constexpr int kTerminalWidth = 454, kTerminalHeight = 800;
constexpr int kTerminalRight = 18;   // px left free for the scroll bar
constexpr int kMinWindowWidth = 120, kMinWindowHeight = 90;
const kxcolor4 kConsoleBlue = {0.227f, 0.431f, 0.647f, 1.0f};

}  // namespace

kxterminal::kxterminal() {
  type = &Type;
  kxnode::AddDestroyListener(NodeGone);
  Terminals().push_back(this);
  editLine = new kxedit;
  if (editLine) {
    editLine->name = "Edit";
    editLine->OnReturn = kEditCommand;
    editLine->textColor = kxgui::Palette(1);
    editLine->Wr = 1;
    editLine->H = kLineHeight;
    AddChild(editLine);
  }
  history = editLine;
}

kxterminal::~kxterminal() {
  auto& list = Terminals();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void kxterminal::NodeGone(kxnode* node) {
  for (kxterminal* t : Terminals()) {
    if (t->context == node) t->context = nullptr;
    if (t->editLine == node) t->editLine = nullptr;
    if (t->history == node) t->history = t->editLine;
  }
}

kxvalueptr kxterminal::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Execute") == 0) {
    kxstring text = args.String(0);
    Execute(text.Text());
    return kxvoid();
  }
  return kxgraphic::GetMember(member, args);
}

void kxterminal::Execute(const char* text) {
  if (editLine) {
    std::string typed = std::string(editLine->text) + "\n";
    editLine->SetText("");
    size_t start = 0;
    for (size_t end = typed.find('\n'); end != std::string::npos; end = typed.find('\n', start)) {
      kxtext* line = new kxtext(typed.substr(start, end - start).c_str(), 0, 0, W, kLineHeight);
      if (line) {
        line->textColor = kxgui::Palette(1);
        editLine->InsertAfter(line);
      }
      start = end + 1;
    }
  }
  history = editLine;
  Update();
  // The text runs on a copy: the command may replace the edit line's text.
  std::string command = text ? text : "";
  kxnode* after = kxscript::Execute(command.c_str(), context);
  // A command may destroy the terminal that runs it.
  auto& live = Terminals();
  if (std::find(live.begin(), live.end(), this) == live.end()) return;
  context = after;
}

void kxterminal::Update() {
  kxgraphic::Update();
  if (editLine && kxgui::Focus && kxgui::Focus != editLine && kxgui::Focus->IsWithin(this)) {
    kxgui::Focus = editLine;
  }
  // The edit line stays at the bottom whatever its place among the children.
  if (editLine && firstChild != editLine) AddChild(editLine);
  int y = 0;
  kxnode* child = firstChild;
  while (child) {
    kxnode* next = child->nextSibling;
    if (kxgraphic* g = kxgraphic::Of(child)) {
      if (g != editLine && y + g->H > H) {
        delete g;  // the notification moves the history back to the edit line
      } else {
        g->Y = y;
        y += g->H;
      }
    }
    child = next;
  }
}

void kxterminal::OnKey(int character, int code) {
  if (code == kxcode::kKeyUp || code == kxcode::kKeyDown) {
    kxgraphic* from = history ? history : editLine;
    kxnode* to = nullptr;
    if (from) to = code == kxcode::kKeyUp ? from->nextSibling : from->prevSibling;
    kxtext* line = dynamic_cast<kxtext*>(to);
    if (line && editLine && to != editLine) {
      history = line;
      editLine->SetText(line->Text.Text());
      editLine->Update();
    }
    return;
  }
  kxgraphic::OnKey(character, code);
}

void kxterminal::OnLeftDown() {
  if (editLine) kxgui::Focus = editLine;
}

void kxterminal::SetAlpha(float alpha) {
  kxgraphic::SetAlpha(alpha);
  background.a = alpha;
}

void kxterminal::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  kxgui::SetColor(background);
  kxgui::FillRect(ax, ay, ax + W, ay + H);
  DrawChildren(ax, ay);
}

// ---- kxwindowterminal --------------------------------------------------------

kxwindowterminal::kxwindowterminal() {
  type = &Type;
  kxframe* frame = new kxframe(kInset, kInset, kFrameWidth, kFrameHeight);
  kxscroll* scroll = new kxscroll(kInset, kInset, kScrollWidth, kScrollHeight);
  terminal = new kxterminal;
  if (!frame || !scroll || !terminal) return;
  frame->Wr = kInset;
  frame->Hr = kFrameTop;
  AppendChild(frame);
  scroll->Wr = kInset;
  scroll->Hr = kInset;
  frame->AppendChild(scroll);
  terminal->name = "Terminal";
  terminal->W = kTerminalWidth;
  terminal->H = kTerminalHeight;
  terminal->Wr = kTerminalRight;
  terminal->background = kConsoleBlue;
  scroll->AppendChild(terminal);
  scroll->Update();
  minWidth = kMinWindowWidth;
  minHeight = kMinWindowHeight;
  Wr = 0;
  Hr = 0;
}
