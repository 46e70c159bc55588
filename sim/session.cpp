#include "sim/session.h"

namespace sim {

simsession session;

}  // namespace sim
