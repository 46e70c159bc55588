// The OpenGL side of the window: what the context can do (read by every
// drawing subsystem), whether one exists, and the listeners that drop their
// GL objects before a context goes away.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// Framebuffer-object entry points (GL_ARB_framebuffer_object): all set or
// all null. Render-to-texture draws into a framebuffer object of the
// texture's size, since the window's back buffer may be smaller.
struct kxglframebufferapi {
  PFNGLGENFRAMEBUFFERSPROC gen_framebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC delete_framebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
  PFNGLISFRAMEBUFFERPROC is_framebuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC check_framebuffer_status = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebuffer_renderbuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC gen_renderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC delete_renderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bind_renderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbuffer_storage = nullptr;
};

// Capability flags, set by kxgl::InitExtensions after each context creation.
struct kxglcaps {
  PFNGLACTIVETEXTUREARBPROC active_texture = nullptr;        // glActiveTextureARB
  PFNGLCLIENTACTIVETEXTUREARBPROC client_active_texture = nullptr;
  int multitexture = 0;         // GL_ARB_multitexture with a callable entry point
  int texture_units = 0;
  int cube_map = 0;             // GL_ARB_texture_cube_map
  int separate_specular = 0;    // GL_EXT_separate_specular_color
  int compressed_textures = 0;  // GL_ARB_texture_compression
  int software = 0;             // renderer is the "Generic" software one
  int pbuffer = 0;              // always 0: render-to-texture uses framebuffer objects
  int framebuffer_object = 0;   // GL_ARB_framebuffer_object with every entry point of fbo
  int max_renderbuffer_size = 0;  // pixels, 0 without framebuffer objects
  kxglframebufferapi fbo;
  int swap_control = 0;         // the swap interval can be set
  int max_texture_size = 0;     // pixels
  int anisotropic = 0;          // GL_EXT_texture_filter_anisotropic
  float max_anisotropy = 1.0f;
  int vbo = 0;                  // GL_ARB_vertex_buffer_object
  int compiled_vertex_arrays = 0;  // GL_EXT_compiled_vertex_array
  int point_parameters = 0;     // GL_ARB_point_parameters or GL_EXT_point_parameters
  int paletted = 0;             // GL_EXT_paletted_texture
  int stencil_bits = 0;
  int depth_bits = 0;
};

namespace kxgl {

extern kxglcaps caps;

// Reads the capabilities of the current context into caps and logs them with
// the "gl:  " tag. Without a context every flag is 0.
void InitExtensions();

}  // namespace kxgl

namespace kxsystem {

using ContextListener = void (*)();

// 1 while a GL context exists and is current.
int HasContext();
void SetHasContext(int has);

// Listeners run, in the order added, while the context is still current just
// before it is destroyed (quit and re-creation). Adding one twice is a no-op.
void AddContextListener(ContextListener listener);
void RemoveContextListener(ContextListener listener);
void NotifyContextLost();

}  // namespace kxsystem
