#include "designer/camera.h"

#include <algorithm>

void svdesigncamera::SetViewport(int windowWidth, int windowHeight) {
  viewportX = 0;
  viewportY = kViewerBottom;
  viewportWidth = std::max(windowWidth, 1);
  viewportHeight = std::max(windowHeight - kStripsHeight, 1);
  halfWidth = halfHeight * static_cast<float>(viewportWidth) / static_cast<float>(viewportHeight);
}

void svdesigncamera::PlaceTop(float distance) {
  view = {0, 0, -1, 0};
  left = {0, 1, 0, 0};
  up = {1, 0, 0, 0};
  pos = {0, 0, distance, 1};
}
