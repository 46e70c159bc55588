// Drawing with OpenGL: text in the current font, the mouse pointer and
// meshes. Each call needs a current context; without one it draws nothing
// and returns 0.
#pragma once

struct kxgeometry;

namespace kxgl {

// Text in the current font and colour, texturing enabled by the caller.
// (x, y) is the lower-left of the first line box (pixels, y up); each "\n"
// steps one line height down.
int DrawText(int x, int y, const char* text);

// Loads the pointer picture (RGBA, nearest, clamped). 1, or 0 when unreadable.
int LoadMouse(const char* path);
// The pointer picture at its pixel size with its top-left corner at the
// pointer position, in the current colour.
int DrawMouse();
// The same at an explicit position (top-left corner, pixels, y up).
int DrawMouseAt(int x, int y);

// One element: its texture (or none), diffuse colour, front materials, strips.
int DrawElement(const kxgeometry* el);
// Every element of the list that is not transparent, as DrawElement.
int DrawGeometry(const kxgeometry* list);
// Every element with its texture bound; colour and materials untouched.
int DrawGeometryTextured(const kxgeometry* list);
// Strips only: texture, colour and material state untouched.
int DrawGeometryPlain(const kxgeometry* list);
// The same for one element, without walking the list.
int DrawElementPlain(const kxgeometry* el);
// Uploads the textures the mesh holds; null or none does nothing.
int UploadGeometryTextures(const kxgeometry* first);

}  // namespace kxgl
