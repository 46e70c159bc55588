#include "sim/views_placeholder.h"

namespace sim {

void Draw() {}

}  // namespace sim
