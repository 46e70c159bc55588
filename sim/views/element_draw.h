// Small pieces the scene's passes share when they issue mesh elements
// themselves: texture runs, two-sided materials, textures uploaded before a
// display list is compiled (an upload inside a list would only be recorded).
#pragma once

struct kxgeometry;
struct kxtexture;

namespace sim {

// Binds the element's texture when it differs from *bound and turns
// texturing on; an element without a texture turns texturing off.
void BindElementTexture(const kxgeometry* el, const kxtexture** bound);
// GL_FRONT_AND_BACK ambient, diffuse and specular from the element, with
// the given shininess (clamped to the OpenGL range).
void SetFrontAndBackMaterial(const kxgeometry* el, float shininess);
// Uploads every element's texture that has no current OpenGL copy.
void UploadElementTextures(const kxgeometry* list);

}  // namespace sim
