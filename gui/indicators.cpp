#include "gui/indicators.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/reference.h"
#include "gui/gui_state.h"
#include "gui/paint.h"
#include "gui/paint_image.h"

kxtype kxgraph::Type("kxgraph", sizeof(kxgraph), kxcreate<kxgraph>);
kxtype kxclickbox::Type("kxclickbox", sizeof(kxclickbox), kxcreate<kxclickbox>);
kxtype kxwindowosc::Type("kxwindowosc", sizeof(kxwindowosc), kxcreate<kxwindowosc>);

int kxgraph::writePosition = 0;

namespace {
constexpr int kClickWidth = 128;  // px
constexpr int kClickHeight = 16;  // px
constexpr float kFarOut = 1.0e6f; // px bound before a float becomes an int
const kxcolor4 kMidLine = {0.9f, 0.9f, 0.9f, 1};
const kxcolor4 kRed = {1, 0, 0, 1};
const kxcolor4 kGreen = {0, 1, 0, 1};
}  // namespace

// ---- kxgraph -------------------------------------------------------------------------

kxgraph::kxgraph() { type = &Type; }

int kxgraph::Columns() const { return std::clamp(W, 1, kRing); }

int kxgraph::HeightOf(float v) const {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp((v + 1.0f) / 2.0f, 0.0f, 1.0f) * static_cast<float>(H));
}

void kxgraph::AddSample() {
  // Shared by every graph, so each graph bounds it by its own columns.
  ++writePosition;
  if (writePosition >= Columns() || writePosition < 0) writePosition = 0;
  if (sourceA) ringA[writePosition] = HeightOf(*sourceA);
  if (sourceB) ringB[writePosition] = HeightOf(*sourceB);
}

void kxgraph::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  kxgui::SetColor(kxgui::kBlack);
  kxgui::FillRect(ax, ay, ax + W, ay + H);
  int columns = std::min(W, kRing);
  kxgui::SetColor(kRed);
  for (int i = 0; i < columns; ++i) kxgui::DrawPoint(ax + i, ay + ringA[i]);
  kxgui::SetColor(kGreen);
  for (int i = 0; i < columns; ++i) kxgui::DrawPoint(ax + i, ay + ringB[i]);
  DrawChildren(ax, ay);
}

// ---- kxclickbox ------------------------------------------------------------------------

kxclickbox::kxclickbox() : kxgraphic(0, 0, kClickWidth, kClickHeight) { type = &Type; }
kxclickbox::kxclickbox(int x, int y, int w, int h) : kxgraphic(x, y, w, h) { type = &Type; }

kxvalueptr kxclickbox::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "OnLeftDown") == 0) return kxvalueptr(new kxstringref(&OnLeftDownText));
  if (std::strcmp(member, "OnLeftDouble") == 0) return kxvalueptr(new kxstringref(&OnLeftDoubleText));
  return kxgraphic::GetMember(member, args);
}

void kxclickbox::CopyTo(kxnode* other) {
  kxgraphic::CopyTo(other);
  if (kxclickbox* c = dynamic_cast<kxclickbox*>(other)) {
    c->value = value, c->background = background, c->barA = barA, c->barB = barB;
    c->OnLeftDownText = OnLeftDownText, c->OnLeftDoubleText = OnLeftDoubleText;
  }
}

void kxclickbox::OnLeftDown() { RunCommand(OnLeftDownText); }
void kxclickbox::OnLeftDouble() { RunCommand(OnLeftDoubleText); }

void kxclickbox::Bar(float v, int width, int* n, float* f) {
  float p = std::isfinite(v) ? static_cast<float>(width) * (v + 1.0f) / 2.0f : 0.0f;
  p = std::clamp(p, -kFarOut, kFarOut);
  *n = std::clamp(static_cast<int>(p), 0, std::max(width, 0));
  *f = std::clamp(p - static_cast<float>(*n), 0.0f, 1.0f);
}

void kxclickbox::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  if (background.a != 0) {
    kxgui::SetColor(background);
    kxgui::FillRect(ax, ay, ax + W, ay + H);
  }
  kxgui::SetColor(kMidLine);
  kxgui::DrawLine(ax + W / 2, ay, ax + W / 2, ay + H - 1);
  if (value) {
    int n;
    float f;
    Bar(*value, W, &n, &f);
    kxcolor4 c = {barA.r * (1 - f) + barB.r * f, barA.g * (1 - f) + barB.g * f, barA.b * (1 - f) + barB.b * f,
                  barA.a * (1 - f) + barB.a * f};
    kxgui::GradientRect(ax, ay, ax + n, ay + H, barA, c);
    kxcolor4 edge = c;
    edge.a = f;
    kxgui::GradientRect(ax, ay, ax + n + 1, ay + H, barA, edge);
  }
  DrawChildren(ax, ay);
}

// ---- kxwindowosc ---------------------------------------------------------------------------

kxwindowosc::kxwindowosc() { type = &Type; }

int kxwindowosc::Point(int* x, int* y) const {
  if (!sourceX || !sourceY) return 0;
  auto scale = [](float v) {
    float p = std::isfinite(v) ? static_cast<float>(kPlot) * v : 0.0f;
    return static_cast<int>(std::clamp(p, -kFarOut, kFarOut));
  };
  *x = scale(*sourceX);
  *y = scale(*sourceY);
  return 1;
}

void kxwindowosc::Draw(int ox, int oy) {
  kxwindow::Draw(ox, oy);
  int ax = ox + X, ay = oy + Y;
  kxgui::SetPaletteColor(0);
  kxgui::FillRect(ax + kPlotLeft, ay + kPlotLeft, ax + kPlotLeft + kPlot, ay + kPlotLeft + kPlot);
  int px, py;
  if (Point(&px, &py)) {
    kxgui::SetPaletteColor(1);
    kxgui::DrawPoint(ax + kPlotLeft + px, ay + kPlotLeft + py);
  }
}
