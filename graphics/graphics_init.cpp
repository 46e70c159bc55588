#include "graphics/graphics_init.h"

#include "graphics/texture_table.h"
#include "platform/gl_context.h"

namespace kxgraphics {

void Init() { kxsystem::AddContextListener(kxgl::ContextLost); }

}  // namespace kxgraphics
