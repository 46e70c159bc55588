#include "gui/images.h"

#include <cstring>

#include "core/interpreter.h"
#include "core/reference.h"
#include "gui/gui_state.h"
#include "gui/paint.h"
#include "gui/paint_image.h"

kxtype kximagepixel::Type("kximagepixel", sizeof(kximagepixel), kxcreate<kximagepixel>);
kxtype kximagetexture::Type("kximagetexture", sizeof(kximagetexture), kxcreate<kximagetexture>);
kxtype kxrectangle::Type("kxrectangle", sizeof(kxrectangle), kxcreate<kxrectangle>);

namespace {
constexpr int kImageSide = 256;  // px
}

// ---- kximagepixel ----------------------------------------------------------------

kximagepixel::kximagepixel() : kxgraphic(0, 0, kImageSide, kImageSide) { type = &Type; }

void kximagepixel::OnLeftDown() {
  if (onLeftDown.Empty()) return;
  int x = 0, y = 0;
  ToLocal(&x, &y);
  kxstring command;
  command.Format("%s( %d, %d )", onLeftDown.Text(), x, y);
  kxscript::Execute(command.Text(), this);
}

void kximagepixel::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (pixels) kxgui::DrawPixels(ax, ay, W, H, pixels);
  DrawChildren(ax, ay);
}

// ---- kximagetexture --------------------------------------------------------------

kximagetexture::kximagetexture() : kxgraphic(0, 0, kImageSide, kImageSide) { type = &Type; }

kxvalueptr kximagetexture::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "S0") == 0) return kxvalueptr(new kxrealref(&S0));
  if (std::strcmp(member, "S1") == 0) return kxvalueptr(new kxrealref(&S1));
  if (std::strcmp(member, "T0") == 0) return kxvalueptr(new kxrealref(&T0));
  if (std::strcmp(member, "T1") == 0) return kxvalueptr(new kxrealref(&T1));
  return kxgraphic::GetMember(member, args);
}

void kximagetexture::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kximagetexture* t = dynamic_cast<kximagetexture*>(other)) {
    t->texture = texture, t->S0 = S0, t->T0 = T0, t->S1 = S1, t->T1 = T1;
  }
}

void kximagetexture::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (texture) {
    kxgui::SetPaletteColor(1);
    kxgui::TexturedRect(texture, ax, ay, ax + W, ay + H, {S0, T0, S1, T1});
  }
  DrawChildren(ax, ay);
}

// ---- kxrectangle -------------------------------------------------------------------

kxrectangle::kxrectangle() { type = &Type; }
kxrectangle::kxrectangle(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

kxvalueptr kxrectangle::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "Color") == 0) return kxvalueptr(new kxcolor4ref(&Color));
  return kxgraphic::GetMember(member, args);
}

void kxrectangle::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxrectangle* r = dynamic_cast<kxrectangle*>(other)) r->Color = Color;
}

void kxrectangle::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  kxgui::SetColor(Color);
  kxgui::FillRect(ax, ay, ax + W, ay + H);
  DrawChildren(ax, ay);
}
