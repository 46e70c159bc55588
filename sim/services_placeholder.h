// The frame update's services of contests, wind, particles and recordings,
// under the name its callers include.
#pragma once

#include "sim/contest.h"
#include "sim/particles.h"
#include "sim/recording.h"
#include "sim/wind.h"
