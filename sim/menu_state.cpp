#include "sim/menu_state.h"

#include "graphics/texture_table.h"
#include "sim/world/world.h"

namespace sim {

const char kProductName[] = "Skyvane Gold Edition";
const char kVersion[] = "1.8.0.17";
const char kLegacyPrefix[] = "_alx_";

menustate& Menu() {
  static menustate state;
  return state;
}

void UpdateSceneryCard() {
  menustate& m = Menu();
  kxtexture* preview = SceneryPreview(TheWorld());
  if (!m.card || !m.card_texture || !preview || !preview->pixels) return;
  kxgl::UpdateTexture(m.card_texture, preview->pixels, preview->type, preview->width, preview->height);
}

}  // namespace sim
