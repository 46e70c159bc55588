// Loading mesh files into element lists, with their textures.
#pragma once

#include "graphics/mesh.h"

namespace kxgl {

// Frees the slot's list, then loads the file. With preferBinary the ".tgo"
// twin (the last four characters replaced) is taken when it exists, is not
// empty and is not older than the named file. The format is told by content.
// Each element's texture is looked up beside the mesh, then in "texture/".
// 1, or 0 with the slot null. reserved: 0.
int LoadGeometry(const char* path, kxgeometry** slot, int preferBinary, int reserved);
// Reads a mesh file without loading textures; null after a log line.
kxgeometry* ReadMeshFile(const char* path);

}  // namespace kxgl
