#include "designer/airfoil_graph.h"

#include <cmath>

#include "dynamics/wings/airfoil.h"
#include "gui/paint.h"

kxtype svairfoilgraph::Type("svairfoilgraph", sizeof(svairfoilgraph));
kxtype svairfoilwindow::Type("svairfoilwindow", sizeof(svairfoilwindow));

namespace {

constexpr int kMiddle = 200;           // px of a zero coefficient
constexpr float kPixelsPerUnit = 100;  // px per unit of coefficient
constexpr int kZeroDegree = 300;       // px of 0 degrees
constexpr int kFirstDegree = -180, kLastDegree = 179;
const kxcolor4 kAxisColour = {0.8f, 0.8f, 0.8f, 1.0f};

struct curve {
  kxdcoefficient which;
  kxcolor4 colour;
};
const curve kCurves[] = {{kxdcoefficient::kLift, {0, 1, 0, 1}},
                         {kxdcoefficient::kDrag, {1, 0, 0, 1}},
                         {kxdcoefficient::kMoment, {0, 0, 1, 1}}};

// The graph's place in its window; the window leaves the same margin around it.
constexpr int kGraphX = 10, kGraphY = 10;

}  // namespace

svairfoilgraph::svairfoilgraph(int x, int y) : kxgraphic(x, y, kWidth, kHeight) { type = &Type; }

int svairfoilgraph::Height(float coefficient) {
  float h = kPixelsPerUnit * coefficient + static_cast<float>(kMiddle);
  // Bounded before the conversion: a corrupt table cannot overflow it.
  return static_cast<int>(std::isfinite(h) ? std::fmax(std::fmin(h, 1.0e6f), -1.0e6f) : 0.0f);
}

void svairfoilgraph::Draw(int ox, int oy) {
  int x = ox + X, y = oy + Y;
  kxgui::SetColor(kxgui::kWhite);
  kxgui::FillRect(x, y, x + W, y + H);
  kxgui::SetColor(kAxisColour);
  kxgui::DrawLine(x, y + kMiddle, x + kWidth, y + kMiddle);
  kxgui::DrawLine(x + kZeroDegree, y, x + kZeroDegree, y + kHeight);
  if (airfoil) {
    for (const curve& c : kCurves) {
      kxgui::SetColor(c.colour);
      for (int a = kFirstDegree; a <= kLastDegree; ++a) {
        kxgui::DrawLine(x + kZeroDegree + a, y + Height(airfoil->CoefficientAtDegree(c.which, a)),
                        x + kZeroDegree + a + 1, y + Height(airfoil->CoefficientAtDegree(c.which, a + 1)));
      }
    }
  }
  DrawChildren(x, y);
}

svairfoilwindow::svairfoilwindow() {
  type = &Type;
  name = "AirfoilProperties";
  Title = "Airfoil Properties";
  W = svairfoilgraph::kWidth + 2 * kGraphX;
  H = svairfoilgraph::kHeight + 2 * kGraphY + TitleBarHeight();
  graph = new svairfoilgraph(kGraphX, kGraphY);
  if (graph) AppendChild(graph);
}
