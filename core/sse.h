// Four-float lanes for the hot loops: the SSE2 intrinsics (_mm_*, __m128)
// on x86-64, where they are the machine's own instructions, and the same
// names translated to the machine's vector instructions elsewhere, with
// the same results lane for lane.
#pragma once

#define SIMDE_ENABLE_NATIVE_ALIASES
#include <simde/x86/sse2.h>
