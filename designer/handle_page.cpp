#include "designer/handle_page.h"

#include <cmath>

#include "dynamics/body.h"
#include "graphics/geometric_object.h"

namespace {

// A ray within this of parallel to the drag line gives no nearest point.
constexpr float kLeastSine2 = 1e-8f;

kxvector4r Direction(const designray& ray) {
  kxvector4r d;
  kxvector4r::Subtract(d, ray.farPoint, ray.nearPoint);
  kxvector4r::Normalise(d);
  return d;
}

}  // namespace

svdesignhandlepage::svdesignhandlepage(pageicon picture, kxdbody* edited, float* bound)
    : svdesignpage(picture, edited), value(bound) {}

void svdesignhandlepage::Store() {
  typedStart_ = value ? *value : 0.0f;
  svdesignpage::Store();
}

void svdesignhandlepage::FollowUp() {
  if (value) Apply(*value, typedStart_, 1);
  if (component) component->Analyse();
}

int svdesignhandlepage::MouseDown(const designray& ray) {
  kxgeometricobject* g = component ? component->Geometry : nullptr;
  if (!g || !value) return 0;
  float distance = 0.0f;
  if (!g->Pick(ray.nearPoint, ray.farPoint, &distance, kxmatrix::Identity())) return 0;
  kxvector4r d = Direction(ray);
  d *= distance;
  kxvector4r::Add(grabPoint, ray.nearPoint, d);
  startValue = *value;
  dragging = 1;
  return 1;
}

bool svdesignhandlepage::Dragged(const designray& ray, float* out) const {
  kxvector4r a = DragAxis();
  kxvector4r::Normalise(a);
  const kxvector4r d = Direction(ray);
  kxvector4r offset;
  kxvector4r::Subtract(offset, ray.nearPoint, grabPoint);
  const float c = kxvector4r::Dot(d, a);
  const float sine2 = 1.0f - c * c;
  if (!(sine2 > kLeastSine2)) return false;
  const float t = (kxvector4r::Dot(offset, a) - c * kxvector4r::Dot(offset, d)) / sine2;
  kxvector4r q = a;
  q *= t;
  kxvector4r::Add(q, grabPoint, q);
  const float v = DragValue(q, t);
  if (!std::isfinite(v)) return false;
  *out = v;
  return true;
}

void svdesignhandlepage::MouseMove(const designray& ray) {
  float v;
  if (!dragging || !Dragged(ray, &v)) return;
  Apply(v, startValue, 0);
  Refresh();
}

// A release whose ray gives no value commits the last live one.
void svdesignhandlepage::MouseUp(const designray& ray) {
  if (!dragging) return;
  float v = *value;
  Dragged(ray, &v);
  Apply(v, startValue, 1);
  if (component) component->Analyse();
  Refresh();
  dragging = 0;
}

float svdesignhandlepage::DragValue(const kxvector4r&, float) const { return NAN; }

float svdesignhandlepage::ScaledAlong(const kxvector4r& q, const kxvector4r& origin, const kxvector4r& axis) const {
  kxvector4r now, then;
  kxvector4r::Subtract(now, q, origin);
  kxvector4r::Subtract(then, grabPoint, origin);
  return startValue * (kxvector4r::Dot(now, axis) / kxvector4r::Dot(then, axis));
}
