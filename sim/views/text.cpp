#include "sim/views/text.h"

#include "graphics/draw.h"
#include "graphics/font.h"

namespace sim {

void DrawTextAtBaseline(int x, int y, const char* text) {
  const kxglfont* font = kxgl::currentFont;
  if (!font || !text) return;
  kxgl::DrawText(x, y - (font->lineHeight - font->ascent), text);
}

}  // namespace sim
