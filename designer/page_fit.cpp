#include "designer/page_fit.h"

#include <algorithm>

#include "designer/airfoil_list.h"
#include "gui/graphic.h"
#include "gui/text.h"

namespace svdesign {

namespace {

constexpr int kGap = 8;        // px between a label and its first widget
constexpr int kGroupGap = 16;  // px between two groups of a row
constexpr int kLowerRow = 8;   // px, y of the row the bar never covers

// A label and the widgets after it (or a widget without a label): they
// move together.
struct group {
  std::vector<size_t> members;  // indices into the homes
  fitbox box;
};

bool IsLabel(const kxgraphic* w) { return dynamic_cast<const kxtext*>(w) != nullptr; }

fitbox Union(const fitbox& a, const fitbox& b) {
  int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
  return {x0, y0, x1 - x0, y1 - y0};
}

std::vector<group> Groups(const std::vector<fithome>& homes) {
  std::vector<group> out;
  for (size_t i = 0; i < homes.size(); ++i) {
    if (out.empty() || IsLabel(homes[i].widget)) out.push_back({});
    group& g = out.back();
    fitbox b = BoxOf(homes[i].widget);
    g.box = g.members.empty() ? b : Union(g.box, b);
    g.members.push_back(i);
  }
  return out;
}

bool Fits(const fitbox& b, const fitroom& room) {
  return b.Inside(room.window) && !(room.bar.w > 0 && b.Overlaps(room.bar));
}

bool Clear(const fitbox& b, const std::vector<group>& groups, size_t self, const fitroom& room) {
  if (!Fits(b, room)) return false;
  for (size_t i = 0; i < groups.size(); ++i) {
    if (i != self && b.Overlaps(groups[i].box)) return false;
  }
  return true;
}

void MoveBy(group& g, const std::vector<fithome>& homes, int dx, int dy) {
  for (size_t m : g.members) {
    homes[m].widget->X += dx;
    homes[m].widget->Y += dy;
  }
  g.box.x += dx;
  g.box.y += dy;
}

// The widgets after the label drawn up to it, keeping their spacing.
void Close(group& g, const std::vector<fithome>& homes) {
  if (g.members.size() < 2 || !IsLabel(homes[g.members[0]].widget)) return;
  const kxgraphic* label = homes[g.members[0]].widget;
  int dx = label->X + label->W + kGap - homes[g.members[1]].widget->X;
  if (dx >= 0) return;
  for (size_t k = 1; k < g.members.size(); ++k) homes[g.members[k]].widget->X += dx;
  g.box = BoxOf(label);
  for (size_t m : g.members) g.box = Union(g.box, BoxOf(homes[m].widget));
}

// Places in the order they are tried: along the group's own row after
// each group of that row, then the same in the lower row.
std::vector<fitbox> Candidates(const group& g, const std::vector<group>& groups) {
  std::vector<fitbox> out;
  for (int y : {g.box.y, kLowerRow}) {
    std::vector<int> starts = {kGap};
    for (const group& o : groups) {
      if (&o != &g) starts.push_back(o.box.x + o.box.w + kGroupGap);
    }
    std::sort(starts.begin(), starts.end());
    for (int x : starts) out.push_back({x, y, g.box.w, g.box.h});
  }
  return out;
}

}  // namespace

fitbox BoxOf(const kxgraphic* widget) {
  fitbox b = {widget->X, widget->Y, widget->W, widget->H};
  if (dynamic_cast<const svdesignairfoillist*>(widget)) {
    b.w = std::max(b.w, svdesignairfoillist::kWidth);
    b.h = std::max(b.h, svdesignairfoillist::kHeight);
  }
  return b;
}

std::vector<fithome> HomesOf(kxgraphic* panel) {
  std::vector<fithome> out;
  for (kxnode* c = panel ? panel->firstChild : nullptr; c; c = c->nextSibling) {
    if (kxgraphic* w = dynamic_cast<kxgraphic*>(c)) out.push_back({w, w->X, w->Y});
  }
  return out;
}

void FitPanel(const std::vector<fithome>& homes, const fitroom& room) {
  for (const fithome& h : homes) {
    h.widget->X = h.x;
    h.widget->Y = h.y;
  }
  std::vector<group> groups = Groups(homes);
  for (size_t i = 0; i < groups.size(); ++i) {
    group& g = groups[i];
    if (Fits(g.box, room)) continue;
    const fitbox home = g.box;
    Close(g, homes);
    if (Clear(g.box, groups, i, room)) continue;
    bool placed = false;
    for (const fitbox& c : Candidates(g, groups)) {
      if (Clear(c, groups, i, room)) {
        MoveBy(g, homes, c.x - g.box.x, c.y - g.box.y);
        placed = true;
        break;
      }
    }
    if (placed) continue;
    for (size_t m : g.members) {
      homes[m].widget->X = homes[m].x;
      homes[m].widget->Y = homes[m].y;
    }
    g.box = home;
  }
}

}  // namespace svdesign
