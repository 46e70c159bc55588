// The environment every test program starts in, whether run by CTest or by
// hand.
//
// SDL and OpenGL load the X11 and driver libraries at run time and unload
// them when they shut down. Whatever those libraries keep allocated is then
// reported as a leak from an unknown module, which no suppression can name.
// Keeping them loaded lets the leak checker name (and suppress) them.
//
// Sound goes to silent drivers and the software renderer's worker threads
// and its shader-cache writer are turned off unless the caller chose
// otherwise: the leak checker stops every thread at exit to scan it, and
// those threads have crashed it there (the cache writer while it stores a
// shader compiled for a new combination of texture state).
//
// The leak checker is kept from tracking the thread-local blocks that
// libraries loaded at run time get from malloc: with the glibc here it took
// the start of such a block from the wrong word, depending only on how the
// heap happened to lie, and crashed at exit scanning from address 0x10ce (a
// drawing test that passed in one checkout's folder and not in another's).
// What those driver blocks hold is the drivers' own, whose leaks are
// suppressed by library name anyway.
#include <dlfcn.h>
#include <stdlib.h>

namespace {

struct keeplibraries {
  keeplibraries() {
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
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

// Read before the environment's ASAN_OPTIONS, which can still override it.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
