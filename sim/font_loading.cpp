#include "sim/font_loading.h"

#include <string>

#include "core/hooks.h"
#include "graphics/builtin_font.h"
#include "graphics/texture_table.h"
#include "sim/notice.h"

namespace sim {

int LoadFontOrBuiltin(const char* path, kxglfont* font, int lineHeight) {
  if (kxgl::LoadFont(path, font, kxgl::kFilterLinear)) return 1;
  const std::string shown = path ? path : "";
  if (!kxgl::MakeBuiltinFont(shown.c_str(), lineHeight, font, kxgl::kFilterLinear)) {
    kxcore::Log("sim:  font %s unusable and no room for the built-in one; its texts are not drawn\n", shown.c_str());
    return 0;
  }
  kxcore::Log("sim:  font %s unusable; the built-in plain font is used instead\n", shown.c_str());
  PostNotice("The font " + shown + " could not be loaded (see the log); a plain built-in font is used instead.");
  return 0;
}

}  // namespace sim
