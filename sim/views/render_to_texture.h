// Drawing into textures: a surface of a texture's size to draw into (a
// framebuffer object, or the window's back buffer where the context has
// none) and the copy of its picture into a texture; and the white-on-black
// top view of a mesh that the balloons of a contest share as their shadow.
#pragma once

struct kxgeometry;
struct kxtexture;
struct shadowquad;

namespace sim {

// Where a picture of width x height pixels is being drawn. On the back
// buffer only the part inside the window holds the picture: the viewport
// still spans the whole size (so coordinates map as on a full surface) and
// the copy takes the readable part.
struct rendertarget {
  int width = 0, height = 0;          // px, the viewport
  int readWidth = 0, readHeight = 0;  // px from the lower left that hold the picture
  int offscreen = 0;                  // 1: a framebuffer object is bound
  int previous = 0;                   // framebuffer bound before, bound again at the end
};

// Binds a surface of width x height and sets the viewport over it. 0 (and
// nothing bound) without a context or for an empty size, or when the back
// buffer would show none of it.
int BeginRenderTarget(int width, int height, rendertarget* target);
// Binds what was bound before.
void EndRenderTarget(const rendertarget& target);
// Binds the texture (uploading it first when needed) and copies the
// target's readable lower-left pixels into level 0 at (0, 0), clipped to the
// texture's size in OpenGL. 0 when nothing could be copied.
int CopyRenderTarget(const rendertarget& target, kxtexture* texture);
// Deletes the framebuffer objects kept for reuse; run before the context goes.
void ReleaseRenderTargets();

// The projection every picture of a texture is drawn with: orthographic
// over x0..x1, y0..y1 and depth -5000..5000, with an identity modelview.
// Both matrices are pushed first; PopBoxView restores them.
void PushBoxView(float x0, float x1, float y0, float y1);
void PopBoxView();

// A shadow quad over the box x0..x1, y0..y1 at z 0: texture corner (0, 0)
// at (x0, y0), (1, 0) at (x1, y0), (1, 1) at (x1, y1), (0, 1) at (x0, y1).
void FillQuadCorners(shadowquad* quad, float x0, float y0, float x1, float y1);

// Fills rect's quad from its box (min and max x, y) as FillQuadCorners
// does, then draws the mesh seen from straight above over that box, white
// on black, into the texture.
void RenderToTexture(shadowquad* rect, kxtexture* texture, const kxgeometry* mesh);

}  // namespace sim
