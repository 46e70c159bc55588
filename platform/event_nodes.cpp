#include "platform/event_nodes.h"

#include <cmath>
#include <string_view>

#include "core/arguments.h"
#include "core/reference.h"
#include "platform/codes.h"
#include "platform/device_simple.h"
#include "platform/events.h"
#include "platform/log.h"

kxtype kxeventcontroller::Type{"kxeventcontroller", sizeof(kxeventcontroller), kxcreate<kxeventcontroller>};
kxtype kxeventdisplay::Type{"kxeventdisplay", sizeof(kxeventdisplay), kxcreate<kxeventdisplay>};

static_assert(kxdevicemouse::kButtonLeft == kxsystem::kPointerLeft &&
                  kxdevicemouse::kButtonRight == kxsystem::kPointerRight &&
                  kxdevicemouse::kButtonMiddle == kxsystem::kPointerMiddle,
              "the mouse device reads the pointer's button bits");

namespace {

kxdisplayhandlers handlers;

constexpr int kStickY = 1, kStickX = 2;
constexpr int kFirstToggle = 4;  // values 4..7 are toggled between -1 and +1
constexpr int kNum1 = kxcode::kKeyPad0 + 1, kNum2 = kxcode::kKeyPad0 + 2, kNum3 = kxcode::kKeyPad0 + 3;
constexpr int kNum4 = kxcode::kKeyPad0 + 4, kNum5 = kxcode::kKeyPad0 + 5, kNum6 = kxcode::kKeyPad0 + 6;
constexpr int kNum7 = kxcode::kKeyPad0 + 7, kNum8 = kxcode::kKeyPad0 + 8, kNum9 = kxcode::kKeyPad0 + 9;

float Clamp1(float v) {
  if (!std::isfinite(v)) return 0.0f;
  return v < -1.0f ? -1.0f : v > 1.0f ? 1.0f : v;
}

}  // namespace

// ---- event controller -----------------------------------------------------------------

kxeventcontroller::kxeventcontroller() { type = &Type; }

kxvalueptr kxeventcontroller::GetMember(const char* member, const kxargs& args) {
  std::string_view m = member;
  if (m == "Values") {
    SetValues(input::Pinboard(), args.Int(0, -1));
    return kxvoid();
  }
  if (m == "Step") return kxvalueptr(new kxrealref(&Step));
  return kxnode::GetMember(member, args);
}

void kxeventcontroller::CopyTo(kxnode* other) {
  kxeventcontroller* c = static_cast<kxeventcontroller*>(other);
  c->values = values;  // the pinboard lies outside any copied subtree
  c->board_ = board_;
  c->Step = Step;
}

int kxeventcontroller::SetValues(kxpinboard* board, int slot) {
  if (!board) {
    kxsystem::Log("kxinput:  %s: Values( %d ) refused, no pinboard\n", name.Text(), slot);
    return 0;
  }
  if (slot < 0 || slot > kxpinboard::kSlots - kValues) {
    kxsystem::Log("kxinput:  %s: Values( %d ) refused (slots 0-%d)\n", name.Text(), slot, kxpinboard::kSlots - 1);
    return 0;
  }
  board_ = board;
  values = board->slots + slot;
  return 1;
}

void kxeventcontroller::Rest() {
  if (!values || board_ != input::Pinboard()) return;
  values[kStickY] = values[kStickX] = 0.0f;
  for (int i = kFirstToggle; i < kValues; ++i) values[i] = -1.0f;
}

void kxeventcontroller::OnEvent(int code, int /*mods*/, int isKey) {
  if (!isKey || !values) return;
  if (board_ != input::Pinboard()) {
    values = nullptr;
    board_ = nullptr;
    return;
  }
  float step = std::isfinite(Step) ? Step : 0.0f;
  auto toggle = [this](int i) { values[i] = values[i] > 0.0f ? -1.0f : 1.0f; };
  switch (code) {
    case kNum8: values[kStickY] = Clamp1(values[kStickY] + step); break;
    case kNum2: values[kStickY] = Clamp1(values[kStickY] - step); break;
    case kNum6: values[kStickX] = Clamp1(values[kStickX] + step); break;
    case kNum4: values[kStickX] = Clamp1(values[kStickX] - step); break;
    case kNum5: values[kStickY] = values[kStickX] = 0.0f; break;
    case kNum1: toggle(kFirstToggle); break;
    case kNum3: toggle(kFirstToggle + 1); break;
    case kNum7: toggle(kFirstToggle + 2); break;
    case kNum9: toggle(kFirstToggle + 3); break;
    default: break;
  }
}

// ---- display binding -----------------------------------------------------------------------

kxeventdisplay::kxeventdisplay() { type = &Type; }

void kxeventdisplay::OnEvent(int code, int mods, int isKey) {
  if (isKey) {
    if (handlers.key) handlers.key(code, mods);
  } else if (code == kxcode::kTimerEvent) {
    if (handlers.hover) handlers.hover();
  } else if (handlers.mouse) {
    handlers.mouse(code, mods);
  }
}

namespace input {

void SetDisplayHandlers(const kxdisplayhandlers& h) { handlers = h; }

void OnMouse(int code, int mods) {
  if (kxpinboard* board = Pinboard()) {
    for (kxnode* child = board->firstChild; child; child = child->nextSibling) {
      if (auto* mouse = kxnode::As<kxdevicemouse>(child)) mouse->Sample(pointer.fx, pointer.fy, pointer.buttons);
    }
  }
  Dispatch(code, mods, 0);
}

void OnKey(int key, int mods) {
  if (kxpinboard* board = Pinboard()) {
    for (kxnode* child = board->firstChild; child; child = child->nextSibling) {
      if (auto* keyboard = kxnode::As<kxdevicekeyboard>(child)) keyboard->KeyDown(key, mods);
    }
  }
  Dispatch(key, mods, 1);
}

void OnKeyUp(int, int) {}

void RestKeypad() {
  kxpanel* panel = Panel();
  for (kxnode* child = panel ? panel->firstChild : nullptr; child; child = child->nextSibling)
    if (auto* controller = kxnode::As<kxeventcontroller>(child)) controller->Rest();
}

}  // namespace input
