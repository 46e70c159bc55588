// A software stack of frame matrices for walking a part tree without
// OpenGL: the current matrix and the copies saved by Push.
#pragma once

#include "core/matrix.h"

namespace sim {

struct matrixstack {
  static constexpr int kDepth = 64;  // part trees nest far less deeply

  kxmatrix current;
  kxmatrix saved[kDepth];
  int depth = 0;

  // Current := identity, nothing saved.
  void Reset();
  // Saves the current matrix; 0 (nothing saved) when the stack is full.
  int Push();
  // Restores the last saved matrix; an empty stack keeps the current one.
  void Pop();
  // Current := current x m (m placed in the current frame, as glMultMatrix).
  void Multiply(const kxmatrix& m);
};

}  // namespace sim
