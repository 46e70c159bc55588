#include "gui/list_item.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

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
    const char* word = p;
    while (*p && *p != ' ' && *p != '\n') ++p;
    // A path wider than a line (a file a message names) breaks after its
    // slashes and dots, so that it is read whole.
    constexpr std::string_view kBreaks = "/.";
    std::vector<std::string> pieces = {std::string(start, p)};
    if (std::string_view(word, static_cast<size_t>(p - word)).find('/') != std::string_view::npos &&
        kxgui::TextWidth(std::string(word, p).c_str()) > width) {
      pieces.clear();
      for (const char* from = start; from < p;) {
        const char* after = std::find_first_of(word > from ? word : from, p, kBreaks.begin(), kBreaks.end());
        const char* to = after == p ? p : after + 1;
        pieces.emplace_back(from, to);
        from = to;
      }
    }
    for (const std::string& piece : pieces) {
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
