#include "sim/views/matrix_stack.h"

namespace sim {

void matrixstack::Reset() {
  kxmatrix::SetIdentity(&current);
  depth = 0;
}

int matrixstack::Push() {
  if (depth >= kDepth) return 0;
  saved[depth++] = current;
  return 1;
}

void matrixstack::Pop() {
  if (depth > 0) current = saved[--depth];
}

void matrixstack::Multiply(const kxmatrix& m) { kxmatrix::Multiply4x4(&current, &current, &m); }

}  // namespace sim
