#include "sim/fonts.h"

namespace sim {

kxglfont small_font;
kxglfont large_font;
kxglfont menu_font;

}  // namespace sim
