#include "gui/graphic.h"

#include <algorithm>
#include <cstring>

#include "core/arguments.h"
#include "core/interpreter.h"
#include "core/reference.h"
#include "gui/gui.h"
#include "gui/gui_state.h"

kxtype kxgraphic::Type("kxgraphic", sizeof(kxgraphic), kxcreate<kxgraphic>);

kxgraphic::kxgraphic() { type = &Type; }

kxgraphic::kxgraphic(int x, int y, int w, int h) : X(x), Y(y), W(w), H(h) { type = &Type; }

kxgraphic::~kxgraphic() { kxgui::WidgetDestroyed(this); }

kxgraphic* kxgraphic::Of(kxnode* node) { return dynamic_cast<kxgraphic*>(node); }

int kxgraphic::ClampPlace(int value) { return std::clamp(value, -kMaxPlace, kMaxPlace); }

namespace {

// A place or size member: what a script assigns is kept within the range.
class placeref : public kxintref {
 public:
  using kxintref::kxintref;
  int Assign(const kxvalue& from) override {
    int ok = kxintref::Assign(from);
    *field = kxgraphic::ClampPlace(*field);
    return ok;
  }
};

}  // namespace

kxgraphic* kxgraphic::ParentWidget() const { return Of(parent); }

void kxgraphic::RunCommand(const kxstring& command) {
  if (!command.Empty()) kxscript::Execute(command.Text(), this);
}

kxvalueptr kxgraphic::GetMember(const char* member, const kxargs& args) {
  struct field {
    const char* name;
    int kxgraphic::*value;
  };
  static const field fields[] = {{"X", &kxgraphic::X},   {"Y", &kxgraphic::Y},   {"W", &kxgraphic::W},
                                 {"H", &kxgraphic::H},   {"Wr", &kxgraphic::Wr}, {"Hr", &kxgraphic::Hr},
                                 {"Xr", &kxgraphic::Xr}, {"Yr", &kxgraphic::Yr}};
  for (const field& f : fields) {
    if (std::strcmp(member, f.name) == 0) return kxvalueptr(new placeref(&(this->*f.value)));
  }
  return kxnode::GetMember(member, args);
}

void kxgraphic::CopyTo(kxnode* other) {
  kxgraphic* g = Of(other);
  if (!g) return;
  g->X = X, g->Y = Y, g->W = W, g->H = H;
  g->Xr = Xr, g->Yr = Yr, g->Wr = Wr, g->Hr = Hr;
}

void kxgraphic::ApplyAnchors() {
  kxgraphic* p = ParentWidget();
  if (!p) return;
  // Fixed order: the height step uses the new Y and the right anchor the new W.
  if (Wr != 0) W = p->W - Wr - X;
  if (Yr != 0) Y = p->H - Yr - H;
  if (Hr != 0) H = p->H - Hr - Y;
  if (Xr != 0) X = p->W - Xr - W;
}

void kxgraphic::UpdateChildren() {
  kxnode* child = firstChild;
  while (child) {
    kxnode* next = child->nextSibling;
    if (kxgraphic* g = Of(child)) g->Update();
    child = next;
  }
}

void kxgraphic::Update() {
  ApplyAnchors();
  UpdateChildren();
}

void kxgraphic::HitTest(int x, int y) {
  if (hidden) return;
  int lx = x - X, ly = y - Y;
  kxnode* child = firstChild;
  while (child && !kxgui::Hot) {
    kxnode* next = child->nextSibling;
    if (kxgraphic* g = Of(child)) g->HitTest(lx, ly);
    child = next;
  }
  if (!kxgui::Hot && lx >= 0 && lx < W && ly >= 0 && ly < H) kxgui::Hot = this;
}

void kxgraphic::ToLocal(int* x, int* y) {
  // The climb stops at the visible screen, or at the first parent that is no
  // widget: there the pointer is taken in screen pixels.
  kxgraphic* p = ParentWidget();
  if (this == kxgui::Visible || !p) {
    kxgui::ScreenPointer(x, y);
    return;
  }
  p->ToLocal(x, y);
  *x -= X;
  *y -= Y;
}

void kxgraphic::OnKey(int character, int code) {
  if (kxgraphic* p = ParentWidget()) p->OnKey(character, code);
}

void kxgraphic::OnHover(int count) {
  if (kxgraphic* p = ParentWidget()) p->OnHover(count);
}

void kxgraphic::DrawChildren(int ax, int ay) {
  kxnode* child = lastChild;
  while (child) {
    kxnode* prev = child->prevSibling;
    if (kxgraphic* g = Of(child); g && !g->hidden) g->Draw(ax, ay);
    child = prev;
  }
}

void kxgraphic::Draw(int ox, int oy) { DrawChildren(ox + X, oy + Y); }

void kxgraphic::Tick() {
  kxnode* child = firstChild;
  while (child) {
    kxnode* next = child->nextSibling;
    if (kxgraphic* g = Of(child)) g->Tick();
    child = next;
  }
}

void kxgraphic::SetAlpha(float alpha) {
  kxnode* child = firstChild;
  while (child) {
    kxnode* next = child->nextSibling;
    if (kxgraphic* g = Of(child)) g->SetAlpha(alpha);
    child = next;
  }
}
