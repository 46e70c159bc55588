// kxgraphic: the widget base. Integer-pixel placement relative to the parent's
// lower-left corner (y up), the four anchors, the layout pass, hit testing,
// the pointer in local coordinates, and the event and drawing slots every
// widget class overrides. The first child lies on top: it is drawn last and
// hit first.
#pragma once

#include "core/node.h"

class kxgraphic : public kxnode {
 public:
  static kxtype Type;
  // px: the largest place, size or anchor a script may give. Far beyond any
  // screen, and small enough that the layout's sums of a few of them stay
  // within an int.
  static constexpr int kMaxPlace = 1 << 20;
  // A place, size or anchor from a script, kept within +-kMaxPlace.
  static int ClampPlace(int value);

  int X = 0, Y = 0;  // px, lower-left corner in the parent
  int W = 0, H = 0;  // px
  int Xr = 0;        // px; not 0: right edge this far from the parent's right edge (moves)
  int Yr = 0;        // px; not 0: top edge this far from the parent's top edge (moves)
  int Wr = 0;        // px; not 0: right edge this far from the parent's right edge (stretches)
  int Hr = 0;        // px; not 0: top edge this far from the parent's top edge (stretches)
  int hidden = 0;    // not a member; a hidden widget and its children are neither drawn nor hit

  kxgraphic();
  kxgraphic(int x, int y, int w, int h);
  // Clears every GUI pointer that names this widget (hot, focus, capture,
  // open list, screens, pop-up contexts); the children clear their own.
  ~kxgraphic() override;

  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  // The anchor steps, then every child's Update.
  void Update() override;

  // (x, y) in the parent's coordinates; the first child that claims the point
  // becomes kxgui::Hot, else this widget when the point lies inside it.
  virtual void HitTest(int x, int y);
  // The pointer in this widget's coordinates.
  virtual void ToLocal(int* x, int* y);
  virtual void OnLeftDown() {}
  virtual void OnLeftDouble() {}
  virtual void OnLeftUp() {}
  virtual void OnRightDown() {}
  virtual void OnRightUp() {}
  virtual void OnMove() {}
  // character 32..127 with code 0, or character 0 with a key code plus
  // modifier bits. The default hands both to the parent widget.
  virtual void OnKey(int character, int code);
  // Timer events since the pointer last changed widget; default: the parent's.
  virtual void OnHover(int count);
  // (ox, oy): the parent's absolute origin. Default: the children only.
  virtual void Draw(int ox, int oy);
  virtual void Tick();
  virtual void SetAlpha(float alpha);

  // Layout steps 1-4: Wr, Yr, Hr, Xr against the parent widget's size.
  void ApplyAnchors();
  // Update on every child widget, first to last. The next sibling is taken
  // before each call because a child may move or hide itself.
  void UpdateChildren();
  // Draw on every child widget, last to first, with origin (ax, ay).
  void DrawChildren(int ax, int ay);

  // Runs a command text with this widget as the current node; an empty text
  // runs nothing.
  void RunCommand(const kxstring& command);

  kxgraphic* ParentWidget() const;
  // 1 when this is node or one of node's descendants.
  int IsWithin(const kxnode* node) const { return node && (this == node || IsDescendantOf(node)); }
  // The widget of a node, or null when it is no widget.
  static kxgraphic* Of(kxnode* node);
};
