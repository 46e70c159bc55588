// Start-up of the graphics subsystem: hooks it into the platform.
#pragma once

namespace kxgraphics {

// Registers the texture table's context-loss handler with the platform, so
// a re-created context uploads every texture again. Safe to call twice.
void Init();

}  // namespace kxgraphics
