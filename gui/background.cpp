#include "gui/background.h"

#include <cstring>

#include "core/arguments.h"
#include "core/interpreter.h"
#include "core/reference.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/menu.h"

kxtype kxbackground::Type("kxbackground", sizeof(kxbackground), kxcreate<kxbackground>);

namespace {
constexpr int kScreenWidth = 640;   // px until the mode sizes it
constexpr int kScreenHeight = 480;  // px
}  // namespace

kxbackground::kxbackground() : kxgraphic(0, 0, kScreenWidth, kScreenHeight) { type = &Type; }

kxvalueptr kxbackground::GetMember(const char* member, const kxargs& args) {
  struct field {
    const char* name;
    kxstring kxbackground::*text;
  };
  static const field fields[] = {{"OnLeftDown", &kxbackground::OnLeftDownText},
                                 {"OnLeftDouble", &kxbackground::OnLeftDoubleText},
                                 {"OnLeftUp", &kxbackground::OnLeftUpText},
                                 {"OnRightDown", &kxbackground::OnRightDownText},
                                 {"OnRightUp", &kxbackground::OnRightUpText},
                                 {"OnMove", &kxbackground::OnMoveText}};
  for (const field& f : fields) {
    if (std::strcmp(member, f.name) == 0) return kxvalueptr(new kxstringref(&(this->*f.text)));
  }
  return kxgraphic::GetMember(member, args);
}

void kxbackground::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxbackground* b = dynamic_cast<kxbackground*>(other)) {
    b->OnLeftDownText = OnLeftDownText, b->OnLeftDoubleText = OnLeftDoubleText;
    b->OnLeftUpText = OnLeftUpText, b->OnRightDownText = OnRightDownText;
    b->OnRightUpText = OnRightUpText, b->OnMoveText = OnMoveText;
  }
}

void kxbackground::Update() {
  kxgraphic::Update();
  menuBarHeight = kxmenuitem::LayOutBar(this, 0);
}

void kxbackground::ToLocal(int* x, int* y) { kxgui::ScreenPointer(x, y); }

void kxbackground::RunWithPointer(const kxstring& text, unsigned* handled) {
  if (handled) {
    if (*handled == kxgui::EventSerial) return;
    *handled = kxgui::EventSerial;
  }
  if (kxgui::MouseHook) {
    kxgui::MouseHook(kxgui::LastEvent, kxgui::LastModifiers);
    return;
  }
  int lx = 0, ly = 0;
  ToLocal(&lx, &ly);
  kxstring command;
  command.Format("%s( %d, %d )", text.Text(), lx, ly);
  kxscript::Execute(command.Text(), this);
}

void kxbackground::OnLeftDown() { RunWithPointer(OnLeftDownText, nullptr); }
void kxbackground::OnLeftDouble() { RunWithPointer(OnLeftDoubleText, nullptr); }
void kxbackground::OnLeftUp() { RunWithPointer(OnLeftUpText, &upSerial_); }
void kxbackground::OnRightDown() { RunWithPointer(OnRightDownText, nullptr); }
void kxbackground::OnMove() { RunWithPointer(OnMoveText, &moveSerial_); }

void kxbackground::OnRightUp() {
  if (rightUpSerial_ == kxgui::EventSerial) return;
  rightUpSerial_ = kxgui::EventSerial;
  if (kxgui::MouseHook) {
    kxgui::MouseHook(kxgui::LastEvent, kxgui::LastModifiers);
    return;
  }
  RunCommand(OnRightUpText);
}

void kxbackground::OnKey(int, int) {
  if (kxgui::KeyHook) kxgui::KeyHook(kxgui::LastKey, kxgui::LastModifiers);
}
