// A square picture of a mesh seen from above with the nose up, for the
// buttons of the aircraft selection: every triangle filled in its element's
// diffuse colour, darker the more it leans, over a sky-blue ground. The
// model fills the picture but for a small margin.
#pragma once

#include "graphics/image.h"

struct kxgeometry;

namespace legacygen {

kximage TopView(const kxgeometry* list, int size);

}  // namespace legacygen
