#include "designer/handle_page.h"

#include "dynamics/body.h"

svdesignhandlepage::svdesignhandlepage(int iconNumber, kxdbody* edited, float* bound)
    : svdesignpage(iconNumber, edited), value(bound) {}

void svdesignhandlepage::Store() {
  typedStart_ = value ? *value : 0.0f;
  svdesignpage::Store();
}

void svdesignhandlepage::FollowUp() {
  if (value) Apply(*value, typedStart_, 1);
  if (component) component->Analyse();
}
