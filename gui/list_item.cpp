#include "gui/list_item.h"

#include "gui/paint.h"
#include "gui/paint_image.h"

kxtype kxlistitem::Type("kxlistitem", sizeof(kxlistitem), kxcreate<kxlistitem>);

namespace {
constexpr int kCentreShift = 4;  // px a centred item sits left of the middle
constexpr int kRightMargin = 2;  // px
}  // namespace

kxlistitem::kxlistitem() { type = &Type; }

kxlistitem::kxlistitem(const char* text, int x, int y, int w, int h) : kxtext(text, x, y, w, h) { type = &Type; }

void kxlistitem::Update() {
  kxgraphic::Update();
  kxgraphic* p = ParentWidget();
  if (!p) return;
  if (centre) X = p->W / 2 - W / 2 - kCentreShift;
  if (right) X = p->W - W - kRightMargin;
}

std::vector<std::string> kxlistitem::Wrap(const char* text, int width) {
  std::vector<std::string> lines;
  std::string line;
  bool lineStarted = false;
  const char* p = text ? text : "";
  while (*p) {
    if (*p == '\n') {
      lines.push_back(line);
      line.clear();
      lineStarted = false;
      ++p;
      if (*p == ' ') ++p;
      continue;
    }
    // A word with the blanks in front of it.
    const char* start = p;
    while (*p == ' ') ++p;
    while (*p && *p != ' ' && *p != '\n') ++p;
    std::string piece(start, p);
    std::string candidate = line + piece;
    if (lineStarted && kxgui::TextWidth(candidate.c_str()) > width) {
      lines.push_back(line);
      size_t first = piece.find_first_not_of(' ');
      line = first == std::string::npos ? std::string() : piece.substr(first);
    } else {
      line = candidate;
    }
    lineStarted = true;
  }
  if (lineStarted || !line.empty()) lines.push_back(line);
  return lines;
}

void kxlistitem::Draw(int ox, int oy) {
  int ax = ox + X, ay = oy + Y;
  int line = kxgui::LineHeight();
  kxgui::ClipOn(ax, ay, W, H);
  kxgui::SetColor(textColor);
  int y = ay + H - line;
  for (const std::string& l : Wrap(Text.Text(), W)) {
    kxgui::DrawText(ax, y, l.c_str());
    y -= line;
  }
  kxgui::ClipOff();
  DrawChildren(ax, ay);
}
