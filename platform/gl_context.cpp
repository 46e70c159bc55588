#include "platform/gl_context.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/log.h"

kxglcaps kxgl::caps;

namespace kxsystem {
namespace {

int hasContext = 0;
std::vector<ContextListener> listeners;

}  // namespace

int HasContext() { return hasContext; }
void SetHasContext(int has) { hasContext = has ? 1 : 0; }

void AddContextListener(ContextListener listener) {
  if (!listener || std::find(listeners.begin(), listeners.end(), listener) != listeners.end()) return;
  listeners.push_back(listener);
}

void RemoveContextListener(ContextListener listener) {
  listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

void NotifyContextLost() {
  // A listener may remove itself while running.
  std::vector<ContextListener> copy = listeners;
  for (ContextListener listener : copy) listener();
}

}  // namespace kxsystem

namespace kxgl {
namespace {

// The renderer name of the software fallback that needs the simpler drawing.
const char kSoftwareRenderer[] = "Generic";

int Has(const char* extension) { return SDL_GL_ExtensionSupported(extension) ? 1 : 0; }

template <class Proc>
int Fetch(Proc* proc, const char* name) {
  *proc = reinterpret_cast<Proc>(SDL_GL_GetProcAddress(name));
  return *proc ? 1 : 0;
}

// The entry points of GL_ARB_framebuffer_object; the flag only when every one is there.
void FramebufferObjects() {
  if (!Has("GL_ARB_framebuffer_object")) return;
  kxglframebufferapi& f = caps.fbo;
  constexpr int kEntryPoints = 10;
  int found = Fetch(&f.gen_framebuffers, "glGenFramebuffers") + Fetch(&f.delete_framebuffers, "glDeleteFramebuffers") +
              Fetch(&f.bind_framebuffer, "glBindFramebuffer") + Fetch(&f.is_framebuffer, "glIsFramebuffer") +
              Fetch(&f.check_framebuffer_status, "glCheckFramebufferStatus") +
              Fetch(&f.framebuffer_renderbuffer, "glFramebufferRenderbuffer") +
              Fetch(&f.gen_renderbuffers, "glGenRenderbuffers") +
              Fetch(&f.delete_renderbuffers, "glDeleteRenderbuffers") +
              Fetch(&f.bind_renderbuffer, "glBindRenderbuffer") +
              Fetch(&f.renderbuffer_storage, "glRenderbufferStorage");
  if (found != kEntryPoints) {
    f = kxglframebufferapi();
    return;
  }
  caps.framebuffer_object = 1;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &caps.max_renderbuffer_size);
}

}  // namespace

void InitExtensions() {
  caps = kxglcaps();
  if (!kxsystem::HasContext()) {
    kxsystem::Log("gl:  init extensions=fail\n");
    return;
  }
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  kxsystem::Log("gl:  renderer %s\n", renderer ? renderer : "(none)");
  kxsystem::Log("gl:  version %s\n", version ? version : "(none)");
  caps.software = renderer && std::strcmp(renderer, kSoftwareRenderer) == 0 ? 1 : 0;

  if (Has("GL_ARB_multitexture")) {
    caps.active_texture = reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(SDL_GL_GetProcAddress("glActiveTextureARB"));
    caps.client_active_texture =
        reinterpret_cast<PFNGLCLIENTACTIVETEXTUREARBPROC>(SDL_GL_GetProcAddress("glClientActiveTextureARB"));
    caps.multitexture = caps.active_texture && caps.client_active_texture ? 1 : 0;
    if (caps.multitexture) glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &caps.texture_units);
  }
  caps.cube_map = Has("GL_ARB_texture_cube_map");
  caps.separate_specular = Has("GL_EXT_separate_specular_color");
  caps.compressed_textures = Has("GL_ARB_texture_compression");
  caps.pbuffer = 0;
  FramebufferObjects();
  caps.swap_control = SDL_GL_SetSwapInterval(SDL_GL_GetSwapInterval()) == 0 ? 1 : 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &caps.max_texture_size);
  caps.anisotropic = Has("GL_EXT_texture_filter_anisotropic");
  if (caps.anisotropic) glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &caps.max_anisotropy);
  caps.vbo = Has("GL_ARB_vertex_buffer_object");
  caps.compiled_vertex_arrays = Has("GL_EXT_compiled_vertex_array");
  caps.point_parameters = Has("GL_ARB_point_parameters") || Has("GL_EXT_point_parameters") ? 1 : 0;
  caps.paletted = Has("GL_EXT_paletted_texture");
  glGetIntegerv(GL_STENCIL_BITS, &caps.stencil_bits);
  glGetIntegerv(GL_DEPTH_BITS, &caps.depth_bits);
  // Clear any error the queries of absent features left behind.
  while (glGetError() != GL_NO_ERROR) {
  }

  const struct {
    const char* name;
    int value;
  } flags[] = {
      {"multitexture", caps.multitexture},
      {"texture units", caps.texture_units},
      {"cube map", caps.cube_map},
      {"separate specular", caps.separate_specular},
      {"compressed textures", caps.compressed_textures},
      {"software", caps.software},
      {"pbuffer", caps.pbuffer},
      {"framebuffer object", caps.framebuffer_object},
      {"swap control", caps.swap_control},
      {"max texture size", caps.max_texture_size},
      {"anisotropic", caps.anisotropic},
      {"vbo", caps.vbo},
      {"compiled vertex arrays", caps.compiled_vertex_arrays},
      {"point parameters", caps.point_parameters},
      {"paletted", caps.paletted},
      {"stencil bits", caps.stencil_bits},
      {"depth bits", caps.depth_bits},
  };
  for (const auto& flag : flags) kxsystem::Log("gl:  %s=%d\n", flag.name, flag.value);
}

}  // namespace kxgl
