#include "gui/button.h"

#include <algorithm>
#include <cstring>

#include "core/arguments.h"
#include "core/reference.h"
#include "graphics/texture_table.h"
#include "gui/gui.h"
#include "gui/gui_state.h"
#include "gui/paint.h"
#include "gui/paint_image.h"

kxtype kxbutton::Type("kxbutton", sizeof(kxbutton), kxcreate<kxbutton>);
kxtype kxbuttontexture::Type("kxbuttontexture", sizeof(kxbuttontexture), kxcreate<kxbuttontexture>);

namespace {
constexpr int kButtonWidth = 80;   // px
constexpr int kButtonHeight = 26;  // px
const kxcolor4 kEngraved = {0.5f, 0.5f, 0.5f, 1.0f};
}  // namespace

kxbutton::kxbutton() : kxgraphic(0, 0, kButtonWidth, kButtonHeight) { type = &Type; }

kxbutton::kxbutton(const char* text, int x, int y, int w, int h) : kxgraphic(x, y, w, h), Text(text) {
  type = &Type;
}

kxvalueptr kxbutton::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Text") == 0) return kxvalueptr(new kxstringref(&Text));
  if (disabled) return nullptr;
  if (std::strcmp(member, "OnPress") == 0) return kxvalueptr(new kxstringref(&OnPress));
  if (std::strcmp(member, "OnLeftDouble") == 0) return kxvalueptr(new kxstringref(&OnLeftDoubleText));
  if (std::strcmp(member, "OnLeftDown") == 0) return kxvalueptr(new kxstringref(&OnLeftDownText));
  return kxgraphic::GetMember(member, args);
}

void kxbutton::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxbutton* b = dynamic_cast<kxbutton*>(other)) {
    b->Text = Text, b->OnPress = OnPress, b->OnLeftDoubleText = OnLeftDoubleText;
    b->OnLeftDownText = OnLeftDownText, b->disabled = disabled;
  }
}

void kxbutton::Update() {
  kxgraphic::Update();
  if (kxgui::Hot != this) state = kIdle;
}

void kxbutton::OnLeftDown() {
  if (disabled) return;
  state = kPressed;
  RunCommand(OnLeftDownText);
}

void kxbutton::OnLeftDouble() {
  if (!disabled) RunCommand(OnLeftDoubleText);
}

void kxbutton::OnLeftUp() {
  if (disabled || state != kPressed) return;
  state = kIdle;
  RunCommand(OnPress);
}

void kxbutton::OnMove() {
  if (!disabled && kxgui::Hot == this && state == kIdle) state = kHover;
}

void kxbutton::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  bool pressed = state == kPressed;
  kxgui::SetPaletteColor(10);
  kxgui::FillRect(ax, ay, ax + W, ay + H);
  kxgui::BevelEdges(ax, ay, ax + W, ay + H, kxgui::Palette(pressed ? 0 : 1), kxgui::Palette(pressed ? 1 : 0));
  int p = pressed ? 1 : 0;
  int tx = ax + std::max(0, W / 2 - kxgui::TextWidth(Text.Text()) / 2 + p);
  int ty = ay + H / 2 - kxgui::LineHeight() / 2 - p;
  kxgui::ClipOn(ax, ay, W, H);
  if (!disabled) {
    kxgui::SetPaletteColor(0);
    kxgui::DrawText(tx, ty, Text.Text());
  } else {
    kxgui::SetPaletteColor(1);
    kxgui::DrawText(tx + 1, ty + 1, Text.Text());
    kxcolor4 grey = kEngraved;
    grey.a = kxgui::Palette(0).a;
    kxgui::SetColor(grey);
    kxgui::DrawText(tx, ty, Text.Text());
  }
  kxgui::ClipOff();
  DrawChildren(ax, ay);
}

// ---- kxbuttontexture ----------------------------------------------------------

kxbuttontexture::kxbuttontexture() { type = &Type; }

kxbuttontexture::~kxbuttontexture() { kxgl::FreeTexture(texture); }

kxvalueptr kxbuttontexture::GetMember(const char* member, const kxargs& args) {
  struct field {
    const char* name;
    float kxbuttontexture::*value;
  };
  static const field fields[] = {{"S", &kxbuttontexture::S},           {"SHigh", &kxbuttontexture::SHigh},
                                 {"SPressed", &kxbuttontexture::SPressed}, {"SDelta", &kxbuttontexture::SDelta},
                                 {"T", &kxbuttontexture::T},           {"THigh", &kxbuttontexture::THigh},
                                 {"TPressed", &kxbuttontexture::TPressed}, {"TDelta", &kxbuttontexture::TDelta}};
  for (const field& f : fields) {
    if (std::strcmp(member, f.name) == 0) return kxvalueptr(new kxrealref(&(this->*f.value)));
  }
  if (std::strcmp(member, "Texture") == 0) {
    kxstring path = args.String(0);
    // The old picture goes first, as the pointer's does: after a cleared
    // table the new load may take its entry.
    kxgl::FreeTexture(texture);
    texture = kxgl::LoadTexture(path.Text());
    return kxvoid();
  }
  return kxbutton::GetMember(member, args);
}

void kxbuttontexture::CopyTo(kxnode* other) {
  kxbutton::CopyTo(other);
  if (kxbuttontexture* b = dynamic_cast<kxbuttontexture*>(other)) {
    if (b->texture != texture) {
      kxgl::FreeTexture(b->texture);
      b->texture = kxgl::ShareTexture(texture);
    }
    b->S = S, b->SHigh = SHigh, b->SPressed = SPressed, b->SDelta = SDelta;
    b->T = T, b->THigh = THigh, b->TPressed = TPressed, b->TDelta = TDelta;
  }
}

void kxbuttontexture::StateCorner(float* s, float* t) const {
  switch (state) {
    case kHover:
      *s = SHigh, *t = 1.0f - THigh;
      break;
    case kPressed:
      *s = SPressed, *t = 1.0f - TPressed;
      break;
    default:
      *s = S, *t = 1.0f - T;
      break;
  }
}

void kxbuttontexture::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (texture) {
    float s, t;
    StateCorner(&s, &t);
    kxgui::SetPaletteColor(1);
    kxgui::TexturedRect(texture, ax, ay, ax + W, ay + H, {s, t, s + SDelta, t - TDelta});
  }
  DrawChildren(ax, ay);
}
