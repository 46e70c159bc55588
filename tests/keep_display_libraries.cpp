// SDL and OpenGL load the X11 and driver libraries at run time and unload
// them when they shut down. Whatever those libraries keep allocated is then
// reported as a leak from an unknown module, which no suppression can name.
// Keeping them loaded lets the leak checker name (and suppress) them.
#include <dlfcn.h>

namespace {

struct keeplibraries {
  keeplibraries() {
    const char* names[] = {
        "libX11.so.6",      "libXext.so.6",     "libXcursor.so.1",  "libXinerama.so.1",
        "libXi.so.6",       "libXrandr.so.2",   "libXss.so.1",      "libXxf86vm.so.1",
        "libxkbcommon.so.0", "libGL.so.1",      "libGLX_mesa.so.0", "libEGL.so.1",
        "libwayland-client.so.0", "libwayland-cursor.so.0", "libwayland-egl.so.1",
        "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
    };
    for (const char* name : names) dlopen(name, RTLD_LAZY | RTLD_NODELETE);
  }
} keep;

}  // namespace
