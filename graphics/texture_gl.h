// Internal link between the texture table and its OpenGL side.
#pragma once

#include "graphics/texture_table.h"

namespace kxgl {

// Deletes the entry's GL name when there is one and a context is current;
// the name is forgotten either way.
void DeleteGLName(kxtexture* texture);
// Binds the texture for drawing, uploading it first when needed. 0 without
// a context or texels.
int BindTexture(kxtexture* texture);

}  // namespace kxgl
