// Large graphics buffers (texels, font pictures) are named blocks so the
// program can list what is still held at exit. This is the one place that
// decides where they come from.
#pragma once

#include <cstddef>

namespace kxgl {

// Zero-filled block into the slot; 1, or 0 with the slot null.
int ReserveBytes(void** slot, size_t bytes, const char* name);
// Frees the block and nulls the slot; null is ignored.
void ReleaseBytes(void** slot);

}  // namespace kxgl
